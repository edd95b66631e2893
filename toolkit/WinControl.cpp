// Window creation, the one window procedure of all toolkit windows, message reflection,
// parent painting of graphic children, alignment and tab order.
#include "toolkit/WinControl.h"

#include "toolkit/CallbackGuard.h"
#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <cwchar>

namespace {

thread_local TWinControl* tCreating = nullptr;

std::wstring HexAtLeast8(unsigned long long value)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.8llX", value);
    return buffer;
}

TWinControl& W(TObject& o) { return static_cast<TWinControl&>(o); }
const TWinControl& W(const TObject& o) { return static_cast<const TWinControl&>(o); }

const TPropertyInfo kWinControlProps[] = {
    {L"ParentBackground", [](const TObject& o) { return BoolToStr(W(o).ParentBackground()); },
     [](TObject& o, std::wstring_view v) { W(o).SetParentBackground(StrToBool(v)); }},
    {L"TabStop", [](const TObject& o) { return BoolToStr(W(o).TabStop()); },
     [](TObject& o, std::wstring_view v) { W(o).SetTabStop(StrToBool(v)); }},
    {L"TabOrder", [](const TObject& o) { return IntToStr(W(o).TabOrder()); },
     [](TObject& o, std::wstring_view v) { W(o).SetTabOrder(StrToInt(v)); }},
};

} // namespace

const TClassInfo TWinControl::StaticClass{L"TWinControl", &TControl::StaticClass, kWinControlProps};

std::wstring ControlAtomName()
{
    // Named after module and GUI thread, so two toolkits in one process never share it.
    return L"ControlOfs" + HexAtLeast8(reinterpret_cast<unsigned long long>(::GetModuleHandleW(nullptr))) +
        HexAtLeast8(::GetCurrentThreadId());
}

namespace {
// Global atoms live in the session's table, not the process: the name is given back when the
// program ends, or every run would leave one behind. It is not also registered as a window
// message: that message would never be sent, and a registered message can never be removed.
class TControlAtom {
public:
    TControlAtom() : FAtom(::GlobalAddAtomW(ControlAtomName().c_str())) {}
    TControlAtom(const TControlAtom&) = delete;
    TControlAtom& operator=(const TControlAtom&) = delete;
    ~TControlAtom()
    {
        if (FAtom)
            ::GlobalDeleteAtom(FAtom);
    }
    ATOM Get() const noexcept { return FAtom; }

private:
    ATOM FAtom;
};
} // namespace

ATOM ControlAtom()
{
    static const TControlAtom atom;
    return atom.Get();
}

TWinControl* FindControl(HWND hwnd) noexcept
{
    if (!hwnd)
        return nullptr;
    return static_cast<TWinControl*>(::GetPropW(hwnd, MAKEINTATOM(ControlAtom())));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    WindowProc = TWndMethod::Bind<&TWinControl::WndProc>(this);
}

TWinControl::~TWinControl()
{
    DestroyHandle();
    // Left here, while the object is still a windowed control, since ~TControl no longer knows
    // it was one and would leave it in the parent's tab list.
    if (FParent) {
        FParent->RemoveControl(this);
        FParent = nullptr;
    }
    // Children outlive their parent only as orphans: they lose the link, not their life.
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
}

HWND TWinControl::Handle()
{
    if (!FHandle) {
        if (TWinControl* parent = Parent())
            parent->HandleNeeded(); // a parent creates its children with itself
        if (!FHandle)
            CreateHandle();
    }
    return FHandle;
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        ::DestroyWindow(FHandle); // WM_NCDESTROY clears FHandle of this and every child
}

