// Frame rectangles of strips and the nine-part cut, tested as pure geometry.
#include "skin/pixels/NineSlice.h"

#include <gtest/gtest.h>

namespace {

const TSlice& PartOf(const std::array<TSlice, 9>& slices, TSlicePart part)
{
    for (const TSlice& s : slices)
        if (s.Part == part)
            return s;
    throw std::logic_error("part missing");
}

} // namespace

TEST(FrameRect, PicksFrameKOfEitherStripDirection)
{
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, 3, 1), (TPixelRect{0, 0, 10, 10}));
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, 3, 3), (TPixelRect{20, 0, 30, 10}));
    EXPECT_EQ(FrameRect(31, 10, TStrip::Horizontal, 3, 2), (TPixelRect{10, 0, 20, 10})) << "integer division";
    EXPECT_EQ(FrameRect(8, 40, TStrip::Vertical, 4, 2), (TPixelRect{0, 10, 8, 20}));
}

TEST(FrameRect, BadCountsAndIndicesStayInsideTheImage)
{
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, 0, 1), (TPixelRect{0, 0, 30, 10})) << "count 0 is one frame";
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, -2, 5), (TPixelRect{0, 0, 30, 10}));
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, 3, 7), (TPixelRect{20, 0, 30, 10})) << "k past the end is the last";
    EXPECT_EQ(FrameRect(30, 10, TStrip::Horizontal, 3, 0), (TPixelRect{0, 0, 10, 10}));
    EXPECT_TRUE(FrameRect(2, 10, TStrip::Horizontal, 3, 1).IsEmpty()) << "more frames than columns";
}

TEST(NineSlice, CutsFrameAndTargetAtTheMargins)
{
    // Frame at (10, 0) of a strip, 9 × 9; margins left 2, top 3, right 4, bottom 1.
    const auto s = NineSlice({10, 0, 19, 9}, {2, 3, 4, 1}, {100, 200, 130, 220});
    const struct {
        TSlicePart part;
        TPixelRect source, target;
    } expected[] = {
        {TSlicePart::TopLeft, {10, 0, 12, 3}, {100, 200, 102, 203}},
        {TSlicePart::BottomLeft, {10, 8, 12, 9}, {100, 219, 102, 220}},
        {TSlicePart::TopRight, {15, 0, 19, 3}, {126, 200, 130, 203}},
        {TSlicePart::Left, {10, 3, 12, 8}, {100, 203, 102, 219}},
        {TSlicePart::Top, {12, 0, 15, 3}, {102, 200, 126, 203}},
        {TSlicePart::Centre, {12, 3, 15, 8}, {102, 203, 126, 219}},
        {TSlicePart::BottomRight, {15, 8, 19, 9}, {126, 219, 130, 220}},
        {TSlicePart::Right, {15, 3, 19, 8}, {126, 203, 130, 219}},
        {TSlicePart::Bottom, {12, 8, 15, 9}, {102, 219, 126, 220}},
    };
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s[i].Part, expected[i].part) << "painting order";
        EXPECT_EQ(s[i].Source, expected[i].source);
        EXPECT_EQ(s[i].Target, expected[i].target);
    }
}

TEST(NineSlice, TargetNarrowerThanBothSideMarginsGetsTheWholeFrameStretched)
{
    const TPixelRect frame{0, 0, 8, 4};
    const auto s = NineSlice(frame, {6, 0, 6, 0}, {0, 0, 10, 10});
    EXPECT_EQ(PartOf(s, TSlicePart::Centre).Source, frame);
    EXPECT_EQ(PartOf(s, TSlicePart::Centre).Target, (TPixelRect{0, 0, 10, 10}));
    for (const TSlice& slice : s) {
        if (slice.Part != TSlicePart::Centre) {
            EXPECT_TRUE(slice.Source.IsEmpty() || slice.Target.IsEmpty()) << int(slice.Part);
        }
    }
}

TEST(NineSlice, TheTargetJudgesTheMarginsBeforeTheyAreHeldToTheFrame)
{
    // Margins 6 + 6 exceed the 10-wide target even though a 5-wide frame could hold only 5 + 5.
    const auto s = NineSlice({0, 0, 5, 5}, {6, 0, 6, 0}, {0, 0, 10, 10});
    EXPECT_EQ(PartOf(s, TSlicePart::Centre).Source, (TPixelRect{0, 0, 5, 5}));
    EXPECT_EQ(PartOf(s, TSlicePart::Centre).Target, (TPixelRect{0, 0, 10, 10}));
}

TEST(NineSlice, ShortTargetDropsOnlyTheVerticalMargins)
{
    const auto s = NineSlice({0, 0, 10, 10}, {2, 3, 2, 3}, {0, 0, 20, 5});
    EXPECT_EQ(PartOf(s, TSlicePart::Left).Source, (TPixelRect{0, 0, 2, 10}));
    EXPECT_EQ(PartOf(s, TSlicePart::Left).Target, (TPixelRect{0, 0, 2, 5}));
    EXPECT_EQ(PartOf(s, TSlicePart::Centre).Target, (TPixelRect{2, 0, 18, 5}));
    EXPECT_TRUE(PartOf(s, TSlicePart::TopLeft).Target.IsEmpty());
}

TEST(NineSlice, NegativeOrOversizedMarginsNeverReachOutsideTheFrame)
{
    const TPixelRect frame{4, 0, 10, 6};
    for (const TMargins m : {TMargins{-5, -1, -7, -2}, TMargins{50, 50, 50, 50}, TMargins{3, 9, 0, 0}})
        for (const TSlice& slice : NineSlice(frame, m, {0, 0, 100, 100})) {
            if (slice.Source.IsEmpty())
                continue;
            EXPECT_GE(slice.Source.Left, frame.Left);
            EXPECT_GE(slice.Source.Top, frame.Top);
            EXPECT_LE(slice.Source.Right, frame.Right);
            EXPECT_LE(slice.Source.Bottom, frame.Bottom);
        }
    const auto neg = NineSlice(frame, {-5, -1, -7, -2}, {0, 0, 100, 100});
    EXPECT_EQ(PartOf(neg, TSlicePart::Centre).Source, frame) << "negative margins count as 0";
}
