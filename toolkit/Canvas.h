// TCanvas: the few drawing operations painting code needs, on a borrowed device context that
// it leaves as it found it.
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Control.h"
#include "toolkit/Font.h"
#include "toolkit/WinHandle.h"

#include <string>

class TCanvas {
public:
    explicit TCanvas(HDC dc) noexcept : FDC(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    HDC Handle() const noexcept { return FDC; }

    // Selected for each text call only, so it may change between calls.
    TFont& Font() noexcept { return FFont; }
    const TFont& Font() const noexcept { return FFont; }

    TColor BrushColor() const noexcept { return FBrushColor; }
    void SetBrushColor(TColor color);
    HBRUSH BrushHandle(); // owned by the canvas; valid until the colour changes
    void FillRect(const TRect& r);

    TTextSize TextExtent(const std::wstring& text) const;
    int TextWidth(const std::wstring& text) const { return TextExtent(text).Width; }
    int TextHeight(const std::wstring& text) const { return TextExtent(text).Height; }
    // DrawTextW into r with format (DT_*), in the font's colour.
    void TextRect(const TRect& r, const std::wstring& text, UINT format);

    // Text without its background box (TRANSPARENT) or on the DC's background colour.
    void SetTransparent(bool value);

private:
    HDC FDC;
    TFont FFont;
    TColor FBrushColor = clWindow;
    win::GdiObject<HBRUSH> FBrush; // made on first use after a colour change
    int FOldBkMode = 0;            // the DC's own mode, put back when the canvas goes; 0: untouched
};
