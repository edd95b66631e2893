// TSkinBox: panels and other containers take the skin's face colour while attached; their
// messages stay their own, since the toolkit paints them in their Color anyway.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinBox : public TSkinControl {
    TK_CLASS(TSkinBox)
public:
    using TSkinControl::TSkinControl;

protected:
    bool TakesOverMessages() const override { return false; }
};
