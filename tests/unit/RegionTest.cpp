// Regions cut from images: runs per row, offsets, tolerances, the empty region.
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Region.h"
#include "tests/unit/PixelTestSupport.h"

#include <gtest/gtest.h>

TEST(RegionFromBitmap, FullyMagentaImageGivesAnEmptyRegion)
{
    const TPixelBuffer image = Filled(7, 5, 0xFFFF00FF);
    EXPECT_TRUE(RegionFromBitmap(image.View(), 0, 0, {}, kTransparentKey).empty());
    EXPECT_TRUE(RegionFromBitmap(TPixelView{}, 0, 0, {}, kTransparentKey).empty());
}

TEST(RegionFromBitmap, EveryMaximalRunOfARowIsOneRectangleMovedByTheOffset)
{
    TPixelBuffer image = Filled(6, 2, 0xFFFF00FF);
    const TPixelView v = image.View();
    v.At(0, 0) = v.At(1, 0) = v.At(4, 0) = Cell(0, 0);
    v.At(5, 1) = Cell(1, 1);
    const auto rects = RegionFromBitmap(v, 10, 20, {}, kTransparentKey);
    const std::vector<TPixelRect> expected{{10, 20, 12, 21}, {14, 20, 15, 21}, {15, 21, 16, 22}};
    EXPECT_EQ(rects, expected);
}

TEST(RegionFromBitmap, ToleranceWidensTheKeyUpwardPerChannel)
{
    TPixelBuffer image(4, 1);
    const TPixelView v = image.View();
    v.At(0, 0) = 0xFFF000F8; // red 0xF0, blue 0xF8: at or above a key of F0/00/F0 + 8
    v.At(1, 0) = 0xFFF000F9; // blue one too far
    v.At(2, 0) = 0xFFF001F0; // green outside its zero tolerance
    v.At(3, 0) = 0xFFEF00F0; // red below the key
    const auto rects = RegionFromBitmap(v, 0, 0, {8, 0, 8}, 0xF000F0);
    EXPECT_EQ(rects, (std::vector<TPixelRect>{{1, 0, 4, 1}}));
    const auto capped = RegionFromBitmap(Filled(2, 1, 0xFFFFFFFF).View(), 0, 0, {300, 300, 300}, 0xF0F0F0);
    EXPECT_TRUE(capped.empty()) << "a range capped at 255 still contains 255";
}
