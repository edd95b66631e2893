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

// Resolves system colours through the running system (GetSysColor).
std::uint32_t ColorToRGB(TColor color);
