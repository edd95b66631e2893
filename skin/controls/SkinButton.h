// TSkinButton: a push button painted from the skin's Buttons strip. The face (frame by state,
// caption, focus rectangle) is composed off screen and put on the window in one transfer; the
// button's own press handling is replaced, so that a click is raised on release over the button.
#pragma once

#include "skin/controls/ButtonFace.h"
#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinButton : public TSkinControl {
    TK_CLASS(TSkinButton)
public:
    using TSkinControl::TSkinControl;

    bool Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour) override;
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    bool MouseOver() const noexcept { return FMouseOver; }
    bool Pressed() const noexcept { return FPressed; }
    // The frame the last Draw used, 0 before any.
    int LastFrame() const noexcept { return FLastFrame; }
    // The focus rectangle the last Draw drew, empty when none.
    const TPixelRect& LastFocusRect() const noexcept { return FLastFocusRect; }

protected:
    // The skin has a Buttons image to paint with; without one the button paints itself.
    bool HasFace() const;
    virtual std::wstring CaptionText() const;
    void Click();
    void SetFlags(bool mouseOver, bool pressed);
    // A point of a mouse message's lParam lies on the button.
    bool PointInside(LPARAM point) const;
    void EndCapture();

private:

    TPixelBuffer FFace; // the off-screen face, kept while the size stays
    bool FMouseOver = false;
    bool FPressed = false;
    bool FCaptured = false; // pressed by the mouse, which the button holds until release
    int FLastFrame = 0;
    TPixelRect FLastFocusRect;
};
