// TSkinStatusBar: the wrapper of status bars: the panels' edges and texts.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinStatusBar : public TSkinControl {
    TK_CLASS(TSkinStatusBar)
public:
    using TSkinControl::TSkinControl;
};
