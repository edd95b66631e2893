// Colour text of skin definitions.
#include "skin/definitions/ParseColour.h"

#include <array>
#include <string>

TColor ParseColour(std::string_view text) noexcept
{
    std::array<unsigned, 3> parts{};
    size_t found = 0;
    size_t i = 0;
    while (i < text.size() && found < parts.size()) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        // Reducing as the digits come keeps a run of any length exact without overflow.
        unsigned value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = (value * 10 + static_cast<unsigned>(text[i] - '0')) % 256;
        parts[found++] = value;
    }
    return RGBColor(static_cast<int>(parts[0]), static_cast<int>(parts[1]), static_cast<int>(parts[2]));
}

TColor ReadRgb(const TQuickIni& ini, std::string_view section, std::string_view name)
{
    const std::string n(name);
    const int32_t r = ini.ReadInteger(section, n + "R", -1);
    const int32_t g = ini.ReadInteger(section, n + "G", -1);
    const int32_t b = ini.ReadInteger(section, n + "B", -1);
    if (r < 0 || g < 0 || b < 0)
        return kColourNotGiven;
    return RGBColor(r % 256, g % 256, b % 256);
}
