// The shape of a window cut from a skin image: one rectangle per run of pixels outside the key colour range.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstdint>
#include <vector>

// Per channel, how far above the key's value a pixel still counts as key.
struct TKeyTolerance {
    int Blue = 0, Green = 0, Red = 0;
};

// For each row y, every maximal run [x0, x1) of pixels not inside the key range on all three
// channels gives (x0 + dx, y + dy, x1 + dx, y + dy + 1), rows top to bottom, runs left to right.
// The key range of a channel runs from the key's value to that value plus its tolerance
// (capped at 255; a negative tolerance counts as 0). key is a pixel value (0x00RRGGBB).
std::vector<TPixelRect> RegionFromBitmap(const TPixelView& image, int dx, int dy, TKeyTolerance tolerance,
    std::uint32_t key);