void TWinControl::CreateHandle()
{
    CreateWnd();
    // Windows inserted one after another keep the tab list's order as their z-order,
    // which is the order dialog navigation follows.
    for (TWinControl* child : FTabList)
        if (!child->FHandle)
            child->CreateHandle();
    AlignControls();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FCaption;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    if (TWinControl* parent = Parent())
        Params.WndParent = parent->Handle();
    Params.WindowClass.style = CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = ::DefWindowProcW;
    Params.WindowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* systemClass)
{
    WNDCLASSW system{};
    if (::GetClassInfoW(nullptr, systemClass, &system)) {
        const DWORD keepStyle = Params.WindowClass.style;
        Params.WindowClass = system;
        Params.WindowClass.style |= keepStyle & CS_DBLCLKS;
    }
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    FOwnPaint = params.WindowClass.lpfnWndProc == ::DefWindowProcW;
    FDefWndProc = params.WindowClass.lpfnWndProc;

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (!::GetClassInfoW(instance, params.WinClassName.c_str(), &existing)) {
        WNDCLASSW wc = params.WindowClass;
        wc.hInstance = instance;
        wc.lpfnWndProc = &TWinControl::StdWndProc;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!::RegisterClassW(&wc))
            throw Exception(L"Error creating window class");
    }

    TWinControl* const previous = tCreating;
    tCreating = this;
    HWND hwnd = ::CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  params.WndParent, nullptr, instance, nullptr);
    tCreating = previous;
    if (!hwnd)
        throw Exception(L"Error creating window");
    if (!FHandle)
        AttachWindow(hwnd);
    ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    InitializeWnd();
}

void TWinControl::AttachWindow(HWND hwnd)
{
    FHandle = hwnd;
    ::SetPropW(hwnd, MAKEINTATOM(ControlAtom()), this);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    TWinControl* control = FindControl(hwnd);
    if (!control) {
        control = tCreating;
        if (!control || control->FHandle)
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        control->AttachWindow(hwnd);
    }
    TMessage message{msg, wParam, lParam, 0};
    GuardCallback([&] { control->WindowProc(message); });
    return message.Result;
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle) {
        Message.Result = 0;
        return;
    }
    Message.Result = ::CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (ReflectNotification(Message))
            return;
        break;
    case WM_ERASEBKGND:
        if (FOwnPaint) {
            TRect client = ClientRect();
            PaintBackground(reinterpret_cast<HDC>(Message.WParam), client);
            Message.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (FOwnPaint) {
            WMPaint(Message);
            return;
        }
        break;
    case WM_SIZE:
        DefaultHandler(Message);
        AlignControls();
        return;
    case WM_NCDESTROY: {
        DefaultHandler(Message);
        ::RemovePropW(FHandle, MAKEINTATOM(ControlAtom()));
        FHandle = nullptr;
        return;
    }
    default:
        break;
    }
    DefaultHandler(Message);
}

bool TWinControl::ReflectNotification(TMessage& Message)
{
    HWND child = nullptr;
    switch (Message.Msg) {
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        // A menu item's hwndItem holds its menu's handle, which may equal some window's.
        if (draw->CtlType == ODT_MENU)
            return false;
        child = static_cast<HWND>(draw->hwndItem);
        break;
    }
    default:
        child = reinterpret_cast<HWND>(Message.LParam);
        break;
    }
    TWinControl* control = FindControl(child);
    if (!control || control == this)
        return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::WMPaint(TMessage& Message)
{
    const TRect client = ClientRect();
    // A device context in wParam asks for the painting there (a child showing its parent
    // through its transparent parts), without touching the window's update region.
    if (const auto given = reinterpret_cast<HDC>(Message.WParam)) {
        Paint(given, client);
        PaintControls(given);
        Message.Result = 0;
        return;
    }
    win::PaintDC dc{FHandle};
    Paint(dc.get(), client);
    PaintControls(dc.get());
    Message.Result = 0;
}

void TWinControl::PaintBackground(HDC dc, const TRect& area)
{
    const RECT r{area.Left, area.Top, area.Right, area.Bottom};
    ::FillRect(dc, &r, ColorBrush());
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* control : FControls) {
        auto* graphic = As<TGraphicControl>(control);
        if (!graphic || !graphic->Visible())
            continue;
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, graphic->Left(), graphic->Top(), graphic->Left() + graphic->Width(),
                            graphic->Top() + graphic->Height());
        graphic->Paint(dc);
        ::RestoreDC(dc, saved);
    }
}

HBRUSH TWinControl::ColorBrush()
{
    const TColor rgb = ColorToRGB(Color());
    if (!FBrush || FBrushColor != rgb) {
        FBrush.reset(::CreateSolidBrush(rgb));
        FBrushColor = rgb;
    }
    return FBrush.get();
}

