// The skinned combo boxes: state, frame, then the composed strip or the edge and button pieces.
#include "skin/controls/SkinComBox.h"

#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/EditFaces.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/WinHandle.h"

#include <exception>

namespace {

TCentre CentreOf(const TDataSkinObject& o) { return o.Tile ? TCentre::Tile : TCentre::Stretch; }
TKeying KeyingOf(const TDataSkinObject& o) { return o.Trans == 1 ? TKeying::Transparent : TKeying::Opaque; }
bool HasImage(const std::unique_ptr<TDataSkinObject>& o) { return o && !o->Bitmap.IsEmpty(); }
bool HasImage(const std::unique_ptr<TDataSkinBorder>& o) { return o && !o->Bitmap.IsEmpty(); }

TPixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

const TClassInfo TSkinComBox::StaticClass{L"TSkinComBox", &TSkinControl::StaticClass, {}};

bool TSkinComBox::Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour)
{
    if (!TSkinControl::Attach(frame, skinData, useSkinColour))
        return false;
    AttachParts();
    return true;
}

bool TSkinComBox::AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame)
{
    if (!TSkinControl::AttachHandle(hwnd, skinData, frame))
        return false;
    AttachParts();
    return true;
}

void TSkinComBox::AttachParts()
{
    COMBOBOXINFO info{};
    if (!SkinGetComboBoxInfo(FWindow, &info))
        return;
    if (info.hwndItem && info.hwndItem != FWindow && ::IsChild(FWindow, info.hwndItem))
        FEditLink.AttachProc<&TSkinComBox::EditHook>(info.hwndItem, this);
    if (!FFrame)
        return;
    // The list's scroll bar needs a wrapper of its own, which belongs to the frame like every
    // other: a drop-down list is a window of its own beside the form and has its bar painted
    // in place; a list shown inside the box gets a panel over its bar.
    if (!info.hwndList || info.hwndList == FWindow)
        return;
    if (::IsChild(FWindow, info.hwndList)) {
        auto bar = MakeHandler<TSkinScrollbarH>();
        if (bar->AttachHandle(info.hwndList, FSkinData, FFrame))
            FFrame->RegisterWrapper(std::move(bar));
    } else {
        auto list = MakeHandler<TComboxScrollBar>();
        if (list->AttachHandle(info.hwndList, FSkinData, FFrame))
            FFrame->RegisterWrapper(std::move(list));
    }
}

void TSkinComBox::DetachWrapper()
{
    FEditLink.Detach();
    TSkinControl::DetachWrapper();
}

bool TSkinComBox::CanPaint(COMBOBOXINFO& info) const
{
    if (!FSkinData)
        return false;
    const TSkinObjects& skin = FSkinData->Skin();
    if (!HasImage(skin.ComboButton) && !HasImage(skin.SunkEdge))
        return false;
    // A simple combo box has no button, and nothing of the skin fits it.
    return SkinGetComboBoxInfo(FWindow, &info) && (info.stateButton & STATE_SYSTEM_INVISIBLE) == 0;
}

bool TSkinComBox::CursorOver() const
{
    POINT cursor{};
    RECT bounds{};
    return ::GetCursorPos(&cursor) && ::GetWindowRect(FWindow, &bounds) && ::PtInRect(&bounds, cursor);
}

int TSkinComBox::CurrentFrame(const COMBOBOXINFO& info) const
{
    const HWND focus = ::GetFocus();
    TComboFaceState state;
    state.Enabled = ::IsWindowEnabled(FWindow) != FALSE;
    state.Pressed = (info.stateButton & STATE_SYSTEM_PRESSED) != 0 || ::SendMessageW(FWindow, CB_GETDROPPEDSTATE, 0, 0);
    state.Focused = focus && (focus == FWindow || ::IsChild(FWindow, focus));
    // No leave notice comes while the open list holds the mouse, so the flag is checked.
    state.MouseOver = FMouseOver && CursorOver();
    return ComboFaceFrame(state);
}

bool TSkinComBox::BeforeMessage(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        COMBOBOXINFO info{};
        if (!CanPaint(info))
            return true;
        WMPaint(Message);
        return false;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinComBox::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        break; // painted before, or left to the box itself
    case WM_MOUSEMOVE:
        if (!FTracking) {
            SkinTrackMouseLeave(FWindow);
            FTracking = true;
        }
        SetMouseOver(true);
        break;
    case WM_MOUSELEAVE:
        FTracking = false;
        SetMouseOver(CursorOver());
        break;
    // The box repaints its button when the list opens or closes; the edge follows here, and
    // the focus moving between the box and its edit comes as the edit's notifications.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_CAPTURECHANGED:
    case WM_COMMAND:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CB_SHOWDROPDOWN:
        RepaintIfChanged();
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}

