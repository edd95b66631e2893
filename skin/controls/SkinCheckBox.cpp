// The skinned check boxes: state, then strip cell, then the painters; composed off screen and
// put on the window in one transfer.
#include "skin/controls/SkinCheckBox.h"

#include "skin/pixels/Painters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinControl.h"
#include "toolkit/WinHandle.h"

#include <algorithm>

namespace {

constexpr TColor kButtonShadow = SystemColor(COLOR_BTNSHADOW);

} // namespace

const TClassInfo TSkinCheckBox::StaticClass{L"TSkinCheckBox", &TSkinControl::StaticClass, {}};

const TPixelBuffer& TSkinCheckBox::Strip() const { return FSkinData->Skin().Buttons.CheckBitmap; }

int TSkinCheckBox::StripCells() const { return FSkinData->Skin().Buttons.CheckButtonFrame; }

bool TSkinCheckBox::HasImage() const
{
    return FSkinData && !Strip().IsEmpty() && StripCells() > 0;
}

bool TSkinCheckBox::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!HasImage())
            return true;
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        if (!HasImage())
            return true;
        Message.Result = 1; // the face covers everything; erasing first would flicker
        return false;
    case BM_SETCHECK:
        FLastSetCheck = static_cast<int>(Message.WParam);
        return true;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinCheckBox::AfterMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        if (!FMouseOver && ::IsWindowEnabled(FWindow)) {
            SetMouseOver(true);
            SkinTrackMouseLeave(FWindow);
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        SetMouseOver(false);
        break;
    // The button draws its classic look straight onto the screen while it handles these (press,
    // release, check, focus); the skin's face goes back over it before anyone sees the difference.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case CM_ENABLEDCHANGED:
        PaintControl();
        break;
    default:
        TSkinControl::AfterMessage(Message);
        break;
    }
}

void TSkinCheckBox::SetMouseOver(bool value)
{
    if (value == FMouseOver)
        return;
    FMouseOver = value;
    PaintControl();
}

TCheckFaceState TSkinCheckBox::ReadState() const
{
    const auto button = static_cast<UINT>(::SendMessageW(FWindow, BM_GETSTATE, 0, 0));
    TCheckFaceState state;
    state.Checked = (button & BST_CHECKED) != 0;
    state.Indeterminate = (button & BST_INDETERMINATE) != 0;
    state.Pressed = (button & BST_PUSHED) != 0;
    state.Enabled = (::GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_DISABLED) == 0;
    state.MouseOver = FMouseOver;
    state.DataField = FControl && FControl->GetPropValue(L"DataField").has_value();
    state.DataBinding = FControl && FControl->GetPropValue(L"DataBinding").has_value();
    state.LastSetCheck = FLastSetCheck;
    return state;
}

std::wstring TSkinCheckBox::CaptionText() const
{
    if (FControl)
        return Property(L"Caption");
    return WindowText(FWindow);
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect)
{
    if (!HasImage())
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();

    TCheckFaceState state = ReadState();
    // The texts must outlive the views the state keeps of them.
    const std::optional<std::wstring> stateText =
        FControl && ReadsStateProperty() ? FControl->GetPropValue(L"State") : std::nullopt;
    const std::optional<std::wstring> checkedText = FControl ? FControl->GetPropValue(L"Checked") : std::nullopt;
    if (stateText)
        state.StateText = *stateText;
    if (checkedText)
        state.CheckedText = *checkedText;
    const int cells = StripCells();
    const int frame = CheckFaceFrame(state, cells);
    FLastFrame = frame;

    const TPixelBuffer& strip = Strip();
    const LONG_PTR style = ::GetWindowLongPtrW(FWindow, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(FWindow, GWL_EXSTYLE);
    const bool textLeft = (style & BS_LEFTTEXT) != 0 || (exStyle & WS_EX_RIGHT) != 0;
    const bool rightToLeft = (exStyle & WS_EX_RTLREADING) != 0;
    const TCheckLayout layout = CheckBoxLayout(width, height, strip.Width() / cells, strip.Height(), textLeft);

    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    const win::BitmapDC faceDC(DibHandle(FFace));
    if (TransparentMode()) {
        PaintParentBackground(faceDC.get());
        ::GdiFlush();
    } else {
        FFace.Fill(ToPixel(skin.ButtonFace(), skin.SystemColors()));
    }
    DrawFrameCentred(FFace.View(), layout.Image, strip.View(), TKeying::Transparent, cells, frame);

    FLastFocusRect = {};
    const std::wstring caption = CaptionText();
    if (!caption.empty()) {
        HFONT font = FControl ? FControl->Font().Handle()
                              : reinterpret_cast<HFONT>(::SendMessageW(FWindow, WM_GETFONT, 0, 0));
        if (!font)
            font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        TColor text = FControl ? FControl->Font().Color() : skin.SysColours[TSkinObjects::kButtonText];
        if (!state.Enabled)
            text = kButtonShadow;
        const bool alignRight = rightToLeft && textLeft;
        const UINT layoutFlags = DT_WORDBREAK | DT_EXPANDTABS | (rightToLeft ? DT_RTLREADING : 0) | (alignRight ? DT_RIGHT : 0);
        const win::Select selectFont(faceDC.get(), font);
        RECT measured{layout.Text.Left, 0, layout.Text.Right, height};
        ::DrawTextW(faceDC.get(), caption.c_str(), -1, &measured, layoutFlags | DT_CALCRECT);
        const TPixelRect placed = PlaceCheckText(layout.Text, std::min<int>(measured.right - measured.left, layout.Text.Right - layout.Text.Left),
                                                 measured.bottom - measured.top, alignRight);
        RECT textRect{placed.Left, placed.Top, placed.Right, placed.Bottom};
        ::SetBkMode(faceDC.get(), TRANSPARENT);
        ::SetTextColor(faceDC.get(), ResolveColor(text, skin.SystemColors()));
        ::DrawTextW(faceDC.get(), caption.c_str(), -1, &textRect, layoutFlags);
        // Keyboard users must see where the focus is, whatever the system's version.
        if (::GetFocus() == FWindow && !FSkinData->Options().Contains(TSkinOption::xoNoFocusRect)) {
            FLastFocusRect = {std::max(placed.Left - 1, 0), std::max(placed.Top - 1, 0), std::min(placed.Right + 1, width),
                              std::min(placed.Bottom + 1, height)};
            const RECT focus{FLastFocusRect.Left, FLastFocusRect.Top, FLastFocusRect.Right, FLastFocusRect.Bottom};
            ::DrawFocusRect(faceDC.get(), &focus);
        }
    }
    ::GdiFlush();
    PutPixels(dc, rect.left, rect.top, FFace);
}
