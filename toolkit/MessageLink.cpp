// Message links: the records behind them, the set of window procedures, and the rules for
// letting go of a window.
#include "toolkit/MessageLink.h"

#include "toolkit/CallbackGuard.h"
#include "toolkit/WinControl.h"

#include <array>
#include <memory>
#include <utility>

void TPreviousHandling::Call(TMessage& Message) const
{
    if (Proc) {
        Message.Result = Unicode ? ::CallWindowProcW(Proc, Wnd, Message.Msg, Message.WParam, Message.LParam)
                                 : ::CallWindowProcA(Proc, Wnd, Message.Msg, Message.WParam, Message.LParam);
    } else if (Hook) {
        Hook(Message);
    } else {
        Message.Result = 0;
    }
}

// A link's place in the window's chain. It outlives the TMessageLink that made it while it
// cannot leave the chain yet (someone took over after us) or a message still runs through it.
struct TMessageLink::TRecord {
    TMessageLink* Owner = nullptr;     // null once the link let go
    TWindowHandler* Handler = nullptr; // null once the link let go: messages only pass through
    void* Object = nullptr;
    TInvoke Invoke = nullptr;
    TPreviousHandling Previous;
    int Slot = -1;                     // window-procedure mode: our procedure in the set
    TWinControl* Control = nullptr;    // toolkit-hook mode
    TWndMethod OurHook;
    int Nesting = 0;
    bool Unhooked = false;             // out of the chain: freed once no message runs through it

    void Run(TMessage& Message) noexcept;
    void Call(TMessage& Message) { Run(Message); } // the toolkit hook's entry
    bool IsCurrent() const noexcept;
    void Restore() noexcept;
    void LetGo() noexcept;
    void Settle() noexcept;
};

namespace {

// Enough for every control of a few open windows; a window beyond that stays as it is.
constexpr size_t kProcCount = 1024;

// Plain arrays, so nothing here is destroyed at program end while a link may still let go.
TMessageLink::TRecord* gSlots[kProcCount] = {};
int gFreeSlots[kProcCount] = {}; // a stack of free slot numbers, lowest on top
size_t gFreeCount = 0;
bool gFreeSlotsReady = false;

TMessageLink::TRecord*& Slot(int slot) { return gSlots[static_cast<size_t>(slot)]; }

void PrepareFreeSlots()
{
    if (gFreeSlotsReady)
        return;
    for (size_t i = 0; i < kProcCount; ++i)
        gFreeSlots[i] = static_cast<int>(kProcCount - 1 - i);
    gFreeCount = kProcCount;
    gFreeSlotsReady = true;
}

LRESULT RunSlot(size_t slot, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    TMessageLink::TRecord* record = gSlots[slot];
    if (!record) // cannot happen while the procedure is in a chain; stay harmless anyway
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    record->Run(message);
    return message.Result;
}

template <size_t I>
LRESULT CALLBACK SlotProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return RunSlot(I, hwnd, msg, wParam, lParam);
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeSlotProcs(std::index_sequence<I...>)
{
    return {&SlotProc<I>...};
}

const std::array<WNDPROC, kProcCount> kSlotProcs = MakeSlotProcs(std::make_index_sequence<kProcCount>{});

LONG_PTR GetProc(HWND hwnd, bool unicode)
{
    return unicode ? ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
}

LONG_PTR SetProc(HWND hwnd, bool unicode, WNDPROC proc)
{
    const auto value = reinterpret_cast<LONG_PTR>(proc);
    return unicode ? ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, value) : ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, value);
}

} // namespace

void TMessageLink::TRecord::Run(TMessage& Message) noexcept
{
    ++Nesting;
    TWindowHandler* const handler = Handler;
    if (handler)
        ++handler->FNesting;
    GuardCallback([&] {
        if (Handler)
            Invoke(Object, Message);
        else
            Previous.Call(Message);
    });
    if (handler && --handler->FNesting == 0 && handler->FFreePending)
        delete handler; // its links let go in its destructor; this record lives on until below
    if (Message.Msg == WM_NCDESTROY) {
        // The window is gone: nothing to put back in window-procedure mode; a toolkit control
        // outlives its window, so its hook is restored while ours is the current one.
        if (Control && IsCurrent())
            Restore();
        LetGo();
        Unhooked = true;
    }
    --Nesting;
    Settle();
}