void TSkinComBox::EditHook(TMessage& Message)
{
    FEditLink.CallPrevious(Message);
    if (!Attached() || !SkinActive())
        return;
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        if (!FEditTracking) {
            SkinTrackMouseLeave(FEditLink.Handle());
            FEditTracking = true;
        }
        SetMouseOver(true);
        break;
    case WM_MOUSELEAVE:
        FEditTracking = false;
        SetMouseOver(CursorOver());
        break;
    default:
        break;
    }
}

void TSkinComBox::SetMouseOver(bool value)
{
    if (value == FMouseOver)
        return;
    FMouseOver = value;
    RepaintIfChanged();
}

void TSkinComBox::RepaintIfChanged()
{
    COMBOBOXINFO info{};
    if (!Attached() || !SkinActive() || !CanPaint(info))
        return;
    if (CurrentFrame(info) != FLastFrame)
        Repaint();
}

void TSkinComBox::WMPaint(TMessage& Message)
{
    ::GetWindowRect(FWindow, &FWindowRect);
    const RECT rect{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
    try {
        if (Message.WParam) {
            Draw(reinterpret_cast<HDC>(Message.WParam), rect);
        } else {
            // The box repaints only its button when the list opens or closes; a new frame
            // shows on the edge too.
            COMBOBOXINFO info{};
            if (CanPaint(info) && CurrentFrame(info) != FLastFrame)
                ::InvalidateRect(FWindow, nullptr, FALSE);
            const win::PaintDC dc(FWindow);
            Draw(dc.get(), rect);
        }
    } catch (const std::exception&) {
        // A paint that failed leaves the old face; the next one tries again.
    }
    Message.Result = 0;
}

void TSkinComBox::Draw(HDC dc, const RECT& rect)
{
    COMBOBOXINFO info{};
    if (!CanPaint(info))
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const int frame = CurrentFrame(info);
    FLastFrame = frame;
    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    {
        const win::BitmapDC faceDC(DibHandle(FFace));
        if (TransparentMode())
            PaintParentBackground(faceDC.get());
        else
            FFace.Fill(ToPixel(FSkinData->FaceColour(), FSkinData->Skin().SystemColors()));
        // The box's own look first: its text, selection and background show through the
        // skin's see-through middle.
        TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(faceDC.get()), 0, 0};
        CallPrevious(paint);
        ::GdiFlush();
    }
    PaintSkin(info, frame);

    // The edit is a child window that paints itself; the face must not cover it.
    const int saved = ::SaveDC(dc);
    for (HWND child = ::GetWindow(FWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&r), 2);
        ::ExcludeClipRect(dc, rect.left + r.left, rect.top + r.top, rect.left + r.right, rect.top + r.bottom);
    }
    PutPixels(dc, rect.left, rect.top, FFace);
    ::RestoreDC(dc, saved);
}

void TSkinComBox::PaintSkin(const COMBOBOXINFO& info, int frame)
{
    const TSkinObjects& skin = FSkinData->Skin();
    const TPixelView face = FFace.View();
    const int width = face.Width, height = face.Height;
    // The button's side is where the box has put it, so the skin's button is where clicks open the list.
    const bool leftSide = info.rcButton.left < width - info.rcButton.right;

    if (HasImage(skin.ComboButton) && skin.ComboButton->Style == 2) {
        // The composed strip: edge, button and arrow in one image with a see-through middle.
        const TDataSkinObject& strip = leftSide && HasImage(skin.SunkEdge) ? *skin.SunkEdge : *skin.ComboButton;
        DrawNineSlice(face, face.Bounds(), strip.Bitmap.View(), TStrip::Horizontal, CentreOf(strip),
                      TKeying::Transparent, strip.Frame, frame, strip.Margins());
        return;
    }
    // The pieces one by one; the item part keeps the box's own pixels.
    if (HasImage(skin.SunkEdge)) {
        const TPixelBuffer own = FFace.Clone();
        const TDataSkinObject& edge = *skin.SunkEdge;
        DrawNineSlice(face, face.Bounds(), edge.Bitmap.View(), TStrip::Horizontal, CentreOf(edge), KeyingOf(edge),
                      edge.Frame, frame, edge.Margins());
        const TPixelRect item = ToPixelRect(info.rcItem);
        CopyRect(face, item.Left, item.Top, own.View(), item);
    }
    if (HasImage(skin.ComboButton)) {
        const TDataSkinBorder& button = *skin.ComboButton;
        const TPixelRect part = ComboButtonPart(width, height, ::GetSystemMetrics(SM_CXHSCROLL), leftSide);
        const TPixelBuffer& image = leftSide && !button.Bitmap2.IsEmpty() ? button.Bitmap2 : button.Bitmap;
        DrawNineSlice(face, part, image.View(), TStrip::Horizontal, CentreOf(button), KeyingOf(button), button.Frame,
                      frame, button.Margins());
        if (HasImage(skin.ExtraImages))
            DrawFrameCentred(face, part, skin.ExtraImages->Bitmap.View(), TKeying::Transparent,
                             skin.ExtraImages->Frame, frame);
    }
}
