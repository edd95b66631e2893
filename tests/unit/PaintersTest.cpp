// Block transfers and frame painters: exact pixels at corners, edges and centre of tiny images.
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "tests/unit/PixelTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kBack = 0xFF0A0B0C;  // what the target held before painting
constexpr std::uint32_t kMagenta = 0xFFFF00FF;

} // namespace

TEST(StretchRect, TakesTheNearestSourcePixelWithoutBlending)
{
    const TPixelBuffer src = Numbered(2, 3);
    TPixelBuffer dst = Filled(5, 2, kBack);
    StretchRect(dst.View(), {0, 0, 5, 2}, src.View(), src.View().Bounds());
    // Column x takes source column x·2/5, row y takes y·3/2.
    EXPECT_EQ(dst.View().At(0, 0), Cell(0, 0));
    EXPECT_EQ(dst.View().At(2, 0), Cell(0, 0));
    EXPECT_EQ(dst.View().At(3, 0), Cell(1, 0));
    EXPECT_EQ(dst.View().At(4, 1), Cell(1, 1));
    EXPECT_EQ(dst.View().At(0, 1), Cell(0, 1));
}

TEST(StretchRect, ClippedTargetKeepsTheMappingOfTheWholeRectangle)
{
    const TPixelBuffer src = Numbered(4, 1);
    TPixelBuffer dst = Filled(3, 1, kBack);
    // 4 columns over 8, of which only x = 0..2 are inside dst: the rectangle starts at -3.
    StretchRect(dst.View(), {-3, 0, 5, 1}, src.View(), src.View().Bounds());
    EXPECT_EQ(dst.View().At(0, 0), Cell(1, 0)); // position 3 of 8
    EXPECT_EQ(dst.View().At(1, 0), Cell(2, 0)); // position 4
    EXPECT_EQ(dst.View().At(2, 0), Cell(2, 0)); // position 5
}

TEST(CopyRect, ClipsAtEveryEdgeOfSourceAndTarget)
{
    const TPixelBuffer src = Numbered(4, 4);
    TPixelBuffer dst = Filled(3, 3, kBack);
    CopyRect(dst.View(), -1, -1, src.View(), {1, 1, 5, 5}); // source runs past its right and bottom
    EXPECT_EQ(dst.View().At(0, 0), Cell(2, 2));
    EXPECT_EQ(dst.View().At(1, 1), Cell(3, 3));
    EXPECT_EQ(dst.View().At(2, 2), kBack) << "nothing beyond the source";
    CopyRect(dst.View(), 2, 2, src.View(), {-1, -1, 2, 2}); // source starts before its own origin
    EXPECT_EQ(dst.View().At(2, 2), kBack) << "the pixel at -1,-1 does not exist";
}

TEST(TileRect, RepeatsFromTheTopLeftAndMayRunPastTheTarget)
{
    const TPixelBuffer src = Numbered(3, 2);
    TPixelBuffer dst = Filled(9, 5, kBack);
    TileRect(dst.View(), {1, 0, 6, 3}, src.View(), {0, 0, 3, 2});
    EXPECT_EQ(dst.View().At(1, 0), Cell(0, 0));
    EXPECT_EQ(dst.View().At(4, 0), Cell(0, 0)) << "second copy at 1 + 3";
    EXPECT_EQ(dst.View().At(6, 1), Cell(2, 1)) << "second copy runs past the target's right";
    EXPECT_EQ(dst.View().At(4, 3), Cell(0, 1)) << "second row runs past the bottom";
    EXPECT_EQ(dst.View().At(7, 0), kBack) << "no copy starts at the right edge";
    EXPECT_EQ(dst.View().At(1, 4), kBack);
    EXPECT_EQ(dst.View().At(0, 0), kBack);
    TileRect(dst.View(), {0, 0, 9, 5}, src.View(), {1, 1, 1, 2});
    EXPECT_EQ(dst.View().At(0, 0), kBack) << "an empty source tiles nothing";
}

TEST(TileRect, TargetFarLeftAndAboveKeepsItsGrid)
{
    const TPixelBuffer src = Numbered(3, 2);
    TPixelBuffer dst = Filled(4, 3, kBack);
    // Copies at -1000000001 + 3k: the one covering x = 0 starts at -2; rows start at -1 + 2k.
    TileRect(dst.View(), {-1000000001, -1, 4, 3}, src.View(), {0, 0, 3, 2});
    EXPECT_EQ(dst.View().At(0, 0), Cell(2, 1));
    EXPECT_EQ(dst.View().At(1, 0), Cell(0, 1));
    EXPECT_EQ(dst.View().At(3, 2), Cell(2, 1));
    EXPECT_EQ(dst.View().At(1, 1), Cell(0, 0));
}

