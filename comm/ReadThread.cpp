// The reader's thread body: one read and one line-event wait always pending, and what completes
// them turned into notifications for the component's window.
#include "comm/ReadThread.h"

#include "comm/CommEvents.h"

static_assert(EV_CTS == kEvCts && EV_DSR == kEvDsr && EV_RLSD == kEvRlsd && EV_ERR == kEvErr && EV_RING == kEvRing);
static_assert(CE_RXOVER == kCeRxOver && CE_OVERRUN == kCeOverrun && CE_RXPARITY == kCeRxParity &&
              CE_FRAME == kCeFrame && CE_BREAK == kCeBreak);
static_assert(ERROR_INVALID_HANDLE == kErrorInvalidHandle && ERROR_NOT_SUPPORTED == kErrorNotSupported &&
              ERROR_INVALID_PARAMETER == kErrorInvalidParameter && ERROR_OPERATION_ABORTED == kErrorOperationAborted &&
              ERROR_IO_PENDING == kErrorIoPending && ERROR_TIMEOUT == kErrorTimeout);

namespace {

// A read that brings nothing is followed by the next one only after this pause (or the stop
// event): with time-outs that make a read on a quiet line return at once, re-arming at once
// would spin a core. Bytes that come meanwhile wait in the driver's queue.
constexpr DWORD kEmptyReadPauseMs = 10;

// A record is reused only when nothing is pending on it.
void Arm(OVERLAPPED& record, HANDLE event) noexcept
{
    record = OVERLAPPED{};
    record.hEvent = event;
    ::ResetEvent(event);
}

} // namespace

TReadThread::TReadThread(const TCommApi& api, HANDLE commFile, HANDLE closeEvent, HWND notifyWindow,
                         std::atomic<bool>& hangupRaised) noexcept
    : FApi(api), FCommFile(commFile), FCloseEvent(closeEvent), FNotifyWindow(notifyWindow),
      FHangup(closeEvent, notifyWindow, hangupRaised)
{
}

bool TReadThread::Create() noexcept
{
    FReadArmed.reset(FApi.CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FReadArmed)
        return false;
    return FThread.Create(FApi, &TReadThread::Body, this);
}

