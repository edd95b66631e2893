// The skin the program ships: its archive opens, every bitmap its definition names is there and
// loads, every object the painters use is built with the frames they expect, and the frame's
// pieces fit together (caption band, buttons on it, rounded corners cut by the key colour).
#include "tests/unit/ClassicLzhuf.h"

#include "skin/pixels/BitmapFile.h"
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/Region.h"
#include "skin/definitions/SkinObjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

TBytes ShippedArchive()
{
    std::ifstream in(QM27K_SHIPPED_SKIN, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool EndsWithBmp(const std::string& value)
{
    return value.size() > 4 && LowerAscii(value.substr(value.size() - 4)) == ".bmp";
}

class ShippedSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        Archive = ShippedArchive();
        ASSERT_GT(Archive.size(), 4u) << QM27K_SHIPPED_SKIN;
        TMemoryStream source{TBytes(Archive)};
        ASSERT_TRUE(Reader.OpenArchive(source));
        TMemoryStream definition;
        Reader.FindEntry(".ini", definition, DefinitionName);
        ASSERT_GT(definition.Size(), 0u);
        Ini.LoadFromStream(definition);
        Model.BuildSkinObjects(Reader, Ini);
    }

    // Every value of the definition that names a bitmap.
    std::set<std::string> NamedBitmaps() const
    {
        std::set<std::string> names;
        for (const std::string& line : Ini.Lines()) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos && EndsWithBmp(std::string(TrimText(line.substr(eq + 1)))))
                names.insert(LowerAscii(TrimText(line.substr(eq + 1))));
        }
        return names;
    }

    const TDataSkinSysButton* CaptionButton(int action) const
    {
        for (const auto& b : Model.CaptionButtons)
            if (b->Action == action)
                return b.get();
        return nullptr;
    }

    TBytes Archive;
    TSkinReader Reader{[](const std::wstring&) { ADD_FAILURE() << "the shipped skin asked for a message box"; }};
    std::string DefinitionName;
    TQuickIni Ini;
    TSkinObjects Model;
};

} // namespace

TEST_F(ShippedSkin, HoldsEveryBitmapItsDefinitionNamesAndNothingElse)
{
    EXPECT_EQ(Reader.Header().Version, 20000);
    EXPECT_EQ(DefinitionName, "qm27k.ini");
    const std::set<std::string> named = NamedBitmaps();
    EXPECT_GE(named.size(), 30u);
    for (const std::string& name : named) {
        TMemoryStream entry;
        Reader.ExtractEntry(name, entry);
        ASSERT_GT(entry.Size(), 0u) << name << " is named but not in the archive";
        EXPECT_NO_THROW({
            const TPixelBuffer image = LoadBitmapFile(entry.Bytes());
            EXPECT_FALSE(image.IsEmpty()) << name;
        }) << name;
    }
    for (const std::string& entry : Reader.Names()) {
        if (entry != DefinitionName) {
            EXPECT_TRUE(named.count(entry)) << entry << " is packed but nothing names it";
        }
    }
}

TEST_F(ShippedSkin, ClassicDecoderReadsTheArchive)
{
    TMemoryStream source{TBytes(Archive)};
    const TMemoryStream payload = TSkinReader::DecompressArchive(source);
    const TBytes classic = classic::Decode(Archive);
    EXPECT_TRUE(std::equal(classic.begin(), classic.end(), payload.Bytes().begin(), payload.Bytes().end()));
}

