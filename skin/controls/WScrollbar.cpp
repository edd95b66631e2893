// The skinned scroll bar panel: following the bar beneath, painting it, and the mouse.
#include "skin/controls/WScrollbar.h"

#include "skin/controls/ScrollBarPainter.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/SysUtils.h"
#include "toolkit/WinHandle.h"

#include <algorithm>
#include <windowsx.h>

namespace {

const wchar_t* const kKindNames[] = {L"sbHorizontal", L"sbVertical"};

const TPropertyInfo kWScrollbarProps[] = {
    {L"Kind", [](const TObject& o) { return std::wstring(kKindNames[size_t(static_cast<const TWScrollbar&>(o).Kind())]); },
     [](TObject& o, std::wstring_view v) {
         static_cast<TWScrollbar&>(o).SetKind(TScrollBarKind(IndexOfName(kKindNames, v, L"Kind")));
     }},
};

} // namespace

const TClassInfo TWScrollbar::StaticClass{L"TWScrollbar", &TCustomPanel::StaticClass, kWScrollbarProps};

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomPanel(owner)
{
    SetVisible(false); // shown once the bar beneath is known to be there
}

void TWScrollbar::SetKind(TScrollBarKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    Follow();
}

void TWScrollbar::CreateParams(TCreateParams& Params)
{
    TCustomPanel::CreateParams(Params);
    // Not a container to dialog navigation: nothing inside takes the focus.
    Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
}

void TWScrollbar::Cover(HWND control, TSkinData* skinData)
{
    FControl = control;
    FSkinData = skinData;
    HandleNeeded();
    Follow();
}

void TWScrollbar::Follow()
{
    if (!FControl || !FSkinData || !HandleAllocated())
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    TNativeScrollBar bar = ReadNativeScrollBar(FControl, Vertical(), skin);
    if (!bar.Shown || !CanPaintScrollBar(skin)) {
        FBar = bar;
        FHot = FPressed = TScrollPart::None;
        if (Visible())
            SetVisible(false);
        return;
    }
    // A skin bar a pixel or two thicker than the system's reaches over the control's border
    // rather than its content; one thinner is stretched, so nothing of the bar beneath shows.
    RECT r = bar.Screen;
    const int native = bar.Input.Thickness;
    const int wanted = std::max(native, ScrollBarThickness(bar.Input.ImageHeight, native));
    if (wanted > native) {
        RECT window{};
        ::GetWindowRect(FControl, &window);
        if (Vertical())
            r.right = std::min<LONG>(r.left + wanted, window.right);
        else
            r.bottom = std::min<LONG>(r.top + wanted, window.bottom);
    }
    bar.Input.Thickness = Vertical() ? r.right - r.left : r.bottom - r.top;
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    const TPixelRect place{r.left, r.top, r.right, r.bottom};

    bar.Input.Hot = FHot;
    bar.Input.Pressed = FPressed;
    if (FPressed == TScrollPart::Thumb)
        bar.Input.DragThumbStart = FGrabThumb + CursorAlong() - FGrabCursor;
    const TScrollBarLayout layout = LayoutScrollBar(bar.Input);
    FBar = bar;

    bool repaint = layout != FLayout;
    FLayout = layout;
    if (place != FPlace) {
        FPlace = place;
        SetBounds(place.Left, place.Top, place.Width(), place.Height());
        repaint = true;
    }
    const bool enabled = ::IsWindowEnabled(FControl) != FALSE;
    if (Enabled() != enabled)
        SetEnabled(enabled);
    if (!Visible()) {
        SetVisible(true);
        // Above the control, whose clipping of siblings then keeps its own bar under us.
        ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        repaint = true;
    }
    if (repaint)
        PaintNow();
}

