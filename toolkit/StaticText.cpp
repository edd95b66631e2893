// Static text keeps its size fitted to the caption in its font, as labels do.
#include "toolkit/StaticText.h"

const TClassInfo TCustomStaticText::StaticClass{L"TCustomStaticText", &TWinControl::StaticClass, {}};
const TClassInfo TStaticText::StaticClass{L"TStaticText", &TCustomStaticText::StaticClass, {}};

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner)
{
    SetParentColor(true);
}

void TCustomStaticText::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"STATIC");
    Params.Style |= SS_LEFT | SS_NOPREFIX;
}

void TCustomStaticText::CaptionChanged()
{
    TWinControl::CaptionChanged();
    AdjustBounds();
}

void TCustomStaticText::FontChanged()
{
    TWinControl::FontChanged();
    AdjustBounds();
}

void TCustomStaticText::SetBounds(int left, int top, int, int)
{
    const SIZE size = TextSize();
    TWinControl::SetBounds(left, top, size.cx, size.cy);
}

void TCustomStaticText::AdjustBounds()
{
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

SIZE TCustomStaticText::TextSize() const
{
    HDC screen = ::GetDC(nullptr);
    RECT r{0, 0, 0, 0};
    {
        win::Select font{screen, Font().Handle()};
        const std::wstring text = FCaption.empty() ? L" " : FCaption;
        ::DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    }
    ::ReleaseDC(nullptr, screen);
    return {r.right, r.bottom};
}

void TCustomStaticText::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        ::SetTextColor(dc, ColorToRGB(Font().Color()));
        ::SetBkColor(dc, ColorToRGB(Color()));
        Message.Result = reinterpret_cast<LRESULT>(ColorBrush());
        return;
    }
    TWinControl::WndProc(Message);
}
