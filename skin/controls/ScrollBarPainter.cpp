// The skinned scroll bar's pixels: one strip frame per part, over the face colour.
#include "skin/controls/ScrollBarPainter.h"

#include "skin/definitions/SkinObjects.h"
#include "skin/pixels/Painters.h"

#include <algorithm>

namespace {

bool Has(const std::unique_ptr<TDataSkinObject>& object) noexcept
{
    return object && !object->Bitmap.IsEmpty();
}

void PaintPart(const TPixelView& dst, const TPixelRect& box, const TDataSkinObject& object, int frame)
{
    if (box.IsEmpty() || frame <= 0)
        return;
    DrawNineSlice(dst, box, object.Bitmap.View(), TStrip::Horizontal, object.Tile ? TCentre::Tile : TCentre::Stretch,
                  object.Trans == 1 ? TKeying::Transparent : TKeying::Opaque, object.Frame, frame, object.Margins());
}

} // namespace

bool CanPaintScrollBar(const TSkinObjects& skin) noexcept
{
    return Has(skin.Scrollbar);
}

void PaintScrollBar(const TPixelView& dst, const TScrollBarLayout& layout, bool vertical, const TSkinObjects& skin)
{
    if (dst.IsEmpty())
        return;
    const std::uint32_t face = ToPixel(skin.ButtonFace(), skin.SystemColors());
    for (int y = 0; y < dst.Height; ++y)
        std::fill_n(dst.Row(y), dst.Width, face);
    if (!CanPaintScrollBar(skin))
        return;
    const auto& track = vertical ? skin.VertScroll : skin.HorzScroll;
    const auto& thumb = vertical ? skin.VertScrollThumb : skin.HorzScrollThumb;
    if (Has(track))
        PaintPart(dst, layout.Track, *track, layout.TrackFrame);
    PaintPart(dst, layout.FirstArrow, *skin.Scrollbar, layout.FirstArrowFrame);
    PaintPart(dst, layout.SecondArrow, *skin.Scrollbar, layout.SecondArrowFrame);
    if (Has(thumb))
        PaintPart(dst, layout.Thumb, *thumb, layout.ThumbFrame);
    PaintPart(dst, layout.Grip, *skin.Scrollbar, layout.GripFrame);
}