void TWinControl::AnswerCtlColor(TMessage& Message)
{
    const HDC dc = reinterpret_cast<HDC>(Message.WParam);
    ::SetTextColor(dc, ColorToRGB(Font().Color()));
    ::SetBkColor(dc, ColorToRGB(Color()));
    Message.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

TRect TWinControl::ClientRect()
{
    if (!FHandle)
        return {0, 0, FWidth, FHeight};
    RECT r{};
    ::GetClientRect(FHandle, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == Parent())
        return;
    if (FHandle && !parent)
        DestroyHandle();
    TControl::SetParent(parent);
    if (FHandle && parent)
        ::SetParent(FHandle, parent->Handle());
}

void TWinControl::InsertControl(TControl* control)
{
    FControls.push_back(control);
    if (auto* win = As<TWinControl>(control)) {
        FTabList.push_back(win);
        if (FHandle && !win->FHandle)
            win->CreateHandle();
    }
    if (control->Align() != TAlign::None)
        AlignControls();
    if (FHandle)
        control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    std::erase(FControls, control);
    if (auto* win = As<TWinControl>(control))
        std::erase(FTabList, win);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    TControl::SetBounds(left, top, width, height);
    if (FHandle)
        ::SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring TWinControl::Caption() const
{
    if (!FHandle)
        return FCaption;
    const int length = ::GetWindowTextLengthW(FHandle);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(FHandle, text.data(), length + 1)));
    return text;
}

void TWinControl::CaptionChanged()
{
    if (FHandle)
        ::SetWindowTextW(FHandle, FCaption.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::FontChanged()
{
    if (FHandle) {
        ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
        ::InvalidateRect(FHandle, nullptr, TRUE);
    }
    for (TControl* child : FControls)
        child->ParentFontChanged();
    if (FHandle)
        Perform(CM_FONTCHANGED);
}

void TWinControl::ColorChanged()
{
    if (FHandle)
        ::InvalidateRect(FHandle, nullptr, TRUE);
    for (TControl* child : FControls)
        child->ParentColorChanged();
    if (FHandle)
        Perform(CM_COLORCHANGED);
}

void TWinControl::EnabledChanged()
{
    if (FHandle) {
        ::EnableWindow(FHandle, Enabled());
        Perform(CM_ENABLEDCHANGED);
    }
}

void TWinControl::VisibleChanged()
{
    if (FHandle) {
        ::ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
        Perform(CM_VISIBLECHANGED);
    }
}

void TWinControl::Invalidate()
{
    if (FHandle)
        ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::SetFocus()
{
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const noexcept
{
    return FHandle && ::GetFocus() == FHandle;
}

int TWinControl::TabOrder() const noexcept
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    auto& list = parent->FTabList;
    std::erase(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    PlaceInZOrder();
}

void TWinControl::PlaceInZOrder()
{
    TWinControl* parent = Parent();
    if (!FHandle || !parent)
        return;
    // Dialog navigation follows z-order: sit right below the previous control of the tab list.
    const auto& list = parent->FTabList;
    const auto it = std::find(list.begin(), list.end(), this);
    HWND after = HWND_TOP;
    for (auto prev = list.begin(); prev != it; ++prev)
        if ((*prev)->FHandle)
            after = (*prev)->FHandle;
    ::SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop)
        return;
    FTabStop = value;
    if (FHandle) {
        const LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
        ::SetWindowLongPtrW(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
    }
}

void TWinControl::SetParentBackground(bool value)
{
    if (value == FParentBackground)
        return;
    FParentBackground = value;
    Invalidate();
}

void TWinControl::AlignControls()
{
    TRect area = ClientRect();
    if (area.Width() <= 0 && area.Height() <= 0)
        return;
    // Edges first, in the order top, bottom, left, right; the client control takes the rest.
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
        for (TControl* c : FControls) {
            if (c->Align() != pass || !c->Visible())
                continue;
            switch (pass) {
            case TAlign::Top:
                c->SetBounds(area.Left, area.Top, area.Width(), c->Height());
                area.Top += c->Height();
                break;
            case TAlign::Bottom:
                c->SetBounds(area.Left, area.Bottom - c->Height(), area.Width(), c->Height());
                area.Bottom -= c->Height();
                break;
            case TAlign::Left:
                c->SetBounds(area.Left, area.Top, c->Width(), area.Height());
                area.Left += c->Width();
                break;
            case TAlign::Right:
                c->SetBounds(area.Right - c->Width(), area.Top, c->Width(), area.Height());
                area.Right -= c->Width();
                break;
            case TAlign::Client:
                c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
                break;
            case TAlign::None:
                break;
            }
        }
    }
}
