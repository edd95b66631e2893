// Geometry of skin images before any pixel moves: where frame k of a strip lies and how a frame is cut into nine parts.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <array>

// Frames of a strip lie side by side unless the element says they are stacked.
enum class TStrip { Horizontal, Vertical };

// The fixed border widths of a frame: LeftWidth, TopHeight, RightWidth, BottomHeight.
struct TMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TMargins&) const noexcept = default;
};

// Frame k (1-based) of an image of `count` equal frames. A count below 1 counts as 1 and k
// is held to 1..count, so a skin's bad numbers never reach outside the image.
TPixelRect FrameRect(int imageWidth, int imageHeight, TStrip strip, int count, int k) noexcept;

// Margins as painting uses them within a frame of w × h: negative ones are 0 and none is
// wider than the frame itself.
TMargins ClampMargins(const TMargins& m, int w, int h) noexcept;

enum class TSlicePart { TopLeft, BottomLeft, TopRight, Left, Top, Centre, BottomRight, Right, Bottom };

struct TSlice {
    TSlicePart Part;
    TPixelRect Source; // within the frame rectangle
    TPixelRect Target; // within the target rectangle
};

// The nine parts of frame src painted over dst, in painting order: corners, left and top
// edges, centre, then the right and bottom parts, which cover whatever a tiled centre runs
// over. When dst is narrower than left + right both side margins are 0, likewise top and
// bottom. A part with nothing to paint has an empty source or target.
std::array<TSlice, 9> NineSlice(const TPixelRect& src, const TMargins& margins, const TPixelRect& dst) noexcept;
