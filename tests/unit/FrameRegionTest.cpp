// The frame region: transparent border pixels cut away, whole borders, the rectangular and the empty cases.
#include "skin/window/FrameRegion.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;
constexpr std::uint32_t kNearMagenta = 0xFFFF01FFu; // green within the tolerance of 1
constexpr std::uint32_t kOpaque = 0xFF336699u;

TBytes Bmp(const TPixelBuffer& image) { return MakeBmp(image.View()); }

bool Covered(const TFrameRegion& region, int x, int y)
{
    return std::any_of(region.Rects.begin(), region.Rects.end(), [&](const TPixelRect& r) {
        return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    });
}

// A Top border with its top-left corner and top-right pixel cut away, fixed ends of 2.
TBytes TopImage()
{
    TPixelBuffer image = Filled(6, 8, kOpaque);
    const TPixelView v = image.View();
    v.At(0, 0) = v.At(1, 0) = v.At(0, 1) = kMagenta;
    v.At(5, 0) = kNearMagenta;
    return Bmp(image);
}

} // namespace

TEST(FrameRegion, TransparentBorderPixelsAreCutAndOtherBordersKeptWhole)
{
    // Left opaque by its key; Right cut but opaque; Bottom only 1 high, so kept whole though magenta.
    const TSkinFixture skin("[Personality]\nLeft=l.bmp\nLeftTrans=0\nRight=r.bmp\nTop=t.bmp\nTopTopHeight=2\n"
                            "TopBotHeight=2\nBottom=b.bmp\n",
        {{"l.bmp", Bmp(Filled(3, 4, kMagenta))}, {"r.bmp", Bmp(Filled(2, 4, kOpaque))}, {"t.bmp", TopImage()},
            {"b.bmp", Bmp(Filled(6, 1, kMagenta))}});
    const TFrameBorders b = ComputeBorders(skin.Model, TBorderKind::Sizeable);
    ASSERT_EQ(b, (TFrameBorders{3, 8, 2, 1}));
    const TFrameRegion region = BuildFrameRegion(skin.Model, 40, 30, b, TBorderKind::Sizeable);
    ASSERT_EQ(region.Kind, TFrameRegion::TKind::Rects);

    struct TCase {
        int X, Y;
        bool In;
    };
    const TCase cases[] = {
        {0, 0, true}, {2, 29, true},                    // Left, whole although all magenta
        {3, 0, false}, {4, 0, false}, {3, 1, false},    // the Top's cut corner
        {4, 1, true}, {5, 0, true}, {20, 7, true},
        {36, 0, true}, {37, 0, false},                  // the Top's right end, nearly magenta
        {38, 0, true}, {39, 29, true},                  // Right
        {20, 29, true}, {3, 29, true}, {37, 29, true},  // Bottom
        {3, 8, true}, {37, 28, true},                   // client
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Covered(region, c.X, c.Y), c.In) << c.X << "," << c.Y;
    for (const TPixelRect& r : region.Rects)
        EXPECT_TRUE(!r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= 40 && r.Bottom <= 30);
}

TEST(FrameRegion, SmallBordersAndWindowsAreKeptWhole)
{
    const TSkinFixture skin("[Personality]\nLeft=m.bmp\nRight=m.bmp\nTop=m.bmp\nBottom=m.bmp\n",
        {{"m.bmp", Bmp(Filled(1, 1, kMagenta))}});
    const TFrameBorders b = ComputeBorders(skin.Model, TBorderKind::Sizeable);
    ASSERT_EQ(b, (TFrameBorders{1, 1, 1, 1}));
    // One row: the sides cannot be cut; the caption and bottom are a single row each.
    const TFrameRegion flat = BuildFrameRegion(skin.Model, 10, 1, b, TBorderKind::Sizeable);
    EXPECT_TRUE(Covered(flat, 0, 0));
    EXPECT_TRUE(Covered(flat, 9, 0));
    EXPECT_TRUE(Covered(flat, 5, 0));
    const TFrameRegion tall = BuildFrameRegion(skin.Model, 10, 5, b, TBorderKind::Sizeable);
    EXPECT_FALSE(Covered(tall, 0, 2)) << "a side of full height is cut";
    EXPECT_TRUE(Covered(tall, 5, 0)) << "a caption of one row is not";
}

TEST(FrameRegion, WholeWindowNoCaptionAndNoSize)
{
    const TSkinFixture opaque("[Personality]\nLeft=m.bmp\nLeftTrans=0\nRight=m.bmp\nRightTrans=0\nTop=m.bmp\n"
                              "TopTrans=0\nBottom=m.bmp\n",
        {{"m.bmp", Bmp(Filled(4, 4, kMagenta))}});
    const TFrameBorders b = ComputeBorders(opaque.Model, TBorderKind::Sizeable);
    EXPECT_EQ(BuildFrameRegion(opaque.Model, 40, 30, b, TBorderKind::Sizeable).Kind,
        TFrameRegion::TKind::WholeWindow) << "the Bottom's key alone does not shape the window";

    const TSkinFixture keyed("[Personality]\nTop=m.bmp\n", {{"m.bmp", Bmp(Filled(4, 4, kMagenta))}});
    const TFrameRegion bare = BuildFrameRegion(keyed.Model, 40, 30, {}, TBorderKind::NoCaption);
    EXPECT_EQ(bare.Kind, TFrameRegion::TKind::Rects);
    EXPECT_EQ(bare.Rects, (std::vector<TPixelRect>{{0, 0, 40, 30}}));

    for (const auto& [w, h] : std::initializer_list<std::pair<int, int>>{{0, 30}, {40, 0}, {-5, 30}})
        EXPECT_EQ(BuildFrameRegion(keyed.Model, w, h, b, TBorderKind::Sizeable).Kind, TFrameRegion::TKind::None);
}
