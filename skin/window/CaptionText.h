// Where the caption text and its background go on the caption band, from a text size measured by the caller.
#pragma once

#include "skin/definitions/DataSkinObjects.h"
#include "skin/pixels/PixelBuffer.h"

enum class TReading { LeftToRight, RightToLeft };

struct TCaptionTextInput {
    TPixelRect Caption;        // the caption rectangle on the band
    int TextWidth = 0;         // the caption text as DT_CALCRECT measures it in the caption font
    int TextHeight = 0;
    TReading Reading = TReading::LeftToRight;
    bool Popup = false;        // WS_POPUP
    bool DialogFrame = false;  // border kind 3
    int RightButtonArea = 0;   // see RightButtonArea
};

struct TCaptionTextPlacement {
    // Where the Title image goes behind the text: the text's width, the caption's height.
    TPixelRect Background;
    // The DrawText rectangle; its right side already stops at Clip so the ellipsis shows.
    TPixelRect Text;
    // What the text may paint over: the caption up to the clip edge.
    TPixelRect Clip;
};

// The text is widened by the Title's fixed background ends and placed by its alignment
// (0 left at TextShift, 1 centred, 2 right before TextRightClip; mirrored for right-to-left
// reading, which leaves room for the right-hand buttons), lowered by half TextShiftVert.
// Nothing starts left of the caption or turns inside out, whatever the skin's numbers.
TCaptionTextPlacement PlaceCaptionText(const TCaptionTextInput& input, const TDataSkinTitle& title) noexcept;