TEST_F(ShippedSkin, BuildsEveryObjectThePaintersUseWithItsFrames)
{
    EXPECT_EQ(Model.SkinName, "QM27K Blue");
    struct TExpect {
        const TDataSkinObject* Object;
        const char* Name;
        int Frames;
        bool Stacked; // frames one above the other rather than side by side
    };
    const TExpect objects[] = {
        {&Model.Left, "Left", 2, false},
        {&Model.Right, "Right", 2, false},
        {&Model.Top, "Top", 2, true},
        {&Model.Bottom, "Bottom", 2, true},
        {&Model.Title, "Title", 2, true},
        {&Model.Buttons, "Buttons", 5, false},
        {Model.MenuBar.get(), "menu bar", 2, true},
        {Model.MenuItem.get(), "MenuItem", 5, false},
        {Model.MenuBackground.get(), "MenuBackground", 1, false},
        {Model.SunkEdge.get(), "SunkEdge", 4, false},
        {Model.ComboButton.get(), "ComboButton", 4, false},
        {Model.ComboxArrow.get(), "ComboxArrow", 4, false},
        {Model.ExtraImages.get(), "ExtraImages", 5, false},
        {Model.Scrollbar.get(), "Scrollbar", 23, false},
        {Model.HorzScroll.get(), "HorzScroll", 4, false},
        {Model.VertScroll.get(), "VertScroll", 4, false},
        {Model.HorzScrollThumb.get(), "HorzScrollThumb", 3, false},
        {Model.VertScrollThumb.get(), "VertScrollThumb", 3, false},
        {Model.UpDownHorz.get(), "UpDown.Horz", 8, false},
        {Model.UpDownVert.get(), "UpDown.Vert", 8, false},
        {Model.StatusBarEdges.get(), "StatusBarEdges", 3, false},
        {Model.GroupBoxEdge.get(), "GroupBoxEdge", 2, false},
        {Model.Progress.get(), "Progress", 2, false},
        {Model.Tabs.get(), "Tabs", 5, false},
        {Model.TabPane.get(), "Tab.Pane", 1, false},
        {Model.Track.get(), "Track", 1, false},
    };
    for (const TExpect& e : objects) {
        ASSERT_NE(e.Object, nullptr) << e.Name << " was not built";
        const TPixelBuffer& image = e.Object->Bitmap;
        ASSERT_FALSE(image.IsEmpty()) << e.Name;
        EXPECT_EQ(e.Object->Frame, e.Frames) << e.Name;
        const int along = e.Stacked ? image.Height() : image.Width();
        EXPECT_EQ(along % e.Frames, 0) << e.Name << ": frames of unequal size";
    }
    EXPECT_FALSE(Model.UpDownHorz->Bitmap2.IsEmpty()) << "up-down glyphs";
    EXPECT_FALSE(Model.UpDownVert->Bitmap2.IsEmpty());
    EXPECT_EQ(Model.ComboButton->Style, 2) << "the combo strip is composed with the sunken edge";
    EXPECT_FALSE(Model.ComboButton->Bitmap2.IsEmpty()) << "and mirrored for right-to-left";

    // Check and radio strips of 12 cells: unchecked, checked, mixed in four states each.
    EXPECT_FALSE(Model.Buttons.CheckBitmap.IsEmpty());
    EXPECT_FALSE(Model.Buttons.RadioBitmap.IsEmpty());
    EXPECT_EQ(Model.Buttons.CheckButtonFrame, 12);
    EXPECT_EQ(Model.Buttons.RadioButtonFrame, 12);
    EXPECT_EQ(Model.Buttons.CheckBitmap.Width(), 12 * Model.Buttons.CheckBitmap.Height());

    // The colour table is the skin's own, every entry the painters read given.
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 18})
        EXPECT_TRUE(Model.SysColourSet[static_cast<size_t>(i)]) << "colour " << i;
    EXPECT_EQ(Model.SysColours[TSkinObjects::kButtonFace], TColor(240 + 243 * 256 + 249 * 65536));
    EXPECT_EQ(Model.StatusBarEdges->NormalColour2, TColor(0xFFFFFF)) << "white text on the blue bar";
}

