// TSkinRadioButton: the wrapper of radio buttons, from the Buttons object's radio strip.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinRadioButton : public TSkinControl {
    TK_CLASS(TSkinRadioButton)
public:
    using TSkinControl::TSkinControl;
};
