// TSkinCheckBox: check boxes (toolkit check boxes and "button" windows of the check styles)
// painted from a cell of the skin's check strip, with the caption beside it. The button keeps
// its own press, toggle and keyboard handling; whatever the system draws while doing so is
// painted over at once from the skin.
#pragma once

#include "skin/controls/CheckFace.h"
#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

#include <optional>

class TSkinCheckBox : public TSkinControl {
    TK_CLASS(TSkinCheckBox)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    bool MouseOver() const noexcept { return FMouseOver; }
    // The strip cell the last Draw used, 0 before any.
    int LastFrame() const noexcept { return FLastFrame; }
    // The focus rectangle the last Draw drew, empty when none.
    const TPixelRect& LastFocusRect() const noexcept { return FLastFocusRect; }

protected:
    // The strip this kind of button paints from, and its cell count.
    virtual const TPixelBuffer& Strip() const;
    virtual int StripCells() const;
    // Radio buttons have no three-state "State" to read.
    virtual bool ReadsStateProperty() const { return true; }

private:
    bool HasImage() const;
    TCheckFaceState ReadState() const;
    std::wstring CaptionText() const;
    void SetMouseOver(bool value);

    TPixelBuffer FFace; // the off-screen face, kept while the size stays
    bool FMouseOver = false;
    std::optional<int> FLastSetCheck;
    int FLastFrame = 0;
    TPixelRect FLastFocusRect;
};
