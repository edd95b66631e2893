// Colour values: 0x00BBGGRR for plain colours, 0xFF0000nn for system colour nn.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor SystemColor(int index) { return 0xFF000000u | static_cast<TColor>(index); }
constexpr TColor clBtnFace = SystemColor(15);   // COLOR_BTNFACE
constexpr TColor clWindow = SystemColor(5);     // COLOR_WINDOW
constexpr TColor clWindowText = SystemColor(8); // COLOR_WINDOWTEXT
constexpr TColor clBtnText = SystemColor(18);   // COLOR_BTNTEXT
constexpr TColor clGreen = 0x008000;
constexpr TColor RGBColor(int r, int g, int b) { return TColor(r) | TColor(g) << 8 | TColor(b) << 16; }

// The one reading of a colour value, shared by the toolkit and the skin engine: a top byte of
// 0xFF names system colour nn in the low byte; any other value is 0x00BBGGRR, a stray top
// byte ignored. `sysColor` gives the colour of a system index.
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }
template <class TLookup>
constexpr TColor ResolveColorValue(TColor c, TLookup sysColor)
{
    return IsSystemColor(c) ? TColor(sysColor(static_cast<int>(c & 0xFFu))) & 0x00FFFFFFu : c & 0x00FFFFFFu;
}

// Resolves system colours through the running system (GetSysColor).
std::uint32_t ColorToRGB(TColor color);
