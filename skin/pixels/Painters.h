// The routines that paint one frame of a skin image strip: nine-slice, three-slice, stretched and centred.
#pragma once

#include "skin/pixels/NineSlice.h"
#include "skin/pixels/PixelBuffer.h"

// The middle of a nine-slice is repeated at its own size or stretched over the centre.
enum class TCentre { Stretch, Tile };
// Whether magenta pixels of the image leave the target as it was.
enum class TKeying { Opaque, Transparent };

// A new width × height image of frame k of `count` cut by margins: corners at their own size,
// edges stretched along their length, the centre tiled or stretched. A frame with no pixels
// leaves the image black.
TPixelBuffer BuildNineSlice(int width, int height, const TPixelView& image, const TMargins& margins, TStrip strip,
    TCentre centre, int count, int k);

// BuildNineSlice for target's size, then copied (or key-transparently copied) to target.
// Nothing for an inverted target or an empty frame.
void DrawNineSlice(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    TCentre centre, TKeying keying, int count, int k, const TMargins& margins);

// Left end and right end of the frame (margins Left and Right) stretched to the full height at
// both ends of target, the middle repeated between them, each copy stretched to the full height.
void DrawThreeSlice(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    TKeying keying, int count, int k, const TMargins& margins);

// Like DrawThreeSlice but the middle stretched once across; a frame wider than target is
// stretched into it whole. Always opaque.
void DrawHorzStretch(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    int count, int k, const TMargins& margins);

// Frame k of a horizontal strip stretched over target.
void DrawFrameStretched(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TKeying keying,
    int count, int k);

// Frame k of a horizontal strip at its own size, centred in target (offsets truncate toward zero).
void DrawFrameCentred(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TKeying keying,
    int count, int k);
