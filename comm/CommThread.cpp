// Creation, start and join of a worker thread.
#include "comm/CommThread.h"

TCommThread::~TCommThread()
{
    if (FThread)
        Join(INFINITE);
}

bool TCommThread::Create(const TCommApi& api, TBody body, void* context) noexcept
{
    FBody = body;
    FContext = context;
    DWORD id = 0;
    win::Handle thread{api.CreateThread(nullptr, 0, &TCommThread::ThreadProc, this, CREATE_SUSPENDED, &id)};
    if (!thread)
        return false;
    FThread = std::move(thread);
    FThreadId = id;
    return true;
}

void TCommThread::Start() noexcept
{
    if (!FThread || FStarted)
        return;
    FStarted = ::ResumeThread(FThread.get()) != static_cast<DWORD>(-1);
}

void TCommThread::SetPriority(int priority) noexcept
{
    if (FThread)
        ::SetThreadPriority(FThread.get(), priority);
}

void TCommThread::Join(DWORD patienceMs) noexcept
{
    if (!FThread)
        return;
    // A thread that was never resumed cannot see the stop signal and would be waited for forever.
    Start();
    if (::WaitForSingleObject(FThread.get(), patienceMs) != WAIT_OBJECT_0) {
        FTerminated = true;
        ::WaitForSingleObject(FThread.get(), INFINITE);
    }
    FThread.reset();
    FThreadId = 0;
}

DWORD WINAPI TCommThread::ThreadProc(void* self) noexcept
{
    auto* thread = static_cast<TCommThread*>(self);
    thread->FBody(thread->FContext);
    return 0;
}
