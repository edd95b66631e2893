// TSkinSizer: size-grip windows painted with the skin's grip glyph (the fifth ExtraImages cell,
// as on the status bar) on the face colour. A skin without that glyph leaves the system's grip.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinSizer : public TSkinControl {
    TK_CLASS(TSkinSizer)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    static constexpr int kGripCell = 5;

private:
    bool HasGrip() const;

    TPixelBuffer FFace; // the off-screen face, kept while the size stays
};
