// Builds skin objects from arbitrary definitions and images and runs the frame geometry, caption composition and region on them.
#include "skin/window/CaptionComposer.h"
#include "skin/window/CaptionText.h"
#include "skin/window/FrameRegion.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

// Short names, so that the fuzzer finds them: strips of several shapes, stacked frames, a
// magenta-edged one and a file that is no bitmap.
const TSkinReader& Images()
{
    static const TSkinReader reader = [] {
        TPixelBuffer edged = Numbered(12, 10);
        for (int i = 0; i < 12; ++i)
            edged.View().At(i, 0) = edged.View().At(i / 2, 9) = kMagenta;
        TSkinWriter writer;
        writer.AddEntry("a.bmp", MakeBmp(Numbered(60, 20).View()));
        writer.AddEntry("b.bmp", MakeBmp(Numbered(150, 20).View()));
        writer.AddEntry("c.bmp", MakeBmp(Numbered(1, 1).View()));
        writer.AddEntry("d.bmp", MakeBmp(Numbered(4, 45).View()));
        writer.AddEntry("e.bmp", MakeBmp(edged.View()));
        writer.AddEntry("m.bmp", MakeBmp(SolidFrames(3, 7, {kMagenta, 0xFF000000u, kMagenta}).View()));
        writer.AddEntry("s.bmp", MakeBmp(StackedFrames(6, 12, {0xFF112233u, kMagenta}).View()));
        writer.AddEntry("x.bmp", {'B', 'M', 0, 0});
        TMemoryStream source(writer.Archive());
        TSkinReader r;
        r.OpenArchive(source);
        return r;
    }();
    return reader;
}

void Check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// A small image of the input's choosing, mostly magenta and a few colours, so that regions
// and keyed copies see runs of every length.
TPixelBuffer RandomImage(FuzzedDataProvider& in)
{
    const int w = in.ConsumeIntegralInRange(0, 40);
    const int h = in.ConsumeIntegralInRange(0, 40);
    TPixelBuffer image(w, h);
    std::uint32_t state = in.ConsumeIntegral<std::uint32_t>() | 1;
    static constexpr std::uint32_t kPalette[] = {kMagenta, kMagenta, 0xFFFF01FFu, 0xFF000000u, 0xFFFFFFFFu,
        0xFF336699u, 0xFFFE00FFu, 0xFF00FF00u};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            image.View().At(x, y) = kPalette[state % 8];
        }
    return image;
}

// An image with its frame count and key flag, made before the definition takes the rest of the input.
struct TReplacement {
    TPixelBuffer Image;
    int Frame = 1;
    int Trans = 0;

    explicit TReplacement(FuzzedDataProvider& in)
        : Image(RandomImage(in)), Frame(in.ConsumeIntegralInRange(-1, 6)), Trans(in.ConsumeIntegralInRange(0, 1))
    {
    }
    void ApplyTo(TDataSkinObject& object)
    {
        object.Bitmap = std::move(Image);
        object.Frame = Frame;
        object.Trans = Trans;
    }
};

