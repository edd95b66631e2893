// The skin object model built from small skins made in memory: loaders, defaults, frame counts and derived images.
#include "skin/definitions/BuiltinTrack.h"
#include "skin/pixels/Colours.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

TBytes Bmp(const TPixelBuffer& image) { return MakeBmp(image.View()); }
TBytes Bmp(int w, int h) { return Bmp(Numbered(w, h)); }

TColor PixelColour(std::uint32_t p) { return RGBColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

} // namespace

TEST(SkinObjects, AnEmptyDefinitionGivesEveryDefault)
{
    const TSkinFixture skin("");
    const TSkinObjects& m = skin.Model;
    EXPECT_EQ(m.SkinName, "");
    EXPECT_EQ(m.Buttons.Frame, 5);
    EXPECT_EQ(m.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(m.Buttons.CheckButtonFrame, 4);
    EXPECT_EQ(m.Buttons.NormalColour, -1);
    EXPECT_EQ(m.Buttons.NormalColour2, SystemColor(18));
    EXPECT_FALSE(m.Buttons.NormalColour2Given);
    EXPECT_EQ(m.Title.Frame, 2);
    EXPECT_EQ(m.Title.FontHeight, 14);
    EXPECT_EQ(m.Title.ActiveText, kColourNotGiven);
    for (const TDataSkinBorder* b : {&m.Left, &m.Right, &m.Top, &m.Bottom}) {
        SCOPED_TRACE(b->Name);
        EXPECT_TRUE(b->Bitmap.IsEmpty());
        EXPECT_EQ(b->Frame, 1);
        EXPECT_EQ(b->Tile, 1) << "borders stretch unless told otherwise";
        EXPECT_EQ(b->Trans, 1);
    }
    for (const auto* slot : {&m.Progress, &m.ProgressChunk, &m.MenuBar, &m.SunkEdge, &m.Scrollbar, &m.MenuItem})
        EXPECT_EQ(slot->get(), nullptr);
    EXPECT_EQ(m.GroupBox, nullptr);
    EXPECT_EQ(m.ComboButton, nullptr);

    const TSkinObjects::TSysColours expected{SystemColor(8), SystemColor(9), SystemColor(19), SystemColor(15),
        SystemColor(18), SystemColor(20), SystemColor(20), SystemColor(16), SystemColor(21), 0, 0, SystemColor(14),
        SystemColor(13), SystemColor(15), SystemColor(7), SystemColor(7), SystemColor(4), SystemColor(15),
        SystemColor(0)};
    EXPECT_EQ(m.SysColours, expected) << "entry 17 is the frame colour, ButtonFace without a Top border";
    for (const bool set : m.SysColourSet)
        EXPECT_FALSE(set);
    for (const TColor c : m.CustomColours)
        EXPECT_EQ(c, 0xFFFFFFu);
    EXPECT_TRUE(m.SectionColours.empty());

    ASSERT_EQ(m.CaptionButtons.size(), 3u) << "the MDI buttons are always there";
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& b = *m.CaptionButtons[static_cast<size_t>(i)];
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.Frame, 4);
        EXPECT_TRUE(b.Bitmap.IsEmpty());
    }
    ASSERT_NE(m.ComboxArrow, nullptr);
    EXPECT_TRUE(m.ComboxArrow->Bitmap.IsEmpty());
}

