// What a skinned push button shows, before any pixel: the frame of the Buttons strip for its
// state, the caption with its line break, and where the text and its focus rectangle go.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <string>
#include <string_view>

struct TButtonFaceState {
    bool Enabled = true;
    bool Pressed = false;
    bool MouseOver = false;
    bool Focused = false;
    bool Default = false;
};

// Frames of the Buttons strip, 1-based.
namespace button_frame {
constexpr int kNormal = 1, kPressed = 2, kDisabled = 3, kHot = 4, kFocused = 5;
}

// A disabled button shows the disabled frame whatever the mouse does; otherwise pressed wins
// over hot, and hot over focused or default.
int ButtonFaceFrame(const TButtonFaceState& state) noexcept;

// The first "||" of a caption is where its second line starts.
std::wstring ButtonCaptionText(std::wstring_view caption);

// The text block of a measured size inside a face of width × height: centred across, and a
// pixel above the middle down.
TPixelRect PlaceButtonText(int faceWidth, int faceHeight, int textWidth, int textHeight) noexcept;

// The focus rectangle around placed text.
TPixelRect ButtonFocusRect(const TPixelRect& text) noexcept;
