// Reading a window's own scroll bar and putting a skinned one in its place.
#include "skin/controls/NativeScrollBar.h"

#include "skin/controls/ScrollBarPainter.h"
#include "skin/definitions/SkinObjects.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Message.h"

TNativeScrollBar ReadNativeScrollBar(HWND hwnd, bool vertical, const TSkinObjects& skin)
{
    TNativeScrollBar bar;
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!::IsWindowVisible(hwnd) || !SkinGetScrollBarInfo(hwnd, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info))
        return bar;
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))
        return bar;
    const RECT& r = info.rcScrollBar;
    TScrollBarInput& in = bar.Input;
    in.Vertical = vertical;
    in.Length = vertical ? r.bottom - r.top : r.right - r.left;
    in.Thickness = vertical ? r.right - r.left : r.bottom - r.top;
    if (in.Length <= 0 || in.Thickness <= 0)
        return bar;
    // Wine reports the thumb's length as dxyLineButton, so the arrow comes from the metrics,
    // which is what the system lays its own arrows out by.
    in.ArrowSize = ::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    in.ThumbStart = info.xyThumbTop;
    in.ThumbEnd = info.xyThumbBottom;
    in.FirstArrowDisabled = (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) != 0;
    in.SecondArrowDisabled = (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) != 0;
    // Wine marks only the arrows of a bar disabled as a whole.
    // A disabled window takes no clicks on its bar either, so the bar shows unavailable.
    in.Unavailable = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0 ||
        (in.FirstArrowDisabled && in.SecondArrowDisabled) || !::IsWindowEnabled(hwnd);
    in.ImageHeight = skin.Scrollbar ? skin.Scrollbar->Bitmap.Height() : 0;
    bar.Screen = r;
    bar.Shown = true;
    return bar;
}

void PutSkinScrollBar(HDC dc, int x, int y, int width, int height, const TScrollBarLayout& layout, bool vertical,
                      const TSkinObjects& skin, TPixelBuffer& scratch)
{
    if (width <= 0 || height <= 0)
        return;
    if (scratch.Width() != width || scratch.Height() != height)
        scratch = CreateDibBuffer(width, height);
    PaintScrollBar(scratch.View(), layout, vertical, skin);
    PutPixels(dc, x, y, scratch);
}

// Messages that only ask or paint the inside: nothing of the bars can have changed, and the
// list box answers them by the thousand while it paints.
bool ScrollBarsUnchangedBy(UINT msg) noexcept
{
    switch (msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE:
    case WM_GETOBJECT:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case CN_DRAWITEM:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLOREDIT:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETCOUNT:
    case LB_GETTOPINDEX:
    case LB_GETCURSEL:
    case LB_GETSEL:
    case LB_GETCARETINDEX:
    case LB_GETITEMRECT:
    case LB_GETITEMHEIGHT:
    case LB_ITEMFROMPOINT:
    case SKM_QUERYSKINNED:
        return true;
    default:
        return false;
    }
}

