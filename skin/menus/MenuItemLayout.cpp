// The skinned menu item's geometry.
#include "skin/menus/MenuItemLayout.h"

#include <algorithm>

namespace {

constexpr int kGlyphColumn = 16;
constexpr int kCaptionGap = 3;    // between the glyph box and the caption
constexpr int kShortCutInset = 10; // between the shortcut's end and the item's edge

// The rectangle as it lies in the item mirrored left to right.
TPixelRect Mirror(const TPixelRect& r, const TPixelRect& item) noexcept
{
    return {item.Left + item.Right - r.Right, r.Top, item.Left + item.Right - r.Left, r.Bottom};
}

} // namespace

TMenuItemLayout LayoutMenuItem(const TMenuItemFacts& facts) noexcept
{
    const TPixelRect& item = facts.Item;
    int column = facts.ImageWidth > 0 ? facts.ImageWidth : kGlyphColumn;
    if (facts.Checked)
        column = std::max(column, kGlyphColumn);
    TMenuItemLayout layout;
    const int boxLeft = item.Left + 1 + facts.SkinLeftWidth;
    layout.GlyphBox = {boxLeft, item.Top + 1, boxLeft + column, item.Top + 1 + column};
    layout.Caption = {layout.GlyphBox.Right + kCaptionGap, item.Top, item.Right - 1, item.Bottom};
    layout.ShortCut = {layout.Caption.Left, item.Top, item.Right - kShortCutInset, item.Bottom};
    if (facts.RightToLeft) {
        layout.GlyphBox = Mirror(layout.GlyphBox, item);
        layout.Caption = Mirror(layout.Caption, item);
        layout.ShortCut = Mirror(layout.ShortCut, item);
    }
    return layout;
}

int SkinnedPopupItemWidth(int measured, int skinLeftWidth, bool hasImages) noexcept
{
    return measured + skinLeftWidth + 12 + (hasImages ? 0 : 23);
}

int SkinnedMainMenuItemWidth(int measured, int skinLeftWidth, bool hasImages) noexcept
{
    return measured + skinLeftWidth + 10 + (hasImages ? 0 : 25);
}

TMenuTextSize MeasureMenuTextItem(int textWidth, int textHeight, bool separator, int skinLeftWidth) noexcept
{
    if (separator && textWidth == 0)
        return {skinLeftWidth + 26, 8};
    return {textWidth + 26 + skinLeftWidth, textHeight + 4};
}
