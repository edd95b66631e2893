// The reader's thread body.
#include "comm/ReadThread.h"

TReadThread::TReadThread(HANDLE commFile, HANDLE closeEvent, HWND notifyWindow) noexcept
    : FCommFile(commFile), FCloseEvent(closeEvent), FNotifyWindow(notifyWindow)
{
}

bool TReadThread::Create(const TCommApi& api) noexcept
{
    return FThread.Create(api, &TReadThread::Body, this);
}

void TReadThread::Body(void* self) noexcept
{
    static_cast<TReadThread*>(self)->Execute();
}

void TReadThread::Execute() noexcept
{
    // FIXME: the receive path is not built yet; the reader only waits to be told to end.
    (void)FCommFile;
    if (::WaitForSingleObject(FCloseEvent, INFINITE) != WAIT_OBJECT_0)
        RequestHangup(FNotifyWindow);
}
