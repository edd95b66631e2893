// TSkinRadioButton: radio buttons painted from the skin's radio strip; everything else as the
// check box.
#pragma once

#include "skin/controls/SkinCheckBox.h"

class TSkinRadioButton : public TSkinCheckBox {
    TK_CLASS(TSkinRadioButton)
public:
    using TSkinCheckBox::TSkinCheckBox;

protected:
    const TPixelBuffer& Strip() const override;
    int StripCells() const override;
    bool ReadsStateProperty() const override { return false; }
};