TEST(SkinObjects, ASkinWithoutTrackUsesTheBuiltInGrooves)
{
    const TSkinFixture skin("[Track]\nImage=track.bmp\nFrame=2\n[TRACKVERT]\nImage=missing.bmp\n",
                            {{"track.bmp", Bmp(8, 3)}});
    const TDataSkinObject& track = *skin.Model.Track;
    EXPECT_EQ(track.Bitmap.Width(), 8) << "the skin's own track is kept";
    EXPECT_EQ(track.Frame, 2);

    const TDataSkinObject& vert = *skin.Model.TRACKVERT;
    ASSERT_EQ(vert.Bitmap.Width(), 4);
    ASSERT_EQ(vert.Bitmap.Height(), 16);
    EXPECT_EQ(vert.Margins(), (TMargins{3, 3, 3, 3}));
    EXPECT_EQ(vert.Tile, 0);
    EXPECT_EQ(vert.Frame, 1);

    const TSkinFixture none("");
    const TPixelBuffer builtin = BuiltinTrackImage();
    ASSERT_EQ(none.Model.Track->Bitmap.Width(), 16);
    ASSERT_EQ(none.Model.Track->Bitmap.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(none.Model.Track->Bitmap.View().At(x, y), builtin.View().At(x, y));
    // A groove: darker along the top than along the bottom, and no transparent key in it.
    EXPECT_LT(builtin.View().At(8, 1) & 0xFF, builtin.View().At(8, 3) & 0xFF);
    for (const TPixelBuffer* image : {&builtin, static_cast<const TPixelBuffer*>(&none.Model.TRACKVERT->Bitmap)})
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                EXPECT_NE(image->View().At(x, y) & 0xFFFFFF, 0xFF00FFu);
}

TEST(SkinObjects, ImageNamesThatAreMissingOrNotBitmapsLeaveEmptyImages)
{
    const TSkinFiles files{{"good.bmp", Bmp(6, 2)}, {"notes.txt", Bmp(6, 2)}, {"broken.bmp", {'B', 'M', 1, 2}},
                           {"empty.bmp", {}}};
    const TSkinFixture skin("[ExtraImages]\nImage=skins\\sub/good.bmp\n"
                            "[MenuItem]\nImage=notes.txt\n"
                            "[Headerbar]\nImage=GOOD.BMP\n"
                            "[MenuBackground]\nImage=absent.bmp\n"
                            "[Scrollbar]\nImage=broken.bmp\n"
                            "[HorzScroll]\nImage=empty.bmp\n"
                            "[VertScroll]\nImage=good\n"
                            "[SunkEdge]\nStyle=1\n",
                            files);
    const TSkinObjects& m = skin.Model;
    EXPECT_EQ(m.ExtraImages->Bitmap.Width(), 6) << "directories in the name are ignored";
    for (const auto* slot : {&m.MenuItem, &m.Headerbar, &m.MenuBackground, &m.Scrollbar, &m.HorzScroll, &m.VertScroll}) {
        ASSERT_NE(slot->get(), nullptr) << "an image key creates the object";
        EXPECT_TRUE((*slot)->Bitmap.IsEmpty()) << (*slot)->Name;
    }
    EXPECT_EQ(m.SunkEdge, nullptr) << "no Image key, no object";
}

TEST(SkinObjects, ImageObjectsReadTheirKeysAndLimits)
{
    const TSkinFixture skin("[MenuItem]\nImage=a.bmp\nStyle=3\nLeftWidth=1\nTopHeight=2\nRightWidth=3\nBottomHeight=4\n"
                            "Trans=1\nTile=2\nNormalColour=0x0000FF\nNormalColour2=1,2,3\n"
                            "[Progress]\nBitmap=a.bmp\nTile=2\nStyle=1\n"
                            "[Tab.Pane]\nImage=a.bmp\nLeftWidth=9\nTopHeight=3\nRightWidth=5\nBottomHeight=-2\n"
                            "[Colours]\nButtonText=9,9,9\n",
                            {{"a.bmp", Bmp(10, 4)}});
    const TSkinObjects& m = skin.Model;
    const TDataSkinObject& item = *m.MenuItem;
    EXPECT_EQ(item.Name, "MenuItem");
    EXPECT_EQ(item.Style, 3);
    EXPECT_EQ(item.Margins(), (TMargins{1, 2, 3, 4}));
    EXPECT_EQ(item.Trans, 1);
    EXPECT_EQ(item.Tile, 0) << "a tile value above 1 is no tiling";
    EXPECT_EQ(item.NormalColour, 0xFF);
    EXPECT_EQ(item.MouseOverColour, -1);
    EXPECT_EQ(item.NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(item.MouseOverColour2, RGBColor(9, 9, 9)) << "the skin's ButtonText is the default";

    EXPECT_EQ(m.Progress->Tile, 1) << "the progress bar reads a tile value above 1 as tiling";
    EXPECT_EQ(m.Progress->Frame, 1);
    EXPECT_EQ(m.Progress->NormalColour2, 0u) << "the progress bar reads no colours";
    EXPECT_EQ(m.TabPane->Margins(), (TMargins{4, 3, 4, -2})) << "Tab.Pane margins are held to 4";
}

TEST(SkinObjects, FrameCountsAreFixedAfterLoading)
{
    std::string definition = "[Progress]\nBitmap=a.bmp\n[Personality]\nmenuBar=a.bmp\n";
    const char* sections[] = {"GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars",
        "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
        "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
        "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert",
        "Progress.Chunk", "Track"};
    for (const char* s : sections)
        definition += std::string("[") + s + "]\nImage=a.bmp\nFrame=7\n";
    definition += "[VertScrollThumb]\nFrameCount=2\n"; // a second header of a name is never read
    const TSkinFixture skin(definition, {{"a.bmp", Bmp(12, 4)}});
    const TSkinObjects& m = skin.Model;
    struct TCase {
        const char* Name;
        int Frame;
    };
    const TCase cases[] = {{"Progress", 2}, {"MenuBar", 2}, {"GroupBoxEdge", 2}, {"GroupBox", 1}, {"Tabs", 5},
        {"StatusBarEdges", 3}, {"Tab.Pane", 1}, {"ToolBars", 5}, {"ExtraImages", 5}, {"Headerbar", 7},
        {"MenuItem", 5}, {"MenuBackground", 1}, {"Scrollbar", 23}, {"HorzScroll", 4}, {"VertScroll", 4},
        {"HorzScrollThumb", 3}, {"VertScrollThumb", 3}, {"Trackbar.ThumbHorz", 5}, {"Trackbar.ThumbDown", 5},
        {"UpDown.Horz", 8}, {"UpDown.Vert", 8}, {"Progress.Chunk", 7}, {"Track", 7}, {"Toolbar", 1},
        {"Buttons", 5}, {"Title", 2}, {"Left", 1}};
    for (const TCase& c : cases) {
        const TDataSkinObject* o = m.FindObject(c.Name);
        ASSERT_NE(o, nullptr) << c.Name;
        EXPECT_EQ(o->Frame, c.Frame) << c.Name;
    }
    EXPECT_EQ(m.FindObject("menubar"), m.MenuBar.get()) << "lookups ignore case";
    EXPECT_EQ(m.FindObject("Nothing"), nullptr);

    const TSkinFixture other("[Headerbar]\nImage=a.bmp\n[HorzScrollThumb]\nImage=a.bmp\nFrameCount=6\n",
                             {{"a.bmp", Bmp(12, 4)}});
    EXPECT_EQ(other.Model.Headerbar->Frame, 5) << "a Headerbar frame of 0 becomes 5";
    EXPECT_EQ(other.Model.HorzScrollThumb->Frame, 6);
}

TEST(SkinObjects, ButtonsReadStripsAndGivenColours)
{
    struct TCase {
        int Width, Height, Frames;
    };
    for (const TCase c : {TCase{52, 13, 4}, TCase{96, 16, 6}, TCase{130, 15, 10}, TCase{32, 16, 4}}) {
        SCOPED_TRACE(c.Width);
        const TSkinFixture skin("[Buttons]\nBitmap=b.bmp\nCheckButton=c.bmp\nRadioButton=c.bmp\nRadioButtonFrame=3\n"
                                "MouseOverColour2=10 20 30\nPressedColour2=\nTile=5\nTrans=1\n",
                                {{"b.bmp", Bmp(25, 5)}, {"c.bmp", Bmp(c.Width, c.Height)}});
        const TDataSkinButton& b = skin.Model.Buttons;
        EXPECT_EQ(b.Bitmap.Width(), 25);
        EXPECT_EQ(b.CheckButtonFrame, c.Frames) << "check strip cells are 13 or 16 pixels, at least 4";
        EXPECT_EQ(b.RadioButtonFrame, 3) << "a given count stays";
        EXPECT_EQ(b.Tile, 0);
        EXPECT_EQ(b.Trans, 1);
        EXPECT_TRUE(b.MouseOverColour2Given);
        EXPECT_EQ(b.MouseOverColour2, RGBColor(10, 20, 30));
        EXPECT_FALSE(b.PressedColour2Given) << "an empty value is no colour";
        EXPECT_EQ(b.PressedColour2, SystemColor(18));
    }
}

TEST(SkinObjects, CaptionButtonSectionsAreKeptOrDropped)
{
    const TSkinFixture skin("[Buttons]\n[BUTTON]\nAction=1\n[Button.Radio]\n[button.checkbox]\n[Title]\nAction=1\n"
                            "[BUTTON5]\nAction=-1\n"
                            "[Button6]\nAction=-1\nVisibility=0\n"
                            "[BUTTON7]\nAction=-1\nVisibility=2\n"
                            "[button8]\nAction=2\nAlign=1\nXcoord=30\nYcoord=4\nCombineOp=1\nframe=2\n");
    const auto& buttons = skin.Model.CaptionButtons;
    ASSERT_EQ(buttons.size(), 2u + 3u);
    EXPECT_EQ(buttons[0]->Name, "BUTTON6");
    EXPECT_EQ(buttons[0]->Visibility1, -1) << "a hidden button's second visibility defaults to -1";
    EXPECT_EQ(buttons[0]->CombineOp, -1);
    EXPECT_EQ(buttons[0]->Frame, 6);
    const TDataSkinSysButton& b8 = *buttons[1];
    EXPECT_EQ(b8.Name, "BUTTON8");
    EXPECT_EQ(b8.Action, 2);
    EXPECT_EQ(b8.Align, 1);
    EXPECT_EQ(b8.Xcoord, 30);
    EXPECT_EQ(b8.Ycoord, 4);
    EXPECT_EQ(b8.CombineOp, 1);
    EXPECT_EQ(b8.Visibility1, 0);
    EXPECT_EQ(b8.Frame, 2);
    EXPECT_EQ(skin.Model.FindObject("button8"), &b8);
}

TEST(SkinObjects, CaptionButtonFrameCountsFollowTheImageShape)
{
    const TSkinFixture skin("[BUTTON1]\nAction=0\nButtonImage=wide3.bmp\n"
                            "[BUTTON2]\nAction=0\nButtonImage=wide6.bmp\n"
                            "[BUTTON3]\nAction=0\nButtonImage=edge.bmp\n"
                            "[BUTTON4]\nAction=-1\nVisibility=0\nButtonImage=wide3.bmp\n"
                            "[BUTTON5]\nAction=3\nButtonImage=wide3.bmp\n"
                            "[BUTTON6]\nAction=11\nButtonImage=wide3.bmp\nframe=2\n",
                            {{"wide3.bmp", Bmp(60, 20)}, {"wide6.bmp", Bmp(150, 20)}, {"edge.bmp", Bmp(77, 20)}});
    const auto& b = skin.Model.CaptionButtons;
    ASSERT_EQ(b.size(), 6u + 3u);
    EXPECT_EQ(b[0]->Frame, 3) << "60 x 20";
    EXPECT_EQ(b[1]->Frame, 6) << "150 x 20";
    EXPECT_EQ(b[2]->Frame, 6) << "77 x 20 is just above 3.8";
    EXPECT_EQ(b[3]->Frame, 6) << "a negative action always has 6";
    EXPECT_EQ(b[4]->Frame, 3);
    EXPECT_TRUE(b[4]->Bitmap.IsEmpty()) << "action 3 draws without an image";
    EXPECT_EQ(b[5]->Frame, 2);
    EXPECT_TRUE(b[5]->Bitmap.IsEmpty());
    EXPECT_EQ(b[0]->Bitmap.Width(), 60);

    const TSkinFixture ratio("[BUTTON1]\nButtonImage=a.bmp\n", {{"a.bmp", Bmp(76, 20)}});
    EXPECT_EQ(ratio.Model.CaptionButtons[0]->Frame, 3) << "exactly 3.8";
}

TEST(SkinObjects, ActionFourButtonsSitOnTheRecordedPoint)
{
    const TSkinFixture skin("[BUTTON1]\nAction=4\nXcoord=9\nYcoord=9\n"
                            "[BUTTON2]\nAction=1\nVisibility=2\nXcoord=40\nYcoord=5\n"
                            "[BUTTON3]\nAction=4\nXcoord=1\nYcoord=1\n");
    const auto& b = skin.Model.CaptionButtons;
    EXPECT_EQ(std::pair(b[0]->Xcoord, b[0]->Ycoord), std::pair(0, 0)) << "no point recorded yet";
    EXPECT_EQ(std::pair(b[1]->Xcoord, b[1]->Ycoord), std::pair(40, 5));
    EXPECT_EQ(std::pair(b[2]->Xcoord, b[2]->Ycoord), std::pair(40, 5));
}

TEST(SkinObjects, MdiButtonsAreCutFromOneStripOfTwelveColumns)
{
    const TSkinFixture skin("[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", Bmp(125, 9)}});
    const auto& b = skin.Model.CaptionButtons;
    ASSERT_EQ(b.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TDataSkinSysButton& button = *b[static_cast<size_t>(i)];
        ASSERT_EQ(button.Bitmap.Width(), 40) << "125 / 12 = 10 pixels a column";
        ASSERT_EQ(button.Bitmap.Height(), 9);
        EXPECT_EQ(button.Bitmap.View().At(0, 0), Cell(40 * i, 0));
        EXPECT_EQ(button.Bitmap.View().At(39, 8), Cell(40 * i + 39, 8));
        EXPECT_EQ(button.Xcoord, 14 * (3 - i));
    }
}

