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
