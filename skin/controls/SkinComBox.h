// TSkinComBox: the wrapper of combo boxes: edge, button and arrow from the skin, and the drop-down list's scroll bar.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinComBox : public TSkinControl {
    TK_CLASS(TSkinComBox)
public:
    using TSkinControl::TSkinControl;

    // An extended combo box (the edit is its first child window).
    void SetExtended(bool extended) noexcept { FExtended = extended; }
    bool Extended() const noexcept { return FExtended; }

private:
    bool FExtended = false;
};