TEST(SkinObjects, BordersPutTheirFixedEndsWhereTheyRun)
{
    const TSkinFixture skin("[Personality]\nLeft=l.bmp\nLeftTopHeight=5\nLeftBotHeight=6\nLeftStretch=0\nLeftTrans=0\n"
                            "Top=t.bmp\nTopTopHeight=7\nTopBotHeight=8\nTopFrame=2\nTopStretch=3\n",
                            {{"l.bmp", Bmp(4, 30)}, {"t.bmp", Bmp(30, 20)}});
    const TSkinObjects& m = skin.Model;
    EXPECT_EQ(m.Left.Margins(), (TMargins{0, 5, 0, 6}));
    EXPECT_EQ(m.Left.Tile, 0);
    EXPECT_EQ(m.Left.Trans, 0);
    EXPECT_EQ(m.Top.Margins(), (TMargins{7, 0, 8, 0}));
    EXPECT_EQ(m.Top.Tile, 1) << "a stretch value above 1 stretches";
    EXPECT_EQ(m.Top.Frame, 2);
    // A third into the first of two stacked frames: (30 / 3, (20 / 2) / 3).
    EXPECT_EQ(m.FrameColourValue, PixelColour(Cell(10, 3)));
    EXPECT_EQ(m.SysColours[TSkinObjects::kFrameColour], m.FrameColourValue);
}

