// Skinned popup menu items: one item composed off screen over its popup's background (the
// MenuItem object, glyph column, caption and shortcut) and put on the target in one transfer,
// and the draw and measure handlers that toolkit menu items get while a skin paints them.
#pragma once

#include "toolkit/MenuItem.h"

#include <windows.h>

#include <string>

class TImageList;
class TSkinData;
class TWinSkinPopMenu;

// What one item shows, whoever it belongs to (a toolkit item or an entry known by its text).
struct TMenuItemLook {
    std::wstring Caption;  // "&" marks the accelerator
    std::wstring ShortCut; // right-aligned; empty for none
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool Selected = false;
    bool RightToLeft = false;
    const TImageList* Images = nullptr; // the menu's images, or none
    int ImageIndex = -1;
};

// Paints the item over rect of dc. Its background is the matching part of the popup's picture
// when popup has one, else the skin's Menu colour; without a MenuItem object in the skin the
// item gets a plain look in the skin's colours.
void PaintSkinnedMenuItem(HDC dc, const RECT& rect, const TMenuItemLook& look, const TSkinData& skinData,
                          const TWinSkinPopMenu* popup);

// The open popup window that shows menu, drawing through dc: the window dc belongs to, else the
// newest popup that has not learnt its menu yet, which then learns it. Null when none is open.
TWinSkinPopMenu* PopupShowingMenu(HDC dc, HMENU menu);

// The look of a toolkit item: its texts, states, the menu's images and the entry's reading order.
TMenuItemLook LookOfItem(const TMenuItem& item, bool selected);
// Draws a toolkit item on dc as the skin paints it (also what the benchmark times); mirrored
// when its entry or the window it belongs to reads right to left.
void DrawSkinnedMenuItem(HDC dc, const RECT& rect, const TMenuItem& item, bool selected, const TSkinData& skinData,
                         bool rightToLeft = false);

// The handlers a skin gives toolkit items. Named types, so that the skin recognises its own
// handlers on an item when it lets go and leaves any other.
struct TMenuItemDrawer {
    TSkinData* SkinData;
    // The menu belongs to a right-to-left window. Wine takes an entry's MFT_RIGHTORDER bit for
    // its own system-menu mark and then never asks the owner to draw it, so the window's reading
    // order travels with the handler.
    bool RightToLeft = false;
    void operator()(TObject* Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected) const;
};
// Popup menu items: the toolkit's size, widened for the skin's item edge.
struct TMenuItemMeasurer {
    TSkinData* SkinData;
    void operator()(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height) const;
};
// Main menu items below the top level: the item's own measuring first, then the skin's room.
struct TMainMenuItemMeasurer {
    TSkinData* SkinData;
    TMenuMeasureItemEvent Own;
    void operator()(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height) const;
};

// The MenuItem object's left edge width, 0 without one.
int MenuItemLeftWidth(const TSkinData& skinData) noexcept;
// The screen's menu font, kept for the process.
HFONT MenuFont();
