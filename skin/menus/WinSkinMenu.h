// TWinSkinMenu: the skinned menu bar of one framed window. It takes the window's menu off the
// window, paints its items in the frame's band under the caption from the skin's menu bar
// image, and opens their submenus as skinned popups, following the mouse and the arrow keys
// from one item to the next while a popup is open.
#pragma once

#include "skin/menus/MenuBtn.h"
#include "skin/window/FrameGeometry.h"
#include "skin/pixels/PixelBuffer.h"
#include "toolkit/WinHandle.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

class TSkinData;
class TWinSkinForm;

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& frame, TSkinData* skinData);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // Items from the window's menu (the one kept when the window has none), matched to the
    // toolkit's items by command; the window's own menu bar is taken off.
    void BuildMenuBar();
    // After the window was given another menu: build again and lay out.
    void RebuildMenuBar();
    // Takes `menu` as the window's menu (null: the bar shows no items) and builds from it.
    void TakeMenu(HMENU menu);
    void LayoutMenuBar();
    // Band (background, items, MDI buttons) into dc, whose origin is the frame's; band is in
    // frame coordinates. Also what a benchmark times into a memory DC.
    void PaintMenuBar(HDC dc, const TPixelRect& band);
    // The shown item with a caption under a frame point.
    std::optional<size_t> MenuBarHitTest(TFramePoint p) const;
    // Shows and tracks the item's submenu; true when a popup was shown.
    bool OpenMenuBarItem(size_t index);
    // The item whose caption has this accelerator, shown and with a caption.
    std::optional<size_t> FindAccelerator(wchar_t key) const;

    // A press on the item posted to the window, which the frame's non-client handling opens
    // once the messages before it are done.
    void PostItemPress(size_t index) const;
    // One item repainted in its state from the band kept at the last paint, straight to the window.
    void PaintItem(size_t index);
    // One of the frame's caption buttons that sit in the band, likewise.
    void PaintBandButton(size_t buttonIndex);

    TWinSkinForm& Frame() const noexcept { return FFrame; }
    HMENU WindowMenu() const noexcept { return FWindowMenu; }
    const std::vector<std::unique_ptr<TMenuBtn>>& MenuBarItems() const noexcept { return FItems; }
    TMenuBtn* Item(size_t index) const noexcept { return index < FItems.size() ? FItems[index].get() : nullptr; }
    size_t ItemCount() const noexcept { return FItems.size(); }
    const TPixelRect& BandRect() const noexcept { return FBandRect; }
    bool RightToLeft() const noexcept { return FRightToLeft; }

private:
    void ReadItems();
    // Left edge of the MDI caption buttons shown in the band, or the band's right edge.
    int ButtonLimit(const TPixelRect& band) const;
    void DrawCaption(HDC dc, const TMenuBtn& item, const TPixelRect& r, COLORREF colour) const;

    TWinSkinForm& FFrame;
    TSkinData* FSkinData;
    std::vector<std::unique_ptr<TMenuBtn>> FItems;
    HMENU FWindowMenu = nullptr;
    TPixelBuffer FBandBitmap;  // the band without items, for repainting one
    TPixelBuffer FBandPicture; // the band as last painted, items and buttons included
    TPixelRect FBandRect;
    bool FRightToLeft = false;
};
