// Tiny images whose every cell has its own colour, so a test can tell where a target pixel came from.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstdint>

// The colour of source cell (x, y): opaque, never black, never magenta.
constexpr std::uint32_t Cell(int x, int y)
{
    return 0xFF000000u | 0x400000u | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(y);
}

inline TPixelBuffer Numbered(int w, int h)
{
    TPixelBuffer b(w, h);
    const TPixelView v = b.View();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            v.At(x, y) = Cell(x, y);
    return b;
}

inline TPixelBuffer Filled(int w, int h, std::uint32_t pixel)
{
    TPixelBuffer b(w, h);
    b.Fill(pixel);
    return b;
}
