// TSkinBoxH: dialogs nested in framed windows and tool bar windows, which the toolkit did not
// make: their background becomes the skin's face, and so does the background the window hands
// its static texts and buttons when it would have handed them the system's.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinBoxH : public TSkinControl {
    TK_CLASS(TSkinBoxH)
public:
    using TSkinControl::TSkinControl;

    bool AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame) override;
    void DetachWrapper() override;
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
};
