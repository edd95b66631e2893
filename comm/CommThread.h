// Owner of one worker thread of the serial port component: created suspended, started once, joined on release.
#pragma once

#include "comm/CommTypes.h"
#include "toolkit/WinHandle.h"

#include <atomic>

class TCommThread {
public:
    using TBody = void (*)(void* context) noexcept;

    TCommThread() = default;
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;
    // Joins a thread still there, so its body never outlives the object it works for.
    ~TCommThread();

    // Creates the thread suspended; false when the platform refuses.
    bool Create(const TCommApi& api, TBody body, void* context) noexcept;
    void Start() noexcept;
    void SetPriority(int priority) noexcept;

    // Waits up to patienceMs for the body to end; past that, marks the thread terminated and
    // waits without limit. The caller signals the body to end first.
    void Join(DWORD patienceMs) noexcept;
    bool Terminated() const noexcept { return FTerminated.load(); }

    HANDLE Handle() const noexcept { return FThread.get(); }
    DWORD ThreadId() const noexcept { return FThreadId; }

private:
    static DWORD WINAPI ThreadProc(void* self) noexcept;

    win::Handle FThread;
    DWORD FThreadId = 0;
    bool FStarted = false;
    std::atomic<bool> FTerminated{false};
    TBody FBody = nullptr;
    void* FContext = nullptr;
};

// The one hang-up notice of an open line. Whichever worker meets a failure first reports it and
// sets the stop event, so the other ends without a word: the owner hears once that the line is
// lost, and no write is queued to a line whose reader has already given up.
class THangup {
public:
    THangup(HANDLE closeEvent, HWND notifyWindow, std::atomic<bool>& raised) noexcept
        : FCloseEvent(closeEvent), FNotifyWindow(notifyWindow), FRaised(raised)
    {
    }
    // The stop event goes first, so that an owner acting on the notice finds the line stopped.
    void Request() const noexcept
    {
        ::SetEvent(FCloseEvent);
        if (!FRaised.exchange(true))
            RequestHangup(FNotifyWindow);
    }

private:
    const HANDLE FCloseEvent;
    const HWND FNotifyWindow;
    std::atomic<bool>& FRaised;
};
