// TSkinGroupBox: group boxes drawn in the skin's colours: a rounded edge in the shadow colour
// with the caption on the face colour, then the group's own non-windowed controls (labels), all
// composed off screen and put on the window in one transfer.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinGroupBox : public TSkinControl {
    TK_CLASS(TSkinGroupBox)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    std::wstring CaptionText() const;

    TPixelBuffer FFace; // the off-screen face, kept while the size stays
};
