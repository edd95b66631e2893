// Where the parts of a skinned popup menu item go, and how wide and high the skin makes an item,
// before any pixel: the glyph box, the caption and the shortcut, mirrored for right-to-left
// menus, and the sizes the measuring handlers answer.
#pragma once

#include "skin/pixels/PixelBuffer.h"

// Frames of the skin's MenuItem strip.
namespace menu_item_frame {
constexpr int kCount = 5;
constexpr int kNormal = 1, kSelected = 4;
}

struct TMenuItemFacts {
    TPixelRect Item;         // the item's rectangle in its menu
    int SkinLeftWidth = 0;   // the MenuItem object's LeftWidth (0 without one)
    int ImageWidth = 0;      // the menu's image list width, 0 without images
    bool Checked = false;
    bool RightToLeft = false;
};

struct TMenuItemLayout {
    TPixelRect GlyphBox; // a square as wide as the glyph column
    TPixelRect Caption;  // single line, centred vertically
    TPixelRect ShortCut; // right-aligned (left-aligned when mirrored)
};

TMenuItemLayout LayoutMenuItem(const TMenuItemFacts& facts) noexcept;

// Width of a toolkit popup item after its own measuring, as the skin widens it.
int SkinnedPopupItemWidth(int measured, int skinLeftWidth, bool hasImages) noexcept;
// Width of a main menu's item below the top level, after the item's own measuring.
int SkinnedMainMenuItemWidth(int measured, int skinLeftWidth, bool hasImages) noexcept;

struct TMenuTextSize {
    int Width = 0, Height = 0;
};
// An item known only by its menu text (text measured in the menu font): its size in the skin.
// A separator without text is 8 high.
TMenuTextSize MeasureMenuTextItem(int textWidth, int textHeight, bool separator, int skinLeftWidth) noexcept;
