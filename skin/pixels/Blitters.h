// Block transfers between pixel views: copy, nearest-pixel stretch, tiling and the transparent-key copy.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstdint>

// The RGB value of the transparent key, pure magenta; compared without the spare byte.
constexpr std::uint32_t kTransparentKey = 0xFF00FF;
constexpr bool IsKeyPixel(std::uint32_t p, std::uint32_t key = kTransparentKey) noexcept
{
    return (p & 0xFFFFFF) == (key & 0xFFFFFF);
}

// Copies source rectangle srcRect of src to (x, y) of dst at its own size.
void CopyRect(const TPixelView& dst, int x, int y, const TPixelView& src, const TPixelRect& srcRect) noexcept;

// Stretches srcRect of src over dstRect of dst with the colour-on-colour rule: every target
// pixel takes the one source pixel its position maps to, nothing is blended. srcRect is first
// clipped to src; dstRect is clipped to dst without changing the mapping.
void StretchRect(const TPixelView& dst, const TPixelRect& dstRect, const TPixelView& src, const TPixelRect& srcRect);

// Repeats srcRect of src from target's top-left in steps of its size while a copy starts
// inside target; the last row and column of copies may run past target (they are clipped
// only to dst), so callers paint what borders it afterwards.
void TileRect(const TPixelView& dst, const TPixelRect& target, const TPixelView& src, const TPixelRect& srcRect) noexcept;

// Copies src to target's top-left (at most target's size), leaving dst as it was wherever
// the source pixel is the key colour. Nothing for an inverted target.
void TransparentBlit(const TPixelView& dst, const TPixelRect& target, const TPixelView& src,
    std::uint32_t key = kTransparentKey) noexcept;