TEST(SkinObjects, TitleReadsTextPlacementAndColours)
{
    const TSkinFixture skin("[Personality]\nTextBack=t.bmp\nTextShift=3\nTextShiftVert=4\nTextRightClip=5\n"
                            "TextAlignment=2\nTextbackground=1\nTXTBackleft=6\nTXTBackRight=7\n"
                            "ActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\n"
                            "[Fonts]\nFontHeight=18\n[TitlebarSkin]\nSkinName=Blue sky\n",
                            {{"t.bmp", Bmp(9, 9)}});
    const TDataSkinTitle& t = skin.Model.Title;
    EXPECT_EQ(skin.Model.SkinName, "Blue sky");
    EXPECT_EQ(t.Bitmap.Width(), 9);
    EXPECT_EQ(t.Margins(), (TMargins{3, 4, 5, 0}));
    EXPECT_EQ(t.TextAlignment, 2);
    EXPECT_EQ(t.Textbackground, 1);
    EXPECT_EQ(t.TXTBackleft, 6);
    EXPECT_EQ(t.TXTBackRight, 7);
    EXPECT_EQ(t.ActiveText, RGBColor(1, 2, 3));
    EXPECT_EQ(t.InActiveText, kColourNotGiven);
    EXPECT_EQ(t.FontHeight, 18);
}

