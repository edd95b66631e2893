// TSkinScrollbar: the wrapper of scrollable controls: panels painted over the control's own scroll bars.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinScrollbar : public TSkinControl {
    TK_CLASS(TSkinScrollbar)
public:
    using TSkinControl::TSkinControl;

    // Covers the control's scroll bars with skinned panels and takes over its messages.
    virtual bool AttachScrolling(TWinSkinForm* frame, TSkinData* skinData);
    // Single-bar mode: the control is itself one scroll bar, and no border is painted.
    void SetSingleBar(bool single) noexcept { FVariant = single ? 1 : 0; }
    bool SingleBar() const noexcept { return FVariant == 1; }
};
