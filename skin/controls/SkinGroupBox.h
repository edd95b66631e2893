// TSkinGroupBox: the wrapper of group boxes: a rounded edge and the caption on the face colour.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinGroupBox : public TSkinControl {
    TK_CLASS(TSkinGroupBox)
public:
    using TSkinControl::TSkinControl;
};
