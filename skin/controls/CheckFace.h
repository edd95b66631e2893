// What a skinned check box or radio button shows, before any pixel: the cell of its image strip
// for the button's state, and where the cell and the caption go.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <optional>
#include <string_view>

// What the window and its control report. A published text is absent when the control has no
// such property (every window the toolkit did not make).
struct TCheckFaceState {
    bool Checked = false;       // the button reports BST_CHECKED
    bool Indeterminate = false; // the button reports BST_INDETERMINATE
    std::optional<std::wstring_view> StateText; // "State": "cbUnchecked", "cbChecked", "cbGrayed"
    std::optional<std::wstring_view> CheckedText; // "Checked": "true" or "false"
    bool DataField = false;     // a data-aware control bound through "DataField"
    std::optional<int> LastSetCheck; // its last BM_SETCHECK value, when one was seen
    bool DataBinding = false;   // a data-aware control bound through "DataBinding"
    bool Enabled = true;
    bool Pressed = false;       // the button reports BST_PUSHED
    bool MouseOver = false;
};

// Strips of this many cells hold unchecked, checked and mixed, each normal, hot, pressed and
// disabled; other strips hold unchecked, checked, and both disabled (the fourth also mixed).
constexpr int kCheckCellsWithStates = 12;

// The 1-based cell of a strip of `frameCount` cells, never beyond the strip.
int CheckFaceFrame(const TCheckFaceState& state, int frameCount) noexcept;

struct TCheckLayout {
    TPixelRect Image;
    TPixelRect Text; // the room beside the image the caption is measured in
};

// The image centred down the left edge (the right edge when the text comes first), the text's
// room starting 2 pixels beyond it.
TCheckLayout CheckBoxLayout(int width, int height, int imageWidth, int imageHeight, bool textLeft) noexcept;

// A measured caption of textWidth × textHeight in the room, centred down it; right-aligned
// when asked (right-to-left reading with the image on the right).
TPixelRect PlaceCheckText(const TPixelRect& room, int textWidth, int textHeight, bool alignRight) noexcept;