TEST(SkinObjects, ColourTablesComeFromTheirSections)
{
    const TSkinFixture skin("[Colours]\nButtonFace=10,20,30\nMenuText=1 1 1\nHilightText=\n"
                            "[Colour.Panel]\ncolor=5,6,7\n[COLOURS2]\n[colours]\n[Customcolors]\nColor3=1,2,3\nColor10=9,9,9\n");
    const TSkinObjects& m = skin.Model;
    EXPECT_EQ(m.SysColours[3], RGBColor(10, 20, 30));
    EXPECT_TRUE(m.SysColourSet[3]);
    EXPECT_EQ(m.SysColours[13], RGBColor(10, 20, 30)) << "the menu bar takes the skin's ButtonFace";
    EXPECT_FALSE(m.SysColourSet[13]);
    EXPECT_EQ(m.SysColours[15], RGBColor(1, 1, 1));
    EXPECT_EQ(m.SysColours[11], SystemColor(14));
    EXPECT_FALSE(m.SysColourSet[11]);
    EXPECT_EQ(m.ButtonFace(), RGBColor(10, 20, 30));
    EXPECT_EQ(m.SectionColours, (std::vector<TColor>{RGBColor(5, 6, 7), SystemColor(8)}));
    EXPECT_EQ(m.CustomColours[3], RGBColor(1, 2, 3));
    EXPECT_EQ(m.CustomColours[0], 0xFFFFFFu);
}

