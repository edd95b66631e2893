// The system's own scroll bars of a window, read in the skinned bar's terms, and the skinned bar
// put on a device context: what the scroll bar panels and the combo list's bar share.
#pragma once

#include "skin/controls/ScrollBarLayout.h"
#include "skin/pixels/PixelBuffer.h"

#include <windows.h>

class TSkinObjects;

struct TNativeScrollBar {
    bool Shown = false; // the window and its bar are visible
    RECT Screen{};      // the bar on screen
    // Geometry and availability as the system reports them; mouse states are the caller's.
    TScrollBarInput Input;
};

// Reads the window's own vertical or horizontal bar; not shown when the system cannot say.
TNativeScrollBar ReadNativeScrollBar(HWND hwnd, bool vertical, const TSkinObjects& skin);

// Composes the laid-out bar in scratch (a DIB section kept while the size stays) and puts it on
// dc at (x, y) in one transfer, so the bar never shows half painted.
void PutSkinScrollBar(HDC dc, int x, int y, int width, int height, const TScrollBarLayout& layout, bool vertical,
                      const TSkinObjects& skin, TPixelBuffer& scratch);

// Messages that only ask or paint the inside, which a control answers by the thousand while it
// paints: after them its bars are as they were.
bool ScrollBarsUnchangedBy(UINT msg) noexcept;
