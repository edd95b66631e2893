// TSkinScrollbarH: the wrapper of the scroll bar of a combo box.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinScrollbarH : public TSkinControl {
    TK_CLASS(TSkinScrollbarH)
public:
    using TSkinControl::TSkinControl;
};
