// The skinned scroll bar before any pixel: where each part goes and which frame it shows.
#include "skin/controls/ScrollBarLayout.h"

#include <gtest/gtest.h>

namespace {

using P = TScrollPart;
namespace f = scroll_frame;

// A vertical bar 17 thick and 100 long, arrows of 17, thumb 40..70, Scrollbar images 17 high.
TScrollBarInput Bar(bool vertical = true)
{
    TScrollBarInput in;
    in.Vertical = vertical;
    in.Length = 100;
    in.Thickness = 17;
    in.ArrowSize = 17;
    in.ThumbStart = 40;
    in.ThumbEnd = 70;
    in.ImageHeight = 17;
    return in;
}

// Start and end of a part along the bar.
std::pair<int, int> Along(const TPixelRect& r, bool vertical)
{
    return vertical ? std::pair{r.Top, r.Bottom} : std::pair{r.Left, r.Right};
}

} // namespace

TEST(ScrollBarLayoutTest, PartsAndFramesFollowTheBarAndTheMouse)
{
    struct TCase {
        const char* Name;
        TScrollBarInput In;
        std::pair<int, int> First, Second, Track, Thumb, Grip; // along the bar; {0, 0} when absent
        int FirstFrame, SecondFrame, TrackFrame, ThumbFrame, GripFrame;
    };
    auto with = [](auto change, bool vertical = true) { TScrollBarInput in = Bar(vertical); change(in); return in; };
    const TCase cases[] = {
        {"plain vertical", Bar(), {0, 17}, {83, 100}, {17, 83}, {40, 70}, {46, 63}, f::kUp, f::kDown, 1, 1, f::kGripVertical},
        {"plain horizontal", Bar(false), {0, 17}, {83, 100}, {17, 83}, {40, 70}, {46, 63}, f::kLeft, f::kRight, 1, 1,
         f::kGripHorizontal},
        {"hot first arrow", with([](auto& in) { in.Hot = P::FirstArrow; }), {0, 17}, {83, 100}, {17, 83}, {40, 70}, {46, 63},
         f::kUp + f::kHot, f::kDown, 1, 1, f::kGripVertical},
        {"pressed second arrow, hot elsewhere ignored", with([](auto& in) { in.Pressed = P::SecondArrow; in.Hot = P::Thumb; }),
         {0, 17}, {83, 100}, {17, 83}, {40, 70}, {46, 63}, f::kUp, f::kDown + f::kPressed, 1, 1, f::kGripVertical},
        {"hot and pressed thumb carry the grip along", with([](auto& in) { in.Hot = P::Thumb; }), {0, 17}, {83, 100},
         {17, 83}, {40, 70}, {46, 63}, f::kUp, f::kDown, 1, 3, f::kGripVertical + 2},
        {"pressed thumb dragged past the end stays in the track",
         with([](auto& in) { in.Pressed = P::Thumb; in.DragThumbStart = 90; }), {0, 17}, {83, 100}, {17, 83}, {53, 83},
         {59, 76}, f::kUp, f::kDown, 1, 2, f::kGripVertical + 1},
        {"dragged before the start", with([](auto& in) { in.Pressed = P::Thumb; in.DragThumbStart = -5; }, false), {0, 17},
         {83, 100}, {17, 83}, {17, 47}, {23, 40}, f::kLeft, f::kRight, 1, 2, f::kGripHorizontal + 1},
        {"pressed and hot track", with([](auto& in) { in.Pressed = P::Track; }), {0, 17}, {83, 100}, {17, 83}, {40, 70},
         {46, 63}, f::kUp, f::kDown, 2, 1, f::kGripVertical},
        {"hot track", with([](auto& in) { in.Hot = P::Track; }), {0, 17}, {83, 100}, {17, 83}, {40, 70}, {46, 63}, f::kUp,
         f::kDown, 4, 1, f::kGripVertical},
        {"unavailable: disabled arrows and track, no thumb",
         with([](auto& in) { in.Unavailable = true; in.Hot = P::FirstArrow; }), {0, 17}, {83, 100}, {17, 83}, {0, 0},
         {0, 0}, f::kUp + f::kDisabled, f::kDown + f::kDisabled, 3, 0, 0},
        {"one arrow disabled", with([](auto& in) { in.SecondArrowDisabled = true; }), {0, 17}, {83, 100}, {17, 83},
         {40, 70}, {46, 63}, f::kUp, f::kDown + f::kDisabled, 1, 1, f::kGripVertical},
        {"thumb too short for a grip", with([](auto& in) { in.ThumbEnd = 55; }), {0, 17}, {83, 100}, {17, 83}, {40, 55},
         {0, 0}, f::kUp, f::kDown, 1, 1, 0},
        {"thumb just long enough: the grip is cut to it", with([](auto& in) { in.ThumbEnd = 56; }), {0, 17}, {83, 100},
         {17, 83}, {40, 56}, {40, 56}, f::kUp, f::kDown, 1, 1, f::kGripVertical},
        {"short bar: half each, no track", with([](auto& in) { in.Length = 25; }), {0, 12}, {12, 25}, {0, 0}, {0, 0},
         {0, 0}, f::kUp, f::kDown, 0, 0, 0},
        {"no thumb reported", with([](auto& in) { in.ThumbEnd = in.ThumbStart; }), {0, 17}, {83, 100}, {17, 83}, {0, 0},
         {0, 0}, f::kUp, f::kDown, 1, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TScrollBarLayout l = LayoutScrollBar(c.In);
        const bool v = c.In.Vertical;
        EXPECT_EQ(Along(l.FirstArrow, v), c.First);
        EXPECT_EQ(Along(l.SecondArrow, v), c.Second);
        EXPECT_EQ(Along(l.Track, v), c.Track);
        EXPECT_EQ(Along(l.Thumb, v), c.Thumb);
        EXPECT_EQ(Along(l.Grip, v), c.Grip);
        EXPECT_EQ(l.FirstArrowFrame, c.FirstFrame);
        EXPECT_EQ(l.SecondArrowFrame, c.SecondFrame);
        EXPECT_EQ(l.TrackFrame, c.TrackFrame);
        EXPECT_EQ(l.ThumbFrame, c.ThumbFrame);
        EXPECT_EQ(l.GripFrame, c.GripFrame);
        // Every part spans the whole thickness.
        const TPixelRect across = v ? TPixelRect{0, l.FirstArrow.Top, 17, l.FirstArrow.Bottom}
                                    : TPixelRect{l.FirstArrow.Left, 0, l.FirstArrow.Right, 17};
        EXPECT_EQ(l.FirstArrow, across);
    }
}

TEST(ScrollBarLayoutTest, HitsFindThePartUnderAPointAndTheThicknessRuleKeepsCloseImages)
{
    const TScrollBarLayout l = LayoutScrollBar(Bar());
    const std::pair<int, P> hits[] = {{0, P::FirstArrow}, {16, P::FirstArrow}, {17, P::Track}, {39, P::Track},
                                      {40, P::Thumb}, {69, P::Thumb}, {70, P::Track}, {83, P::SecondArrow},
                                      {99, P::SecondArrow}, {100, P::None}};
    for (const auto& [y, part] : hits)
        EXPECT_EQ(HitScrollPart(l, 8, y), part) << y;
    EXPECT_EQ(HitScrollPart(l, 17, 50), P::None);
    EXPECT_EQ(LayoutScrollBar({}).Track, TPixelRect{}) << "an empty bar has no parts";

    const std::tuple<int, int, int> thickness[] = {{17, 16, 17}, {17, 19, 17}, {17, 20, 20}, {10, 17, 17}, {0, 17, 17}};
    for (const auto& [image, system, expected] : thickness)
        EXPECT_EQ(ScrollBarThickness(image, system), expected) << image << " " << system;
}
