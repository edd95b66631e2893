// The skinned scroll bar's geometry and frame numbers.
#include "skin/controls/ScrollBarLayout.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A stretch [from, to) along the bar as a rectangle across its whole thickness.
TPixelRect Span(const TScrollBarInput& in, int from, int to) noexcept
{
    if (to <= from)
        return {};
    return in.Vertical ? TPixelRect{0, from, in.Thickness, to} : TPixelRect{from, 0, to, in.Thickness};
}

int ArrowFrame(const TScrollBarInput& in, TScrollPart part, int base, bool disabled) noexcept
{
    if (in.Unavailable || disabled)
        return base + scroll_frame::kDisabled;
    if (in.Pressed == part)
        return base + scroll_frame::kPressed;
    if (in.Hot == part && in.Pressed == TScrollPart::None)
        return base + scroll_frame::kHot;
    return base;
}

// 1 normal, 2 pressed, 3 hot: the thumb's and (from its base) the grip's numbering.
int ThumbState(const TScrollBarInput& in) noexcept
{
    if (in.Pressed == TScrollPart::Thumb)
        return 2;
    if (in.Hot == TScrollPart::Thumb && in.Pressed == TScrollPart::None)
        return 3;
    return 1;
}

bool Inside(const TPixelRect& r, int x, int y) noexcept
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

TScrollBarLayout LayoutScrollBar(const TScrollBarInput& in) noexcept
{
    TScrollBarLayout out;
    if (in.Length <= 0 || in.Thickness <= 0)
        return out;
    // A bar shorter than its two arrows gives each half of itself and has no track.
    const bool shortBar = in.Length < 2 * in.ArrowSize;
    const int arrow = std::max(0, shortBar ? in.Length / 2 : in.ArrowSize);
    // An odd short bar gives its middle pixel to the second arrow rather than to a track.
    const int trackStart = arrow, trackEnd = shortBar ? arrow : in.Length - arrow;
    out.FirstArrow = Span(in, 0, arrow);
    out.SecondArrow = Span(in, trackEnd, in.Length);
    out.FirstArrowFrame = ArrowFrame(in, TScrollPart::FirstArrow, in.Vertical ? scroll_frame::kUp : scroll_frame::kLeft,
                                     in.FirstArrowDisabled);
    out.SecondArrowFrame = ArrowFrame(in, TScrollPart::SecondArrow,
                                      in.Vertical ? scroll_frame::kDown : scroll_frame::kRight, in.SecondArrowDisabled);
    out.Track = Span(in, trackStart, trackEnd);
    if (out.Track.IsEmpty())
        return out;
    out.TrackFrame = in.Unavailable ? 3 : in.Pressed == TScrollPart::Track ? 2
        : (in.Hot == TScrollPart::Track && in.Pressed == TScrollPart::None) ? 4 : 1;

    const int length = in.ThumbEnd - in.ThumbStart;
    if (in.Unavailable || length <= 0 || length > trackEnd - trackStart)
        return out;
    int start = in.DragThumbStart.value_or(in.ThumbStart);
    start = std::clamp(start, trackStart, trackEnd - length);
    out.Thumb = Span(in, start, start + length);
    const int state = ThumbState(in);
    out.ThumbFrame = state;
    if (in.ImageHeight > 0 && length > in.ImageHeight - 2) {
        const int gripStart = start + (length - in.ImageHeight) / 2;
        // A grip longer than the thumb is cut to it.
        out.Grip = Span(in, std::max(gripStart, start), std::min(gripStart + in.ImageHeight, start + length));
        out.GripFrame = (in.Vertical ? scroll_frame::kGripVertical : scroll_frame::kGripHorizontal) + state - 1;
    }
    return out;
}

TScrollPart HitScrollPart(const TScrollBarLayout& layout, int x, int y) noexcept
{
    if (Inside(layout.Thumb, x, y))
        return TScrollPart::Thumb;
    if (Inside(layout.FirstArrow, x, y))
        return TScrollPart::FirstArrow;
    if (Inside(layout.SecondArrow, x, y))
        return TScrollPart::SecondArrow;
    if (Inside(layout.Track, x, y))
        return TScrollPart::Track;
    return TScrollPart::None;
}

int ScrollBarThickness(int imageHeight, int systemThickness) noexcept
{
    if (imageHeight <= 0 || std::abs(imageHeight - systemThickness) > 2)
        return systemThickness;
    return imageHeight;
}
