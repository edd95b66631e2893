// The reader worker of the serial port component, which turns what the line brings into notifications.
#pragma once

#include "comm/CommThread.h"

#include <array>
#include <atomic>
#include <cstdint>

class TReadThread {
public:
    static constexpr DWORD kReadSize = 1024;

    // The api, the handles and the flag stay fixed for the thread's life and belong to the component.
    TReadThread(const TCommApi& api, HANDLE commFile, HANDLE closeEvent, HWND notifyWindow,
                std::atomic<bool>& hangupRaised) noexcept;

    // Creates the thread suspended, with the signal it gives once its first read is pending.
    bool Create() noexcept;
    // Blocks until the started reader has a read pending (or has already ended), so that bytes
    // arriving from then on meet a read that is under way.
    void WaitForRead() const noexcept;
    TCommThread& Thread() noexcept { return FThread; }

private:
    static void Body(void* self) noexcept;
    void Execute() noexcept;
    bool Setup() noexcept;
    void Run() noexcept;
    void Finish() noexcept;

    bool StartCommEventWait() noexcept;
    bool HandleCommEvent(bool throughRecord) noexcept;
    bool StartRead() noexcept;
    bool CompleteRead() noexcept;
    bool DeliverBlock(DWORD count) noexcept;

    bool Closing() const noexcept;
    // Requests the hang-up unless the port is being closed; always ends the loop.
    bool GiveUp() const noexcept;
    // Ends the loop on a failed call; a handle closed under the reader ends it without a word.
    bool EndOn(DWORD error) noexcept;
    void Settle(OVERLAPPED& record, bool& pending) noexcept;

    const TCommApi& FApi;
    const HANDLE FCommFile;
    const HANDLE FCloseEvent;
    const HWND FNotifyWindow;
    const THangup FHangup;
    win::Handle FReadArmed; // set once the first read is under way or the body has ended

    // The body's own for its whole run; the system writes into them while an operation is pending.
    std::array<uint8_t, kReadSize> FBuffer{};
    OVERLAPPED FReadRecord{};
    OVERLAPPED FEventRecord{};
    win::Handle FReadDone;
    win::Handle FEventDone;
    DWORD FEventMask = 0;
    bool FReadIsPending = false;
    bool FEventWaitIsPending = false; // never again once the device refused line events: reads only
    bool FLastReadEmpty = false;

    TCommThread FThread; // last, so it is joined before the fields its body reads go
};
