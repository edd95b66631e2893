// Joins the rectangles of a skin region into a Windows region.
#pragma once

#include "skin/pixels/PixelBuffer.h"
#include "toolkit/WinHandle.h"

#include <span>

// Rectangles handed to one ExtCreateRegion call; keeps each region call bounded.
constexpr size_t kRegionBlock = 2000;

// The union of rects as a new region (an empty region for no rectangles), or no region when
// GDI refuses. Hand it to SetWindowRgn with release() only once that call succeeded.
win::GdiObject<HRGN> CreateRegionFromRects(std::span<const TPixelRect> rects) noexcept;
