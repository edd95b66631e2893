// The skinned scroll bar of a combo box's list, painted in the list's non-client area.
#include "skin/controls/ComboxScrollBar.h"

#include "skin/controls/ScrollBarPainter.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinHandle.h"

#include <windowsx.h>

const TClassInfo TComboxScrollBar::StaticClass{L"TComboxScrollBar", &TSkinControl::StaticClass, {}};

TScrollPart TComboxScrollBar::PartAt(POINT screen) const
{
    if (!FBar.Shown)
        return TScrollPart::None;
    return HitScrollPart(FLayout, screen.x - FBar.Screen.left, screen.y - FBar.Screen.top);
}

int TComboxScrollBar::CursorAlong() const
{
    POINT p{};
    ::GetCursorPos(&p);
    return p.y;
}

bool TComboxScrollBar::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (Message.WParam == HTVSCROLL) {
            // Shown pressed while the system's scroll loop runs inside the list's own handling.
            FPressed = PartAt({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
            FGrabThumb = FLayout.Thumb.Top;
            FGrabCursor = CursorAlong();
            PaintBar(false);
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TComboxScrollBar::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        PaintBar(true);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        FPressed = TScrollPart::None;
        PaintBar(false);
        return;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE: {
        // A dropped list holds the mouse, so moves over its bar come as client moves.
        POINT p{};
        ::GetCursorPos(&p);
        FHot = PartAt(p);
        PaintBar(false);
        return;
    }
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
        FHot = TScrollPart::None;
        PaintBar(false);
        return;
    default:
        if (!ScrollBarsUnchangedBy(Message.Msg))
            PaintBar(false);
        return;
    }
}

void TComboxScrollBar::PaintBar(bool force)
{
    if (!FSkinData || !CanPaintScrollBar(FSkinData->Skin()))
        return;
    TNativeScrollBar bar = ReadNativeScrollBar(FWindow, true, FSkinData->Skin());
    if (!bar.Shown) {
        FBar = bar;
        return;
    }
    bar.Input.Hot = FHot;
    bar.Input.Pressed = FPressed;
    if (FPressed == TScrollPart::Thumb)
        bar.Input.DragThumbStart = FGrabThumb + CursorAlong() - FGrabCursor;
    const TScrollBarLayout layout = LayoutScrollBar(bar.Input);
    const bool moved = !FBar.Shown || !::EqualRect(&bar.Screen, &FBar.Screen);
    FBar = bar;
    if (!force && !moved && layout == FLayout)
        return;
    FLayout = layout;
    RECT window{};
    ::GetWindowRect(FWindow, &window);
    try {
        const win::NonClientDC dc(FWindow);
        PutSkinScrollBar(dc.get(), bar.Screen.left - window.left, bar.Screen.top - window.top,
                         bar.Screen.right - bar.Screen.left, bar.Screen.bottom - bar.Screen.top, layout, true,
                         FSkinData->Skin(), FScratch);
    } catch (const std::exception&) {
        // No scratch bitmap: the system's bar shows until the next paint.
    }
}
