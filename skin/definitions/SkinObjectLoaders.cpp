// The loaders that read one kind of skin element each from the definition into the model.
#include "skin/definitions/SkinObjects.h"

#include "skin/definitions/BuiltinTrack.h"
#include "skin/pixels/Blitters.h"
#include "skin/definitions/ParseColour.h"
#include "skin/definitions/SkinBitmap.h"

#include <algorithm>
#include <string>

namespace {

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) noexcept
{
    return text.substr(0, prefix.size()) == prefix;
}

// Tile is a flag; skins that write other numbers get the loader's fallback for it.
int32_t TileFlag(int32_t value, int32_t above) noexcept { return value > 1 ? above : value; }

// The fixed parts of a frame; keys absent from a section are 0.
void ReadMargins(const TQuickIni& ini, std::string_view section, TDataSkinObject& o)
{
    o.LeftWidth = ini.ReadInteger(section, "LeftWidth", 0);
    o.RightWidth = ini.ReadInteger(section, "RightWidth", 0);
    o.TopHeight = ini.ReadInteger(section, "TopHeight", 0);
    o.BottomHeight = ini.ReadInteger(section, "BottomHeight", 0);
}

// The state colours as numbers; -1 leaves the painter's own choice.
void ReadStateColours(const TQuickIni& ini, std::string_view section, TDataSkinObject& o)
{
    o.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
    o.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
    o.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
}

} // namespace

TColor TSkinObjects::ReadColour2(const TQuickIni& ini, std::string_view section, std::string_view key, bool* given) const
{
    const std::string text = ini.ReadString(section, key, "");
    if (given != nullptr)
        *given = !text.empty();
    return text.empty() ? SysColours[kButtonText] : ParseColour(text);
}

void TSkinObjects::ReadImageKeys(const TSource& src, TDataSkinObject& object, std::string_view section) const
{
    const TQuickIni& ini = src.Ini;
    LoadSkinBitmap(src.Reader, ini.ReadString(section, "Image", ""), object.Bitmap);
    object.Style = ini.ReadInteger(section, "Style", 0);
    ReadMargins(ini, section, object);
    object.Trans = ini.ReadInteger(section, "Trans", 0);
    object.Tile = TileFlag(ini.ReadInteger(section, "Tile", 0), 0);
    ReadStateColours(ini, section, object);
    object.NormalColour2 = ReadColour2(ini, section, "NormalColour2");
    object.MouseOverColour2 = ReadColour2(ini, section, "MouseOverColour2");
    object.PressedColour2 = ReadColour2(ini, section, "PressedColour2");
}

template <typename T>
T* TSkinObjects::NewImageObject(const TSource& src, std::unique_ptr<T>& slot, std::string_view section) const
{
    slot.reset();
    if (src.Ini.ReadString(section, "Image", "").empty())
        return nullptr;
    slot = std::make_unique<T>(std::string(section));
    ReadImageKeys(src, *slot, section);
    return slot.get();
}

void TSkinObjects::LoadImageObject(const TSource& src, std::unique_ptr<TDataSkinObject>& slot, std::string_view section)
{
    if (TDataSkinObject* o = NewImageObject(src, slot, section))
        o->Frame = src.Ini.ReadInteger(section, "Frame", 0);
}

void TSkinObjects::LoadImagePairObject(const TSource& src, std::unique_ptr<TDataSkinBorder>& slot,
                                       std::string_view section, std::string_view secondKey)
{
    if (TDataSkinBorder* o = NewImageObject(src, slot, section))
        LoadSkinBitmap(src.Reader, src.Ini.ReadString(section, secondKey, ""), o->Bitmap2);
}

void TSkinObjects::LoadBitmapObject(const TSource& src, std::unique_ptr<TDataSkinObject>& slot, std::string_view section)
{
    slot.reset();
    const std::string image = src.Ini.ReadString(section, "Bitmap", "");
    if (image.empty())
        return;
    slot = std::make_unique<TDataSkinObject>(std::string(section));
    const TQuickIni& ini = src.Ini;
    LoadSkinBitmap(src.Reader, image, slot->Bitmap);
    slot->Style = ini.ReadInteger(section, "Style", 0);
    ReadMargins(ini, section, *slot);
    slot->Trans = ini.ReadInteger(section, "Trans", 0);
    slot->Tile = TileFlag(ini.ReadInteger(section, "Tile", 0), 1);
}

void TSkinObjects::LoadGroupBox(const TSource& src)
{
    constexpr std::string_view section = "GroupBox";
    if (TDataSkinBoxLabel* o = NewImageObject(src, GroupBox, section)) {
        o->BackgroundAlignment = src.Ini.ReadInteger(section, "BackgroundAlignment", 0);
        o->BackgroundLeftShift = src.Ini.ReadInteger(section, "BackgroundLeftShift", 0);
        o->BackgroundRightShift = src.Ini.ReadInteger(section, "BackgroundRightShift", 0);
    }
}

