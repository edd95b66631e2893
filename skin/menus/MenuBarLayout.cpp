// The menu bar's item rectangles from the widths of their captions.
#include "skin/menus/MenuBarLayout.h"

#include <algorithm>

namespace {

constexpr int kItemMargin = 10;     // around a caption, both sides together
constexpr int kPlainStart = 6;      // first item's offset without a bar image
constexpr int kNarrowStart = 12;    // and in a band narrower than the image's end
constexpr int kLeftGap = 4;         // past the bar image's left end
constexpr int kRightGap = 8;        // past its right end, for right-to-left menus

} // namespace

std::vector<TPixelRect> LayoutMenuBarItems(const TMenuBarFacts& f, const std::vector<int>& captionWidths)
{
    std::vector<TPixelRect> out(captionWidths.size());
    if (f.Band.IsEmpty())
        return out;
    int start = kPlainStart;
    if (f.HasBarObject)
        start = (f.RightToLeft ? f.BarRightWidth + kRightGap : f.BarLeftWidth + kLeftGap);
    if (start > f.Band.Width())
        start = kNarrowStart;
    const int top = f.Band.Top;
    const int bottom = f.Band.Bottom - 1;
    const int limit = std::min(f.RightLimit, f.Band.Right);
    if (!f.RightToLeft) {
        int x = f.Band.Left + start;
        for (size_t i = 0; i < captionWidths.size(); ++i) {
            if (captionWidths[i] < 0)
                continue;
            const int width = captionWidths[i] == 0 ? 0 : captionWidths[i] + kItemMargin;
            const int right = std::min(x + width, limit);
            if (width > 0 && x < right)
                out[i] = {x, top, right, bottom};
            x += width;
        }
        return out;
    }
    int x = std::min(f.Band.Right - start, limit);
    for (size_t i = 0; i < captionWidths.size(); ++i) {
        if (captionWidths[i] < 0)
            continue;
        const int width = captionWidths[i] == 0 ? 0 : captionWidths[i] + kItemMargin;
        const int left = std::max(x - width, f.Band.Left);
        if (width > 0 && left < x)
            out[i] = {left, top, x, bottom};
        x -= width;
    }
    return out;
}
