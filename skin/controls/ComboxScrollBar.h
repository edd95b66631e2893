// TComboxScrollBar: the wrapper of the list window of a combo box: its scroll bar.
#pragma once

#include "skin/controls/SkinControl.h"

class TComboxScrollBar : public TSkinControl {
    TK_CLASS(TComboxScrollBar)
public:
    using TSkinControl::TSkinControl;
};
