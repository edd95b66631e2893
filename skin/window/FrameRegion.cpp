// The frame's window region: client rectangle plus each border, whole or cut along its magenta pixels.
#include "skin/window/FrameRegion.h"

#include "skin/pixels/Blitters.h"
#include "skin/pixels/Region.h"

namespace {

struct TBorderPart {
    TBorderSide Side;
    TPixelRect Rect;
    bool Cut; // painted and cut along its key pixels, rather than taken whole
};

void AddClipped(std::vector<TPixelRect>& rects, const TPixelRect& r, const TPixelRect& window)
{
    const TPixelRect clipped = Intersect(r, window);
    if (!clipped.IsEmpty())
        rects.push_back(clipped);
}

} // namespace

TFrameRegion BuildFrameRegion(const TSkinObjects& skin, int width, int height, const TFrameBorders& b,
    TBorderKind kind)
{
    TFrameRegion region;
    if (width <= 0 || height <= 0)
        return region;
    // Skins give Trans as 0 or 1: with Left, Top and Right all 0 there is nothing to cut.
    const long long trans = static_cast<long long>(skin.Right.Trans) + skin.Top.Trans + 2LL * skin.Left.Trans;
    if (trans == 0) {
        region.Kind = TFrameRegion::TKind::WholeWindow;
        return region;
    }
    region.Kind = TFrameRegion::TKind::Rects;
    const TPixelRect window{0, 0, width, height};
    AddClipped(region.Rects, {b.Left, b.Top, width - b.Right, height - b.Bottom}, window);
    if (kind == TBorderKind::NoCaption)
        return region;

    const TFramePieces pieces = FramePieces(width, height, b, 0, TShowState::Normal);
    const TBorderPart parts[] = {
        {TBorderSide::Left, pieces.Left, skin.Left.Trans == 1 && height > 1},
        {TBorderSide::Right, pieces.Right, skin.Right.Trans == 1 && height > 1},
        {TBorderSide::Top, pieces.Top, skin.Top.Trans == 1 && b.Top > 1 && pieces.Top.Width() > 0},
        {TBorderSide::Bottom, pieces.Bottom, skin.Bottom.Trans == 1 && b.Bottom >= 2},
    };
    for (const TBorderPart& part : parts) {
        if (part.Rect.IsEmpty())
            continue;
        if (!part.Cut) {
            AddClipped(region.Rects, part.Rect, window);
            continue;
        }
        const TPixelBuffer piece =
            BuildBorderPiece(skin, part.Side, part.Rect.Width(), part.Rect.Height(), TActivation::Active);
        for (const TPixelRect& r :
            RegionFromBitmap(piece.View(), part.Rect.Left, part.Rect.Top, {1, 1, 1}, kTransparentKey))
            AddClipped(region.Rects, r, window);
    }
    return region;
}