void TReadThread::WaitForRead() const noexcept
{
    const HANDLE waits[] = {FReadArmed.get(), FThread.Handle()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
}

void TReadThread::Body(void* self) noexcept
{
    static_cast<TReadThread*>(self)->Execute();
}

void TReadThread::Execute() noexcept
{
    if (Setup())
        Run();
    Finish();
}

bool TReadThread::Setup() noexcept
{
    FReadDone.reset(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    FEventDone.reset(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    if (!FReadDone || !FEventDone)
        return GiveUp();
    // The read goes first: under Wine a read started while bytes already wait on a
    // pseudo-terminal may never complete, while one started before they come always does.
    if (!StartRead())
        return false;
    ::SetEvent(FReadArmed.get());

    if (!FApi.SetCommMask(FCommFile, kLineEventMask)) {
        const DWORD error = ::GetLastError();
        if (ClassifyIoError(error) != TIoOutcome::Refused)
            return EndOn(error);
        return true; // a device without line events still delivers every byte
    }
    return StartCommEventWait();
}

void TReadThread::Run() noexcept
{
    for (;;) {
        // The stop event first, so that it wins over completions that come with it.
        HANDLE waits[3];
        DWORD count = 0;
        waits[count++] = FCloseEvent;
        if (FEventWaitIsPending)
            waits[count++] = FEventDone.get();
        waits[count++] = FReadDone.get();

        const DWORD result = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0)
            return;
        if (result >= WAIT_OBJECT_0 + count) { // failed, abandoned or anything else
            GiveUp();
            return;
        }
        if (waits[result - WAIT_OBJECT_0] == FEventDone.get()) {
            FEventWaitIsPending = false;
            if (!HandleCommEvent(true) || !StartCommEventWait())
                return;
        } else {
            FReadIsPending = false;
            if (!CompleteRead() || !StartRead())
                return;
        }
    }
}

void TReadThread::Finish() noexcept
{
    // The system may write into the buffer, the records and the mask for as long as an operation
    // is pending, and under Wine a purge does not end a pending read; so each one is cancelled
    // and waited for before the thread, and with it those fields, may go.
    ::PurgeComm(FCommFile, PURGE_RXABORT | PURGE_RXCLEAR);
    Settle(FReadRecord, FReadIsPending);
    Settle(FEventRecord, FEventWaitIsPending);
    FReadDone.reset();
    FEventDone.reset();
    ::SetEvent(FReadArmed.get()); // an opener still waiting must not wait for a reader that has ended
}

void TReadThread::Settle(OVERLAPPED& record, bool& pending) noexcept
{
    if (!pending)
        return;
    ::CancelIoEx(FCommFile, &record);
    DWORD unused = 0;
    ::GetOverlappedResult(FCommFile, &record, &unused, TRUE);
    pending = false;
}

bool TReadThread::StartCommEventWait() noexcept
{
    for (;;) {
        if (Closing())
            return false;
        Arm(FEventRecord, FEventDone.get());
        FEventMask = 0;
        if (FApi.WaitCommEvent(FCommFile, &FEventMask, &FEventRecord)) {
            if (!HandleCommEvent(false))
                return false;
            continue;
        }
        const DWORD error = ::GetLastError();
        switch (ClassifyIoError(error)) {
        case TIoOutcome::Pending: FEventWaitIsPending = true; return true;
        case TIoOutcome::Refused: return true; // reads go on alone
        default: return EndOn(error);
        }
    }
}

bool TReadThread::HandleCommEvent(bool throughRecord) noexcept
{
    if (throughRecord) {
        DWORD unused = 0;
        if (!::GetOverlappedResult(FCommFile, &FEventRecord, &unused, FALSE)) {
            const DWORD error = ::GetLastError();
            return EndOn(error);
        }
    }
    const TLineEventNotices notices = ClassifyLineEvent(FEventMask);
    if (notices.QueryErrors) {
        DWORD errors = 0;
        if (!::ClearCommError(FCommFile, &errors, nullptr)) {
            const DWORD error = ::GetLastError();
            return EndOn(error);
        }
        if (!::PostMessageW(FNotifyWindow, MSG_COMM_ERROR, 0, static_cast<LPARAM>(errors)))
            return GiveUp();
    }
    if (notices.ModemEvent != 0 && !::PostMessageW(FNotifyWindow, MSG_COMM_MODEM, 0, notices.ModemEvent))
        return GiveUp();
    if (notices.Unexpected())
        return GiveUp();
    return true;
}

bool TReadThread::StartRead() noexcept
{
    for (;;) {
        if (Closing())
            return false;
        if (FLastReadEmpty) {
            const DWORD rest = ::WaitForSingleObject(FCloseEvent, kEmptyReadPauseMs);
            if (rest == WAIT_OBJECT_0)
                return false;
            if (rest != WAIT_TIMEOUT)
                return GiveUp();
        }
        Arm(FReadRecord, FReadDone.get());
        DWORD count = 0;
        if (::ReadFile(FCommFile, FBuffer.data(), kReadSize, &count, &FReadRecord)) {
            if (!DeliverBlock(count))
                return false;
            continue;
        }
        const DWORD error = ::GetLastError();
        const TIoOutcome outcome = ClassifyIoError(error);
        if (outcome == TIoOutcome::Pending) {
            FReadIsPending = true;
            return true;
        }
        if (outcome != TIoOutcome::TimedOut)
            return EndOn(error);
        if (!DeliverBlock(0))
            return false;
    }
}

bool TReadThread::CompleteRead() noexcept
{
    DWORD count = 0;
    if (!::GetOverlappedResult(FCommFile, &FReadRecord, &count, FALSE)) {
        const DWORD error = ::GetLastError();
        // Wine ends a read whose total time-out ran out with ERROR_TIMEOUT where Windows reports
        // success; either way the read is over and holds what came before it.
        if (ClassifyIoError(error) != TIoOutcome::TimedOut)
            return EndOn(error);
    }
    return DeliverBlock(count);
}

bool TReadThread::DeliverBlock(DWORD count) noexcept
{
    // An empty read (total time-outs that ran out on a quiet line) is no reason to stop
    // listening; the next read starts after a short pause.
    FLastReadEmpty = count == 0;
    if (count == 0)
        return true;
    TCommBlock block = MakeCommBlock(FBuffer.data(), count);
    if (!block)
        return GiveUp();
    if (!PostCommBlock(FNotifyWindow, block, count))
        return GiveUp(); // the block is still ours and goes with this scope
    return true;
}

bool TReadThread::Closing() const noexcept
{
    return ::WaitForSingleObject(FCloseEvent, 0) == WAIT_OBJECT_0;
}

bool TReadThread::GiveUp() const noexcept
{
    if (!Closing())
        FHangup.Request();
    return false;
}

bool TReadThread::EndOn(DWORD error) noexcept
{
    if (ClassifyIoError(error) == TIoOutcome::DeviceClosed)
        return false;
    return GiveUp();
}
