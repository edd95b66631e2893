// Static text: a STATIC window sized to its caption.
#pragma once

#include "toolkit/WinControl.h"

class TCustomStaticText : public TWinControl {
    TK_CLASS(TCustomStaticText)
public:
    explicit TCustomStaticText(TComponent* owner);
    void WndProc(TMessage& Message) override;
    // Static text always takes the size of its caption.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
};

class TStaticText : public TCustomStaticText {
    TK_CLASS(TStaticText)
public:
    using TCustomStaticText::TCustomStaticText;
};