bool TMessageLink::TRecord::IsCurrent() const noexcept
{
    if (Control)
        return Control->WindowProc == OurHook;
    return ::IsWindow(Previous.Wnd) &&
        GetProc(Previous.Wnd, Previous.Unicode) == reinterpret_cast<LONG_PTR>(kSlotProcs[size_t(Slot)]);
}

void TMessageLink::TRecord::Restore() noexcept
{
    if (Control)
        Control->WindowProc = Previous.Hook;
    else
        SetProc(Previous.Wnd, Previous.Unicode, Previous.Proc);
}

void TMessageLink::TRecord::LetGo() noexcept
{
    if (Owner)
        Owner->FRecord = nullptr;
    Owner = nullptr;
    Handler = nullptr;
}

void TMessageLink::TRecord::Settle() noexcept
{
    // A record let go of leaves the chain as soon as it is on top of it; until then it passes on.
    if (!Unhooked && !Handler) {
        if (!Control && !::IsWindow(Previous.Wnd))
            Unhooked = true;
        else if (IsCurrent()) {
            Restore();
            Unhooked = true;
        }
    }
    if (!Unhooked || Nesting > 0)
        return;
    if (Slot >= 0) {
        ::Slot(Slot) = nullptr;
        gFreeSlots[gFreeCount++] = Slot;
    }
    delete this;
}

std::unique_ptr<TMessageLink::TRecord> TMessageLink::NewRecord(TWindowHandler* handler, void* object, TInvoke invoke)
{
    auto record = std::make_unique<TRecord>();
    record->Owner = this;
    record->Handler = handler;
    record->Object = object;
    record->Invoke = invoke;
    return record;
}

bool TMessageLink::DoAttachProc(HWND hwnd, TWindowHandler* handler, void* object, TInvoke invoke)
{
    PrepareFreeSlots();
    if (FRecord || !::IsWindow(hwnd) || gFreeCount == 0)
        return false;
    auto record = NewRecord(handler, object, invoke);
    record->Slot = gFreeSlots[gFreeCount - 1];
    record->Previous.Wnd = hwnd;
    record->Previous.Unicode = ::IsWindowUnicode(hwnd) != FALSE;
    Slot(record->Slot) = record.get();
    ::SetLastError(0);
    const LONG_PTR old = SetProc(hwnd, record->Previous.Unicode, kSlotProcs[size_t(record->Slot)]);
    if (old == 0 && ::GetLastError() != 0) {
        Slot(record->Slot) = nullptr;
        return false;
    }
    --gFreeCount;
    record->Previous.Proc = reinterpret_cast<WNDPROC>(old);
    FPrevious = record->Previous;
    FRecord = record.release(); // owned by the chain from here: it frees itself in Settle
    return true;
}

bool TMessageLink::DoAttachHook(TWinControl* control, TWindowHandler* handler, void* object, TInvoke invoke)
{
    if (FRecord || !control || !control->HandleAllocated())
        return false;
    auto record = NewRecord(handler, object, invoke);
    record->Control = control;
    record->OurHook = TWndMethod::Bind<&TRecord::Call>(record.get());
    record->Previous.Wnd = control->Handle();
    record->Previous.Hook = control->WindowProc;
    control->WindowProc = record->OurHook;
    FPrevious = record->Previous;
    FRecord = record.release(); // owned by the chain from here: it frees itself in Settle
    return true;
}

void TMessageLink::Detach() noexcept
{
    TRecord* record = FRecord;
    if (!record)
        return;
    record->LetGo();
    record->Settle();
}

size_t TMessageLink::FreeProcCount() noexcept
{
    PrepareFreeSlots();
    return gFreeCount;
}
