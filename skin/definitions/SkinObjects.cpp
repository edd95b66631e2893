// The skin object model: the fixed build order, lookups and the frame colour.
#include "skin/definitions/SkinObjects.h"

#include "skin/pixels/ImageTransforms.h"

#include <algorithm>
#include <initializer_list>

TSkinObjects::TSkinObjects(const TSystemColors& sys, const TSystemMetrics& metrics) : FSys(sys), FMetrics(metrics) {}

void TSkinObjects::BuildSkinObjects(const TSkinReader& reader, const TQuickIni& ini)
{
    const TSource src{reader, ini};
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");

    // Later steps read what earlier ones built: the colours feed the image objects' text
    // defaults, and the combo and toolbar images are made from the loaded objects.
    LoadBorders(src);
    LoadColours(src);
    LoadCaptionButtons(src, sections);
    LoadButtons(src);
    LoadTitle(src);

    LoadBitmapObject(src, Progress, "Progress");
    LoadImageObject(src, ProgressChunk, "Progress.Chunk");
    LoadMenuBar(src);
    LoadImageObject(src, GroupBoxEdge, "GroupBoxEdge");
    LoadGroupBox(src);
    LoadImagePairObject(src, Tabs, "Tabs", "Border");
    LoadImageObject(src, StatusBarEdges, "StatusBarEdges");
    LoadImageObject(src, TabPane, "Tab.Pane");
    if (TabPane) {
        // Tab panes are drawn inside the client area, where wider margins would cut into controls.
        TabPane->LeftWidth = std::min(TabPane->LeftWidth, 4);
        TabPane->TopHeight = std::min(TabPane->TopHeight, 4);
        TabPane->RightWidth = std::min(TabPane->RightWidth, 4);
        TabPane->BottomHeight = std::min(TabPane->BottomHeight, 4);
    }
    LoadImageObject(src, ToolBars, "ToolBars");
    // No skin gives this key: the second image is made by mirroring below.
    LoadImagePairObject(src, ComboButton, "ComboButton", "****");
    LoadImageObject(src, SunkEdge, "SunkEdge");
    if (ComboButton && !ComboButton->Bitmap.IsEmpty()) {
        ComboButton->Bitmap2 = ComboButton->Bitmap.Clone();
        MirrorImage(ComboButton->Bitmap2.View());
    }

    LoadImageObject(src, ExtraImages, "ExtraImages");
    LoadImageObject(src, Headerbar, "Headerbar");
    LoadImageObject(src, MenuItem, "MenuItem");
    LoadImageObject(src, MenuBackground, "MenuBackground");
    LoadImageObject(src, Scrollbar, "Scrollbar");
    LoadImageObject(src, HorzScroll, "HorzScroll");
    LoadImageObject(src, VertScroll, "VertScroll");
    LoadImageObject(src, HorzScrollThumb, "HorzScrollThumb");
    LoadImageObject(src, VertScrollThumb, "VertScrollThumb");
    LoadImageObject(src, TrackbarThumbHorz, "Trackbar.ThumbHorz");
    LoadImageObject(src, TrackbarThumbVert, "Trackbar.ThumbVert");
    LoadImageObject(src, TrackbarThumbLeft, "Trackbar.ThumbLeft");
    LoadImageObject(src, TrackbarThumbRight, "Trackbar.ThumbRight");
    LoadImageObject(src, TrackbarThumbUp, "Trackbar.ThumbUp");
    LoadImageObject(src, TrackbarThumbDown, "Trackbar.ThumbDown");
    LoadImagePairObject(src, UpDownHorz, "UpDown.Horz", "GlyphImage");
    LoadImagePairObject(src, UpDownVert, "UpDown.Vert", "GlyphImage");
    LoadImageObject(src, Track, "Track");
    LoadImageObject(src, TRACKVERT, "TRACKVERT");
    LoadBuiltinTrack();

    SetFrameCounts(ini);
    BuildComboFrame();
    BuildComboArrow();
    BuildToolbarImage();

    FrameColourValue = FrameColour();
    SysColours[kFrameColour] = FrameColourValue;
}

std::vector<const TDataSkinObject*> TSkinObjects::Objects() const
{
    std::vector<const TDataSkinObject*> all{&Buttons, &Title, &Left, &Right, &Top, &Bottom};
    for (const TDataSkinObject* o : std::initializer_list<const TDataSkinObject*>{
             Progress.get(), ProgressChunk.get(), MenuBar.get(), GroupBoxEdge.get(), GroupBox.get(), Tabs.get(),
             StatusBarEdges.get(), TabPane.get(), ToolBars.get(), ComboButton.get(), SunkEdge.get(),
             ExtraImages.get(), Headerbar.get(), MenuItem.get(), MenuBackground.get(), Scrollbar.get(),
             HorzScroll.get(), VertScroll.get(), HorzScrollThumb.get(), VertScrollThumb.get(),
             TrackbarThumbHorz.get(), TrackbarThumbVert.get(), TrackbarThumbLeft.get(), TrackbarThumbRight.get(),
             TrackbarThumbUp.get(), TrackbarThumbDown.get(), UpDownHorz.get(), UpDownVert.get(), Track.get(),
             TRACKVERT.get(), ComboxArrow.get(), Toolbar.get()})
        if (o != nullptr)
            all.push_back(o);
    for (const auto& b : CaptionButtons)
        all.push_back(b.get());
    return all;
}

const TDataSkinObject* TSkinObjects::FindObject(std::string_view name) const
{
    for (const TDataSkinObject* o : Objects())
        if (SameTextAscii(o->Name, name))
            return o;
    return nullptr;
}

TColor TSkinObjects::FrameColour() const noexcept
{
    const TPixelView top = Top.Bitmap.View();
    if (top.IsEmpty())
        return ButtonFace();
    // A count of 0 or less is one frame, as the painters read it.
    const int frameHeight = top.Height / std::max(Top.Frame, 1);
    const std::uint32_t p = top.At(top.Width / 3, frameHeight / 3);
    return RGBColor(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
}
