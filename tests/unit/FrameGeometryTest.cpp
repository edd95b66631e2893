// Frame geometry: border kinds and boxes from styles, border sizes from the skin, the client rectangle, pieces, coordinates.
#include "skin/window/FrameGeometry.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

TBytes Bmp(const TPixelBuffer& image) { return MakeBmp(image.View()); }

} // namespace

TEST(FrameGeometry, BorderKindAndCaptionBoxesFollowTheStyle)
{
    struct TCase {
        TWindowStyle Window;
        TBorderKind Kind;
        std::uint32_t Boxes;
    };
    using namespace caption_box;
    const TCase cases[] = {
        {{kWsCaption | kWsThickFrame | kWsSysMenu | kWsMinimizeBox | kWsMaximizeBox}, TBorderKind::Sizeable,
            kSysMenu | kMinimize | kMaximize},
        {{kWsCaption | kWsSysMenu}, TBorderKind::FixedCaption, kSysMenu},
        {{kWsCaption | kDsModalFrame, kWsExContextHelp}, TBorderKind::DialogFrame, kHelp},
        {{kWsCaption | kWsThickFrame, kWsExDlgModalFrame}, TBorderKind::DialogFrame, 0},
        {{kWsCaption | kWsThickFrame, 0, true}, TBorderKind::DialogFrame, 0},
        // Half a caption (WS_DLGFRAME alone) is no caption, whatever else the window says.
        {{0x00400000 | kWsThickFrame | kWsMaximizeBox}, TBorderKind::NoCaption, kMaximize},
        {{kWsPopup, kWsExDlgModalFrame}, TBorderKind::DialogFrame, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.Window.Style << " " << c.Window.ExStyle);
        EXPECT_EQ(BorderKindOf(c.Window), c.Kind);
        EXPECT_EQ(CaptionBoxesOf(c.Window), c.Boxes);
    }
    EXPECT_TRUE(IsDialogClassName(L"#32770"));
    EXPECT_TRUE(IsDialogClassName(L"TMessageForm"));
    EXPECT_FALSE(IsDialogClassName(L"TForm1"));
}

TEST(FrameGeometry, EachBorderIsOneFrameOfItsImage)
{
    // Top 60 high in two frames; Left 12 wide in three side by side; a Frame of 0 counts as 1.
    const TSkinFixture skin("[Personality]\nTop=t.bmp\nTopFrame=2\nLeft=l.bmp\nLeftFrame=3\nRight=r.bmp\n"
                            "Bottom=b.bmp\nBottomFrame=0\n",
        {{"t.bmp", Bmp(Numbered(8, 60))}, {"l.bmp", Bmp(Numbered(12, 9))}, {"r.bmp", Bmp(Numbered(5, 9))},
            {"b.bmp", Bmp(Numbered(8, 7))}});
    EXPECT_EQ(ComputeBorders(skin.Model, TBorderKind::Sizeable), (TFrameBorders{4, 30, 5, 7}));
    EXPECT_EQ(ComputeBorders(skin.Model, TBorderKind::DialogFrame), (TFrameBorders{4, 30, 5, 7}));
    EXPECT_EQ(ComputeBorders(skin.Model, TBorderKind::NoCaption), TFrameBorders{});
    EXPECT_EQ(ComputeBorders(TSkinFixture("").Model, TBorderKind::Sizeable), TFrameBorders{}) << "no images";
}

TEST(FrameGeometry, ClientRectangleLiesInsideBordersAndMenuBar)
{
    const TFrameBorders b{4, 30, 5, 6};
    // The window keeps its client size when framed: 300 × 200 less the frame.
    EXPECT_EQ(NcCalcClientRect({100, 50, 400, 250}, b, 19), (TPixelRect{104, 99, 395, 244}));
    EXPECT_EQ(NcCalcClientRect({100, 50, 400, 250}, b, 0), (TPixelRect{104, 80, 395, 244}));
    // Narrower and lower than its frame: an empty client inside the window, never inverted.
    EXPECT_EQ(NcCalcClientRect({10, 10, 16, 30}, b, 19), (TPixelRect{14, 30, 14, 30}));
    EXPECT_EQ(NcCalcClientRect({10, 10, 12, 12}, b, 0), (TPixelRect{12, 12, 12, 12}));
}

