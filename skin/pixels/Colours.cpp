// Colour mixing and the saturation figure.
#include "skin/pixels/Colours.h"

#include <algorithm>

TColor BlendColours(TColor c1, TColor c2, int p, const TSystemColors& sys) noexcept
{
    c1 = ResolveColor(c1, sys);
    c2 = ResolveColor(c2, sys);
    const long long scale = p < 100 ? 100 : 1000;
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const long long a = (c1 >> shift) & 0xFF, b = (c2 >> shift) & 0xFF;
        // A share outside 0..scale would push a channel past its byte into its neighbour.
        const long long v = (a * p + b * (scale - p) + scale / 2) / scale;
        result |= static_cast<TColor>(std::clamp<long long>(v, 0, 255)) << shift;
    }
    return result;
}

int SaturationFigure(TColor c, const TSystemColors& sys) noexcept
{
    c = ResolveColor(c, sys);
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high <= 159)
        return 200;
    // Rounded half up: (255 (max − min) + max / 2) ÷ max, in integers.
    return (255 * (high - low) * 2 + high) / (2 * high);
}
