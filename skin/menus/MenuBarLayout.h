// Where the items of a skinned menu bar go in its band, before any pixel: each item as wide as
// its caption plus a margin, from the left (from the right for right-to-left menus), clear of
// the menu bar image's end and of the MDI caption buttons the band may hold.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <vector>

struct TMenuBarFacts {
    TPixelRect Band;               // frame coordinates
    bool HasBarObject = false;     // the skin has a menu bar image
    int BarLeftWidth = 0;          // its LeftWidth and RightWidth
    int BarRightWidth = 0;
    bool RightToLeft = false;
    // Items end at this x (left to right) or start left of it (right to left); the band's right
    // edge when nothing sits in the band.
    int RightLimit = 0;
};

// A caption width below 0 marks an item that is not shown: its rectangle is empty. A shown item
// is its caption width + 10 wide (0 for an empty caption) and the band's height − 1 high; an item
// cut by the limit keeps what is left of it, one beyond the limit gets an empty rectangle.
std::vector<TPixelRect> LayoutMenuBarItems(const TMenuBarFacts& facts, const std::vector<int>& captionWidths);
