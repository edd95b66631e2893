// The classic system colour table and the conversion of skin colours to pixels.
#include "skin/pixels/SystemColors.h"

const TSystemColors& ClassicSystemColors() noexcept
{
    static const TSystemColors table{{
        RGBColor(212, 208, 200), // 0 scroll bar
        RGBColor(58, 110, 165),  // 1 desktop
        RGBColor(10, 36, 106),   // 2 active caption
        RGBColor(128, 128, 128), // 3 inactive caption
        RGBColor(212, 208, 200), // 4 menu
        RGBColor(255, 255, 255), // 5 window
        RGBColor(0, 0, 0),       // 6 window frame
        RGBColor(0, 0, 0),       // 7 menu text
        RGBColor(0, 0, 0),       // 8 window text
        RGBColor(255, 255, 255), // 9 caption text
        RGBColor(212, 208, 200), // 10 active border
        RGBColor(212, 208, 200), // 11 inactive border
        RGBColor(128, 128, 128), // 12 application workspace
        RGBColor(10, 36, 106),   // 13 highlight
        RGBColor(255, 255, 255), // 14 highlight text
        RGBColor(212, 208, 200), // 15 button face
        RGBColor(128, 128, 128), // 16 button shadow
        RGBColor(128, 128, 128), // 17 grey text
        RGBColor(0, 0, 0),       // 18 button text
        RGBColor(212, 208, 200), // 19 inactive caption text
        RGBColor(255, 255, 255), // 20 button highlight
        RGBColor(64, 64, 64),    // 21 3-D dark shadow
        RGBColor(212, 208, 200), // 22 3-D light
        RGBColor(0, 0, 0),       // 23 tooltip text
        RGBColor(255, 255, 225), // 24 tooltip background
        RGBColor(0, 0, 0),       // 25 has no meaning
        RGBColor(0, 0, 128),     // 26 hot-tracked item
        RGBColor(166, 202, 240), // 27 active caption gradient
        RGBColor(192, 192, 192), // 28 inactive caption gradient
        RGBColor(10, 36, 106),   // 29 menu highlight
        RGBColor(212, 208, 200), // 30 menu bar
    }};
    return table;
}

TColor ResolveColor(TColor c, const TSystemColors& sys) noexcept
{
    // Only the colour bytes count; a stray top byte must not leak into the pixel's spare byte.
    return ResolveColorValue(c, [&sys](int index) { return sys[index]; });
}

std::uint32_t ToPixel(TColor c, const TSystemColors& sys) noexcept
{
    const TColor rgb = ResolveColor(c, sys);
    const std::uint32_t r = rgb & 0xFFu;
    const std::uint32_t g = (rgb >> 8) & 0xFFu;
    const std::uint32_t b = (rgb >> 16) & 0xFFu;
    return 0xFF000000u | r << 16 | g << 8 | b;
}
