// TSkinBitButton: the skinned bitmap button. It has the push button's states and frames; a
// bitmap button that is not visible gets nothing drawn.
#pragma once

#include "skin/controls/SkinButton.h"

class TSkinBitButton : public TSkinButton {
    TK_CLASS(TSkinBitButton)
public:
    using TSkinButton::TSkinButton;

    void Draw(HDC dc, const RECT& rect) override;
};
