// Colour ramps for gradient bars, kept in a small round-robin cache, and the fill that paints them band by band.
#pragma once

#include "skin/pixels/PixelBuffer.h"
#include "skin/pixels/SystemColors.h"

#include <array>
#include <memory>
#include <vector>

using TColourRamp = std::vector<TColor>;

// Remembers the last 16 ramps asked for, because the same bar is repainted often at the
// same size. A ramp handed out stays valid after its slot is reused.
class TGradientCache {
public:
    static constexpr int kSlots = 16;

    // n plain colours from a to b, rounded to nearest on each channel, so entry 0 is a and
    // entry n − 1 is b; for n = 1 the one entry lies halfway. Throws std::invalid_argument
    // for n below 1.
    std::shared_ptr<const TColourRamp> Colours(TColor a, TColor b, int n);

    // Which slot the next new ramp goes to (0..15).
    int Cursor() const noexcept { return FCursor; }

private:
    struct TSlot {
        TColor From = 0, To = 0;
        std::shared_ptr<const TColourRamp> Ramp;
    };
    std::array<TSlot, kSlots> FSlots{};
    int FCursor = 0;
};

// The cache the painters share on the GUI thread.
TGradientCache& SharedGradientCache() noexcept;

enum class TGradientDirection { LeftToRight = 0, TopToBottom = 1 };

// Fills rect with one-pixel bands from start to end; only the bands inside dst are computed
// and painted. Nothing when rect misses dst or has no extent along the gradient.
void FillGradient(const TPixelView& dst, const TPixelRect& rect, TColor start, TGradientDirection direction, TColor end,
    const TSystemColors& sys, TGradientCache& cache);