TEST(TransparentBlit, KeyPixelsLeaveTheTargetAndOnlyRgbCounts)
{
    TPixelBuffer src = Numbered(3, 1);
    src.View().At(0, 0) = kMagenta;
    src.View().At(1, 0) = 0x00FF00FF; // magenta with another spare byte is still the key
    TPixelBuffer dst = Filled(3, 1, kBack);
    TransparentBlit(dst.View(), {0, 0, 3, 1}, src.View());
    EXPECT_EQ(dst.View().At(0, 0), kBack);
    EXPECT_EQ(dst.View().At(1, 0), kBack);
    EXPECT_EQ(dst.View().At(2, 0), Cell(2, 0));

    src.View().At(2, 0) = 0xFFFF00FE; // one step off magenta is opaque
    TransparentBlit(dst.View(), {0, 0, 3, 1}, src.View());
    EXPECT_EQ(dst.View().At(2, 0), 0xFFFF00FEu);
}

TEST(TransparentBlit, InvertedTargetPaintsNothing)
{
    const TPixelBuffer src = Numbered(2, 2);
    TPixelBuffer dst = Filled(2, 2, kBack);
    TransparentBlit(dst.View(), {2, 0, 0, 2}, src.View());
    EXPECT_EQ(dst.View().At(0, 0), kBack);
    EXPECT_EQ(dst.View().At(1, 1), kBack);
}

TEST(BuildNineSlice, TenByTenWithSideMarginsOfSixStretchesTheWholeFrame)
{
    // Frame 2 of a two-frame strip, each frame 5 × 5.
    const TPixelBuffer strip = Numbered(10, 5);
    const TPixelBuffer out = BuildNineSlice(10, 10, strip.View(), {6, 0, 6, 0}, TStrip::Horizontal, TCentre::Stretch, 2, 2);
    ASSERT_EQ(out.Width(), 10);
    ASSERT_EQ(out.Height(), 10);
    const TPixelView v = out.View();
    EXPECT_EQ(v.At(0, 0), Cell(5, 0));
    EXPECT_EQ(v.At(9, 0), Cell(9, 0));
    EXPECT_EQ(v.At(0, 9), Cell(5, 4));
    EXPECT_EQ(v.At(9, 9), Cell(9, 4));
    EXPECT_EQ(v.At(5, 5), Cell(7, 2));
    EXPECT_EQ(v.At(1, 3), Cell(5, 1));
}

TEST(BuildNineSlice, TiledCentreStartsCopiesAt0And7And14AndTheBordersCoverTheOverrun)
{
    // 11 × 11 frame, margins 2 all round: a 7 × 7 centre over the 20 × 20 centre of a 24 × 24 target.
    const TPixelBuffer frame = Numbered(11, 11);
    const TPixelBuffer out = BuildNineSlice(24, 24, frame.View(), {2, 2, 2, 2}, TStrip::Horizontal, TCentre::Tile, 1, 1);
    const TPixelView v = out.View();
    for (const int offset : {0, 7, 14}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(v.At(2 + offset, 2), Cell(2, 2)) << "a copy starts here";
        EXPECT_EQ(v.At(2, 2 + offset), Cell(2, 2));
        EXPECT_EQ(v.At(2 + offset, 2 + offset), Cell(2, 2));
    }
    EXPECT_EQ(v.At(8, 8), Cell(8, 8)) << "last pixel of the first copy";
    EXPECT_EQ(v.At(21, 21), Cell(7, 7)) << "last centre pixel, inside the third copy";
    // The third copy runs to 23; the right and bottom parts were painted over it.
    EXPECT_EQ(v.At(22, 2), Cell(9, 2));
    EXPECT_EQ(v.At(23, 12), Cell(10, 5)) << "right edge stretched 7 → 20 rows";
    EXPECT_EQ(v.At(2, 22), Cell(2, 9));
    EXPECT_EQ(v.At(12, 23), Cell(5, 10)) << "bottom edge stretched 7 → 20 columns";
    // Corners at their own size.
    EXPECT_EQ(v.At(0, 0), Cell(0, 0));
    EXPECT_EQ(v.At(23, 0), Cell(10, 0));
    EXPECT_EQ(v.At(0, 23), Cell(0, 10));
    EXPECT_EQ(v.At(23, 23), Cell(10, 10));
    EXPECT_EQ(v.At(22, 22), Cell(9, 9));
}

