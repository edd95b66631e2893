// Joins the rectangles of a skin region into a Windows region.
#pragma once

#include "skin/PixelBuffer.h"

#include <windows.h>

#include <span>

// Rectangles handed to one ExtCreateRegion call; keeps each region call bounded.
constexpr size_t kRegionBlock = 2000;

// The union of rects as a new region (the caller owns it; an empty region for no rectangles),
// or nullptr when GDI refuses.
HRGN CreateRegionFromRects(std::span<const TPixelRect> rects) noexcept;
