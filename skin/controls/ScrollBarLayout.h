// Where a skinned scroll bar's parts go and which frame of their strips each shows, from what
// the system reports about the bar it covers; no pixels here.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <optional>

enum class TScrollPart { None, FirstArrow, SecondArrow, Track, Thumb };

// Frames of the Scrollbar strip (23 cells), 1-based: four per arrow (normal, pressed,
// disabled, hot), then the grips (normal, pressed, hot) across and along.
namespace scroll_frame {
constexpr int kLeft = 1, kRight = 5, kUp = 9, kDown = 13;
constexpr int kPressed = 1, kDisabled = 2, kHot = 3;
constexpr int kGripHorizontal = 17, kGripVertical = 20;
} // namespace scroll_frame

struct TScrollBarInput {
    bool Vertical = true;
    int Length = 0;    // along the bar
    int Thickness = 0; // across it
    int ArrowSize = 0; // the system's arrow length
    // The thumb's edges as the system reports them, from the bar's start; equal when none.
    int ThumbStart = 0;
    int ThumbEnd = 0;
    bool Unavailable = false; // the whole bar is disabled
    bool FirstArrowDisabled = false;
    bool SecondArrowDisabled = false;
    TScrollPart Hot = TScrollPart::None;
    TScrollPart Pressed = TScrollPart::None;
    // While the thumb is dragged: where the cursor would put its start.
    std::optional<int> DragThumbStart;
    // The Scrollbar image's height: the grip's length, and the least thumb that carries one + 2.
    int ImageHeight = 0;
};

struct TScrollBarLayout {
    TPixelRect FirstArrow, SecondArrow, Track, Thumb, Grip; // empty when absent
    int FirstArrowFrame = 0, SecondArrowFrame = 0, TrackFrame = 0, ThumbFrame = 0, GripFrame = 0;
    bool operator==(const TScrollBarLayout&) const noexcept = default;
};

// Track frames (HorzScroll, VertScroll): normal, pressed, unavailable, hot.
// Thumb frames (HorzScrollThumb, VertScrollThumb): normal, pressed, hot.
TScrollBarLayout LayoutScrollBar(const TScrollBarInput& in) noexcept;

// The part under a point of the bar, None outside every part.
TScrollPart HitScrollPart(const TScrollBarLayout& layout, int x, int y) noexcept;

// How thick the skinned bar is: the image's height when it is within 2 pixels of the system's
// thickness, which keeps the skin's drawing unscaled; the system's otherwise.
int ScrollBarThickness(int imageHeight, int systemThickness) noexcept;
