// TSkinUpDown: the wrapper of up-down controls, the buddy up-downs of edits included.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinUpDown : public TSkinControl {
    TK_CLASS(TSkinUpDown)
public:
    using TSkinControl::TSkinControl;
};
