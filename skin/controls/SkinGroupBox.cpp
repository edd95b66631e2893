// The skinned group boxes: edge, caption and the labels inside, from the skin's colours.
#include "skin/controls/SkinGroupBox.h"

#include "skin/pixels/PixelBuffer_win.h"
#include "skin/window/SkinData.h"
#include "toolkit/Control.h"
#include "toolkit/WinControl.h"
#include "toolkit/WinHandle.h"

#include <algorithm>

namespace {

constexpr TColor kButtonShadow = SystemColor(COLOR_BTNSHADOW);
constexpr int kShadowEntry = 7; // ButtonShadow of the skin's colour table
constexpr int kCaptionInset = 8;
constexpr int kCorner = 5;

} // namespace

const TClassInfo TSkinGroupBox::StaticClass{L"TSkinGroupBox", &TSkinControl::StaticClass, {}};

bool TSkinGroupBox::BeforeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        Message.Result = 1; // the face covers everything; erasing first would flicker
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinGroupBox::AfterMessage(TMessage& Message)
{
    // The edge runs along the whole box, so a new size moves all of it.
    if (Message.Msg == WM_SIZE)
        ::InvalidateRect(FWindow, nullptr, FALSE);
    else
        TSkinControl::AfterMessage(Message);
}

std::wstring TSkinGroupBox::CaptionText() const
{
    std::wstring text = WindowText(FWindow);
    if (text.empty())
        text = Property(L"Caption");
    return text;
}

void TSkinGroupBox::Draw(HDC dc, const RECT& rect)
{
    if (!FSkinData)
        return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    const TSkinObjects& skin = FSkinData->Skin();
    const TSystemColors& sys = skin.SystemColors();
    const COLORREF face = ResolveColor(skin.ButtonFace(), sys);

    if (FFace.Width() != width || FFace.Height() != height)
        FFace = CreateDibBuffer(width, height);
    const win::BitmapDC faceDC(DibHandle(FFace));
    FFace.Fill(ToPixel(skin.ButtonFace(), sys));

    HFONT font = FControl ? FControl->Font().Handle() : reinterpret_cast<HFONT>(::SendMessageW(FWindow, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const win::Select selectFont(faceDC.get(), font);
    SIZE zero{};
    ::GetTextExtentPoint32W(faceDC.get(), L"0", 1, &zero);
    const int top = std::max(static_cast<int>(zero.cy) / 2 - 1, 0);
    {
        const win::GdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, ResolveColor(skin.SysColours[kShadowEntry], sys)));
        const win::Select selectPen(faceDC.get(), pen.get());
        const win::Select selectBrush(faceDC.get(), ::GetStockObject(NULL_BRUSH));
        ::RoundRect(faceDC.get(), 1, top, width - 1, height - 1, kCorner, kCorner);
    }

    const std::wstring caption = CaptionText();
    if (!caption.empty()) {
        RECT text{0, 0, 0, 0};
        ::DrawTextW(faceDC.get(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        const int textWidth = text.right + 2; // a pixel of face on each side keeps the edge off the glyphs
        const bool right = (::GetWindowLongPtrW(FWindow, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
        const int left = right ? width - kCaptionInset - textWidth : kCaptionInset;
        text = {left, 0, left + textWidth, text.bottom};
        const bool enabled = (::GetWindowLongPtrW(FWindow, GWL_STYLE) & WS_DISABLED) == 0;
        TColor colour = FControl ? FControl->Font().Color() : skin.SysColours[TSkinObjects::kButtonText];
        if (!enabled)
            colour = kButtonShadow;
        ::SetBkMode(faceDC.get(), OPAQUE);
        ::SetBkColor(faceDC.get(), face);
        ::SetTextColor(faceDC.get(), ResolveColor(colour, sys));
        ::DrawTextW(faceDC.get(), caption.c_str(), -1, &text, DT_SINGLELINE | DT_CENTER);
    }

    // Labels have no window of their own: the box they sit on paints them.
    if (FControl) {
        for (size_t i = 0; i < FControl->ControlCount(); ++i) {
            auto* graphic = As<TGraphicControl>(FControl->Controls(i));
            if (!graphic || !graphic->Visible())
                continue;
            const int saved = ::SaveDC(faceDC.get());
            ::IntersectClipRect(faceDC.get(), graphic->Left(), graphic->Top(), graphic->Left() + graphic->Width(),
                                graphic->Top() + graphic->Height());
            graphic->Paint(faceDC.get());
            ::RestoreDC(faceDC.get(), saved);
        }
    }
    ::GdiFlush();
    PutPixels(dc, rect.left, rect.top, FFace);
}
