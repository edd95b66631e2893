// Scans an image row by row for the runs of pixels outside the key range.
#include "skin/pixels/Region.h"

#include <algorithm>

std::vector<TPixelRect> RegionFromBitmap(const TPixelView& image, int dx, int dy, TKeyTolerance tolerance,
    std::uint32_t key)
{
    std::vector<TPixelRect> rects;
    if (image.IsEmpty())
        return rects;
    const auto range = [](std::uint32_t low, int tol) {
        return std::min<std::uint32_t>(255, low + static_cast<std::uint32_t>(std::clamp(tol, 0, 255)));
    };
    const std::uint32_t bLow = key & 0xFF, gLow = (key >> 8) & 0xFF, rLow = (key >> 16) & 0xFF;
    const std::uint32_t bHigh = range(bLow, tolerance.Blue), gHigh = range(gLow, tolerance.Green),
                        rHigh = range(rLow, tolerance.Red);
    const auto isKey = [&](std::uint32_t p) {
        const std::uint32_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
        return b >= bLow && b <= bHigh && g >= gLow && g <= gHigh && r >= rLow && r <= rHigh;
    };
    for (int y = 0; y < image.Height; ++y) {
        const std::uint32_t* row = image.Row(y);
        int x = 0;
        while (x < image.Width) {
            while (x < image.Width && isKey(row[x]))
                ++x;
            if (x == image.Width)
                break;
            const int x0 = x;
            while (x < image.Width && !isKey(row[x]))
                ++x;
            rects.push_back({x0 + dx, y + dy, x + dx, y + dy + 1});
        }
    }
    return rects;
}