TEST_F(ShippedSkin, CaptionButtonsHaveTheirFourStatesAndSitOnTheCaption)
{
    const int captionHeight = Model.Top.Bitmap.Height() / Model.Top.Frame;
    EXPECT_EQ(captionHeight, 30);
    // The caption part of the side borders is fixed, so their rounded corners never stretch.
    EXPECT_EQ(Model.Left.TopHeight, captionHeight);
    EXPECT_EQ(Model.Right.TopHeight, captionHeight);
    EXPECT_EQ(Model.Title.Bitmap.Height() / 2, captionHeight);

    struct TButton {
        int Action;
        const char* Name;
    };
    for (const TButton b : {TButton{0, "close"}, TButton{1, "maximise and restore"}, TButton{2, "minimise"},
                            TButton{4, "help"}}) {
        const TDataSkinSysButton* button = CaptionButton(b.Action);
        ASSERT_NE(button, nullptr) << b.Name;
        EXPECT_EQ(button->Frame, 4) << b.Name << ": normal, pressed, hot, disabled";
        ASSERT_FALSE(button->Bitmap.IsEmpty()) << b.Name;
        EXPECT_EQ(button->Align, 1) << b.Name;
        EXPECT_GE(button->Ycoord, 0);
        EXPECT_LE(button->Ycoord + button->Bitmap.Height(), captionHeight) << b.Name << " runs off the caption";
    }
    // Maximise and restore share one place, shown by the window state; help takes it too.
    const auto& buttons = Model.CaptionButtons;
    const auto restore = std::find_if(buttons.begin(), buttons.end(),
                                      [](const auto& b) { return b->Action == 1 && b->Visibility == 1; });
    ASSERT_NE(restore, buttons.end());
    EXPECT_EQ((*restore)->Xcoord, CaptionButton(1)->Xcoord);
    EXPECT_EQ(CaptionButton(4)->Xcoord, CaptionButton(1)->Xcoord);
    // The icon button is filled from the window's icon, so the skin gives it no image.
    ASSERT_NE(CaptionButton(3), nullptr);
    EXPECT_TRUE(CaptionButton(3)->Bitmap.IsEmpty());
}

TEST_F(ShippedSkin, WindowCornersAreCutByTheKeyColour)
{
    // The top band of a 589-pixel window as the frame paints it: side borders, then Top between.
    const int w = 589;
    const int left = Model.Left.Bitmap.Width() / Model.Left.Frame;
    const int right = Model.Right.Bitmap.Width() / Model.Right.Frame;
    const int top = Model.Top.Bitmap.Height() / Model.Top.Frame;
    TPixelBuffer band(w, top);
    const auto piece = [](const TDataSkinBorder& b, int width, int height, TStrip strip) {
        return BuildNineSlice(width, height, b.Bitmap.View(), b.Margins(), strip, TCentre::Stretch, b.Frame, 1);
    };
    const TPixelBuffer l = piece(Model.Left, left, 560, TStrip::Horizontal);
    const TPixelBuffer r = piece(Model.Right, right, 560, TStrip::Horizontal);
    const TPixelBuffer t = piece(Model.Top, w - left - right, top, TStrip::Vertical);
    CopyRect(band.View(), 0, 0, l.View(), {0, 0, left, top});
    CopyRect(band.View(), w - right, 0, r.View(), {0, 0, right, top});
    CopyRect(band.View(), left, 0, t.View(), t.View().Bounds());

    const TPixelView v = band.View();
    EXPECT_TRUE(IsKeyPixel(v.At(0, 0)));
    EXPECT_TRUE(IsKeyPixel(v.At(w - 1, 0)));
    EXPECT_TRUE(IsKeyPixel(v.At(left, 0))) << "the rounding reaches into the Top strip";
    EXPECT_FALSE(IsKeyPixel(v.At(w / 2, 0)));
    EXPECT_FALSE(IsKeyPixel(v.At(0, top - 1)));
    // Only the corners leave the window's shape: a few pixels, the same on both sides.
    const std::vector<TPixelRect> rects = RegionFromBitmap(v, 0, 0, {1, 1, 1}, kTransparentKey);
    long long area = 0;
    for (const TPixelRect& rc : rects)
        area += static_cast<long long>(rc.Width()) * rc.Height();
    const long long cut = static_cast<long long>(w) * top - area;
    EXPECT_GT(cut, 10);
    EXPECT_LT(cut, 60);
    EXPECT_EQ(rects.front().Left, w - rects.front().Right) << "the corners mirror each other";
    EXPECT_TRUE(Model.Left.Trans && Model.Right.Trans && Model.Top.Trans) << "the frame builds its region from them";
}
