// The reader worker of the serial port component, which turns what the line brings into notifications.
#pragma once

#include "comm/CommThread.h"

class TReadThread {
public:
    // The three handles stay fixed for the thread's life and belong to the component.
    TReadThread(HANDLE commFile, HANDLE closeEvent, HWND notifyWindow) noexcept;

    bool Create(const TCommApi& api) noexcept;
    TCommThread& Thread() noexcept { return FThread; }

private:
    static void Body(void* self) noexcept;
    void Execute() noexcept;

    const HANDLE FCommFile;
    const HANDLE FCloseEvent;
    const HWND FNotifyWindow;
    TCommThread FThread; // last, so it is joined before the fields its body reads go
};
