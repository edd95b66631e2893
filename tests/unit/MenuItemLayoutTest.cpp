// A skinned popup menu item before any pixel: where glyph, caption and shortcut go (mirrored
// for right-to-left menus), and the sizes the skin gives items.
#include "skin/menus/MenuItemLayout.h"

#include <gtest/gtest.h>

TEST(MenuItemLayoutTest, GlyphCaptionAndShortCutByColumnWidthAndDirection)
{
    const TPixelRect item{10, 20, 210, 42};
    struct TCase {
        const char* What;
        TMenuItemFacts Facts;
        TMenuItemLayout Layout;
    };
    const TCase cases[] = {
        {"no skin margin, no images", {item, 0, 0, false, false},
         {{11, 21, 27, 37}, {30, 20, 209, 42}, {30, 20, 200, 42}}},
        {"skin margin 4", {item, 4, 0, false, false}, {{15, 21, 31, 37}, {34, 20, 209, 42}, {34, 20, 200, 42}}},
        {"images 24 wide", {item, 0, 24, false, false}, {{11, 21, 35, 45}, {38, 20, 209, 42}, {38, 20, 200, 42}}},
        // A checked item keeps room for the check mark beside narrow images.
        {"images 12 wide, checked", {item, 0, 12, true, false},
         {{11, 21, 27, 37}, {30, 20, 209, 42}, {30, 20, 200, 42}}},
        {"images 12 wide", {item, 0, 12, false, false}, {{11, 21, 23, 33}, {26, 20, 209, 42}, {26, 20, 200, 42}}},
        // Mirrored within the item: the glyph at the right, the shortcut's edge 10 from the left.
        {"right to left", {item, 4, 0, false, true}, {{189, 21, 205, 37}, {11, 20, 186, 42}, {20, 20, 186, 42}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TMenuItemLayout layout = LayoutMenuItem(c.Facts);
        EXPECT_EQ(layout.GlyphBox, c.Layout.GlyphBox);
        EXPECT_EQ(layout.Caption, c.Layout.Caption);
        EXPECT_EQ(layout.ShortCut, c.Layout.ShortCut);
        // The glyph box is square and inside the item; the caption starts 3 beyond it.
        EXPECT_EQ(layout.GlyphBox.Width(), layout.GlyphBox.Height());
        EXPECT_GE(layout.GlyphBox.Left, item.Left);
        EXPECT_LE(layout.GlyphBox.Right, item.Right);
    }
}

TEST(MenuItemLayoutTest, MeasuredSizesGrowByTheSkinsMarginAndTheMissingImageColumn)
{
    EXPECT_EQ(SkinnedPopupItemWidth(100, 4, true), 116);
    EXPECT_EQ(SkinnedPopupItemWidth(100, 4, false), 139);
    EXPECT_EQ(SkinnedMainMenuItemWidth(100, 4, true), 114);
    EXPECT_EQ(SkinnedMainMenuItemWidth(100, 0, false), 135);
    struct TCase { int TextWidth, TextHeight; bool Separator; int LeftWidth; int Width, Height; };
    const TCase cases[] = {
        {60, 14, false, 0, 86, 18},
        {60, 14, false, 4, 90, 18},
        {0, 0, true, 4, 30, 8},   // a separator without text is thin
        {40, 14, true, 0, 66, 18}, // a separator with text is measured as text
    };
    for (const TCase& c : cases) {
        const TMenuTextSize size = MeasureMenuTextItem(c.TextWidth, c.TextHeight, c.Separator, c.LeftWidth);
        EXPECT_EQ(size.Width, c.Width) << c.TextWidth << " " << c.Separator;
        EXPECT_EQ(size.Height, c.Height) << c.TextWidth << " " << c.Separator;
    }
}
