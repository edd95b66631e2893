// TSkinUpDown: the wrapper of up-down controls, the buddy up-downs of edits included: both
// buttons painted from the skin's up-down strips, each in its own state. The control still
// does the stepping, the repeat and the buddy's text.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinUpDown : public TSkinControl {
    TK_CLASS(TSkinUpDown)
public:
    using TSkinControl::TSkinControl;

    // Which button: none, the first (up or left), the second (down or right).
    enum class TPart { None, First, Second };

    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    TPart HotPart() const noexcept { return FHot; }
    TPart PressedPart() const noexcept { return FPressed; }
    // The frames the last Draw used for the two buttons, 0 before any.
    int LastFirstFrame() const noexcept { return FLastFrames[0]; }
    int LastSecondFrame() const noexcept { return FLastFrames[1]; }

private:
    bool Horizontal() const;
    // The skin has an up-down strip for the control's orientation.
    bool HasFace() const;
    TPart PartAt(LPARAM clientPoint) const;
    void SetParts(TPart hot, TPart pressed);
    void WMPaint(TMessage& Message);

    TPixelBuffer FFace;
    TPart FHot = TPart::None;
    TPart FPressed = TPart::None;
    bool FTracking = false;
    int FLastFrames[2]{};
};