TEST(SkinObjects, ComboFrameJoinsSunkenEdgeAndButton)
{
    const std::uint32_t sunk[] = {0xFF100000u, 0xFF200000u, 0xFF300000u, 0xFF400000u};
    const std::uint32_t button[] = {0xFF000010u, 0xFF000020u, 0xFF000030u, 0xFF000040u};
    const TSkinFiles files{{"sunk.bmp", Bmp(SolidFrames(6, 6, {sunk[0], sunk[1], sunk[2], sunk[3]}))},
                           {"button.bmp", Bmp(SolidFrames(5, 5, {button[0], button[1], button[2], button[3]}))},
                           {"extra.bmp", Bmp(SolidFrames(4, 4, {0xFF0A0A0Au, 0xFF0B0B0Bu, 0xFF0C0C0Cu, 0xFF0D0D0Du, 0xFF0E0E0Eu}))}};
    const std::string definition = "[SunkEdge]\nImage=sunk.bmp\nTopHeight=1\nBottomHeight=2\n"
                                   "[ComboButton]\nImage=button.bmp\n[ExtraImages]\nImage=extra.bmp\n";
    TSystemMetrics metrics;
    metrics.HorzScrollArrowWidth = 10;
    const TSkinFixture skin(definition, files, metrics);
    const TSkinObjects& m = skin.Model;
    const int a = 12; // arrow width + 2
    const TDataSkinBorder& combo = *m.ComboButton;
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Margins(), (TMargins{2, 1, a + 2, 2}));
    ASSERT_EQ(combo.Bitmap.Width(), 200);
    ASSERT_EQ(combo.Bitmap.Height(), 21);
    const TPixelView strip = combo.Bitmap.View();
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const int x0 = 50 * k;
        EXPECT_EQ(strip.At(x0, 0), sunk[k]);
        EXPECT_EQ(strip.At(x0 + 49 - a, 10), sunk[k]) << "the rim just left of the button";
        EXPECT_EQ(strip.At(x0 + 2, 2), kMagenta) << "the edit part is see-through";
        EXPECT_EQ(strip.At(x0 + 48 - a, 17), kMagenta);
        EXPECT_EQ(strip.At(x0 + 10, 18), sunk[k]);
        EXPECT_EQ(strip.At(x0 + 50 - a, 0), button[k]);
        EXPECT_EQ(strip.At(x0 + 49, 20), button[k]);
        // ExtraImages (five frames) frame k, 4 x 4, centred in the 12 x 21 button part.
        EXPECT_EQ(strip.At(x0 + 50 - a + 4, 8) & 0xFFFFFF, 0x0A0A0Au + 0x010101u * static_cast<unsigned>(k));
        EXPECT_EQ(strip.At(x0 + 50 - a + 3, 8), button[k]);
    }
    const TDataSkinObject& edge = *m.SunkEdge;
    EXPECT_EQ(edge.LeftWidth, a + 2);
    EXPECT_EQ(edge.RightWidth, 2);
    ASSERT_EQ(edge.Bitmap.Width(), 200);
    for (int x = 0; x < 200; x += 7)
        EXPECT_EQ(edge.Bitmap.View().At(x, 5), strip.At(199 - x, 5)) << "mirrored, x = " << x;

    // The arrow: 17 x 17 squares from (50 (i + 1) - 19, 2) of the combo strip.
    const TDataSkinObject& arrow = *m.ComboxArrow;
    ASSERT_EQ(arrow.Bitmap.Width(), 68);
    ASSERT_EQ(arrow.Bitmap.Height(), 17);
    EXPECT_EQ(arrow.Frame, 4);
    for (int i = 0; i < 4; ++i)
        for (const auto& [x, y] : {std::pair(0, 0), std::pair(16, 16), std::pair(8, 3)})
            EXPECT_EQ(arrow.Bitmap.View().At(17 * i + x, y), strip.At(50 * (i + 1) - 19 + x, 2 + y));
}