void CheckInside(const TPixelRect& r, const TPixelRect& outer)
{
    Check(!r.IsInverted());
    if (!r.IsEmpty())
        Check(r.Left >= outer.Left && r.Top >= outer.Top && r.Right <= outer.Right && r.Bottom <= outer.Bottom);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    // Window facts come from the input's end, the definition text from the rest.
    FuzzedDataProvider in(data, size);
    const int width = in.ConsumeIntegralInRange(0, 640);
    const int height = in.ConsumeIntegralInRange(0, 480);
    const TWindowStyle style{in.ConsumeIntegral<std::uint32_t>(), in.ConsumeIntegral<std::uint32_t>(), in.ConsumeBool()};
    const TShowState show = static_cast<TShowState>(in.ConsumeIntegralInRange(0, 2));
    const TActivation activation = in.ConsumeBool() ? TActivation::Active : TActivation::Inactive;
    const TReading reading = in.ConsumeBool() ? TReading::RightToLeft : TReading::LeftToRight;
    const int menuBarHeight = in.ConsumeIntegralInRange(0, 30);
    const int textWidth = in.ConsumeIntegralInRange(0, 900);
    const int textHeight = in.ConsumeIntegralInRange(0, 40);
    const std::uint32_t answers = in.ConsumeIntegral<std::uint32_t>();
    const std::uint8_t replaced = in.ConsumeIntegral<std::uint8_t>();
    const int windowX = in.ConsumeIntegralInRange(-5000, 5000);
    const int windowY = in.ConsumeIntegralInRange(-5000, 5000);

    // Random images replace what the definition loads for the objects the input picks.
    std::vector<std::pair<int, TReplacement>> replacements;
    for (int i = 0; i < 6; ++i)
        if (replaced & (1u << i))
            replacements.emplace_back(i, TReplacement(in));
    const TPixelBuffer icon = (replaced & 0x40) ? RandomImage(in) : TPixelBuffer();

    TQuickIni ini;
    ini.LoadFromText(in.ConsumeRemainingBytesAsString());
    TSkinObjects skin;
    skin.BuildSkinObjects(Images(), ini);
    TDataSkinObject* targets[] = {&skin.Left, &skin.Top, &skin.Right, &skin.Bottom, &skin.Title,
        skin.CaptionButtons.empty() ? nullptr : skin.CaptionButtons.front().get()};
    for (auto& [i, replacement] : replacements)
        if (targets[i])
            replacement.ApplyTo(*targets[i]);

    // Borders, client rectangle and pieces.
    const TBorderKind kind = BorderKindOf(style);
    const TFrameBorders borders = ComputeBorders(skin, kind);
    Check(borders.Left >= 0 && borders.Top >= 0 && borders.Right >= 0 && borders.Bottom >= 0);
    const TPixelRect window{windowX, windowY, windowX + width, windowY + height};
    CheckInside(NcCalcClientRect(window, borders, menuBarHeight), window);
    const TFramePieces pieces = FramePieces(width, height, borders, menuBarHeight, show);
    const std::pair<TBorderSide, TPixelRect> sides[] = {
        {TBorderSide::Left, pieces.Left}, {TBorderSide::Right, pieces.Right}, {TBorderSide::Bottom, pieces.Bottom}};
    for (const auto& [side, rect] : sides) {
        const TPixelBuffer piece = BuildBorderPiece(skin, side, rect.Width(), rect.Height(), activation);
        Check(piece.Width() == std::max(rect.Width(), 0) && piece.Height() == std::max(rect.Height(), 0));
    }
    (void)NcAreaAt(ClientToFrame({textWidth, textHeight}, borders, menuBarHeight, TMdiRole::Child, show), borders,
        menuBarHeight);

    // Caption buttons and text.
    std::vector<TCaptionButton> buttons;
    for (const auto& d : skin.CaptionButtons) {
        TCaptionButton b;
        b.Data = d.get();
        buttons.push_back(b);
    }
    TCaptionWindow facts;
    facts.Show = show;
    facts.Activation = activation;
    facts.Boxes = CaptionBoxesOf(style) | (answers & caption_box::kSysMenu);
    facts.Kind = kind;
    facts.DialogClass = style.DialogClass;
    facts.MdiChildButtonsShown = (answers & 0x100) != 0;
    int asked = 0;
    UpdateSysButtons(buttons, facts, [&](int code, int) {
        Check(code >= 1000 && code <= 2000);
        return ((answers >> (asked++ % 32)) & 1) != 0;
    });
    const TPixelRect caption{0, 0, width, borders.Top};
    const TCaptionTextPlacement text = PlaceCaptionText({caption, textWidth, textHeight, reading,
        (style.Style & kWsPopup) != 0, kind == TBorderKind::DialogFrame, RightButtonArea(buttons)}, skin.Title);
    CheckInside(text.Clip, caption);
    CheckInside(text.Background, text.Clip);
    Check(!text.Text.IsInverted() && text.Text.Left >= text.Background.Left && text.Text.Right <= text.Background.Right);

    TButtonLayoutFrame layout;
    layout.Width = width;
    layout.Borders = borders;
    layout.MenuBarHeight = menuBarHeight;
    layout.CaptionText = text.Text;
    layout.MenuBarLeftWidth = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
    LayoutSysButtons(buttons, layout);
    for (const TFramePoint p : {TFramePoint{width - textWidth % 64, textHeight}, TFramePoint{textWidth, 3}}) {
        if (const auto hit = HitObject(buttons, p)) {
            const TCaptionButton& b = buttons[*hit];
            Check(b.Visible && b.Data->Action >= 0 && p.X >= b.Bounds.Left && p.X < b.Bounds.Right);
        }
    }

    // Composition, both passes and a state repaint of every button.
    const TCaptionScene scene{width, height, borders, show, activation, text.Background};
    const TPixelRect bandRect = CaptionBandRect(scene);
    if (!bandRect.IsEmpty()) {
        TPixelBuffer band(bandRect.Width(), bandRect.Height());
        const TPixelBuffer background = band.Clone();
        ComposeCaptionBackground(band.View(), skin, scene);
        ComposeCaptionButtons(band.View(), buttons, activation, icon.View());
        for (TCaptionButton& b : buttons) {
            b.State = static_cast<TButtonState>(1 + (answers >> 9) % 3);
            const int frame = StatePaintFrame(b);
            Check(frame >= 1 && frame <= 4);
            Check(FullPaintFrame(b, activation) == 1 || FullPaintFrame(b, activation) == 4);
            PaintSysButton(band.View(), b.Bounds, b, frame, icon.View(), background.View());
        }
    }

    // Region.
    const TFrameRegion region = BuildFrameRegion(skin, width, height, borders, kind);
    Check((region.Kind == TFrameRegion::TKind::None) == (width == 0 || height == 0));
    if (region.Kind != TFrameRegion::TKind::Rects)
        Check(region.Rects.empty());
    for (const TPixelRect& r : region.Rects) {
        Check(!r.IsEmpty());
        CheckInside(r, {0, 0, width, height});
    }
    return 0;
}
