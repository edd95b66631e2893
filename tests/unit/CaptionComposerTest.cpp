// Caption band composition: exact pixels of border, text background and buttons, active and inactive, minimized, icons.
#include "skin/window/CaptionComposer.h"
#include "skin/pixels/Colours.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kScreen = 0xFF0A0B0C; // what the window showed before
constexpr std::uint32_t kMagenta = 0xFFFF00FFu;
constexpr std::uint32_t kTopA = 0xFF100000, kTopB = 0xFF200000;
constexpr std::uint32_t kTitleA = 0xFF003000, kTitleB = 0xFF004000;
constexpr std::uint32_t kButton[] = {0xFF000051, 0xFF000052, 0xFF000053, 0xFF000054};

TBytes Bmp(const TPixelBuffer& image) { return MakeBmp(image.View()); }

TBytes TitleImage()
{
    // Ends 2 and 2 around a middle of columns 2 and 3; the active frame has a hole at (3, 5).
    TPixelBuffer image = StackedFrames(6, 10, {kTitleA, kTitleB});
    image.View().At(3, 5) = kMagenta;
    return Bmp(image);
}

TBytes ButtonImage()
{
    TPixelBuffer image = SolidFrames(6, 6, {kButton[0], kButton[1], kButton[2], kButton[3]});
    for (int f = 0; f < 4; ++f)
        image.View().At(f * 6, 0) = kMagenta;
    return Bmp(image);
}

// Borders 2, 10, 3 and none at the bottom; a close button 20 from the right edge at y 2.
struct TCaptionSkin : TSkinFixture {
    std::vector<TCaptionButton> Buttons;

    TCaptionSkin()
        : TSkinFixture("[Personality]\nLeft=l.bmp\nRight=r.bmp\nTop=t.bmp\nTopFrame=2\n"
                       "TextBack=tb.bmp\nTXTBackleft=2\nTXTBackRight=2\n"
                       "[BUTTON1]\nAction=0\nAlign=1\nXcoord=20\nYcoord=2\nframe=4\nButtonImage=b.bmp\n",
              {{"l.bmp", Bmp(Filled(2, 4, kTopA))}, {"r.bmp", Bmp(Filled(3, 4, kTopA))},
                  {"t.bmp", Bmp(StackedFrames(4, 10, {kTopA, kTopB}))}, {"tb.bmp", TitleImage()},
                  {"b.bmp", ButtonImage()}})
    {
        for (const auto& d : Model.CaptionButtons) {
            TCaptionButton b;
            b.Data = d.get();
            Buttons.push_back(b);
        }
    }

    TCaptionScene Scene(TActivation activation, TShowState show = TShowState::Normal, int height = 60) const
    {
        return {100, height, ComputeBorders(Model, TBorderKind::Sizeable), show, activation, {20, 0, 60, 10}};
    }

    // Both passes over a band that shows the screen, as the frame composes it.
    TPixelBuffer Compose(const TCaptionScene& scene)
    {
        const TPixelRect bandRect = CaptionBandRect(scene);
        TPixelBuffer band = Filled(bandRect.Width(), bandRect.Height(), kScreen);
        TCaptionWindow window;
        window.Activation = scene.Activation;
        window.Boxes = caption_box::kSysMenu;
        UpdateSysButtons(Buttons, window, {});
        TButtonLayoutFrame frame;
        frame.Width = scene.Width;
        frame.Borders = scene.Borders;
        LayoutSysButtons(Buttons, frame);
        ComposeCaptionBackground(band.View(), Model, scene);
        ComposeCaptionButtons(band.View(), Buttons, scene.Activation, {});
        return band;
    }
};

struct TPixelAt {
    int X, Y;
    std::uint32_t Pixel;
};

void ExpectPixels(const TPixelBuffer& band, std::initializer_list<TPixelAt> expected)
{
    for (const TPixelAt& e : expected)
        EXPECT_EQ(band.View().At(e.X, e.Y), e.Pixel) << "at " << e.X << "," << e.Y;
}

} // namespace

TEST(CaptionComposer, ActiveAndInactiveBands)
{
    TCaptionSkin skin;
    const TPixelBuffer active = skin.Compose(skin.Scene(TActivation::Active));
    ASSERT_EQ(active.Width(), 100);
    ASSERT_EQ(active.Height(), 10);
    ExpectPixels(active, {
        {1, 5, kScreen}, {2, 5, kTopA}, {96, 9, kTopA}, {97, 5, kScreen}, // the sides are not the band's
        {20, 0, kTitleA}, {59, 9, kTitleA}, {60, 5, kTopA}, {19, 5, kTopA},
        {23, 5, kTopA}, {25, 5, kTopA}, {23, 4, kTitleA}, // the hole of each middle copy
        {81, 3, kButton[0]}, {85, 7, kButton[0]}, {80, 2, kTopA}, {86, 3, kTopA}});

    const TPixelBuffer inactive = skin.Compose(skin.Scene(TActivation::Inactive));
    ExpectPixels(inactive, {{10, 5, kTopB}, {23, 5, kTitleB}, {81, 3, kButton[3]}, {80, 2, kTopB}});
}

TEST(CaptionComposer, MinimizedBandIsFaceColouredBelowTheCaption)
{
    TCaptionSkin skin;
    const TPixelBuffer band = skin.Compose(skin.Scene(TActivation::Active, TShowState::Minimized, 14));
    ASSERT_EQ(band.Height(), 14);
    const std::uint32_t face = ToPixel(skin.Model.ButtonFace(), skin.Model.SystemColors());
    ExpectPixels(band, {{0, 5, kTopA}, {99, 9, kTopA}, {0, 10, face}, {99, 13, face}, {81, 3, kButton[0]}});
}

TEST(CaptionComposer, IconButtonsShowTheIconAndStateRepaintsRestoreTheBackground)
{
    TDataSkinSysButton icon{"ICON"};
    icon.Action = 3;
    icon.Frame = 1;
    icon.Bitmap = Filled(16, 16, kButton[1]);
    const TCaptionButton button{&icon, true, true, {2, 2, 18, 18}, TButtonState::Normal};

    TPixelBuffer small = Numbered(16, 16);
    small.View().At(0, 0) = kMagenta;
    TPixelBuffer band = Filled(20, 20, kScreen);
    PaintSysButton(band.View(), button.Bounds, button, 1, small.View());
    ExpectPixels(band, {{2, 2, kScreen}, {3, 3, Cell(1, 1)}, {17, 17, Cell(15, 15)}});

    const TPixelBuffer large = Numbered(32, 32);
    PaintSysButton(band.View(), button.Bounds, button, 1, large.View());
    ExpectPixels(band, {{2, 2, Cell(0, 0)}, {3, 3, Cell(2, 2)}, {17, 17, Cell(30, 30)}});

    // Without an icon, the button's own image.
    PaintSysButton(band.View(), button.Bounds, button, 1, {});
    ExpectPixels(band, {{3, 3, kButton[1]}});

    // A state repaint over what the last state left: the key pixel shows the background again.
    TCaptionSkin skin;
    skin.Compose(skin.Scene(TActivation::Active));
    TCaptionButton& close = skin.Buttons[0];
    close.State = TButtonState::Pressed;
    const TPixelBuffer background = Filled(100, 10, kTopA);
    TPixelBuffer shown = Filled(100, 10, kButton[3]);
    PaintSysButton(shown.View(), close.Bounds, close, StatePaintFrame(close), {}, background.View());
    ExpectPixels(shown, {{80, 2, kTopA}, {81, 3, kButton[1]}, {79, 2, kButton[3]}});
}
