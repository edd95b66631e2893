// The writer worker of the serial port component, which puts queued blocks on the line.
#pragma once

#include "comm/CommThread.h"

#include <atomic>
#include <cstdint>

class TWriteThread {
public:
    // The api, the handles and the flags stay fixed for the thread's life and belong to the component.
    TWriteThread(const TCommApi& api, HANDLE commFile, HANDLE closeEvent, HWND notifyWindow, std::atomic<bool>& txQueueEmpty,
                 std::atomic<bool>& hangupRaised) noexcept;

    // Creates the thread suspended, with the signal it gives once its message queue exists.
    bool Create() noexcept;
    // Blocks until the started writer has its message queue (or has already ended), so that a
    // block posted to it from then on cannot be refused for want of a queue.
    void WaitForQueue() const noexcept;
    // Queues the block for writing, on the owner's thread. The block becomes the writer's only
    // when this returns true; false once the writer has ended or its queue is full.
    bool Enqueue(TCommBlock& block, uint16_t length) noexcept;
    TCommThread& Thread() noexcept { return FThread; }

private:
    static void Body(void* self) noexcept;
    void Execute() noexcept;
    void Serve() noexcept;
    bool WriteBlock(const uint8_t* bytes, DWORD length) noexcept;
    void Settle() noexcept;
    void CloseQueue() noexcept;

    bool Closing() const noexcept;
    // Requests the hang-up unless the port is being closed; always ends the loop.
    bool GiveUp() const noexcept;
    // Ends the loop on a failed call; a handle closed under the writer ends it without a word.
    bool EndOn(DWORD error) const noexcept;

    const TCommApi& FApi;
    const HANDLE FCommFile;
    const HANDLE FCloseEvent;
    const HWND FNotifyWindow;
    std::atomic<bool>& FTxQueueEmpty;
    const THangup FHangup;
    win::Handle FQueueReady;

    // Hand-over between Enqueue and the writer's last look into its queue.
    std::atomic<bool> FAccepting{true};
    std::atomic<int> FHandingOver{0};

    // The body's own; the system reads the block and writes the record while a write is pending.
    OVERLAPPED FRecord{};
    win::Handle FWriteDone;
    bool FWriteIsPending = false;

    TCommThread FThread; // last, so it is joined before the fields its body reads go
};
