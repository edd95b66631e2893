// TSkinCheckBox: the wrapper of check boxes: toolkit check boxes and "button" windows of the check styles, from the Buttons object's check strip.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinCheckBox : public TSkinControl {
    TK_CLASS(TSkinCheckBox)
public:
    using TSkinControl::TSkinControl;
};
