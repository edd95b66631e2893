// TSkinEdit: the wrapper of edits: the border, and the spin edit's up-down.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinEdit : public TSkinControl {
    TK_CLASS(TSkinEdit)
public:
    using TSkinControl::TSkinControl;
};
