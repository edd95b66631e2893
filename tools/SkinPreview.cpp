// skinpreview: paints a skin's window frame and controls with the engine's painters, off screen, into
// a bitmap file, so a skin can be looked at without Windows. Text is not drawn (that needs GDI).
// usage: skinpreview ARCHIVE OUT.bmp [inactive]
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "skin/definitions/SkinObjects.h"
#include "tools/FileBytes.h"
#include "tools/SkinCanvas.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

constexpr int kWidth = 589, kHeight = 560;

struct TPainter {
    const TSkinObjects& Skin;
    TPixelView Window;

    int FrameWidth(const TDataSkinObject& o) const { return o.Bitmap.Width() / std::max(o.Frame, 1); }

    void Nine(const TDataSkinObject* o, const TPixelRect& r, int k, TStrip strip = TStrip::Horizontal,
              TKeying keying = TKeying::Transparent) const
    {
        if (!o || o->Bitmap.IsEmpty())
            return;
        DrawNineSlice(Window, r, o->Bitmap.View(), strip, o->Tile == 1 ? TCentre::Tile : TCentre::Stretch, keying,
                      std::max(o->Frame, 1), k, o->Margins());
    }

    // A border piece as the frame paints it: centre stretched when its Stretch key is 1.
    void Border(const TDataSkinBorder& b, const TPixelRect& r, TStrip strip, int k) const
    {
        const TPixelBuffer piece = BuildNineSlice(r.Width(), r.Height(), b.Bitmap.View(), b.Margins(), strip,
                                                  b.Tile == 1 ? TCentre::Stretch : TCentre::Tile, b.Frame, k);
        CopyRect(Window, r.Left, r.Top, piece.View(), piece.View().Bounds());
    }

    void Cell(const TPixelBuffer& strip, int count, int k, int x, int y) const
    {
        const int w = strip.Width() / count;
        DrawFrameCentred(Window, {x, y, x + w, y + strip.Height()}, strip.View(), TKeying::Transparent, count, k);
    }

    void Fill(const TPixelRect& r, TColor c) const
    {
        const TPixelRect clipped = Intersect(r, Window.Bounds());
        const uint32_t p = ToPixel(c, Skin.SystemColors());
        for (int y = clipped.Top; y < clipped.Bottom; ++y)
            std::fill(Window.Row(y) + clipped.Left, Window.Row(y) + clipped.Right, p);
    }
};

