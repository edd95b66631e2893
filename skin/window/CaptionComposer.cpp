// Composition of the caption band: face fill, Top border, text background, then the caption buttons.
#include "skin/window/CaptionComposer.h"

#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"

#include <algorithm>

TPixelRect CaptionBandRect(const TCaptionScene& scene) noexcept
{
    return FramePieces(scene.Width, scene.Height, scene.Borders, 0, scene.Show).CaptionBand;
}

void ComposeCaptionBackground(const TPixelView& band, const TSkinObjects& skin, const TCaptionScene& scene)
{
    if (band.IsEmpty())
        return;
    if (scene.Show == TShowState::Minimized) {
        const std::uint32_t face = ToPixel(skin.ButtonFace(), skin.SystemColors());
        for (int y = 0; y < band.Height; ++y)
            std::fill(band.Row(y), band.Row(y) + band.Width, face);
    }
    const TPixelRect top = FramePieces(scene.Width, scene.Height, scene.Borders, 0, scene.Show).Top;
    // Only the part of the piece the band holds is built; the border is never wider than the window.
    const TPixelRect visible = Intersect(top, band.Bounds());
    if (!visible.IsEmpty()) {
        const TPixelBuffer piece = BuildBorderPiece(skin, TBorderSide::Top, top.Width(), top.Height(), scene.Activation);
        CopyRect(band, top.Left, top.Top, piece.View(), piece.View().Bounds());
    }
    const TDataSkinTitle& title = skin.Title;
    // PlaceCaptionText keeps the background on the caption; holding it to the band as well
    // bounds the scratch image whatever a caller passes.
    const TPixelRect back = Intersect(scene.TitleBackground, band.Bounds());
    if (!title.Bitmap.IsEmpty() && !back.IsEmpty()) {
        const int k = scene.Activation == TActivation::Active ? 1 : 2;
        DrawThreeSlice(band, back, title.Bitmap.View(), TStrip::Vertical, TKeying::Transparent, 2, k,
            {title.TXTBackleft, 0, title.TXTBackRight, 0});
    }
}

void PaintSysButton(const TPixelView& dst, const TPixelRect& target, const TCaptionButton& button, int frame,
    const TPixelView& appIcon, const TPixelView& background)
{
    if (!button.Data || Intersect(target, dst.Bounds()).IsEmpty())
        return;
    if (!background.IsEmpty())
        CopyRect(dst, target.Left, target.Top, background, target);
    const TDataSkinSysButton& d = *button.Data;
    if (IsIconAction(d.Action) && !appIcon.IsEmpty()) {
        // A large icon is scaled down to the button; a small one keeps its pixels, centred.
        if (appIcon.Width > target.Width() || appIcon.Height > target.Height())
            DrawFrameStretched(dst, target, appIcon, TKeying::Transparent, 1, 1);
        else
            DrawFrameCentred(dst, target, appIcon, TKeying::Transparent, 1, 1);
        return;
    }
    DrawFrameStretched(dst, target, d.Bitmap.View(), TKeying::Transparent, std::max(d.Frame, 1), frame);
}

void ComposeCaptionButtons(const TPixelView& band, std::span<const TCaptionButton> buttons, TActivation activation,
    const TPixelView& appIcon)
{
    for (const TCaptionButton& b : buttons) {
        if (!b.Data || !b.Visible || b.Data->Bitmap.IsEmpty() || b.Data->Visibility == 100)
            continue;
        PaintSysButton(band, b.Bounds, b, FullPaintFrame(b, activation), appIcon);
    }
}
