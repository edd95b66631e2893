// TSkinBox: the wrapper of panels and other containers: the face colour only, without taking over their messages.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinBox : public TSkinControl {
    TK_CLASS(TSkinBox)
public:
    using TSkinControl::TSkinControl;
};
