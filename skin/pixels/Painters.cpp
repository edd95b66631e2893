// Painting of skin image frames: each composes off-screen in a scratch image that lives for one call.
#include "skin/pixels/Painters.h"

#include "skin/pixels/Blitters.h"

#include <algorithm>

namespace {

TPixelRect FrameOf(const TPixelView& image, TStrip strip, int count, int k)
{
    return FrameRect(image.Width, image.Height, strip, count, k);
}

// The final transfer of a scratch image to (x, y) of dst.
void Put(const TPixelView& dst, int x, int y, const TPixelView& scratch, TKeying keying)
{
    if (keying == TKeying::Transparent)
        TransparentBlit(dst, {x, y, x + scratch.Width, y + scratch.Height}, scratch);
    else
        CopyRect(dst, x, y, scratch, scratch.Bounds());
}

// The full-height columns [left, right) of frame f.
TPixelRect Columns(const TPixelRect& f, int left, int right)
{
    return {f.Left + left, f.Top, f.Left + right, f.Bottom};
}

} // namespace

TPixelBuffer BuildNineSlice(int width, int height, const TPixelView& image, const TMargins& margins, TStrip strip,
    TCentre centre, int count, int k)
{
    TPixelBuffer result(std::max(width, 0), std::max(height, 0));
    const TPixelRect frame = FrameOf(image, strip, count, k);
    if (frame.IsEmpty() || result.IsEmpty())
        return result;
    const TPixelView out = result.View();
    for (const TSlice& slice : NineSlice(frame, margins, out.Bounds())) {
        if (slice.Source.IsEmpty() || slice.Target.IsEmpty())
            continue;
        if (slice.Part == TSlicePart::Centre && centre == TCentre::Tile)
            TileRect(out, slice.Target, image, slice.Source);
        else
            StretchRect(out, slice.Target, image, slice.Source);
    }
    return result;
}

void DrawNineSlice(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    TCentre centre, TKeying keying, int count, int k, const TMargins& margins)
{
    if (target.IsInverted() || target.IsEmpty() || FrameOf(image, strip, count, k).IsEmpty())
        return;
    const TPixelBuffer scratch = BuildNineSlice(target.Width(), target.Height(), image, margins, strip, centre, count, k);
    Put(dst, target.Left, target.Top, scratch.View(), keying);
}

void DrawThreeSlice(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    TKeying keying, int count, int k, const TMargins& margins)
{
    const TPixelRect frame = FrameOf(image, strip, count, k);
    if (target.IsInverted() || target.IsEmpty() || frame.IsEmpty())
        return;
    const TMargins m = ClampMargins(margins, frame.Width(), frame.Height());
    const int w = target.Width(), h = target.Height();
    TPixelBuffer scratch(w, h);
    const TPixelView out = scratch.View();

    StretchRect(out, {0, 0, m.Left, h}, image, Columns(frame, 0, m.Left));
    const int middle = frame.Width() - m.Left - m.Right;
    if (middle > 0) {
        const TPixelRect source = Columns(frame, m.Left, m.Left + middle);
        for (int x = m.Left; x < w - m.Right; x += middle)
            StretchRect(out, {x, 0, x + middle, h}, image, source);
    }
    // Drawn last so that it covers the overrun of the final middle copy.
    StretchRect(out, {w - m.Right, 0, w, h}, image, Columns(frame, frame.Width() - m.Right, frame.Width()));
    Put(dst, target.Left, target.Top, out, keying);
}

void DrawHorzStretch(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TStrip strip,
    int count, int k, const TMargins& margins)
{
    const TPixelRect frame = FrameOf(image, strip, count, k);
    if (target.IsInverted() || target.IsEmpty() || frame.IsEmpty())
        return;
    if (frame.Width() > target.Width()) {
        StretchRect(dst, target, image, frame);
        return;
    }
    const TMargins m = ClampMargins(margins, frame.Width(), frame.Height());
    const int fw = frame.Width();
    StretchRect(dst, {target.Left, target.Top, target.Left + m.Left, target.Bottom}, image, Columns(frame, 0, m.Left));
    StretchRect(dst, {target.Left + m.Left, target.Top, target.Right - m.Right, target.Bottom}, image,
        Columns(frame, m.Left, fw - m.Right));
    StretchRect(dst, {target.Right - m.Right, target.Top, target.Right, target.Bottom}, image,
        Columns(frame, fw - m.Right, fw));
}

void DrawFrameStretched(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TKeying keying,
    int count, int k)
{
    const TPixelRect frame = FrameOf(image, TStrip::Horizontal, count, k);
    if (target.IsInverted() || target.IsEmpty() || frame.IsEmpty())
        return;
    TPixelBuffer scratch(target.Width(), target.Height());
    StretchRect(scratch.View(), scratch.View().Bounds(), image, frame);
    Put(dst, target.Left, target.Top, scratch.View(), keying);
}

void DrawFrameCentred(const TPixelView& dst, const TPixelRect& target, const TPixelView& image, TKeying keying,
    int count, int k)
{
    const TPixelRect frame = FrameOf(image, TStrip::Horizontal, count, k);
    if (target.IsInverted() || frame.IsEmpty())
        return;
    const int x = target.Left + (target.Width() - frame.Width()) / 2;
    const int y = target.Top + (target.Height() - frame.Height()) / 2;
    Put(dst, x, y, image.Sub(frame), keying);
}
