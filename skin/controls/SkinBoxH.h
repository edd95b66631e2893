// TSkinBoxH: the wrapper of tool bar windows and nested dialogs of other windows: the face colour behind them.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinBoxH : public TSkinControl {
    TK_CLASS(TSkinBoxH)
public:
    using TSkinControl::TSkinControl;
};