void TSkinObjects::LoadMenuBar(const TSource& src)
{
    constexpr std::string_view section = "Personality";
    MenuBar.reset();
    const std::string image = src.Ini.ReadString(section, "menuBar", "");
    if (image.empty())
        return;
    MenuBar = std::make_unique<TDataSkinObject>("MenuBar");
    LoadSkinBitmap(src.Reader, image, MenuBar->Bitmap);
    MenuBar->Tile = TileFlag(src.Ini.ReadInteger(section, "TileMenu", 1), 1);
    MenuBar->LeftWidth = src.Ini.ReadInteger(section, "TileLeftMenu", 1);
    MenuBar->RightWidth = src.Ini.ReadInteger(section, "TileRightMenu", 1);
}

void TSkinObjects::LoadButtons(const TSource& src)
{
    constexpr std::string_view section = "Buttons";
    const TQuickIni& ini = src.Ini;
    TDataSkinButton& b = Buttons;
    b = TDataSkinButton(std::string(section));
    ReadMargins(ini, section, b);
    b.Trans = ini.ReadInteger(section, "Trans", 0);
    b.Tile = TileFlag(ini.ReadInteger(section, "Tile", 0), 0);
    LoadSkinBitmap(src.Reader, ini.ReadString(section, "Bitmap", ""), b.Bitmap);
    LoadSkinBitmap(src.Reader, ini.ReadString(section, "CheckButton", ""), b.CheckBitmap);
    LoadSkinBitmap(src.Reader, ini.ReadString(section, "RadioButton", ""), b.RadioBitmap);
    ReadStateColours(ini, section, b);
    b.RadioButtonFrame = ini.ReadInteger(section, "RadioButtonFrame", 0);
    b.CheckButtonFrame = ini.ReadInteger(section, "CheckButtonFrame", 0);
    b.NormalColour2 = ReadColour2(ini, section, "NormalColour2", &b.NormalColour2Given);
    b.MouseOverColour2 = ReadColour2(ini, section, "MouseOverColour2", &b.MouseOverColour2Given);
    b.PressedColour2 = ReadColour2(ini, section, "PressedColour2", &b.PressedColour2Given);
}

void TSkinObjects::LoadTitle(const TSource& src)
{
    constexpr std::string_view section = "Personality";
    const TQuickIni& ini = src.Ini;
    TDataSkinTitle& t = Title;
    t = TDataSkinTitle("Title");
    LoadSkinBitmap(src.Reader, ini.ReadString(section, "TextBack", ""), t.Bitmap);
    // The title's margins carry where its text goes.
    t.LeftWidth = ini.ReadInteger(section, "TextShift", 0);
    t.TopHeight = ini.ReadInteger(section, "TextShiftVert", 0);
    t.RightWidth = ini.ReadInteger(section, "TextRightClip", 0);
    t.TextAlignment = ini.ReadInteger(section, "TextAlignment", 0);
    t.Textbackground = ini.ReadInteger(section, "Textbackground", 0);
    t.TXTBackleft = ini.ReadInteger(section, "TXTBackleft", 0);
    t.TXTBackRight = ini.ReadInteger(section, "TXTBackRight", 0);
    t.ActiveText = ReadRgb(ini, section, "ActiveText");
    t.InActiveText = ReadRgb(ini, section, "InActiveText");
    t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
}

void TSkinObjects::LoadBorders(const TSource& src)
{
    constexpr std::string_view section = "Personality";
    const TQuickIni& ini = src.Ini;
    for (TDataSkinBorder* border : {&Left, &Right, &Top, &Bottom}) {
        const std::string n = border->Name;
        *border = TDataSkinBorder(n);
        LoadSkinBitmap(src.Reader, ini.ReadString(section, n, ""), border->Bitmap);
        const int32_t first = ini.ReadInteger(section, n + "TopHeight", 0);
        const int32_t last = ini.ReadInteger(section, n + "BotHeight", 0);
        // The fixed ends lie where the border runs: above and below on the side borders,
        // left and right on the top and bottom ones.
        if (border == &Left || border == &Right) {
            border->TopHeight = first;
            border->BottomHeight = last;
        } else {
            border->LeftWidth = first;
            border->RightWidth = last;
        }
        border->Frame = ini.ReadInteger(section, n + "Frame", 1);
        border->Tile = TileFlag(ini.ReadInteger(section, n + "Stretch", 1), 1);
        border->Trans = ini.ReadInteger(section, n + "Trans", 1);
    }
}

