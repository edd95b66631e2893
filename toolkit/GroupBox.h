// Group boxes: an etched frame with the caption in its top edge, holding other controls.
#pragma once

#include "toolkit/WinControl.h"

class TCustomGroupBox : public TWinControl {
    TK_CLASS(TCustomGroupBox)
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint(HDC dc, const TRect& client) override;
    void CaptionChanged() override;
};

class TGroupBox : public TCustomGroupBox {
    TK_CLASS(TGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
};
