// Frame rectangles of strips and the nine-part cut of a frame.
#include "skin/pixels/NineSlice.h"

#include <algorithm>

TPixelRect FrameRect(int imageWidth, int imageHeight, TStrip strip, int count, int k) noexcept
{
    imageWidth = std::max(imageWidth, 0);
    imageHeight = std::max(imageHeight, 0);
    count = std::max(count, 1);
    k = std::clamp(k, 1, count);
    if (strip == TStrip::Vertical) {
        const int h = imageHeight / count;
        return {0, (k - 1) * h, imageWidth, k * h};
    }
    const int w = imageWidth / count;
    return {(k - 1) * w, 0, k * w, imageHeight};
}

TMargins ClampMargins(const TMargins& m, int w, int h) noexcept
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    return {std::clamp(m.Left, 0, w), std::clamp(m.Top, 0, h), std::clamp(m.Right, 0, w), std::clamp(m.Bottom, 0, h)};
}

std::array<TSlice, 9> NineSlice(const TPixelRect& src, const TMargins& margins, const TPixelRect& dst) noexcept
{
    // The target decides with the margins as the skin gives them; only then are they held
    // inside the frame, so that no part reads beyond it.
    TMargins m{std::max(margins.Left, 0), std::max(margins.Top, 0), std::max(margins.Right, 0), std::max(margins.Bottom, 0)};
    if (dst.Width() < m.Left + m.Right)
        m.Left = m.Right = 0;
    if (dst.Height() < m.Top + m.Bottom)
        m.Top = m.Bottom = 0;
    m = ClampMargins(m, src.Width(), src.Height());

    // Column and row edges of both rectangles: outer, inner left/top, inner right/bottom, outer.
    const int sx0 = src.Left, sx1 = src.Left + m.Left, sx2 = src.Right - m.Right, sx3 = src.Right;
    const int sy0 = src.Top, sy1 = src.Top + m.Top, sy2 = src.Bottom - m.Bottom, sy3 = src.Bottom;
    const int dx0 = dst.Left, dx1 = dst.Left + m.Left, dx2 = dst.Right - m.Right, dx3 = dst.Right;
    const int dy0 = dst.Top, dy1 = dst.Top + m.Top, dy2 = dst.Bottom - m.Bottom, dy3 = dst.Bottom;

    return {{
        {TSlicePart::TopLeft, {sx0, sy0, sx1, sy1}, {dx0, dy0, dx1, dy1}},
        {TSlicePart::BottomLeft, {sx0, sy2, sx1, sy3}, {dx0, dy2, dx1, dy3}},
        {TSlicePart::TopRight, {sx2, sy0, sx3, sy1}, {dx2, dy0, dx3, dy1}},
        {TSlicePart::Left, {sx0, sy1, sx1, sy2}, {dx0, dy1, dx1, dy2}},
        {TSlicePart::Top, {sx1, sy0, sx2, sy1}, {dx1, dy0, dx2, dy1}},
        {TSlicePart::Centre, {sx1, sy1, sx2, sy2}, {dx1, dy1, dx2, dy2}},
        {TSlicePart::BottomRight, {sx2, sy2, sx3, sy3}, {dx2, dy2, dx3, dy3}},
        {TSlicePart::Right, {sx2, sy1, sx3, sy2}, {dx2, dy1, dx3, dy2}},
        {TSlicePart::Bottom, {sx1, sy2, sx2, sy3}, {dx1, dy2, dx2, dy3}},
    }};
}