TEST(BuildNineSlice, StretchedCentreAndEdgesFollowTheirLength)
{
    const TPixelBuffer frame = Numbered(5, 5);
    const TPixelBuffer out = BuildNineSlice(9, 7, frame.View(), {1, 1, 1, 1}, TStrip::Horizontal, TCentre::Stretch, 1, 1);
    const TPixelView v = out.View();
    // Centre 3 × 3 of the source over 7 × 5.
    EXPECT_EQ(v.At(1, 1), Cell(1, 1));
    EXPECT_EQ(v.At(7, 5), Cell(3, 3));
    EXPECT_EQ(v.At(4, 3), Cell(2, 2));
    EXPECT_EQ(v.At(0, 3), Cell(0, 2)) << "left edge";
    EXPECT_EQ(v.At(4, 0), Cell(2, 0)) << "top edge";
    EXPECT_EQ(v.At(8, 6), Cell(4, 4)) << "bottom-right corner";
}

TEST(DrawNineSlice, TransparentFrameKeepsTheBackgroundUnderMagenta)
{
    TPixelBuffer frame = Numbered(3, 3);
    frame.View().At(1, 1) = kMagenta; // the centre
    TPixelBuffer dst = Filled(8, 8, kBack);
    DrawNineSlice(dst.View(), {1, 1, 7, 7}, frame.View(), TStrip::Horizontal, TCentre::Stretch, TKeying::Transparent, 1,
        1, {1, 1, 1, 1});
    const TPixelView v = dst.View();
    EXPECT_EQ(v.At(0, 0), kBack) << "outside the target";
    EXPECT_EQ(v.At(1, 1), Cell(0, 0));
    EXPECT_EQ(v.At(6, 6), Cell(2, 2));
    EXPECT_EQ(v.At(3, 3), kBack) << "magenta centre";
    EXPECT_EQ(v.At(3, 1), Cell(1, 0));

    DrawNineSlice(dst.View(), {1, 1, 7, 7}, frame.View(), TStrip::Horizontal, TCentre::Stretch, TKeying::Opaque, 1, 1,
        {1, 1, 1, 1});
    EXPECT_EQ(v.At(3, 3), kMagenta) << "an opaque paint copies the key too";
}

TEST(DrawNineSlice, InvertedTargetOrEmptyImagePaintsNothing)
{
    const TPixelBuffer frame = Numbered(3, 3);
    TPixelBuffer dst = Filled(4, 4, kBack);
    DrawNineSlice(dst.View(), {3, 3, 1, 1}, frame.View(), TStrip::Horizontal, TCentre::Tile, TKeying::Opaque, 1, 1, {});
    DrawNineSlice(dst.View(), {0, 0, 4, 4}, TPixelView{}, TStrip::Horizontal, TCentre::Tile, TKeying::Opaque, 1, 1, {});
    EXPECT_EQ(dst.View().At(1, 1), kBack);
    EXPECT_EQ(dst.View().At(2, 2), kBack);
}

TEST(DrawNineSlice, TargetPartlyOutsideTheCanvasIsClipped)
{
    const TPixelBuffer frame = Numbered(4, 4);
    TPixelBuffer dst = Filled(3, 3, kBack);
    DrawNineSlice(dst.View(), {-2, -2, 2, 2}, frame.View(), TStrip::Horizontal, TCentre::Tile, TKeying::Opaque, 1, 1, {});
    EXPECT_EQ(dst.View().At(0, 0), Cell(2, 2));
    EXPECT_EQ(dst.View().At(1, 1), Cell(3, 3));
    EXPECT_EQ(dst.View().At(2, 2), kBack);
}

TEST(DrawThreeSlice, RepeatsTheMiddleAndEndsWithTheRightPart)
{
    // Frame 2 of two 4 × 2 frames; left 1, right 1: middle is source columns 5..7.
    const TPixelBuffer strip = Numbered(8, 2);
    TPixelBuffer dst = Filled(9, 4, kBack);
    DrawThreeSlice(dst.View(), {0, 0, 9, 4}, strip.View(), TStrip::Horizontal, TKeying::Opaque, 2, 2, {1, 0, 1, 0});
    const TPixelView v = dst.View();
    EXPECT_EQ(v.At(0, 0), Cell(4, 0)) << "left end";
    EXPECT_EQ(v.At(0, 3), Cell(4, 1)) << "stretched to the full height";
    EXPECT_EQ(v.At(1, 0), Cell(5, 0));
    EXPECT_EQ(v.At(2, 0), Cell(6, 0));
    EXPECT_EQ(v.At(3, 0), Cell(5, 0)) << "second copy of the middle";
    EXPECT_EQ(v.At(7, 2), Cell(5, 1)) << "fourth copy";
    EXPECT_EQ(v.At(8, 0), Cell(7, 0)) << "right end over the last copy's overrun";
    EXPECT_EQ(v.At(8, 3), Cell(7, 1));
}

