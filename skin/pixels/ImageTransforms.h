// Whole-image transforms used while loading skins: magenta replacement, mirroring, flipping and quarter turns.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstdint>

// Every pure magenta pixel (RGB only) becomes pixel.
void ReplaceMagenta(const TPixelView& image, std::uint32_t pixel) noexcept;

// Left-right and top-bottom reversal in place.
void MirrorImage(const TPixelView& image) noexcept;
void FlipImage(const TPixelView& image) noexcept;

// A quarter turn counter-clockwise / clockwise; width and height swap.
void RotateLeft(TPixelBuffer& image);
void RotateRight(TPixelBuffer& image);
