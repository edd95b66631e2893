// Messages as the toolkit routes them, and the replaceable message hook of windowed controls.
#pragma once

#include <windows.h>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Object + member pair, comparable so that whoever replaced a hook can tell whether it is
// still the current one before putting the old one back.
class TWndMethod {
public:
    TWndMethod() noexcept = default;

    template <auto Method, class T>
    static TWndMethod Bind(T* object) noexcept
    {
        TWndMethod m;
        m.FObject = object;
        m.FCall = [](void* self, TMessage& msg) { (static_cast<T*>(self)->*Method)(msg); };
        return m;
    }

    void operator()(TMessage& msg) const { FCall(FObject, msg); }
    explicit operator bool() const noexcept { return FCall != nullptr; }
    bool operator==(const TWndMethod&) const noexcept = default;

private:
    void* FObject = nullptr;
    void (*FCall)(void*, TMessage&) = nullptr;
};

// Toolkit notifications, numbered like the framework the skin engine was written against,
// since skins and wrappers compare these numbers.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;       // wParam: virtual key a form may take (Tab, arrows, Enter, Esc)
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;      // wParam: character of an Alt+key; Result 1 when taken
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12; // a control's Enabled changed
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;     // the mouse left a control (sent by whoever tracks it)
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;    // 0xB015: a form's menu was changed
constexpr UINT CM_RECREATEWND = CM_BASE + 51;

// Notifications a parent reflects back to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
