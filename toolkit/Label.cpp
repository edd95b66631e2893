// Label painting and auto-sizing from the text's extent in the label's font.
#include "toolkit/Label.h"

#include "toolkit/SysUtils.h"
#include "toolkit/WinControl.h"

namespace {
TCustomLabel& L(TObject& o) { return static_cast<TCustomLabel&>(o); }
const TCustomLabel& L(const TObject& o) { return static_cast<const TCustomLabel&>(o); }

const TPropertyInfo kLabelProps[] = {
    {L"Transparent", [](const TObject& o) { return BoolToStr(L(o).Transparent()); },
     [](TObject& o, std::wstring_view v) { L(o).SetTransparent(StrToBool(v)); }},
    {L"AutoSize", [](const TObject& o) { return BoolToStr(L(o).AutoSize()); },
     [](TObject& o, std::wstring_view v) { L(o).SetAutoSize(StrToBool(v)); }},
};
} // namespace

const TClassInfo TCustomLabel::StaticClass{L"TCustomLabel", &TGraphicControl::StaticClass, kLabelProps};
const TClassInfo TLabel::StaticClass{L"TLabel", &TCustomLabel::StaticClass, {}};

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetParentColor(true);
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Invalidate();
}

void TCustomLabel::SetBounds(int left, int top, int width, int height)
{
    Invalidate();
    TGraphicControl::SetBounds(left, top, width, height);
    AdjustBounds();
}

void TCustomLabel::CaptionChanged()
{
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    const TTextSize size = TextExtent(Font(), FCaption);
    if (size.Width != FWidth || size.Height != FHeight) {
        Invalidate();
        FWidth = size.Width;
        FHeight = size.Height;
        Invalidate();
        SizeChanged();
    }
}

void TCustomLabel::Paint(HDC dc)
{
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    if (!FTransparent) {
        win::GdiObject<HBRUSH> brush{::CreateSolidBrush(ColorToRGB(Color()))};
        ::FillRect(dc, &r, brush.get());
    }
    win::Select font{dc, Font().Handle()};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : SystemColor(COLOR_GRAYTEXT)));
    ::DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, DT_NOPREFIX | DT_SINGLELINE);
}
