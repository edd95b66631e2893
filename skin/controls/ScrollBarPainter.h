// Paints a laid-out skinned scroll bar into pixels from the skin's scroll bar objects.
#pragma once

#include "skin/controls/ScrollBarLayout.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinObjects;

// The skin has what a skinned scroll bar needs: the Scrollbar strip with its arrows.
bool CanPaintScrollBar(const TSkinObjects& skin) noexcept;

// Fills dst with the face colour, then the track, the arrows, the thumb and its grip.
void PaintScrollBar(const TPixelView& dst, const TScrollBarLayout& layout, bool vertical, const TSkinObjects& skin);
