// TSkinScrollbar: the wrapper of scrollable controls (the traffic log's list box among them):
// skinned panels over the control's own scroll bars, following every change of the bars, and a
// flat skinned border; the system still does all the scrolling.
#pragma once

#include "skin/controls/SkinControl.h"

#include <optional>
#include <string>

class TWScrollbar;

class TSkinScrollbar : public TSkinControl {
    TK_CLASS(TSkinScrollbar)
public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    // Covers the control's scroll bars with skinned panels and takes over its messages.
    virtual bool AttachScrolling(TWinSkinForm* frame, TSkinData* skinData);
    // Single-bar mode: the control is itself one scroll bar, and no border is painted.
    void SetSingleBar(bool single) noexcept { FVariant = single ? 1 : 0; }
    bool SingleBar() const noexcept { return FVariant == 1; }

    void DetachWrapper() override;
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Refresh() override;
    void ActiveChanged() override;

    // The panels; null before AttachScrolling or when the skin has no scroll bar images.
    TWScrollbar* VerticalBar() const noexcept { return FVertical; }
    TWScrollbar* HorizontalBar() const noexcept { return FHorizontal; }
    bool PaintsBorder() const noexcept { return FPaintBorder; }

    // Both panels read their bars again.
    void FollowBars();

private:
    void PaintBorder();
    TWScrollbar* MakeBar(bool vertical);
    void FreeBars();

    TWScrollbar* FVertical = nullptr;
    TWScrollbar* FHorizontal = nullptr;
    bool FPaintBorder = false;
    std::optional<std::wstring> FSavedFixedColor;
};
