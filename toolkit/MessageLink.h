// How a handler takes over a window's messages: through the toolkit's hook (WindowProc) of a
// window the toolkit made, or through the window procedure (GWLP_WNDPROC) of any other window.
#pragma once

#include "toolkit/Message.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

#include <memory>

class TWinControl;

// The handling a link replaced, kept by value so that a handler that has let go of its window
// during a message (a frame detaching in WM_NCDESTROY) can still pass that message on.
struct TPreviousHandling {
    HWND Wnd = nullptr;
    WNDPROC Proc = nullptr;  // window-procedure mode
    bool Unicode = true;     // the window's procedure is called wide or narrow, as it was set
    TWndMethod Hook;         // toolkit-hook mode

    void Call(TMessage& Message) const;
};

// One handler's hold on one window. Rules, the same in both modes:
// - attaching keeps the previous handling, and the handler's method sees every message first;
// - detaching puts the previous handling back only while ours is still the current one (no one
//   took over after us); otherwise our place stays in the chain and passes everything on, and it
//   leaves as soon as it finds itself current again or the window goes;
// - after WM_NCDESTROY has been through the handler (which passes it on first), the link is
//   detached by itself;
// - while a message runs through the link, its handler counts as in a message, so that an
//   owner's THandlerPtr frees it only when the outermost of them returns.
// Window-procedure links each use one of a fixed set of procedures, so that every link has its
// own address in the window's chain however links of others interleave with ours. GUI thread only.
class TMessageLink {
public:
    TMessageLink() noexcept = default;
    TMessageLink(const TMessageLink&) = delete;
    TMessageLink& operator=(const TMessageLink&) = delete;
    ~TMessageLink() { Detach(); }

    // Takes over hwnd's window procedure (wide or narrow as the window is). False when the link
    // is in use, the window does not exist or every procedure of the set is taken.
    template <auto Method, class T>
    bool AttachProc(HWND hwnd, T* handler)
    {
        return DoAttachProc(hwnd, handler, handler, &Invoke<Method, T>);
    }
    // Takes over the toolkit hook of a control whose window exists.
    template <auto Method, class T>
    bool AttachHook(TWinControl* control, T* handler)
    {
        return DoAttachHook(control, handler, handler, &Invoke<Method, T>);
    }

    void Detach() noexcept;
    bool Attached() const noexcept { return FRecord != nullptr; }
    HWND Handle() const noexcept { return FPrevious.Wnd; }
    // The handling this link replaced; sets Message.Result. Still usable after Detach.
    void CallPrevious(TMessage& Message) const { FPrevious.Call(Message); }

    // Procedures of the set that are free now; for tests of slot leaks.
    static size_t FreeProcCount() noexcept;

    struct TRecord; // the link's place in the window's chain; defined in MessageLink.cpp

private:
    using TInvoke = void (*)(void* object, TMessage& Message);

    template <auto Method, class T>
    static void Invoke(void* object, TMessage& Message)
    {
        (static_cast<T*>(object)->*Method)(Message);
    }

    std::unique_ptr<TRecord> NewRecord(TWindowHandler* handler, void* object, TInvoke invoke);
    bool DoAttachProc(HWND hwnd, TWindowHandler* handler, void* object, TInvoke invoke);
    bool DoAttachHook(TWinControl* control, TWindowHandler* handler, void* object, TInvoke invoke);

    TRecord* FRecord = nullptr;
    TPreviousHandling FPrevious;
};
