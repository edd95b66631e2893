// The writer's thread body: blocks taken from its own message queue and written one at a time,
// and the hand-shake that tells the opener its queue exists.
#include "comm/WriteThread.h"

#include "comm/CommEvents.h"

namespace {

void Arm(OVERLAPPED& record, HANDLE event) noexcept
{
    record = OVERLAPPED{};
    record.hEvent = event;
    ::ResetEvent(event);
}

} // namespace

TWriteThread::TWriteThread(const TCommApi& api, HANDLE commFile, HANDLE closeEvent, HWND notifyWindow,
                           std::atomic<bool>& txQueueEmpty, std::atomic<bool>& hangupRaised) noexcept
    : FApi(api), FCommFile(commFile), FCloseEvent(closeEvent), FNotifyWindow(notifyWindow), FTxQueueEmpty(txQueueEmpty),
      FHangup(closeEvent, notifyWindow, hangupRaised)
{
}

bool TWriteThread::Create() noexcept
{
    FQueueReady.reset(FApi.CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FQueueReady)
        return false;
    return FThread.Create(FApi, &TWriteThread::Body, this);
}

void TWriteThread::WaitForQueue() const noexcept
{
    const HANDLE waits[] = {FQueueReady.get(), FThread.Handle()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
}

bool TWriteThread::Enqueue(TCommBlock& block, uint16_t length) noexcept
{
    ++FHandingOver;
    bool queued = false;
    // A line already stopped (a hang-up, a close under way) takes nothing more.
    if (FAccepting.load() && !Closing()) {
        FTxQueueEmpty = false;
        queued = ::PostThreadMessageW(FThread.ThreadId(), MSG_COMM_WRITE, length,
                                      reinterpret_cast<LPARAM>(block.get())) != FALSE;
        if (queued)
            (void)block.release();
    }
    --FHandingOver;
    return queued;
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

    FWriteDone.reset(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    if (FWriteDone)
        Serve();
    else
        GiveUp();

    ::PurgeComm(FCommFile, PURGE_TXABORT | PURGE_TXCLEAR);
    CloseQueue();
    FTxQueueEmpty = true;
    FWriteDone.reset();
}

void TWriteThread::Serve() noexcept
{
    bool report = true; // the next empty queue is news for the owner
    for (;;) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            FTxQueueEmpty = true;
            if (report) {
                if (!::PostMessageW(FNotifyWindow, MSG_COMM_TXEMPTY, 0, 0)) {
                    GiveUp();
                    return;
                }
                report = false;
            }
            const DWORD woke = ::MsgWaitForMultipleObjects(1, &FCloseEvent, FALSE, INFINITE, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0)
                return;
            if (woke != WAIT_OBJECT_0 + 1) {
                GiveUp();
                return;
            }
            continue;
        }
        if (msg.hwnd == nullptr && msg.message == MSG_COMM_WRITE) {
            // Owned from here, so it is freed on every way out, written or not.
            const TCommBlock block = AdoptCommBlock(msg.lParam);
            if (Closing() || !WriteBlock(block.get(), static_cast<DWORD>(msg.wParam & 0xFFFF)))
                return;
            report = true;
            FTxQueueEmpty = true;
            continue;
        }
        if (Closing())
            return;
        if (msg.hwnd != nullptr) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // Any other thread message is not ours to act on.
    }
}

bool TWriteThread::WriteBlock(const uint8_t* bytes, DWORD length) noexcept
{
    Arm(FRecord, FWriteDone.get());
    DWORD written = 0;
    if (!FApi.WriteFile(FCommFile, bytes, length, &written, &FRecord)) {
        const DWORD error = ::GetLastError();
        if (ClassifyIoError(error) != TIoOutcome::Pending)
            return EndOn(error);
        FWriteIsPending = true;
        const HANDLE waits[] = {FCloseEvent, FWriteDone.get()};
        const DWORD result = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            Settle(); // the rest of the block must not go out, and the system reads it until then
            return false;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            Settle();
            return GiveUp();
        }
        FWriteIsPending = false;
        if (!::GetOverlappedResult(FCommFile, &FRecord, &written, TRUE)) {
            const DWORD error = ::GetLastError();
            return EndOn(error);
        }
    }
    // A block is never split: a write that stops short (write time-outs) is a failure of the line.
    if (written != length)
        return GiveUp();
    return true;
}

void TWriteThread::Settle() noexcept
{
    if (!FWriteIsPending)
        return;
    ::CancelIoEx(FCommFile, &FRecord);
    DWORD unused = 0;
    ::GetOverlappedResult(FCommFile, &FRecord, &unused, TRUE);
    FWriteIsPending = false;
}

void TWriteThread::CloseQueue() noexcept
{
    // A block posted after the last look into the queue would go with the thread, unfreed; so
    // hand-overs stop first, one already under way is let finish, and then the queue is emptied.
    FAccepting = false;
    while (FHandingOver.load() != 0)
        ::SwitchToThread();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == nullptr && msg.message == MSG_COMM_WRITE) {
            const TCommBlock unsent = AdoptCommBlock(msg.lParam);
        }
    }
}

bool TWriteThread::Closing() const noexcept
{
    return ::WaitForSingleObject(FCloseEvent, 0) == WAIT_OBJECT_0;
}

bool TWriteThread::GiveUp() const noexcept
{
    if (!Closing())
        FHangup.Request();
    return false;
}

bool TWriteThread::EndOn(DWORD error) const noexcept
{
    if (ClassifyIoError(error) == TIoOutcome::DeviceClosed)
        return false;
    return GiveUp();
}
