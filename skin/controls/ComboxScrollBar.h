// TComboxScrollBar: the wrapper of a combo box's list window, which paints the list's own
// scroll bar from the skin. The list is a pop-up of its own, so no panel can lie over its bar:
// the skinned bar goes straight into the list's non-client area after the system drew its own,
// and the system keeps all the scrolling.
#pragma once

#include "skin/controls/NativeScrollBar.h"
#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TComboxScrollBar : public TSkinControl {
    TK_CLASS(TComboxScrollBar)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;

    TScrollPart HotPart() const noexcept { return FHot; }
    TScrollPart PressedPart() const noexcept { return FPressed; }
    const TScrollBarLayout& Layout() const noexcept { return FLayout; }

private:
    // Paints the bar when what shows changed, or always with force (the system just drew its own).
    void PaintBar(bool force);
    TScrollPart PartAt(POINT screen) const;
    int CursorAlong() const;

    TNativeScrollBar FBar;
    TScrollBarLayout FLayout;
    TScrollPart FHot = TScrollPart::None;
    TScrollPart FPressed = TScrollPart::None;
    int FGrabThumb = 0;
    int FGrabCursor = 0;
    TPixelBuffer FScratch;
};
