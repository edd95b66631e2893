// The system colours that skin colour references resolve through, and the one conversion of a skin colour to a pixel.
#pragma once

#include "toolkit/Colors.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Colours of the GetSysColor indices 0..30, each 0x00BBGGRR.
struct TSystemColors {
    static constexpr int kCount = 31;
    std::array<TColor, kCount> Colors{};

    // An index the system does not know gives black, as GetSysColor does.
    TColor operator[](int index) const noexcept
    {
        return index >= 0 && index < kCount ? Colors[static_cast<size_t>(index)] : TColor(0);
    }
};

// The classic Windows scheme; what resolves system colours when no system is asked.
const TSystemColors& ClassicSystemColors() noexcept;

// A skin colour as a plain 0x00BBGGRR value: a 0xFF0000nn reference becomes system colour nn.
TColor ResolveColor(TColor c, const TSystemColors& sys) noexcept;

// A skin colour as an opaque 32-bit BGRA pixel.
std::uint32_t ToPixel(TColor c, const TSystemColors& sys) noexcept;
