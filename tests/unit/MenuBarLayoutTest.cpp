// The skinned menu bar's item rectangles before any pixel: start offsets with and without the
// bar image, hidden and empty items, right-to-left menus and the limit the MDI buttons set.
#include "skin/menus/MenuBarLayout.h"

#include <gtest/gtest.h>

TEST(MenuBarLayoutTest, ItemsFollowTheirCaptionsFromTheBandsStart)
{
    const TPixelRect band{4, 30, 304, 49}; // 300 × 19
    struct TCase {
        const char* What;
        TMenuBarFacts Facts;
        std::vector<int> Widths;
        std::vector<TPixelRect> Items;
    };
    const TCase cases[] = {
        {"no bar image: 6 in", {band, false, 0, 0, false, 304}, {20, 30},
         {{10, 30, 40, 48}, {40, 30, 80, 48}}},
        {"bar image: its left end + 4", {band, true, 7, 3, false, 304}, {20, 30},
         {{15, 30, 45, 48}, {45, 30, 85, 48}}},
        {"hidden and empty items take no room", {band, false, 0, 0, false, 304}, {20, -1, 0, 10},
         {{10, 30, 40, 48}, {}, {}, {40, 30, 60, 48}}},
        {"cut at the limit, the next one gone", {band, false, 0, 0, false, 60}, {20, 30, 10},
         {{10, 30, 40, 48}, {40, 30, 60, 48}, {}}},
        {"band narrower than the image's end: 12 in", {{4, 30, 14, 49}, true, 20, 0, false, 14}, {20},
         {{}}},
        {"right to left: from the right, the image's right end + 8", {band, true, 7, 3, true, 304}, {20, 30},
         {{263, 30, 293, 48}, {223, 30, 263, 48}}},
        {"right to left: left of the MDI buttons", {band, false, 0, 0, true, 250}, {20, 400},
         {{220, 30, 250, 48}, {4, 30, 220, 48}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const std::vector<TPixelRect> items = LayoutMenuBarItems(c.Facts, c.Widths);
        ASSERT_EQ(items.size(), c.Items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            if (c.Items[i].IsEmpty())
                EXPECT_TRUE(items[i].IsEmpty()) << i;
            else
                EXPECT_EQ(items[i], c.Items[i]) << i;
        }
    }
}

TEST(MenuBarLayoutTest, AnEmptyBandPlacesNothing)
{
    const auto items = LayoutMenuBarItems({{4, 30, 304, 30}, false, 0, 0, false, 304}, {20, 30});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].IsEmpty());
    EXPECT_TRUE(items[1].IsEmpty());
}
