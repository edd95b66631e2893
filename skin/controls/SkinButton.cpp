// The skinned push button: its states, its messages and its face.
#include "skin/controls/SkinButton.h"

#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/Button.h"
#include "toolkit/SysUtils.h"
#include "toolkit/WinHandle.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr TColor kButtonShadow = SystemColor(COLOR_BTNSHADOW);

} // namespace

const TClassInfo TSkinButton::StaticClass{L"TSkinButton", &TSkinControl::StaticClass, {}};

bool TSkinButton::Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour)
{
    if (!TSkinControl::Attach(frame, skinData, useSkinColour))
        return false;
    // Buttons of those libraries handle the press themselves.
    const std::wstring name = LowerCase(FControl->ClassName());
    if (name.starts_with(L"trz") || name.starts_with(L"tel"))
        FVariant = 1;
    return true;
}

bool TSkinButton::HasFace() const
{
    return FSkinData && !FSkinData->Skin().Buttons.Bitmap.IsEmpty();
}

bool TSkinButton::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!HasFace())
            return true;
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        if (!HasFace())
            return true;
        Message.Result = 1; // the face covers everything; erasing first would flicker
        return false;
    case WM_TIMER:
        ::KillTimer(FWindow, 1);
        Message.Result = 0;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The button's own press handling would capture the mouse and paint its classic
        // pushed face; the wrapper keeps the press and raises the click on release.
        if (::GetFocus() != FWindow)
            ::SetFocus(FWindow);
        // Held like the system's own button holds it: the release reaches this button wherever
        // it happens, and a mouse-leave notice that comes late (the pointer moved in the same
        // instant as the press) cannot lose the click.
        ::SetCapture(FWindow);
        FCaptured = true;
        FPressed = true;
        PaintControl();
        Message.Result = 0;
        return false;
    case WM_CAPTURECHANGED:
        // Taken by someone else (a menu, a dialog): the press is over without a click.
        if (FCaptured && reinterpret_cast<HWND>(Message.LParam) != FWindow) {
            FCaptured = false;
            SetFlags(false, false);
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinButton::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
        PaintControl();
        break;
    case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE)
            SetFlags(FMouseOver, true);
        break;
    case WM_KEYUP:
        if (Message.WParam == VK_SPACE)
            SetFlags(FMouseOver, false);
        break;
    case WM_MOUSEMOVE:
        if (FCaptured) {
            // While held, the pressed face shows only over the button, as the system's does.
            const bool inside = PointInside(Message.LParam);
            SetFlags(inside, inside);
        } else if (!FMouseOver && ::IsWindowEnabled(FWindow)) {
            SetFlags(true, FPressed);
            SkinTrackMouseLeave(FWindow);
        }
        break;
    case WM_LBUTTONUP:
        if (FCaptured) {
            const bool inside = PointInside(Message.LParam);
            EndCapture();
            SetFlags(inside, false);
            if (inside) {
                // The hold ended the leave notice's watch; the pointer still rests here.
                SkinTrackMouseLeave(FWindow);
                Click();
            }
        } else if (FPressed) {
            SetFlags(FMouseOver, false);
            Click();
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        // While held, where the pointer is decides.
        if (!FCaptured)
            SetFlags(false, false);
        break;
    case CM_DIALOGKEY:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}

void TSkinButton::SetFlags(bool mouseOver, bool pressed)
{
    if (mouseOver == FMouseOver && pressed == FPressed)
        return;
    FMouseOver = mouseOver;
    FPressed = pressed;
    Repaint();
}

bool TSkinButton::PointInside(LPARAM point) const
{
    RECT client{};
    ::GetClientRect(FWindow, &client);
    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    return ::PtInRect(&client, p) != FALSE;
}

void TSkinButton::EndCapture()
{
    FCaptured = false;
    if (::GetCapture() == FWindow)
        ::ReleaseCapture();
}

void TSkinButton::Click()
{
    if (FControl) {
        if (auto* button = As<TButton>(FControl))
            button->Click();
        return;
    }
    const HWND parent = ::GetParent(FWindow);
    if (!parent)
        return;
    wchar_t className[64]{};
    ::GetClassNameW(FWindow, className, 64);
    const WPARAM id = LowerCase(className) == L"tbutton" ? 0 : static_cast<WPARAM>(::GetDlgCtrlID(FWindow));
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(FWindow));
}

std::wstring TSkinButton::CaptionText() const
{
    if (FControl)
        return Property(L"Caption");
    return WindowText(FWindow);
}

void TSkinButton::Draw(HDC dc, const RECT& rect)
{
    if (!HasFace())
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const TDataSkinButton& b = skin.Buttons;

    TButtonFaceState state;
    state.Focused = ::GetFocus() == FWindow;
    state.Enabled = (::GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_DISABLED) == 0;
    state.Default = PropertyIsTrue(L"Default");
    state.Pressed = FPressed;
    state.MouseOver = FMouseOver;
    const int frame = ButtonFaceFrame(state);
    FLastFrame = frame;

    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    const win::BitmapDC faceDC(DibHandle(FFace));
    if (TransparentMode()) {
        PaintParentBackground(faceDC.get());
        ::GdiFlush();
    } else {
        FFace.Fill(ToPixel(skin.ButtonFace(), skin.SystemColors()));
    }
    DrawNineSlice(FFace.View(), FFace.View().Bounds(), b.Bitmap.View(), TStrip::Horizontal,
                  b.Tile ? TCentre::Tile : TCentre::Stretch, b.Trans == 1 ? TKeying::Transparent : TKeying::Opaque,
                  b.Frame, frame, b.Margins());

    HFONT font = FControl ? FControl->Font().Handle()
                          : reinterpret_cast<HFONT>(::SendMessageW(FWindow, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    TColor text = FControl ? FControl->Font().Color() : skin.SysColours[TSkinObjects::kButtonText];
    if (b.NormalColour2Given)
        text = b.NormalColour2;
    if (b.MouseOverColour2Given && frame == button_frame::kHot)
        text = b.MouseOverColour2;
    if (b.PressedColour2Given && frame == button_frame::kPressed)
        text = b.PressedColour2;
    if (!state.Enabled)
        text = kButtonShadow;

    const std::wstring caption = ButtonCaptionText(CaptionText());
    const win::Select selectFont(faceDC.get(), font);
    RECT measured{2, 2, width - 2, height - 2};
    constexpr UINT kLayout = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
    ::DrawTextW(faceDC.get(), caption.c_str(), -1, &measured, kLayout | DT_CALCRECT | DT_NOCLIP);
    const TPixelRect placed = PlaceButtonText(width, height, measured.right - measured.left, measured.bottom - measured.top);
    RECT textRect{placed.Left, placed.Top, placed.Right, placed.Bottom};
    ::SetBkMode(faceDC.get(), TRANSPARENT);
    ::SetTextColor(faceDC.get(), ResolveColor(text, skin.SystemColors()));
    ::DrawTextW(faceDC.get(), caption.c_str(), -1, &textRect, kLayout);

    FLastFocusRect = {};
    if (state.Focused && !FSkinData->Options().Contains(TSkinOption::xoNoFocusRect)) {
        FLastFocusRect = ButtonFocusRect(placed);
        const RECT focus{FLastFocusRect.Left, FLastFocusRect.Top, FLastFocusRect.Right, FLastFocusRect.Bottom};
        ::DrawFocusRect(faceDC.get(), &focus);
    }
    ::GdiFlush();
    PutPixels(dc, rect.left, rect.top, FFace);
}
