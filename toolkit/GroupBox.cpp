// Group box painting: frame from half the caption height down, caption over the frame.
#include "toolkit/GroupBox.h"

const TClassInfo TCustomGroupBox::StaticClass{L"TCustomGroupBox", &TWinControl::StaticClass, {}};
const TClassInfo TGroupBox::StaticClass{L"TGroupBox", &TCustomGroupBox::StaticClass, {}};

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner)
{
    SetParentColor(true);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomGroupBox::CaptionChanged()
{
    TWinControl::CaptionChanged();
    Invalidate();
}

void TCustomGroupBox::Paint(HDC dc, const TRect& client)
{
    win::Select font{dc, Font().Handle()};
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    RECT frame{client.Left, client.Top + metrics.tmHeight / 2, client.Right, client.Bottom};
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (FCaption.empty())
        return;
    RECT text{8, 0, 0, 0};
    ::DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    text.right += 2;
    ::SetBkColor(dc, ColorToRGB(Color()));
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : SystemColor(COLOR_GRAYTEXT)));
    ::DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
}
