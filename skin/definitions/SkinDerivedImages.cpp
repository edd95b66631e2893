// The fixed frame counts of the skin objects and the images derived from loaded ones: combo frame and arrow, toolbar band.
#include "skin/definitions/SkinObjects.h"

#include "skin/pixels/Blitters.h"
#include "skin/pixels/Colours.h"
#include "skin/pixels/Gradient.h"
#include "skin/pixels/ImageTransforms.h"
#include "skin/pixels/Painters.h"

#include <algorithm>

namespace {

constexpr int kComboWidth = 50;
constexpr int kComboHeight = 21;
constexpr int kArrowSide = 17;
constexpr std::uint32_t kMagentaPixel = 0xFFFF00FFu;

template <typename T>
void SetFrame(const std::unique_ptr<T>& o, int32_t frame) noexcept
{
    if (o)
        o->Frame = frame;
}

// Check box and radio strips are cut in cells of 13 pixels when low, 16 otherwise.
int32_t StripFrames(const TPixelBuffer& image) noexcept
{
    const int cell = image.Height() < 16 ? 13 : 16;
    return std::max(image.Width() / cell, 4);
}

TKeying KeyingOf(const TDataSkinObject& o) noexcept { return o.Trans != 0 ? TKeying::Transparent : TKeying::Opaque; }
TCentre CentreOf(const TDataSkinObject& o) noexcept { return o.Tile == 1 ? TCentre::Tile : TCentre::Stretch; }

} // namespace

void TSkinObjects::SetFrameCounts(const TQuickIni& ini)
{
    Buttons.Frame = 5;
    if (Buttons.RadioButtonFrame == 0)
        Buttons.RadioButtonFrame = StripFrames(Buttons.RadioBitmap);
    if (Buttons.CheckButtonFrame == 0)
        Buttons.CheckButtonFrame = StripFrames(Buttons.CheckBitmap);
    Title.Frame = 2;
    if (Progress)
        Progress->Frame = Progress->Style != 0 ? 1 : 2;
    SetFrame(MenuBar, 2);
    SetFrame(GroupBoxEdge, 2);
    SetFrame(Toolbar, 1);
    SetFrame(TabPane, 1);
    SetFrame(GroupBox, 1);
    SetFrame(MenuBackground, 1);
    SetFrame(StatusBarEdges, 3);
    SetFrame(ComboButton, 4);
    SetFrame(SunkEdge, 4);
    SetFrame(HorzScroll, 4);
    SetFrame(VertScroll, 4);
    for (const auto* o : {&ToolBars, &ExtraImages, &MenuItem, &TrackbarThumbHorz, &TrackbarThumbVert,
                          &TrackbarThumbLeft, &TrackbarThumbRight, &TrackbarThumbUp, &TrackbarThumbDown})
        SetFrame(*o, 5);
    if (Headerbar && Headerbar->Frame == 0)
        Headerbar->Frame = 5;
    SetFrame(Tabs, 5);
    SetFrame(UpDownHorz, 8);
    SetFrame(UpDownVert, 8);
    SetFrame(Scrollbar, 23);
    if (HorzScrollThumb)
        HorzScrollThumb->Frame = ini.ReadInteger("HorzScrollThumb", "FrameCount", 3);
    if (VertScrollThumb)
        VertScrollThumb->Frame = ini.ReadInteger("VertScrollThumb", "FrameCount", 3);
}

void TSkinObjects::BuildComboFrame()
{
    if (!SunkEdge || !ComboButton)
        return;
    const int n = std::max(SunkEdge->Frame, 1);
    const int a = FMetrics.HorzScrollArrowWidth + 2;
    TPixelBuffer strip(kComboWidth * n, kComboHeight);
    strip.Fill(kMagentaPixel);
    const TPixelRect arrowPart{kComboWidth - a, 0, kComboWidth, kComboHeight};
    for (int k = 1; k <= n; ++k) {
        TPixelBuffer scratch(kComboWidth, kComboHeight);
        scratch.Fill(kMagentaPixel);
        const TPixelView v = scratch.View();
        DrawNineSlice(v, v.Bounds(), SunkEdge->Bitmap.View(), TStrip::Horizontal, CentreOf(*SunkEdge),
                      KeyingOf(*SunkEdge), n, k, SunkEdge->Margins());
        DrawNineSlice(v, arrowPart, ComboButton->Bitmap.View(), TStrip::Horizontal, CentreOf(*ComboButton),
                      TKeying::Transparent, ComboButton->Frame, k, ComboButton->Margins());
        if (ExtraImages)
            DrawFrameCentred(v, arrowPart, ExtraImages->Bitmap.View(), TKeying::Transparent, ExtraImages->Frame, k);
        // The edit part stays see-through; only the sunken rim and the button are skin pixels.
        for (int y = 2; y < 18; ++y)
            std::fill(v.Row(y) + 2, v.Row(y) + std::max(2, kComboWidth - 1 - a), kMagentaPixel);
        CopyRect(strip.View(), kComboWidth * (k - 1), 0, v, v.Bounds());
    }
    const TMargins sunk = SunkEdge->Margins();
    ComboButton->Style = 2;
    ComboButton->SetMargins({2, sunk.Top, a + 2, sunk.Bottom});
    ComboButton->Bitmap = strip.Clone();
    MirrorImage(strip.View());
    SunkEdge->Bitmap = std::move(strip);
    SunkEdge->LeftWidth = a + 2;
    SunkEdge->RightWidth = 2;
}

void TSkinObjects::BuildComboArrow()
{
    ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    if (!SunkEdge) {
        if (!ComboButton)
            return;
        ComboxArrow->Bitmap = ComboButton->Bitmap.Clone();
        ReplaceMagenta(ComboxArrow->Bitmap.View(), ToPixel(ButtonFace(), FSys));
        ComboxArrow->Frame = ComboButton->Frame;
        return;
    }
    if (!ComboButton || ComboButton->Style != 2)
        return;
    const int n = std::max(SunkEdge->Frame, 1);
    const TPixelView button = ComboButton->Bitmap.View();
    const int w = button.Width / n;
    ComboxArrow->Bitmap = TPixelBuffer(kArrowSide * n, kArrowSide);
    for (int i = 0; i < n; ++i)
        CopyRect(ComboxArrow->Bitmap.View(), kArrowSide * i, 0, button,
                 {w * (i + 1) - 19, 2, w * (i + 1) - 2, 2 + kArrowSide});
    ComboxArrow->Frame = n;
}

void TSkinObjects::BuildToolbarImage()
{
    Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    Toolbar->Frame = 1;
    Toolbar->Bitmap = TPixelBuffer(10, 40);
    const TColor c = FrameColour();
    const TColor white = 0xFFFFFF;
    const TColor top = BlendColours(ButtonFace(), white, 150, FSys);
    TColor bottom = BlendColours(0x808080, c, 150, FSys);
    const int s = SaturationFigure(c, FSys);
    if (s > 110)
        bottom = BlendColours(c, white, (5625 - 25 * s) / 140 + 50, FSys);
    TGradientCache cache;
    const TPixelView v = Toolbar->Bitmap.View();
    FillGradient(v, v.Bounds(), top, TGradientDirection::TopToBottom, bottom, FSys, cache);
}
