// TSkinScrollbarH: the wrapper of a combo box's scroll bar: the list window inside a combo box
// (taken over through its window procedure) gets a skinned panel over its own bar, hosted by
// the combo box's toolkit control.
#pragma once

#include "skin/controls/SkinControl.h"

class TWScrollbar;

class TSkinScrollbarH : public TSkinControl {
    TK_CLASS(TSkinScrollbarH)
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbarH() override;

    // hwnd: a window with a scroll bar of its own whose parent is a toolkit control.
    bool AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame) override;
    void DetachWrapper() override;
    void AfterMessage(TMessage& Message) override;
    void ActiveChanged() override;

    TWScrollbar* Bar() const noexcept { return FBar; }

private:
    TWScrollbar* FBar = nullptr;
};
