// What the skinned combo boxes and up-downs show, before any pixel: the frame of each strip for
// a state, and where the button part and the two halves of an up-down go.
#pragma once

#include "skin/pixels/PixelBuffer.h"

struct TComboFaceState {
    bool Enabled = true;
    bool Pressed = false;   // the button held down or the list dropped
    bool Focused = false;   // the focus is in the box or its edit
    bool MouseOver = false;
};

// Frames of the combo strips (ComboButton, SunkEdge, ExtraImages) and of each up-down half, 1-based.
namespace combo_frame {
constexpr int kNormal = 1, kPressed = 2, kDisabled = 3, kHot = 4;
}

// Disabled wins over everything, pressed over hot and focused.
int ComboFaceFrame(const TComboFaceState& state) noexcept;

// The part the ComboButton image fills when the skin has no composed strip: a scroll arrow plus
// two pixels wide, two pixels in from the top, the bottom and the button's side.
TPixelRect ComboButtonPart(int width, int height, int arrowWidth, bool leftSide) noexcept;

// The two buttons of an up-down: up and down stacked, or left and right side by side. The first
// takes the smaller half of an odd length.
struct TUpDownHalves {
    TPixelRect First;  // up, or left
    TPixelRect Second; // down, or right
};
TUpDownHalves UpDownHalves(int width, int height, bool horizontal) noexcept;

struct TUpDownHalfState {
    bool Enabled = true;
    bool Pressed = false;
    bool MouseOver = false;
};

// The face and glyph frame of one half: normal, pressed, disabled, hot for the first half
// (1 to 4), the same four for the second (5 to 8).
int UpDownFrame(bool second, const TUpDownHalfState& state) noexcept;
