// Pixel data of the built-in track grooves: shadow on the top and left, light on the bottom and right.
#include "skin/definitions/BuiltinTrack.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

// One letter per pixel: s shadow, d dark shadow, g groove, l light, h highlight.
std::uint32_t Shade(char c) noexcept
{
    switch (c) {
    case 's':
        return 0xFFA0A0A0u;
    case 'd':
        return 0xFF696969u;
    case 'g':
        return 0xFFDCDCDCu;
    case 'l':
        return 0xFFF0F0F0u;
    default:
        return 0xFFFFFFFFu;
    }
}

template <size_t Rows>
constexpr bool Rectangular(const std::array<std::string_view, Rows>& rows)
{
    for (const std::string_view row : rows)
        if (row.size() != rows[0].size())
            return false;
    return true;
}

template <size_t Rows>
TPixelBuffer FromArt(const std::array<std::string_view, Rows>& rows)
{
    TPixelBuffer image(static_cast<int>(rows[0].size()), static_cast<int>(Rows));
    const TPixelView v = image.View();
    for (int y = 0; y < v.Height; ++y)
        for (int x = 0; x < v.Width; ++x)
            v.At(x, y) = Shade(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
    return image;
}

constexpr std::array<std::string_view, 4> kTrack{
    "ssssssssssssssss",
    "sdddddddddddddlh",
    "sdgggggggggggglh",
    "slllllllllllllhh",
};

constexpr std::array<std::string_view, 16> kTrackVert{
    "ssss", "sdgl", "sdgl", "sdgl", "sdgl", "sdgl", "sdgl", "sdgl",
    "sdgl", "sdgl", "sdgl", "sdgl", "sdgl", "sdgl", "sllh", "shhh",
};

static_assert(Rectangular(kTrack) && kTrack[0].size() == 16);
static_assert(Rectangular(kTrackVert) && kTrackVert[0].size() == 4);

} // namespace

TPixelBuffer BuiltinTrackImage() { return FromArt(kTrack); }

TPixelBuffer BuiltinTrackVertImage() { return FromArt(kTrackVert); }
