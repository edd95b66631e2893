// The writer worker of the serial port component, which puts queued blocks on the line.
#pragma once

#include "comm/CommThread.h"

#include <atomic>

class TWriteThread {
public:
    // The handles and the flag stay fixed for the thread's life and belong to the component.
    TWriteThread(HANDLE commFile, HANDLE closeEvent, HWND notifyWindow, std::atomic<bool>& txQueueEmpty) noexcept;

    // Creates the thread suspended, with the signal it gives once its message queue exists.
    bool Create(const TCommApi& api) noexcept;
    // Blocks until the started writer has its message queue (or has already ended), so that a
    // block posted to it from then on cannot be refused for want of a queue.
    void WaitForQueue() const noexcept;
    TCommThread& Thread() noexcept { return FThread; }

private:
    static void Body(void* self) noexcept;
    void Execute() noexcept;

    const HANDLE FCommFile;
    const HANDLE FCloseEvent;
    const HWND FNotifyWindow;
    std::atomic<bool>& FTxQueueEmpty;
    win::Handle FQueueReady;
    TCommThread FThread; // last, so it is joined before the fields its body reads go
};