void TWScrollbar::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1; // the bar covers every pixel
        return;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(Message);
        return;
    case WM_MOUSELEAVE:
        if (FPressed == TScrollPart::None)
            SetHot(TScrollPart::None);
        Message.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        WMLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        return;
    case SKM_QUERYSKINNED:
        Message.Result = 1; // part of a wrapper: no frame wraps it again
        return;
    default:
        TCustomPanel::WndProc(Message);
        return;
    }
}

void TWScrollbar::WMPaint(TMessage& Message)
{
    if (Message.WParam) {
        PaintTo(reinterpret_cast<HDC>(Message.WParam));
    } else {
        const win::PaintDC dc(Handle());
        PaintTo(dc.get());
    }
    Message.Result = 0;
}

void TWScrollbar::PaintNow()
{
    if (!HandleAllocated() || !::IsWindowVisible(Handle()))
        return;
    const win::WindowDC dc(Handle());
    PaintTo(dc.get());
}

void TWScrollbar::PaintTo(HDC dc)
{
    if (!FSkinData || !FBar.Shown)
        return;
    try {
        PutSkinScrollBar(dc, 0, 0, FPlace.Width(), FPlace.Height(), FLayout, Vertical(), FSkinData->Skin(), FScratch);
    } catch (const std::exception&) {
        // Without a scratch bitmap this paint is skipped; the next one tries again.
    }
}

void TWScrollbar::SetHot(TScrollPart part)
{
    if (part == FHot)
        return;
    FHot = part;
    Follow();
}

void TWScrollbar::WMMouseMove(TMessage& Message)
{
    SetHot(HitScrollPart(FLayout, GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    SkinTrackMouseLeave(Handle());
    Message.Result = 0;
}

POINT TWScrollbar::ToBar(int x, int y) const
{
    POINT p{x, y};
    ::ClientToScreen(FHandle, &p);
    const RECT& s = FBar.Screen;
    p.x = std::clamp<LONG>(p.x, s.left, std::max(s.left, s.right - 1));
    p.y = std::clamp<LONG>(p.y, s.top, std::max(s.top, s.bottom - 1));
    return p;
}

int TWScrollbar::CursorAlong() const
{
    POINT p{};
    ::GetCursorPos(&p);
    return Vertical() ? p.y : p.x;
}

void TWScrollbar::WMLButtonDown(TMessage& Message)
{
    Message.Result = 0;
    const int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
    const TScrollPart part = HitScrollPart(FLayout, x, y);
    if (part == TScrollPart::None || !FControl)
        return;
    FPressed = part;
    FGrabThumb = Vertical() ? FLayout.Thumb.Top : FLayout.Thumb.Left;
    FGrabCursor = CursorAlong();
    Follow();
    // The system's own press on its bar: it runs its scroll loop (arrow repeat, paging, thumb
    // tracking) and returns once the button is up, scrolling the control as it always does.
    const POINT p = ToBar(x, y);
    const WPARAM hit = Vertical() ? HTVSCROLL : HTHSCROLL;
    ::SendMessageW(FControl, WM_NCLBUTTONDOWN, hit, MAKELPARAM(p.x, p.y));
    if (!HandleAllocated())
        return;
    if (::GetKeyState(VK_LBUTTON) < 0) {
        // No loop ran: the release comes to us and is handed on then.
        ::SetCapture(FHandle);
        return;
    }
    FPressed = TScrollPart::None;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(FHandle, &cursor);
    FHot = HitScrollPart(FLayout, cursor.x, cursor.y);
    SkinTrackMouseLeave(FHandle);
    Follow();
}

void TWScrollbar::WMLButtonUp(TMessage& Message)
{
    Message.Result = 0;
    if (FPressed == TScrollPart::None)
        return;
    if (::GetCapture() == FHandle)
        ::ReleaseCapture();
    const POINT p = ToBar(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    ::PostMessageW(FControl, WM_NCLBUTTONUP, Vertical() ? HTVSCROLL : HTHSCROLL, MAKELPARAM(p.x, p.y));
    FPressed = TScrollPart::None;
    Follow();
}