TEST(SkinObjects, ComboArrowWithoutSunkenEdgeTakesTheButtonOnButtonFace)
{
    const TSkinFiles files{{"button.bmp", Bmp(SolidFrames(3, 3, {kMagenta, 0xFF123456u}))}};
    const TSkinFixture given("[Colours]\nButtonFace=10,20,30\n[ComboButton]\nImage=button.bmp\n", files);
    const TDataSkinObject& arrow = *given.Model.ComboxArrow;
    EXPECT_EQ(arrow.Frame, 4);
    EXPECT_EQ(arrow.Bitmap.View().At(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(arrow.Bitmap.View().At(4, 2), 0xFF123456u);
    EXPECT_EQ(given.Model.ComboButton->Style, 0) << "no combo frame without a sunken edge";
    // The second image of the combo button is its mirror.
    EXPECT_EQ(given.Model.ComboButton->Bitmap2.View().At(0, 0), 0xFF123456u);
    EXPECT_EQ(given.Model.ComboButton->Bitmap2.View().At(5, 0), kMagenta);

    // Without a ButtonFace of the skin the system's button face shows, not the bytes of its index.
    const TSkinFixture system("[ComboButton]\nImage=button.bmp\n", files);
    EXPECT_EQ(system.Model.ComboxArrow->Bitmap.View().At(0, 0), ToPixel(clBtnFace, ClassicSystemColors()));
    EXPECT_EQ(system.Model.ComboxArrow->Bitmap.View().At(0, 0), 0xFFD4D0C8u);
}

TEST(SkinObjects, ToolbarBandRunsFromLightFaceToFrameShade)
{
    const TSkinFixture plain("");
    const TDataSkinObject& band = *plain.Model.Toolbar;
    ASSERT_EQ(band.Bitmap.Width(), 10);
    ASSERT_EQ(band.Bitmap.Height(), 40);
    EXPECT_EQ(band.Frame, 1);
    // Classic button face (212, 208, 200): 15 % of it over white on top, over 0x808080 below.
    EXPECT_EQ(band.Bitmap.View().At(0, 0), 0xFFF9F8F7u);
    EXPECT_EQ(band.Bitmap.View().At(9, 39), 0xFFC7C4BDu);

    // A saturated frame colour lightens the bottom instead: pure red at 45 %.
    const TSkinFixture red("[Personality]\nTop=t.bmp\n", {{"t.bmp", Bmp(Filled(6, 6, 0xFFFF0000u))}});
    EXPECT_EQ(red.Model.FrameColourValue, RGBColor(255, 0, 0));
    EXPECT_EQ(red.Model.Toolbar->Bitmap.View().At(0, 39), 0xFFFF8C8Cu);
}

TEST(SkinObjects, ALaterLoadReplacesEveryObject)
{
    TSkinFixture skin("[Progress]\nBitmap=a.bmp\n[BUTTON1]\nAction=1\n[Colour1]\ncolor=1\n[Buttons]\nLeftWidth=3\n",
                      {{"a.bmp", Bmp(4, 4)}});
    ASSERT_NE(skin.Model.Progress, nullptr);
    TQuickIni next;
    next.LoadFromText("[Personality]\nLeftFrame=3\n");
    skin.Model.BuildSkinObjects(skin.Reader, next);
    EXPECT_EQ(skin.Model.Progress, nullptr);
    EXPECT_EQ(skin.Model.CaptionButtons.size(), 3u);
    EXPECT_TRUE(skin.Model.SectionColours.empty());
    EXPECT_EQ(skin.Model.Buttons.LeftWidth, 0);
    EXPECT_EQ(skin.Model.Left.Frame, 3);
    EXPECT_EQ(skin.Model.Left.Name, "Left");
}

TEST(SkinObjects, AnArchiveWithoutDefinitionBuildsTheDefaults)
{
    TSkinWriter writer;
    writer.AddEntry("track.bmp", Bmp(8, 3));
    const TSkinFixture skin(writer.Archive());
    EXPECT_TRUE(skin.Ini.Lines().empty());
    EXPECT_EQ(skin.Model.Track->Bitmap.Width(), 16) << "an image nobody names is not used";
    EXPECT_EQ(skin.Model.Objects().size(), 6u + 4u + 3u) << "fixed objects, grooves, derived images, MDI buttons";
}