void PaintWindow(const TSkinObjects& skin, TPixelView window, bool active)
{
    const TPainter p{skin, window};
    const int k = active ? 1 : 2;
    const int bl = p.FrameWidth(skin.Left), br = p.FrameWidth(skin.Right);
    const int bt = skin.Top.Bitmap.Height() / std::max(skin.Top.Frame, 1);
    const int bb = skin.Bottom.Bitmap.Height() / std::max(skin.Bottom.Frame, 1);
    const int w = window.Width, h = window.Height;

    // Client first (the frame never covers it), then the frame in the frame's own order.
    p.Fill({bl, bt, w - br, h - bb}, skin.SysColours[TSkinObjects::kButtonFace]);
    p.Border(skin.Left, {0, 0, bl, h}, TStrip::Horizontal, k);
    p.Border(skin.Right, {w - br, 0, w, h}, TStrip::Horizontal, k);
    p.Border(skin.Bottom, {bl, h - bb, w - br, h}, TStrip::Vertical, k);
    p.Border(skin.Top, {bl, 0, w - br, bt}, TStrip::Vertical, k);

    // Caption: the text background where a 140-pixel caption would sit, then the buttons of a
    // window with both boxes, not maximised.
    const TDataSkinTitle& title = skin.Title;
    if (!title.Bitmap.IsEmpty()) {
        const int left = title.LeftWidth;
        DrawThreeSlice(window, {left, 0, left + 140 + title.TXTBackleft + title.TXTBackRight, bt}, title.Bitmap.View(),
                       TStrip::Vertical, TKeying::Transparent, 2, k, {title.TXTBackleft, 0, title.TXTBackRight, 0});
    }
    for (const auto& b : skin.CaptionButtons) {
        const bool shown = b->Visibility == 0 || b->Visibility == 2;
        if (!shown || b->Bitmap.IsEmpty() || b->Align != 1)
            continue;
        const int bw = b->Bitmap.Width() / std::max(b->Frame, 1);
        const int frame = active || b->Frame < 4 ? 1 : 4;
        DrawFrameStretched(window, {w - b->Xcoord, b->Ycoord, w - b->Xcoord + bw, b->Ycoord + b->Bitmap.Height()},
                           b->Bitmap.View(), TKeying::Transparent, b->Frame, frame);
    }

    // Menu bar band.
    const int menu = 20;
    if (skin.MenuBar)
        p.Nine(skin.MenuBar.get(), {bl, bt, w - br, bt + menu}, k, TStrip::Vertical, TKeying::Opaque);
    const int top = bt + menu;

    // Push buttons in their five states, check boxes and radio buttons in their twelve.
    for (int f = 1; f <= 5; ++f)
        p.Nine(&skin.Buttons, {20 + (f - 1) * 100, top + 16, 20 + (f - 1) * 100 + 88, top + 16 + 26}, f);
    for (int f = 1; f <= 12; ++f) {
        p.Cell(skin.Buttons.CheckBitmap, skin.Buttons.CheckButtonFrame, f, 20 + (f - 1) * 22, top + 58);
        p.Cell(skin.Buttons.RadioBitmap, skin.Buttons.RadioButtonFrame, f, 20 + (f - 1) * 22, top + 80);
    }

    // Combo boxes (normal, pressed, disabled, focused) over white, as an edit's inside is.
    for (int f = 1; f <= 4; ++f) {
        const TPixelRect r{20 + (f - 1) * 130, top + 106, 20 + (f - 1) * 130 + 120, top + 106 + 21};
        p.Fill({r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}, 0xFFFFFF);
        p.Nine(skin.ComboButton.get(), r, f);
    }

    // A group box edge around up-down buttons, a progress bar and tabs.
    p.Nine(skin.GroupBoxEdge.get(), {20, top + 144, 270, top + 290}, 1);
    if (skin.UpDownVert) {
        const TDataSkinBorder& u = *skin.UpDownVert;
        for (int f = 0; f < 2; ++f) {
            const TPixelRect r{40, top + 170 + f * 11, 57, top + 181 + f * 11};
            p.Nine(&u, r, f * 4 + 1);
            DrawFrameCentred(window, r, u.Bitmap2.View(), TKeying::Transparent, 8, f * 4 + 1);
        }
    }
    if (skin.Progress) {
        p.Nine(skin.Progress.get(), {80, top + 172, 250, top + 188}, 1);
        p.Nine(skin.Progress.get(), {80, top + 172, 170, top + 188}, 2);
    }
    if (skin.Tabs && skin.TabPane) {
        p.Nine(skin.TabPane.get(), {40, top + 226, 250, top + 280}, 1);
        for (int t = 0; t < 3; ++t)
            p.Nine(skin.Tabs.get(), {40 + t * 60, top + 206 + (t == 0 ? 0 : 2), 98 + t * 60, top + 227}, t == 0 ? 2 : 1);
    }

    // Scroll bars: a vertical one with its arrows, thumb and grip, a horizontal one disabled.
    if (skin.Scrollbar && skin.VertScroll && skin.VertScrollThumb) {
        const int x = 300, y0 = top + 144, y1 = top + 330, s = 17;
        p.Nine(skin.VertScroll.get(), {x, y0 + s, x + s, y1 - s}, 1, TStrip::Horizontal, TKeying::Opaque);
        p.Nine(skin.Scrollbar.get(), {x, y0, x + s, y0 + s}, 9);
        p.Nine(skin.Scrollbar.get(), {x, y1 - s, x + s, y1}, 13 + 3);
        p.Nine(skin.VertScrollThumb.get(), {x, y0 + 40, x + s, y0 + 100}, 1, TStrip::Horizontal, TKeying::Opaque);
        p.Nine(skin.Scrollbar.get(), {x, y0 + 62, x + s, y0 + 79}, 20);
    }
    if (skin.Scrollbar && skin.HorzScroll && skin.HorzScrollThumb) {
        const int y = top + 300, x0 = 20, x1 = 270, s = 17;
        p.Nine(skin.HorzScroll.get(), {x0 + s, y, x1 - s, y + s}, 1, TStrip::Horizontal, TKeying::Opaque);
        p.Nine(skin.Scrollbar.get(), {x0, y, x0 + s, y + s}, 1 + 1);
        p.Nine(skin.Scrollbar.get(), {x1 - s, y, x1, y + s}, 5);
        p.Nine(skin.HorzScrollThumb.get(), {x0 + 60, y, x0 + 150, y + s}, 3, TStrip::Horizontal, TKeying::Opaque);
        p.Nine(skin.Scrollbar.get(), {x0 + 96, y, x0 + 113, y + s}, 19);
    }

    // A popup menu with a selected item.
    if (skin.MenuBackground && skin.MenuItem) {
        const int y = top + 144;
        p.Nine(skin.MenuBackground.get(), {360, y, 520, y + 110}, 1, TStrip::Horizontal, TKeying::Opaque);
        for (int i = 0; i < 4; ++i)
            p.Nine(skin.MenuItem.get(), {363, y + 3 + i * 26, 517, y + 3 + i * 26 + 24}, i == 1 ? 4 : 1);
    }

    // Status bar: the bar's blue with lowered panels, as the main window lays it out.
    const int barTop = h - bb - 21;
    p.Fill({bl, barTop, w - br, h - bb}, 0xDE5938); // RGB(56, 89, 222) as 0x00BBGGRR
    int x = bl;
    for (const int width : {60, 60, 40, 60, 60, 140, 50, 50}) {
        const int right = std::min(x + width, w - br);
        p.Nine(skin.StatusBarEdges.get(), {x + 2, barTop + 2, right, h - bb}, 1, TStrip::Horizontal, TKeying::Opaque);
        x += width;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: skinpreview ARCHIVE OUT.bmp [inactive]\n");
        return 2;
    }
    try {
        TMemoryStream source(ReadFileBytes(argv[1]));
        TSkinReader reader([](const std::wstring&) {});
        if (!reader.OpenArchive(source))
            throw std::runtime_error("not a skin archive of a known version");
        TMemoryStream definition;
        std::string name;
        reader.FindEntry(".ini", definition, name);
        TQuickIni ini;
        ini.LoadFromStream(definition);
        TSkinObjects skin;
        skin.BuildSkinObjects(reader, ini);

        TPixelBuffer window(kWidth, kHeight);
        window.Fill(kTransparentKey);
        PaintWindow(skin, window.View(), !(argc == 4 && std::strcmp(argv[3], "inactive") == 0));

        // On a grey desktop, through the key colour, as the window's region shows it.
        TPixelBuffer desktop(kWidth + 40, kHeight + 40);
        desktop.Fill(0x808890);
        TransparentBlit(desktop.View(), {20, 20, 20 + kWidth, 20 + kHeight}, window.View());
        TCanvas out(desktop.Width(), desktop.Height(), kKey);
        for (int y = 0; y < desktop.Height(); ++y)
            for (int x = 0; x < desktop.Width(); ++x) {
                const uint32_t p = desktop.View().At(x, y);
                out.At(x, y) = Rgb(static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF));
            }
        const std::vector<uint8_t> bytes = out.BmpFile();
        WriteFileBytes(argv[2], bytes);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpreview: %s\n", e.what());
        return 1;
    }
}
