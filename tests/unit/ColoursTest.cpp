// Colour mixing, the saturation figure, gradient ramps, their cache and the banded fill.
#include "skin/pixels/Colours.h"
#include "skin/pixels/Gradient.h"
#include "tests/unit/PixelTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const TSystemColors& Sys() { return ClassicSystemColors(); }
constexpr TColor kWhite = 0xFFFFFF, kBlack = 0;

} // namespace

TEST(SystemColors, ResolveThroughTheTableAndBecomeBgraPixels)
{
    EXPECT_EQ(ResolveColor(clBtnFace, Sys()), RGBColor(212, 208, 200));
    EXPECT_EQ(ResolveColor(SystemColor(200), Sys()), 0u) << "an unknown index is black";
    EXPECT_EQ(ResolveColor(0x00123456, Sys()), 0x00123456u);
    // Only a top byte of 0xFF names a system colour; any other is a stray byte of a plain one.
    EXPECT_EQ(ResolveColor(0x80000005, Sys()), 0x00000005u);
    EXPECT_EQ(ResolveColor(0xFE123456, Sys()), 0x00123456u);
    EXPECT_EQ(ToPixel(RGBColor(0x12, 0x34, 0x56), Sys()), 0xFF123456u) << "red goes to the third byte";
    EXPECT_EQ(ToPixel(clWindow, Sys()), 0xFFFFFFFFu);
    TSystemColors custom;
    custom.Colors[15] = RGBColor(1, 2, 3);
    EXPECT_EQ(ToPixel(clBtnFace, custom), 0xFF010203u) << "the seam decides, not a fixed table";
}

TEST(BlendColours, PercentBelowOneHundredPerMilleFromThere)
{
    EXPECT_EQ(BlendColours(kWhite, kBlack, 50, Sys()), 0x808080u);
    EXPECT_EQ(BlendColours(kWhite, kBlack, 150, Sys()), 0x262626u) << "15 % white: every channel 38";
    EXPECT_EQ(BlendColours(RGBColor(200, 0, 100), RGBColor(0, 100, 0), 25, Sys()), RGBColor(50, 75, 25));
    EXPECT_EQ(BlendColours(RGBColor(10, 20, 30), kWhite, 1000, Sys()), RGBColor(10, 20, 30));
    EXPECT_EQ(BlendColours(RGBColor(10, 20, 30), kWhite, 0, Sys()), kWhite);
}

TEST(BlendColours, ResolvesSystemColoursFirst)
{
    EXPECT_EQ(BlendColours(clBtnFace, kBlack, 50, Sys()), RGBColor(106, 104, 100));
    EXPECT_EQ(BlendColours(clWindow, clWindowText, 50, Sys()), 0x808080u);
}

TEST(BlendColours, ShareOutsideItsScaleStaysWithinEachChannel)
{
    EXPECT_EQ(BlendColours(RGBColor(255, 0, 0), kBlack, 1500, Sys()), RGBColor(255, 0, 0));
    EXPECT_EQ(BlendColours(kBlack, RGBColor(0, 255, 0), -50, Sys()), RGBColor(0, 255, 0));
    EXPECT_EQ(BlendColours(RGBColor(0, 255, 0), kBlack, -50, Sys()), kBlack);
}

TEST(SaturationFigure, BrightColoursGiveTheirSaturationDarkOnes200)
{
    EXPECT_EQ(SaturationFigure(RGBColor(100, 100, 159), Sys()), 200);
    EXPECT_EQ(SaturationFigure(RGBColor(255, 0, 0), Sys()), 255);
    EXPECT_EQ(SaturationFigure(kWhite, Sys()), 0);
    EXPECT_EQ(SaturationFigure(RGBColor(200, 150, 100), Sys()), 128) << "127.5 rounds up";
    EXPECT_EQ(SaturationFigure(RGBColor(0, 160, 120), Sys()), 255);
    EXPECT_EQ(SaturationFigure(clBtnFace, Sys()), 14) << "(212 - 200) / 212 of 255";
}

TEST(GradientCache, OneBandFromBlackToWhiteIsHalfway)
{
    TGradientCache cache;
    const auto ramp = cache.Colours(kBlack, kWhite, 1);
    ASSERT_EQ(ramp->size(), 1u);
    EXPECT_EQ((*ramp)[0], RGBColor(127, 127, 127));
}

TEST(GradientCache, RampsStartAndEndOnTheirColoursInBothDirections)
{
    TGradientCache cache;
    const auto up = cache.Colours(kBlack, kWhite, 3);
    EXPECT_EQ(*up, (TColourRamp{0, 0x808080, kWhite}));
    const auto down = cache.Colours(RGBColor(255, 10, 0), RGBColor(0, 0, 10), 3);
    EXPECT_EQ(*down, (TColourRamp{RGBColor(255, 10, 0), RGBColor(127, 5, 5), RGBColor(0, 0, 10)}));
    const auto falling = cache.Colours(kWhite, kBlack, 4);
    EXPECT_EQ(falling->back(), kBlack) << "a falling channel reaches its end too";
    EXPECT_EQ((*falling)[1], RGBColor(170, 170, 170));
}