TEST(DrawThreeSlice, NoMiddleWhenTheEndsFillTheFrame)
{
    const TPixelBuffer frame = Numbered(2, 1);
    TPixelBuffer dst = Filled(6, 1, kBack);
    DrawThreeSlice(dst.View(), {0, 0, 6, 1}, frame.View(), TStrip::Horizontal, TKeying::Transparent, 1, 1, {1, 0, 1, 0});
    // The scratch image's unpainted middle is black, not the key: it is copied.
    EXPECT_EQ(dst.View().At(0, 0), Cell(0, 0));
    EXPECT_EQ(dst.View().At(5, 0), Cell(1, 0));
    EXPECT_EQ(dst.View().At(2, 0) & 0xFFFFFF, 0u);
}

TEST(DrawHorzStretch, StretchesTheMiddleBetweenFixedEnds)
{
    const TPixelBuffer frame = Numbered(4, 2);
    TPixelBuffer dst = Filled(10, 4, kBack);
    DrawHorzStretch(dst.View(), {1, 0, 9, 4}, frame.View(), TStrip::Horizontal, 1, 1, {1, 0, 1, 0});
    const TPixelView v = dst.View();
    EXPECT_EQ(v.At(0, 0), kBack);
    EXPECT_EQ(v.At(1, 0), Cell(0, 0));
    EXPECT_EQ(v.At(2, 0), Cell(1, 0)) << "middle: 2 columns over 6";
    EXPECT_EQ(v.At(4, 0), Cell(1, 0));
    EXPECT_EQ(v.At(5, 3), Cell(2, 1));
    EXPECT_EQ(v.At(8, 0), Cell(3, 0));
    EXPECT_EQ(v.At(9, 0), kBack);
}

TEST(DrawHorzStretch, FrameWiderThanTargetIsStretchedWhole)
{
    const TPixelBuffer frame = Numbered(6, 1);
    TPixelBuffer dst = Filled(3, 1, kBack);
    DrawHorzStretch(dst.View(), {0, 0, 3, 1}, frame.View(), TStrip::Horizontal, 1, 1, {2, 0, 2, 0});
    EXPECT_EQ(dst.View().At(0, 0), Cell(0, 0));
    EXPECT_EQ(dst.View().At(1, 0), Cell(2, 0));
    EXPECT_EQ(dst.View().At(2, 0), Cell(4, 0));
}

TEST(DrawFrameStretched, StretchesOneFrameOfAHorizontalStrip)
{
    TPixelBuffer strip = Numbered(4, 2); // two 2 × 2 frames
    strip.View().At(3, 1) = kMagenta;
    TPixelBuffer dst = Filled(4, 4, kBack);
    DrawFrameStretched(dst.View(), {0, 0, 4, 4}, strip.View(), TKeying::Transparent, 2, 2);
    EXPECT_EQ(dst.View().At(0, 0), Cell(2, 0));
    EXPECT_EQ(dst.View().At(3, 0), Cell(3, 0));
    EXPECT_EQ(dst.View().At(0, 3), Cell(2, 1));
    EXPECT_EQ(dst.View().At(3, 3), kBack);
}

TEST(DrawFrameCentred, CentresWithOffsetsTruncatedTowardZero)
{
    const TPixelBuffer strip = Numbered(6, 3); // two 3 × 3 frames
    TPixelBuffer dst = Filled(8, 8, kBack);
    DrawFrameCentred(dst.View(), {0, 0, 8, 8}, strip.View(), TKeying::Opaque, 2, 2);
    EXPECT_EQ(dst.View().At(2, 2), Cell(3, 0)) << "(8 - 3) / 2 = 2";
    EXPECT_EQ(dst.View().At(4, 4), Cell(5, 2));
    EXPECT_EQ(dst.View().At(5, 5), kBack);
    EXPECT_EQ(dst.View().At(1, 1), kBack);

    TPixelBuffer small = Filled(3, 3, kBack);
    DrawFrameCentred(small.View(), {1, 1, 2, 2}, strip.View(), TKeying::Opaque, 2, 1);
    EXPECT_EQ(small.View().At(0, 0), Cell(0, 0)) << "(1 - 3) / 2 = -1: the frame starts at 0";
    EXPECT_EQ(small.View().At(2, 2), Cell(2, 2));
}
