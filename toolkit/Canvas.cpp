// Canvas drawing: every object and setting it changes on the DC is put back before it returns
// or, for the background mode, when the canvas goes.
#include "toolkit/Canvas.h"

TCanvas::~TCanvas()
{
    if (FOldBkMode != 0)
        ::SetBkMode(FDC, FOldBkMode);
}

void TCanvas::SetBrushColor(TColor color)
{
    if (color == FBrushColor)
        return;
    FBrushColor = color;
    FBrush.reset();
}

HBRUSH TCanvas::BrushHandle()
{
    if (!FBrush)
        FBrush.reset(::CreateSolidBrush(ColorToRGB(FBrushColor)));
    return FBrush.get();
}

void TCanvas::FillRect(const TRect& r)
{
    const RECT area{r.Left, r.Top, r.Right, r.Bottom};
    ::FillRect(FDC, &area, BrushHandle()); // takes the brush without selecting it
}

TTextSize TCanvas::TextExtent(const std::wstring& text) const
{
    win::Select font{FDC, FFont.Handle()};
    SIZE size{};
    ::GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void TCanvas::TextRect(const TRect& r, const std::wstring& text, UINT format)
{
    win::Select font{FDC, FFont.Handle()};
    const COLORREF oldColour = ::SetTextColor(FDC, ColorToRGB(FFont.Color()));
    RECT area{r.Left, r.Top, r.Right, r.Bottom};
    ::DrawTextW(FDC, text.c_str(), static_cast<int>(text.size()), &area, format);
    ::SetTextColor(FDC, oldColour);
}

void TCanvas::SetTransparent(bool value)
{
    const int old = ::SetBkMode(FDC, value ? TRANSPARENT : OPAQUE);
    if (FOldBkMode == 0)
        FOldBkMode = old;
}
