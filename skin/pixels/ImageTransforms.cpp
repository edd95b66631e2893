// In-place reversals, quarter turns into a new buffer, and magenta replacement.
#include "skin/pixels/ImageTransforms.h"

#include "skin/pixels/Blitters.h"

#include <algorithm>

void ReplaceMagenta(const TPixelView& image, std::uint32_t pixel) noexcept
{
    for (int y = 0; y < image.Height; ++y) {
        std::uint32_t* p = image.Row(y);
        for (int x = 0; x < image.Width; ++x)
            if (IsKeyPixel(p[x]))
                p[x] = pixel;
    }
}

void MirrorImage(const TPixelView& image) noexcept
{
    for (int y = 0; y < image.Height; ++y)
        std::reverse(image.Row(y), image.Row(y) + image.Width);
}

void FlipImage(const TPixelView& image) noexcept
{
    for (int top = 0, bottom = image.Height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(image.Row(top), image.Row(top) + image.Width, image.Row(bottom));
}

void RotateLeft(TPixelBuffer& image)
{
    const TPixelView src = image.View();
    TPixelBuffer turned(image.Height(), image.Width());
    const TPixelView dst = turned.View();
    // Source column w − 1 − y becomes target row y.
    for (int y = 0; y < src.Height; ++y) {
        const std::uint32_t* from = src.Row(y);
        for (int x = 0; x < src.Width; ++x)
            dst.Row(src.Width - 1 - x)[y] = from[x];
    }
    image = std::move(turned);
}

void RotateRight(TPixelBuffer& image)
{
    const TPixelView src = image.View();
    TPixelBuffer turned(image.Height(), image.Width());
    const TPixelView dst = turned.View();
    // Source row y becomes target column h − 1 − y.
    for (int y = 0; y < src.Height; ++y) {
        const std::uint32_t* from = src.Row(y);
        for (int x = 0; x < src.Width; ++x)
            dst.Row(x)[src.Height - 1 - y] = from[x];
    }
    image = std::move(turned);
}
