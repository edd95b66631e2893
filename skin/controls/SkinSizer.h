// TSkinSizer: the wrapper of size-grip windows.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinSizer : public TSkinControl {
    TK_CLASS(TSkinSizer)
public:
    using TSkinControl::TSkinControl;
};
