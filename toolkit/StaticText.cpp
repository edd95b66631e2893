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
    const TTextSize size = TextExtent(Font(), FCaption);
    TWinControl::SetBounds(left, top, size.Width, size.Height);
}

void TCustomStaticText::AdjustBounds()
{
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TCustomStaticText::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_CTLCOLORSTATIC) {
        AnswerCtlColor(Message);
        return;
    }
    TWinControl::WndProc(Message);
}
