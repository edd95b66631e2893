// Skin colours written as text: red-green-blue number runs, and the R/G/B key triples of the title.
#pragma once

#include "skin/definitions/QuickIni.h"
#include "skin/pixels/SystemColors.h"

#include <string_view>

// The title colours' value when a skin leaves them out.
constexpr TColor kColourNotGiven = 0x1FFFFFFF;

// The first three runs of decimal digits are red, green and blue, each modulo 256; missing
// ones are 0 and later runs are ignored, so "255,128,0", "255 128 0" and "255;128;0" agree.
TColor ParseColour(std::string_view text) noexcept;

// Keys name + "R", "G", "B" of the section; kColourNotGiven unless all three are 0 or more.
TColor ReadRgb(const TQuickIni& ini, std::string_view section, std::string_view name);