void TSkinObjects::LoadColours(const TSource& src)
{
    const TQuickIni& ini = src.Ini;
    struct TKey {
        int Index;
        int SystemDefault; // -1: the ButtonFace entry just read
    };
    // Menubar defaults to ButtonFace, so ButtonFace comes before it.
    static constexpr TKey keys[] = {
        {0, 8}, {3, 15}, {18, 0}, {11, 14}, {12, 13}, {13, -1}, {16, 4}, {15, 7},
        {4, 18}, {5, 20}, {6, 20}, {7, 16}, {8, 21}, {14, 7}, {1, 9}, {2, 19},
    };
    for (const TKey& k : keys) {
        const auto i = static_cast<size_t>(k.Index);
        const std::string text = ini.ReadString("Colours", kSysColourKeys[i], "");
        SysColourSet[i] = !text.empty();
        if (!text.empty())
            SysColours[i] = ParseColour(text);
        else
            SysColours[i] = k.SystemDefault < 0 ? SysColours[kButtonFace] : SystemColor(k.SystemDefault);
    }

    SectionColours.clear();
    for (const TQuickIni::TSectionLine& s : ini.Sections()) {
        const std::string name(TrimText(std::string_view(s.Header).substr(1, s.Header.size() - 2)));
        const std::string upper = UpperAscii(name);
        if (!StartsWith(upper, "COLOUR") || upper == "COLOURS")
            continue;
        const std::string text = ini.ReadString(name, "color", "");
        SectionColours.push_back(text.empty() ? SystemColor(8) : ParseColour(text));
    }

    for (int i = 0; i < kCustomColourCount; ++i) {
        const std::string text = ini.ReadString("Customcolors", "Color" + std::to_string(i), "");
        CustomColours[static_cast<size_t>(i)] = text.empty() ? TColor(0xFFFFFF) : ParseColour(text);
    }
}

void TSkinObjects::LoadCaptionButtons(const TSource& src, const std::vector<std::string>& sections)
{
    const TQuickIni& ini = src.Ini;
    CaptionButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& name : sections) {
        const std::string upper = UpperAscii(name);
        if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON" ||
            !StartsWith(upper, "BUTTON"))
            continue;
        if (ini.ReadInteger(name, "Action", 0) == -1 && ini.ReadInteger(name, "Visibility", -1) != 0)
            continue;
        kept.push_back(name);
    }

    CaptionButtons.reserve(kept.size() + 3);
    bool anchored = false;
    int32_t anchorX = 0, anchorY = 0;
    for (const std::string& name : kept) {
        auto b = std::make_unique<TDataSkinSysButton>(UpperAscii(name));
        b->Action = ini.ReadInteger(name, "Action", 0);
        b->Align = ini.ReadInteger(name, "Align", 0);
        b->Xcoord = ini.ReadInteger(name, "Xcoord", 0);
        b->Ycoord = ini.ReadInteger(name, "Ycoord", 0);
        b->Visibility = ini.ReadInteger(name, "Visibility", 0);
        b->Visibility1 = ini.ReadInteger(name, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = ini.ReadInteger(name, "CombineOp", -1);
        b->Frame = ini.ReadInteger(name, "frame", 0);
        LoadSkinBitmap(src.Reader, ini.ReadString(name, "ButtonImage", ""), b->Bitmap);

        // The button of action 4 sits where the one of action 1 with visibility 2 sits.
        if (b->Action == 1 && b->Visibility == 2) {
            anchored = true;
            anchorX = b->Xcoord;
            anchorY = b->Ycoord;
        } else if (b->Action == 4) {
            b->Xcoord = anchored ? anchorX : 0;
            b->Ycoord = anchored ? anchorY : 0;
        }

        if (b->Frame == 0) {
            b->Frame = 6;
            if (!b->Bitmap.IsEmpty()) {
                const double ratio = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height();
                b->Frame = ratio <= 3.8 ? 3 : 6;
            }
            if (b->Action < 0)
                b->Frame = 6;
        }
        if (b->Action == 3 || b->Action == 11)
            b->Bitmap = TPixelBuffer();
        CaptionButtons.push_back(std::move(b));
    }

    for (const int32_t action : {7, 8, 9}) {
        auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS" + std::to_string(action - 6));
        b->Action = action;
        b->Align = 100;
        b->Visibility = 100;
        b->Visibility1 = 100;
        b->Frame = 4;
        CaptionButtons.push_back(std::move(b));
    }
    LoadMdiButtons(src);
}

void TSkinObjects::LoadMdiButtons(const TSource& src)
{
    TPixelBuffer strip;
    LoadSkinBitmap(src.Reader, src.Ini.ReadString("MDICONTROLS", "Image", ""), strip);
    if (strip.IsEmpty())
        return;
    // Twelve columns of w pixels: three buttons of four frames each.
    const int w = strip.Width() / 12;
    const size_t first = CaptionButtons.size() - 3;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *CaptionButtons[first + static_cast<size_t>(i)];
        if (w > 0) {
            b.Bitmap = TPixelBuffer(4 * w, strip.Height());
            CopyRect(b.Bitmap.View(), 0, 0, strip.View(), {4 * w * i, 0, 4 * w * i + 4 * w, strip.Height()});
        }
        b.Xcoord = (w + 4) * (3 - i);
    }
}

void TSkinObjects::LoadBuiltinTrack()
{
    const auto fill = [](std::unique_ptr<TDataSkinObject>& slot, const char* name, TPixelBuffer image) {
        if (slot && !slot->Bitmap.IsEmpty())
            return;
        slot = std::make_unique<TDataSkinObject>(name);
        slot->Bitmap = std::move(image);
        slot->SetMargins({3, 3, 3, 3});
        slot->Tile = 0;
        slot->Frame = 1;
    };
    fill(Track, "Track", BuiltinTrackImage());
    fill(TRACKVERT, "TRACKVERT", BuiltinTrackVertImage());
}
