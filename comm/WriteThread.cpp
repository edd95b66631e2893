// The writer's thread body and the hand-shake that tells the opener its queue exists.
#include "comm/WriteThread.h"

TWriteThread::TWriteThread(HANDLE commFile, HANDLE closeEvent, HWND notifyWindow,
                           std::atomic<bool>& txQueueEmpty) noexcept
    : FCommFile(commFile), FCloseEvent(closeEvent), FNotifyWindow(notifyWindow), FTxQueueEmpty(txQueueEmpty)
{
}

bool TWriteThread::Create(const TCommApi& api) noexcept
{
    FQueueReady.reset(api.CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FQueueReady)
        return false;
    return FThread.Create(api, &TWriteThread::Body, this);
}

void TWriteThread::WaitForQueue() const noexcept
{
    const HANDLE waits[] = {FQueueReady.get(), FThread.Handle()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
}

void TWriteThread::Body(void* self) noexcept
{
    static_cast<TWriteThread*>(self)->Execute();
}

void TWriteThread::Execute() noexcept
{
    // A thread gets its message queue only when it first asks for a message.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(FQueueReady.get());

    // FIXME: the transmit path is not built yet; the writer only waits to be told to end.
    (void)FCommFile;
    if (::WaitForSingleObject(FCloseEvent, INFINITE) != WAIT_OBJECT_0)
        RequestHangup(FNotifyWindow);
    FTxQueueEmpty = true;
}
