// Builds a region from rectangles in blocks, joining each block into the result.
#include "skin/pixels/Region_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

HRGN RegionOfBlock(std::span<const TPixelRect> block)
{
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + block.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(block.size());
    header->nRgnSize = static_cast<DWORD>(block.size() * sizeof(RECT));
    RECT bounds{block[0].Left, block[0].Top, block[0].Right, block[0].Bottom};
    RECT* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (size_t i = 0; i < block.size(); ++i) {
        const TPixelRect& r = block[i];
        out[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
        bounds.left = std::min<LONG>(bounds.left, r.Left);
        bounds.top = std::min<LONG>(bounds.top, r.Top);
        bounds.right = std::max<LONG>(bounds.right, r.Right);
        bounds.bottom = std::max<LONG>(bounds.bottom, r.Bottom);
    }
    header->rcBound = bounds;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

} // namespace

win::GdiObject<HRGN> CreateRegionFromRects(std::span<const TPixelRect> rects) noexcept
{
    try {
        win::GdiObject<HRGN> result(CreateRectRgn(0, 0, 0, 0));
        if (!result)
            return {};
        for (size_t start = 0; start < rects.size(); start += kRegionBlock) {
            const size_t n = std::min(kRegionBlock, rects.size() - start);
            const win::GdiObject<HRGN> block(RegionOfBlock(rects.subspan(start, n)));
            if (!block || CombineRgn(result.get(), result.get(), block.get(), RGN_OR) == ERROR)
                return {};
        }
        return result;
    } catch (...) {
        return {}; // the block's buffer could not be had
    }
}