TEST(FrameGeometry, PiecesOfNormalAndMinimizedFrames)
{
    const TFrameBorders b{4, 30, 5, 6};
    const TFramePieces normal = FramePieces(300, 200, b, 19, TShowState::Normal);
    EXPECT_EQ(normal.Left, (TPixelRect{0, 0, 4, 200}));
    EXPECT_EQ(normal.Right, (TPixelRect{295, 0, 300, 200}));
    EXPECT_EQ(normal.Bottom, (TPixelRect{4, 194, 295, 200}));
    EXPECT_EQ(normal.Top, (TPixelRect{4, 0, 295, 30}));
    EXPECT_EQ(normal.MenuBar, (TPixelRect{4, 30, 295, 49}));
    EXPECT_EQ(normal.CaptionBand, (TPixelRect{0, 0, 300, 30}));
    EXPECT_EQ(FramePieces(300, 200, b, 19, TShowState::Maximized).Top, normal.Top);

    const TFramePieces minimized = FramePieces(160, 36, b, 19, TShowState::Minimized);
    EXPECT_EQ(minimized.Top, (TPixelRect{0, 0, 160, 30})) << "the caption runs over the whole width";
    EXPECT_EQ(minimized.CaptionBand, (TPixelRect{0, 0, 160, 36}));
    for (const TPixelRect& r : {minimized.Left, minimized.Right, minimized.Bottom, minimized.MenuBar})
        EXPECT_TRUE(r.IsEmpty());
}

TEST(FrameGeometry, BorderPieceShowsTheFrameOfTheActivationInItsDirection)
{
    const TSkinFixture skin("[Personality]\nTop=t.bmp\nTopFrame=2\nLeft=l.bmp\nLeftFrame=2\nRight=r.bmp\n",
        {{"t.bmp", Bmp(StackedFrames(3, 4, {kRed, kBlue}))}, {"l.bmp", Bmp(SolidFrames(2, 5, {kRed, kBlue}))},
            {"r.bmp", Bmp(Filled(2, 5, kRed))}});
    struct TCase {
        TBorderSide Side;
        TActivation Activation;
        std::uint32_t Pixel;
    };
    const TCase cases[] = {
        {TBorderSide::Top, TActivation::Active, kRed},
        {TBorderSide::Top, TActivation::Inactive, kBlue},
        {TBorderSide::Left, TActivation::Active, kRed},
        {TBorderSide::Left, TActivation::Inactive, kBlue},
        {TBorderSide::Right, TActivation::Inactive, kRed}, // one frame: the same when inactive
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Side) * 10 + static_cast<int>(c.Activation));
        const TPixelBuffer piece = BuildBorderPiece(skin.Model, c.Side, 7, 9, c.Activation);
        ASSERT_EQ(piece.Width(), 7);
        ASSERT_EQ(piece.Height(), 9);
        EXPECT_EQ(piece.View().At(0, 0), c.Pixel);
        EXPECT_EQ(piece.View().At(6, 8), c.Pixel);
    }
}

TEST(FrameGeometry, BorderStretchKeyOfOneStretchesTheCentreAndZeroTilesIt)
{
    // A 3-column image over 9 columns: column 3 comes from source column 0 when tiled, 1 when stretched.
    const TSkinFixture skin("[Personality]\nTop=t.bmp\nBottom=t.bmp\nBottomStretch=0\n", {{"t.bmp", Bmp(Numbered(3, 2))}});
    EXPECT_EQ(BuildBorderPiece(skin.Model, TBorderSide::Top, 9, 2, TActivation::Active).View().At(3, 0), Cell(1, 0));
    EXPECT_EQ(BuildBorderPiece(skin.Model, TBorderSide::Bottom, 9, 2, TActivation::Active).View().At(3, 0), Cell(0, 0));
}

TEST(FrameGeometry, FrameCoordinatesAndNonClientAreas)
{
    const TFrameBorders b{4, 30, 5, 6};
    EXPECT_EQ(ClientToFrame({10, 3}, b, 19, TMdiRole::None, TShowState::Minimized), (TFramePoint{14, 52}));
    EXPECT_EQ(ClientToFrame({10, 3}, b, 0, TMdiRole::Child, TShowState::Normal), (TFramePoint{14, 33}));
    EXPECT_EQ(ClientToFrame({10, 3}, b, 19, TMdiRole::Child, TShowState::Minimized), (TFramePoint{10, 3}));

    const std::pair<int, TNcArea> rows[] = {
        {0, TNcArea::Unchanged}, {3, TNcArea::Unchanged}, {4, TNcArea::Caption}, {29, TNcArea::Caption},
        {30, TNcArea::Menu}, {48, TNcArea::Menu}, {49, TNcArea::Caption}};
    for (const auto& [y, area] : rows)
        EXPECT_EQ(NcAreaAt({50, y}, b, 19), area) << "row " << y;
    EXPECT_EQ(NcAreaAt({50, 35}, b, 0), TNcArea::Caption) << "no band, no menu";
}
