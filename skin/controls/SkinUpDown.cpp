// The skinned up-downs: which button is hot or held, and both faces composed off screen.
#include "skin/controls/SkinUpDown.h"

#include "skin/controls/EditFaces.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinHandle.h"

#include <commctrl.h>
#include <exception>
#include <windowsx.h>

const TClassInfo TSkinUpDown::StaticClass{L"TSkinUpDown", &TSkinControl::StaticClass, {}};

bool TSkinUpDown::Horizontal() const
{
    return (::GetWindowLongPtrW(FWindow, GWL_STYLE) & UDS_HORZ) != 0;
}

bool TSkinUpDown::HasFace() const
{
    if (!FSkinData)
        return false;
    const TSkinObjects& skin = FSkinData->Skin();
    const auto& strip = Horizontal() ? skin.UpDownHorz : skin.UpDownVert;
    return strip && !strip->Bitmap.IsEmpty();
}

TSkinUpDown::TPart TSkinUpDown::PartAt(LPARAM clientPoint) const
{
    RECT client{};
    ::GetClientRect(FWindow, &client);
    const POINT p{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    if (!::PtInRect(&client, p))
        return TPart::None;
    const TUpDownHalves halves = UpDownHalves(client.right, client.bottom, Horizontal());
    return Horizontal() ? (p.x < halves.First.Right ? TPart::First : TPart::Second)
                        : (p.y < halves.First.Bottom ? TPart::First : TPart::Second);
}

bool TSkinUpDown::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!HasFace())
            return true;
        WMPaint(Message);
        return false;
    case WM_ERASEBKGND:
        if (!HasFace())
            return true;
        Message.Result = 1; // both faces cover the whole control
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinUpDown::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        break;
    case WM_MOUSEMOVE:
        if (!FTracking) {
            SkinTrackMouseLeave(FWindow);
            FTracking = true;
        }
        SetParts(::IsWindowEnabled(FWindow) ? PartAt(Message.LParam) : TPart::None, FPressed);
        break;
    case WM_MOUSELEAVE:
        FTracking = false;
        SetParts(TPart::None, FPressed);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control has stepped and holds the mouse for its repeat; the face follows.
        if (::IsWindowEnabled(FWindow))
            SetParts(FHot, PartAt(Message.LParam));
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        SetParts(FHot, TPart::None);
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}

void TSkinUpDown::SetParts(TPart hot, TPart pressed)
{
    if (hot == FHot && pressed == FPressed)
        return;
    FHot = hot;
    FPressed = pressed;
    Repaint();
}

void TSkinUpDown::WMPaint(TMessage& Message)
{
    ::GetWindowRect(FWindow, &FWindowRect);
    const RECT rect{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
    try {
        if (Message.WParam) {
            Draw(reinterpret_cast<HDC>(Message.WParam), rect);
        } else {
            const win::PaintDC dc(FWindow);
            Draw(dc.get(), rect);
        }
    } catch (const std::exception&) {
        // A paint that failed leaves the old face; the next one tries again.
    }
    Message.Result = 0;
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect)
{
    if (!HasFace())
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const bool horizontal = Horizontal();
    const TDataSkinBorder& strip = horizontal ? *skin.UpDownHorz : *skin.UpDownVert;

    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    if (TransparentMode()) {
        const win::BitmapDC faceDC(DibHandle(FFace));
        PaintParentBackground(faceDC.get());
        ::GdiFlush();
    } else {
        FFace.Fill(ToPixel(skin.ButtonFace(), skin.SystemColors()));
    }
    const TUpDownHalves halves = UpDownHalves(width, height, horizontal);
    const bool enabled = ::IsWindowEnabled(FWindow) != FALSE;
    const TKeying keying = strip.Trans == 1 ? TKeying::Transparent : TKeying::Opaque;
    const TCentre centre = strip.Tile ? TCentre::Tile : TCentre::Stretch;
    for (const bool second : {false, true}) {
        const TPart part = second ? TPart::Second : TPart::First;
        const int frame = UpDownFrame(second, {enabled, FPressed == part, FHot == part});
        FLastFrames[second ? 1 : 0] = frame;
        const TPixelRect& half = second ? halves.Second : halves.First;
        DrawNineSlice(FFace.View(), half, strip.Bitmap.View(), TStrip::Horizontal, centre, keying, strip.Frame, frame,
                      strip.Margins());
        if (!strip.Bitmap2.IsEmpty())
            DrawFrameCentred(FFace.View(), half, strip.Bitmap2.View(), TKeying::Transparent, strip.Frame, frame);
    }
    PutPixels(dc, rect.left, rect.top, FFace);
}