TEST(GradientCache, HitsReturnTheSameRampAndNewRampsGoRoundRobin)
{
    TGradientCache cache;
    const auto first = cache.Colours(kBlack, kWhite, 10);
    EXPECT_EQ(cache.Cursor(), 1);
    EXPECT_EQ(cache.Colours(kBlack, kWhite, 10), first) << "cache hit";
    EXPECT_EQ(cache.Cursor(), 1);
    EXPECT_NE(cache.Colours(kBlack, kWhite, 11), first) << "another count is another ramp";
    const auto single = cache.Colours(kBlack, kWhite, 1);
    EXPECT_EQ(cache.Colours(kBlack, kWhite, 1), single) << "a one-band ramp is found again";
    for (int n = 20; n < 33; ++n)
        cache.Colours(kBlack, kWhite, n);
    EXPECT_EQ(cache.Cursor(), 0) << "after slot 15 comes slot 0";
    EXPECT_EQ(cache.Colours(kBlack, kWhite, 10), first) << "slot 0 is still there";
    cache.Colours(kBlack, kWhite, 40); // replaces slot 0
    EXPECT_NE(cache.Colours(kBlack, kWhite, 10), first) << "evicted, so rebuilt";
    EXPECT_EQ(first->size(), 10u) << "a ramp handed out outlives its slot";
}

TEST(GradientCache, RefusesRampsWithoutColours)
{
    TGradientCache cache;
    EXPECT_THROW(cache.Colours(kBlack, kWhite, 0), std::invalid_argument);
    EXPECT_THROW(cache.Colours(kBlack, kWhite, -3), std::invalid_argument);
}

TEST(FillGradient, TopToBottomBandsSpanTheRectangle)
{
    TGradientCache cache;
    TPixelBuffer dst = Filled(4, 5, 0xFF0A0B0C);
    FillGradient(dst.View(), {1, 1, 3, 4}, kBlack, TGradientDirection::TopToBottom, kWhite, Sys(), cache);
    const TPixelView v = dst.View();
    EXPECT_EQ(v.At(1, 1), 0xFF000000u);
    EXPECT_EQ(v.At(2, 1), 0xFF000000u);
    EXPECT_EQ(v.At(1, 2), 0xFF808080u);
    EXPECT_EQ(v.At(2, 3), 0xFFFFFFFFu);
    EXPECT_EQ(v.At(0, 2), 0xFF0A0B0Cu);
    EXPECT_EQ(v.At(3, 2), 0xFF0A0B0Cu);
    EXPECT_EQ(v.At(1, 4), 0xFF0A0B0Cu);
}

TEST(FillGradient, OnlyVisibleBandsArePaintedAndTheyKeepTheirPlaceInTheRamp)
{
    TGradientCache cache;
    TPixelBuffer dst = Filled(3, 2, 0xFF0A0B0C);
    // Left to right over x = -2..3 (5 bands): only bands 2, 3, 4 fall inside.
    FillGradient(dst.View(), {-2, 0, 3, 1}, RGBColor(0, 0, 0), TGradientDirection::LeftToRight, RGBColor(200, 0, 0),
        Sys(), cache);
    const TPixelView v = dst.View();
    EXPECT_EQ(v.At(0, 0), 0xFF640000u) << "band 2 of 5: red 100";
    EXPECT_EQ(v.At(1, 0), 0xFF960000u);
    EXPECT_EQ(v.At(2, 0), 0xFFC80000u);
    EXPECT_EQ(v.At(0, 1), 0xFF0A0B0Cu) << "below the rectangle";
}

TEST(FillGradient, ResolvesSystemColoursAndSkipsRectanglesWithoutExtent)
{
    TGradientCache cache;
    TPixelBuffer dst = Filled(2, 2, 0xFF0A0B0C);
    FillGradient(dst.View(), {0, 0, 2, 0}, kBlack, TGradientDirection::TopToBottom, kWhite, Sys(), cache);
    FillGradient(dst.View(), {5, 5, 9, 9}, kBlack, TGradientDirection::TopToBottom, kWhite, Sys(), cache);
    FillGradient(dst.View(), {0, 0, 1, 2}, kBlack, TGradientDirection::LeftToRight, kWhite, Sys(), cache);
    EXPECT_EQ(dst.View().At(0, 0), 0xFF7F7F7Fu) << "one band from black to white";
    EXPECT_EQ(dst.View().At(1, 0), 0xFF0A0B0Cu);
    FillGradient(dst.View(), {0, 0, 2, 2}, clBtnFace, TGradientDirection::TopToBottom, kBlack, Sys(), cache);
    EXPECT_EQ(dst.View().At(1, 0), 0xFFD4D0C8u);
}
