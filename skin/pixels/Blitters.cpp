// Copy, stretch, tile and key-transparent transfers; each clips first and then walks rows by pointer.
#include "skin/pixels/Blitters.h"

#include <algorithm>
#include <cstring>
#include <vector>

void CopyRect(const TPixelView& dst, int x, int y, const TPixelView& src, const TPixelRect& srcRect) noexcept
{
    TPixelRect s = Intersect(srcRect, src.Bounds());
    if (s.IsEmpty() || dst.IsEmpty())
        return;
    // Keep source and target aligned: pixels cut off the source do not shift the rest.
    x += s.Left - srcRect.Left;
    y += s.Top - srcRect.Top;
    if (x < 0) {
        s.Left -= x;
        x = 0;
    }
    if (y < 0) {
        s.Top -= y;
        y = 0;
    }
    const int w = std::min(s.Width(), dst.Width - x);
    const int h = std::min(s.Height(), dst.Height - y);
    if (w <= 0 || h <= 0)
        return;
    const size_t rowBytes = static_cast<size_t>(w) * sizeof(std::uint32_t);
    for (int row = 0; row < h; ++row)
        std::memmove(dst.Row(y + row) + x, src.Row(s.Top + row) + s.Left, rowBytes);
}

void StretchRect(const TPixelView& dst, const TPixelRect& dstRect, const TPixelView& src, const TPixelRect& srcRect)
{
    const TPixelRect s = Intersect(srcRect, src.Bounds());
    const TPixelRect d = Intersect(dstRect, dst.Bounds());
    if (s.IsEmpty() || d.IsEmpty() || dstRect.IsEmpty())
        return;
    const long long dw = dstRect.Width(), dh = dstRect.Height();
    const long long sw = s.Width(), sh = s.Height();
    if (sw == dw && sh == dh) {
        CopyRect(dst, dstRect.Left, dstRect.Top, src, s);
        return;
    }
    // Target column x takes source column floor((x - left) * sw / dw): one lookup table per call.
    std::vector<int> columns(static_cast<size_t>(d.Width()));
    for (int x = d.Left; x < d.Right; ++x)
        columns[static_cast<size_t>(x - d.Left)] = s.Left + static_cast<int>((x - dstRect.Left) * sw / dw);
    const int* map = columns.data();
    const int count = d.Width();
    for (int y = d.Top; y < d.Bottom; ++y) {
        const int sy = s.Top + static_cast<int>((y - dstRect.Top) * sh / dh);
        const std::uint32_t* from = src.Row(sy);
        std::uint32_t* to = dst.Row(y) + d.Left;
        for (int i = 0; i < count; ++i)
            to[i] = from[map[i]];
    }
}

void TileRect(const TPixelView& dst, const TPixelRect& target, const TPixelView& src, const TPixelRect& srcRect) noexcept
{
    const TPixelRect s = Intersect(srcRect, src.Bounds());
    if (s.IsEmpty() || target.IsEmpty())
        return;
    // Copies that end left of or above dst paint nothing: start from the first that can,
    // still on the grid that begins at the target's top-left.
    const auto firstVisible = [](int start, int step) {
        return start >= 0 ? start : start + static_cast<int>((-static_cast<long long>(start)) / step) * step;
    };
    const int startX = firstVisible(target.Left, s.Width()), startY = firstVisible(target.Top, s.Height());
    const int endX = std::min(target.Right, dst.Width), endY = std::min(target.Bottom, dst.Height);
    for (int y = startY; y < endY; y += s.Height())
        for (int x = startX; x < endX; x += s.Width())
            CopyRect(dst, x, y, src, s);
}

void TransparentBlit(const TPixelView& dst, const TPixelRect& target, const TPixelView& src, std::uint32_t key) noexcept
{
    if (target.IsInverted() || src.IsEmpty())
        return;
    const TPixelRect wanted{target.Left, target.Top, target.Left + std::min(target.Width(), src.Width),
        target.Top + std::min(target.Height(), src.Height)};
    const TPixelRect d = Intersect(wanted, dst.Bounds());
    if (d.IsEmpty())
        return;
    const int sx = d.Left - target.Left, sy = d.Top - target.Top;
    const int w = d.Width();
    const std::uint32_t rgbKey = key & 0xFFFFFF;
    for (int y = 0; y < d.Height(); ++y) {
        const std::uint32_t* from = src.Row(sy + y) + sx;
        std::uint32_t* to = dst.Row(d.Top + y) + d.Left;
        for (int i = 0; i < w; ++i)
            if ((from[i] & 0xFFFFFF) != rgbKey)
                to[i] = from[i];
    }
}
