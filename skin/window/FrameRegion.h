// The window region of a skinned frame as rectangles: the client and the opaque parts of the borders.
#pragma once

#include "skin/window/FrameGeometry.h"

#include <vector>

struct TFrameRegion {
    enum class TKind {
        None,        // a window without size gets no region
        WholeWindow, // CreateRectRgn(0, 0, W, H)
        Rects,       // the union of Rects (CreateRegionFromRects)
    };
    TKind Kind = TKind::None;
    std::vector<TPixelRect> Rects; // window coordinates
};

// Borders whose Trans is 1 lose their magenta pixels (with a tolerance of 1 per channel, as
// an image's magenta may have been rounded), painted as an active frame; other borders and the
// client area are whole. Skins without transparency in Left, Top and Right keep the window
// rectangular. A window without a caption has only its client area.
TFrameRegion BuildFrameRegion(const TSkinObjects& skin, int width, int height, const TFrameBorders& borders,
    TBorderKind kind);
