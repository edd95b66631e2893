// The gradient ramp cache and the banded gradient fill.
#include "skin/pixels/Gradient.h"

#include <algorithm>
#include <stdexcept>

namespace {

// (num + den/2) / den rounded half away from zero, for either sign of num.
int RoundedDiv(long long num, long long den)
{
    return static_cast<int>(num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den));
}

TColourRamp BuildRamp(TColor a, TColor b, int n)
{
    TColourRamp ramp(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        TColor c = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int from = (a >> shift) & 0xFF;
            const int d = static_cast<int>((b >> shift) & 0xFF) - from;
            const int v = n == 1 ? from + d / 2 : from + RoundedDiv(static_cast<long long>(i) * d, n - 1);
            c |= static_cast<TColor>(v) << shift;
        }
        ramp[static_cast<size_t>(i)] = c;
    }
    return ramp;
}

} // namespace

std::shared_ptr<const TColourRamp> TGradientCache::Colours(TColor a, TColor b, int n)
{
    if (n < 1)
        throw std::invalid_argument("a gradient needs at least one colour");
    for (int i = kSlots - 1; i >= 0; --i) {
        const TSlot& slot = FSlots[static_cast<size_t>(i)];
        if (slot.Ramp && slot.Ramp->size() == static_cast<size_t>(n) && slot.From == a && slot.To == b)
            return slot.Ramp;
    }
    TSlot& slot = FSlots[static_cast<size_t>(FCursor)];
    slot = {a, b, std::make_shared<const TColourRamp>(BuildRamp(a, b, n))};
    FCursor = (FCursor + 1) % kSlots;
    return slot.Ramp;
}

TGradientCache& SharedGradientCache() noexcept
{
    static TGradientCache cache;
    return cache;
}

void FillGradient(const TPixelView& dst, const TPixelRect& rect, TColor start, TGradientDirection direction, TColor end,
    const TSystemColors& sys, TGradientCache& cache)
{
    const TPixelRect visible = Intersect(rect, dst.Bounds());
    if (visible.IsEmpty())
        return;
    const bool down = direction == TGradientDirection::TopToBottom;
    const int n = down ? rect.Height() : rect.Width();
    if (n <= 0)
        return;
    const auto ramp = cache.Colours(ResolveColor(start, sys), ResolveColor(end, sys), n);
    const int origin = down ? rect.Top : rect.Left;
    const int first = std::max(0, (down ? visible.Top : visible.Left) - origin);
    const int last = std::min(n - 1, (down ? visible.Bottom : visible.Right) - origin - 1);
    for (int band = first; band <= last; ++band) {
        const std::uint32_t pixel = ToPixel((*ramp)[static_cast<size_t>(band)], sys);
        if (down) {
            std::fill_n(dst.Row(origin + band) + visible.Left, visible.Width(), pixel);
        } else {
            const int x = origin + band;
            for (int y = visible.Top; y < visible.Bottom; ++y)
                dst.Row(y)[x] = pixel;
        }
    }
}
