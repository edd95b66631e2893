// drawskin: draws every bitmap of the program's own skin into a folder; app/skin/QM27K.ini names
// them and gives their margins and frame counts, so sizes here and numbers there go together.
#include "tools/SkinCanvas.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

// Palette: the status bar's blue is the accent; faces are a cool light grey.
constexpr TRgb kAccent = Rgb(56, 89, 222);
constexpr TRgb kAccentDark = Rgb(38, 64, 176);
constexpr TRgb kAccentLight = Rgb(92, 124, 238);
constexpr TRgb kFace = Rgb(240, 243, 249);
constexpr TRgb kWhite = Rgb(255, 255, 255);
constexpr TRgb kEdge = Rgb(166, 178, 204);
constexpr TRgb kEdgeDisabled = Rgb(206, 211, 222);
constexpr TRgb kFillDisabled = Rgb(243, 244, 247);
constexpr TRgb kGlyph = Rgb(72, 82, 104);
constexpr TRgb kGlyphDisabled = Rgb(176, 183, 198);
constexpr TRgb kTrack = Rgb(232, 236, 244);
constexpr TRgb kHover = Rgb(226, 234, 254);
constexpr TRgb kPressed = Rgb(204, 218, 252);

// Window frame: caption band and borders, in the sizes the definition gives.
constexpr int kCaption = 30;     // BorderTop
constexpr int kBorder = 4;       // BorderLeft, BorderRight, BorderBottom
constexpr int kTopRadius = 8;    // rounded top corners
constexpr int kBottomRadius = 4; // the client rectangle is never cut, so at most kBorder
constexpr int kTopEnds = 12;     // TopTopHeight, TopBotHeight: the fixed ends of the Top strip

struct TFrameLook {
    TRgb CaptionTop, CaptionBottom, Border, Outline, Text;
};
constexpr TFrameLook kActive{Rgb(86, 122, 240), Rgb(52, 84, 214), kAccent, Rgb(30, 50, 140), kWhite};
constexpr TFrameLook kInactive{Rgb(176, 186, 210), Rgb(156, 167, 194), Rgb(156, 167, 194), Rgb(118, 126, 148),
                               Rgb(240, 242, 248)};

TRgb CaptionRow(const TFrameLook& look, int y)
{
    // A one-pixel sheen under the outline lifts the band off the desktop.
    const TRgb base = Gradient(look.CaptionTop, look.CaptionBottom, y, kCaption);
    return y == 1 ? Mix(base, kWhite, 56) : base;
}

// The whole frame of a W × H window, client area included (left black; no piece takes it).
TCanvas WindowFrame(const TFrameLook& look, int w, int h)
{
    TCanvas c(w, h, kKey);
    const TShape outer = RoundRect2(0, 0, Sub(w), Sub(h), Sub(kTopRadius), Sub(kBottomRadius));
    const TShape inner = RoundRect2(Sub(1), Sub(1), Sub(w - 1), Sub(h - 1), Sub(kTopRadius - 1), Sub(kBottomRadius - 1));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // No blending into the key: a pixel is in the window's shape or it is not.
            if (TCanvas::Coverage(outer, x, y) < 8)
                continue;
            const TRgb fill = y < kCaption ? CaptionRow(look, y) : look.Border;
            c.At(x, y) = Mix(look.Outline, fill, TCanvas::Coverage(inner, x, y) * 16);
        }
    c.FillRect(kBorder, kCaption, w - kBorder, h - kBorder, Rgb(0, 0, 0));
    return c;
}

// A vertical border strip: its fixed top (the caption), one row to stretch, its fixed bottom.
TCanvas SideStrip(const TCanvas& frame, int x0)
{
    const int h = frame.Height();
    TCanvas c(kBorder, kCaption + 1 + kBorder, kKey);
    c.BlitPart(frame, x0, 0, x0 + kBorder, kCaption + 1, 0, 0);
    c.BlitPart(frame, x0, h - kBorder, x0 + kBorder, h, 0, kCaption + 1);
    return c;
}

// A horizontal border strip between the side borders: fixed ends, one column to stretch.
TCanvas BandStrip(const TCanvas& frame, int y0, int height)
{
    const int w = frame.Width();
    TCanvas c(2 * kTopEnds + 1, height, kKey);
    c.BlitPart(frame, kBorder, y0, kBorder + kTopEnds + 1, y0 + height, 0, 0);
    c.BlitPart(frame, w - kBorder - kTopEnds, y0, w - kBorder, y0 + height, kTopEnds + 1, 0);
    return c;
}

// Two frames of equal size side by side (Left, Right) or stacked (the others).
TCanvas SideBySide(const TCanvas& a, const TCanvas& b)
{
    TCanvas c(a.Width() + b.Width(), a.Height(), kKey);
    c.Blit(a, 0, 0);
    c.Blit(b, a.Width(), 0);
    return c;
}

TCanvas Stacked(const TCanvas& a, const TCanvas& b)
{
    TCanvas c(a.Width(), a.Height() + b.Height(), kKey);
    c.Blit(a, 0, 0);
    c.Blit(b, 0, a.Height());
    return c;
}

// Caption buttons: 28 × 20 at Ycoord 5, over the caption rows they cover, so their edges blend.
constexpr int kCapW = 28, kCapH = 20, kCapY = 5;

using TGlyph = TShape (*)(int ox, int oy);

TShape CloseGlyph(int ox, int oy)
{
    const int a = Sub(9.5), b = Sub(18.5), t = Sub(5.5), u = Sub(14.5);
    return Union(Segment(ox + a, oy + t, ox + b, oy + u, Sub(0.62)), Segment(ox + b, oy + t, ox + a, oy + u, Sub(0.62)));
}

// Lines on whole pixels stay crisp; the diagonal close glyph is smoothed instead.
TShape MaximizeGlyph(int ox, int oy)
{
    return Minus(RoundRect(ox + Sub(10), oy + Sub(6), ox + Sub(19), oy + Sub(15), Sub(1)),
                 RoundRect(ox + Sub(11), oy + Sub(7), ox + Sub(18), oy + Sub(14), 0));
}

TShape RestoreGlyph(int ox, int oy)
{
    const TShape front = Minus(RoundRect(ox + Sub(10), oy + Sub(8), ox + Sub(17), oy + Sub(15), Sub(1)),
                               RoundRect(ox + Sub(11), oy + Sub(9), ox + Sub(16), oy + Sub(14), 0));
    const TShape back = Union(RoundRect(ox + Sub(12), oy + Sub(6), ox + Sub(19), oy + Sub(7), 0),
                              RoundRect(ox + Sub(18), oy + Sub(6), ox + Sub(19), oy + Sub(13), 0));
    return Union(front, back);
}

TShape MinimizeGlyph(int ox, int oy)
{
    return RoundRect(ox + Sub(10), oy + Sub(10), ox + Sub(19), oy + Sub(11), 0);
}

TShape HelpGlyph(int ox, int oy)
{
    const TShape hook = Polyline({ox + Sub(11.2), oy + Sub(7.4), ox + Sub(12.2), oy + Sub(5.8), ox + Sub(14), oy + Sub(5.3),
                                  ox + Sub(15.8), oy + Sub(5.8), ox + Sub(16.7), oy + Sub(7.3), ox + Sub(16.2), oy + Sub(8.8),
                                  ox + Sub(14.2), oy + Sub(10.2), ox + Sub(14), oy + Sub(12)},
        Sub(0.62));
    return Union(hook, Circle(ox + Sub(14), oy + Sub(14.2), Sub(0.9)));
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window or disabled.
TCanvas CaptionButton(TGlyph glyph, bool danger)
{
    TCanvas c(4 * kCapW, kCapH, kKey);
    for (int k = 0; k < 4; ++k) {
        const TFrameLook& look = k == 3 ? kInactive : kActive;
        const int ox = Sub(k * kCapW);
        for (int y = 0; y < kCapH; ++y)
            c.FillRect(k * kCapW, y, (k + 1) * kCapW, y + 1, CaptionRow(look, y + kCapY));
        const TShape plate = RoundRect(ox + Sub(1), Sub(1), ox + Sub(kCapW - 1), Sub(kCapH - 1), Sub(4));
        if (k == 1)
            c.Paint(plate, danger ? Rgb(176, 36, 36) : Rgb(28, 50, 150));
        else if (k == 2)
            c.Paint(plate, danger ? Rgb(226, 52, 52) : Rgb(110, 142, 246));
        c.Paint(glyph(ox, 0), look.Text);
    }
    return c;
}

// The text background behind the caption: a faint pill with fixed rounded ends of 10 pixels,
// on the caption's own rows (outline and sheen included) so it shows only where it is drawn.
TCanvas TitleBack(const TCanvas& frame)
{
    TCanvas c(24, kCaption, kKey);
    for (int y = 0; y < kCaption; ++y) {
        const TRgb row = frame.At(frame.Width() / 2, y);
        c.FillRect(0, y, 24, y + 1, row);
        const TShape pill = RoundRect(Sub(1), Sub(6), Sub(23), Sub(24), Sub(9));
        for (int x = 0; x < 24; ++x)
            c.At(x, y) = Mix(row, Mix(row, kWhite, 34), TCanvas::Coverage(pill, x, y) * 16);
    }
    return c;
}

// Push button frames 24 × 24, margins 4: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused or default.
TCanvas PushButtons()
{
    constexpr int s = 24;
    TCanvas c(5 * s, s, kFace);
    struct TLook {
        TRgb Edge, Top, Bottom;
        bool Ring;
    };
    const TLook looks[5] = {{kEdge, kWhite, Rgb(236, 240, 248), false},
                            {kAccentDark, kPressed, Rgb(214, 226, 253), false},
                            {kEdgeDisabled, kFillDisabled, kFillDisabled, false},
                            {kAccent, Rgb(240, 245, 255), kHover, false},
                            {kAccent, kWhite, Rgb(236, 240, 248), true}};
    for (int k = 0; k < 5; ++k) {
        const int ox = k * s;
        const TLook& l = looks[k];
        c.Paint(RoundRect(Sub(ox), 0, Sub(ox + s), Sub(s), Sub(4)), l.Edge);
        TCanvas fill(s, s, kFace);
        for (int y = 0; y < s; ++y)
            fill.FillRect(0, y, s, y + 1, Gradient(l.Top, l.Bottom, y, s));
        const TShape inside = RoundRect(Sub(ox + 1), Sub(1), Sub(ox + s - 1), Sub(s - 1), Sub(3));
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                const int n = TCanvas::Coverage(inside, ox + x, y);
                if (n)
                    c.At(ox + x, y) = Mix(c.At(ox + x, y), fill.At(x, y), n * 16);
            }
        if (l.Ring)
            c.Paint(Minus(RoundRect(Sub(ox + 1), Sub(1), Sub(ox + s - 1), Sub(s - 1), Sub(3)),
                        RoundRect(Sub(ox + 2), Sub(2), Sub(ox + s - 2), Sub(s - 2), Sub(2))),
                    Rgb(160, 180, 242));
    }
    return c;
}

// Check box and radio strips: 12 cells of 13 × 13 — unchecked, checked and mixed, each
// normal, hot, pressed and disabled.
constexpr int kCell = 13;

struct TBoxLook {
    TRgb Edge, Fill, Mark;
};

TBoxLook BoxLook(int state, bool marked)
{
    if (!marked) {
        switch (state) {
        case 1: return {kAccent, Rgb(240, 245, 255), kAccent};
        case 2: return {kAccentDark, kPressed, kAccentDark};
        case 3: return {kEdgeDisabled, kFillDisabled, kGlyphDisabled};
        default: return {Rgb(128, 140, 170), kWhite, kAccent};
        }
    }
    switch (state) {
    case 1: return {kAccentLight, kAccentLight, kWhite};
    case 2: return {kAccentDark, kAccentDark, kWhite};
    case 3: return {Rgb(184, 192, 210), Rgb(184, 192, 210), kWhite};
    default: return {kAccent, kAccent, kWhite};
    }
}

TCanvas CheckStrip()
{
    TCanvas c(12 * kCell, kCell, kFace);
    for (int k = 0; k < 12; ++k) {
        const int kind = k / 4, state = k % 4; // kind 0 unchecked, 1 checked, 2 mixed
        const TBoxLook l = BoxLook(state, kind == 1);
        const int ox = Sub(k * kCell);
        c.Paint(RoundRect(ox + Sub(0.5), Sub(0.5), ox + Sub(12.5), Sub(12.5), Sub(2.5)), l.Edge);
        c.Paint(RoundRect(ox + Sub(1.5), Sub(1.5), ox + Sub(11.5), Sub(11.5), Sub(1.5)), l.Fill);
        if (kind == 1)
            c.Paint(Polyline({ox + Sub(3.4), Sub(6.6), ox + Sub(5.5), Sub(8.8), ox + Sub(9.6), Sub(4.2)}, Sub(0.8)), l.Mark);
        else if (kind == 2)
            c.Paint(RoundRect(ox + Sub(3.5), Sub(3.5), ox + Sub(9.5), Sub(9.5), Sub(1)), l.Mark);
    }
    return c;
}

TCanvas RadioStrip()
{
    TCanvas c(12 * kCell, kCell, kFace);
    for (int k = 0; k < 12; ++k) {
        const int kind = k / 4, state = k % 4;
        const TBoxLook l = BoxLook(state, kind == 1);
        const int cx = Sub(k * kCell + 6.5), cy = Sub(6.5);
        c.Paint(Circle(cx, cy, Sub(6)), l.Edge);
        c.Paint(Circle(cx, cy, Sub(5)), l.Fill);
        if (kind == 1)
            c.Paint(Circle(cx, cy, Sub(2.3)), l.Mark);
    }
    return c;
}

// Sunken edge 12 × 12, margins 3: 1 normal, 2 pressed, 3 disabled, 4 focused or hot.
TCanvas SunkEdge()
{
    constexpr int s = 12;
    TCanvas c(4 * s, s, kFace);
    const TRgb edges[4] = {kEdge, kAccentDark, kEdgeDisabled, kAccent};
    for (int k = 0; k < 4; ++k) {
        const int ox = k * s;
        c.Paint(RoundRect(Sub(ox), 0, Sub(ox + s), Sub(s), Sub(2)), edges[k]);
        c.Paint(RoundRect(Sub(ox + 1), Sub(1), Sub(ox + s - 1), Sub(s - 1), Sub(1)), k == 2 ? kFillDisabled : kWhite);
    }
    return c;
}

// The combo box button, 18 × 21 to fill the part beside the edit exactly with the classic
// scroll arrow width (other widths stretch its middle): a separator and a face inside the
// sunken edge's two-pixel rim, which shows through the magenta around it.
TCanvas ComboButton()
{
    constexpr int w = 18, h = 21;
    TCanvas c(4 * w, h, kKey);
    const TRgb faces[4] = {Rgb(246, 248, 252), kPressed, kFillDisabled, kHover};
    for (int k = 0; k < 4; ++k) {
        const int ox = k * w;
        c.FillRect(ox, 2, ox + 1, h - 2, k == 2 ? kEdgeDisabled : Rgb(214, 220, 234));
        c.FillRect(ox + 1, 2, ox + w - 2, h - 2, faces[k]);
    }
    return c;
}

TShape ChevronDown(int ox, int oy)
{
    return Polyline({ox + Sub(4.5), oy + Sub(6.3), ox + Sub(8), oy + Sub(9.8), ox + Sub(11.5), oy + Sub(6.3)}, Sub(0.75));
}

// Glyphs on magenta, 16 × 16: the combo arrow in four states (as the combo frames), then the size grip.
TCanvas ExtraImages()
{
    constexpr int s = 16;
    TCanvas c(5 * s, s, kKey);
    const TRgb arrows[4] = {kGlyph, kAccentDark, kGlyphDisabled, kAccent};
    for (int k = 0; k < 4; ++k) {
        // Drawn hard: these glyphs go over faces of several colours through the key.
        c.PaintHard(ChevronDown(Sub(k * s), 0), arrows[k]);
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
            c.FillRect(4 * s + 12 - 4 * j, 12 - 4 * (i - j), 4 * s + 14 - 4 * j, 14 - 4 * (i - j), kGlyphDisabled);
    return c;
}

// Scroll bar parts, 23 cells of 17 × 17: arrows left, right, up, down (normal, pressed,
// disabled, hot each), the horizontal and vertical grips (normal, pressed, hot), the corner.
constexpr int kBar = 17;
constexpr TRgb kThumb[3] = {Rgb(184, 193, 214), Rgb(110, 128, 172), Rgb(152, 166, 198)}; // normal, pressed, hot

TShape Arrow(int ox, int direction)
{
    // A chevron pointing left, right, up or down, centred in a 17-pixel cell.
    const int c = Sub(8.5);
    const int a = Sub(2.2), b = Sub(3.8);
    switch (direction) {
    case 0: return Polyline({ox + c + a / 2 + Sub(0.4), c - b, ox + c - a + Sub(0.4), c, ox + c + a / 2 + Sub(0.4), c + b}, Sub(0.75));
    case 1: return Polyline({ox + c - a / 2 - Sub(0.4), c - b, ox + c + a - Sub(0.4), c, ox + c - a / 2 - Sub(0.4), c + b}, Sub(0.75));
    case 2: return Polyline({ox + c - b, c + a / 2 + Sub(0.4), ox + c, c - a + Sub(0.4), ox + c + b, c + a / 2 + Sub(0.4)}, Sub(0.75));
    default: return Polyline({ox + c - b, c - a / 2 - Sub(0.4), ox + c, c + a - Sub(0.4), ox + c + b, c - a / 2 - Sub(0.4)}, Sub(0.75));
    }
}

TCanvas ScrollbarParts()
{
    TCanvas c(23 * kBar, kBar, kTrack);
    for (int direction = 0; direction < 4; ++direction)
        for (int state = 0; state < 4; ++state) { // normal, pressed, disabled, hot
            const int k = direction * 4 + state;
            const int ox = Sub(k * kBar);
            TRgb glyph = kGlyph;
            if (state == 1) {
                c.Paint(RoundRect(ox + Sub(1), Sub(1), ox + Sub(16), Sub(16), Sub(3)), kThumb[1]);
                glyph = kWhite;
            } else if (state == 3) {
                c.Paint(RoundRect(ox + Sub(1), Sub(1), ox + Sub(16), Sub(16), Sub(3)), Rgb(212, 220, 238));
                glyph = kAccentDark;
            } else if (state == 2) {
                glyph = kGlyphDisabled;
            }
            c.Paint(Arrow(ox, direction), glyph);
        }
    for (int vertical = 0; vertical < 2; ++vertical)
        for (int state = 0; state < 3; ++state) { // normal, pressed, hot
            // The straight middle of the thumb under the grip, so it matches the thumb it lies on.
            const int k = 16 + vertical * 3 + state;
            if (vertical)
                c.FillRect(k * kBar + 4, 0, k * kBar + 13, kBar, kThumb[state]);
            else
                c.FillRect(k * kBar, 4, (k + 1) * kBar, 13, kThumb[state]);
            const TRgb line = state == 1 ? Rgb(200, 210, 236) : Rgb(120, 132, 162);
            for (int i = -1; i <= 1; ++i) {
                if (vertical)
                    c.FillRect(k * kBar + 5, 8 + 2 * i, k * kBar + 12, 9 + 2 * i, line);
                else
                    c.FillRect(k * kBar + 8 + 2 * i, 5, k * kBar + 9 + 2 * i, 12, line);
            }
        }
    return c;
}

// Scroll tracks, 4 frames of 17 × 17: normal, pressed, disabled, hot.
TCanvas ScrollTrack(bool vertical)
{
    TCanvas c(4 * kBar, kBar, kTrack);
    const TRgb fills[4] = {kTrack, Rgb(218, 224, 236), Rgb(241, 243, 247), Rgb(226, 231, 241)};
    for (int k = 0; k < 4; ++k) {
        c.FillRect(k * kBar, 0, (k + 1) * kBar, kBar, fills[k]);
        // A hairline on the side that meets the control's content.
        if (vertical)
            c.FillRect(k * kBar, 0, k * kBar + 1, kBar, Rgb(222, 227, 237));
        else
            c.FillRect(k * kBar, 0, (k + 1) * kBar, 1, Rgb(222, 227, 237));
    }
    return c;
}

// Thumbs, 3 frames (normal, pressed, hot): a rounded bar on the track, ends of 6 pixels fixed.
TCanvas ScrollThumb(bool vertical)
{
    constexpr int len = 20;
    const int w = vertical ? kBar : len, h = vertical ? len : kBar;
    TCanvas c(vertical ? w : 3 * w, vertical ? 3 * h : h, kTrack);
    for (int k = 0; k < 3; ++k) {
        const int ox = vertical ? 0 : k * w, oy = vertical ? k * h : 0;
        const TShape bar = vertical ? RoundRect(Sub(ox + 4), Sub(oy + 1), Sub(ox + 13), Sub(oy + h - 1), Sub(4.5))
                                    : RoundRect(Sub(ox + 1), Sub(oy + 4), Sub(ox + w - 1), Sub(oy + 13), Sub(4.5));
        c.Paint(bar, kThumb[k]);
    }
    if (!vertical)
        return c;
    // Frames of a strip lie side by side, so the vertical thumb's frames are moved into a row.
    TCanvas row(3 * w, h, kTrack);
    for (int k = 0; k < 3; ++k)
        row.BlitPart(c, 0, k * h, w, (k + 1) * h, k * w, 0);
    return row;
}

// Up-down buttons, 8 frames: the first button (up or left) normal, pressed, disabled, hot,
// then the second; faces only, the arrows are the glyph image.
TCanvas UpDownFaces(int w, int h)
{
    TCanvas c(8 * w, h, kFace);
    const TRgb edges[4] = {kEdge, kAccentDark, kEdgeDisabled, kAccent};
    const TRgb fills[4] = {Rgb(248, 250, 253), kPressed, kFillDisabled, kHover};
    for (int k = 0; k < 8; ++k) {
        const int ox = k * w;
        c.Paint(RoundRect(Sub(ox), 0, Sub(ox + w), Sub(h), Sub(2)), edges[k % 4]);
        c.Paint(RoundRect(Sub(ox + 1), Sub(1), Sub(ox + w - 1), Sub(h - 1), Sub(1)), fills[k % 4]);
    }
    return c;
}

// 8 glyphs of 9 × 9 on magenta, in the order of the faces.
TCanvas UpDownGlyphs(bool vertical)
{
    constexpr int s = 9;
    TCanvas c(8 * s, s, kKey);
    const TRgb colours[4] = {kGlyph, kAccentDark, kGlyphDisabled, kAccent};
    for (int k = 0; k < 8; ++k) {
        const int ox = Sub(k * s);
        const bool second = k >= 4;
        TShape t = vertical ? (second ? Triangle(ox + Sub(1.5), Sub(3), ox + Sub(7.5), Sub(3), ox + Sub(4.5), Sub(6.5))
                                      : Triangle(ox + Sub(1.5), Sub(6), ox + Sub(7.5), Sub(6), ox + Sub(4.5), Sub(2.5)))
                            : (second ? Triangle(ox + Sub(3), Sub(1.5), ox + Sub(3), Sub(7.5), ox + Sub(6.5), Sub(4.5))
                                      : Triangle(ox + Sub(6), Sub(1.5), ox + Sub(6), Sub(7.5), ox + Sub(2.5), Sub(4.5)));
        c.PaintHard(t, colours[k % 4]);
    }
    return c;
}

// Status bar panels on the bar's blue, 3 frames of 12 × 12: lowered, raised, flat.
TCanvas StatusBarEdges()
{
    constexpr int s = 12;
    TCanvas c(3 * s, s, kAccent);
    const TRgb dark = Rgb(40, 68, 188), light = Rgb(96, 126, 236);
    for (int k = 0; k < 2; ++k) {
        const int ox = k * s;
        const TRgb a = k == 0 ? dark : light, b = k == 0 ? light : dark;
        c.FillRect(ox + 1, 1, ox + s - 1, 2, a);
        c.FillRect(ox + 1, 1, ox + 2, s - 1, a);
        c.FillRect(ox + 1, s - 2, ox + s - 1, s - 1, b);
        c.FillRect(ox + s - 2, 1, ox + s - 1, s - 1, b);
    }
    return c;
}

// Group box edge, 2 frames of 16 × 16 (normal, disabled): a rounded line, the inside see-through.
TCanvas GroupBoxEdge()
{
    constexpr int s = 16;
    TCanvas c(2 * s, s, kKey);
    for (int k = 0; k < 2; ++k) {
        const int ox = k * s;
        c.FillRect(ox, 0, ox + s, s, kFace);
        c.Paint(Minus(RoundRect(Sub(ox), 0, Sub(ox + s), Sub(s), Sub(5)), RoundRect(Sub(ox + 1), Sub(1), Sub(ox + s - 1), Sub(s - 1), Sub(4))),
                k == 0 ? kEdge : kEdgeDisabled);
        c.PaintHard(RoundRect(Sub(ox + 2), Sub(2), Sub(ox + s - 2), Sub(s - 2), Sub(3)), kKey);
    }
    return c;
}

// Menu bar band, 2 frames of 8 × 20 stacked (active, inactive): a faint shading of the face.
// The band is stretched to the system's menu height with no fixed rows, so a hairline could
// fall out; a gradient survives any height.
TCanvas MenuBar()
{
    TCanvas active(8, 20, kFace), inactive(8, 20, kFace);
    for (int y = 0; y < 20; ++y) {
        active.FillRect(0, y, 8, y + 1, Gradient(Rgb(246, 248, 252), Rgb(228, 233, 244), y, 20));
        inactive.FillRect(0, y, 8, y + 1, Gradient(Rgb(244, 245, 248), Rgb(232, 234, 240), y, 20));
    }
    return Stacked(active, inactive);
}

// Menu items, 5 frames of 20 × 20, margins 4: 1 normal, 4 selected; 2 pressed, 3 disabled, 5 as 4.
TCanvas MenuItems()
{
    constexpr int s = 20;
    TCanvas c(5 * s, s, kWhite);
    for (int k : {1, 3, 4}) {
        const int ox = k * s;
        c.Paint(RoundRect(Sub(ox + 1), Sub(1), Sub(ox + s - 1), Sub(s - 1), Sub(3)), k == 1 ? Rgb(150, 172, 240) : Rgb(170, 190, 245));
        c.Paint(RoundRect(Sub(ox + 2), Sub(2), Sub(ox + s - 2), Sub(s - 2), Sub(2)), k == 1 ? kPressed : kHover);
    }
    return c;
}

// Popup menu background, 16 × 16, margins 3: a hairline border, white inside.
TCanvas MenuBackground()
{
    TCanvas c(16, 16, kWhite);
    c.FillRect(0, 0, 16, 16, Rgb(160, 170, 196));
    c.FillRect(1, 1, 15, 15, kWhite);
    return c;
}

// Progress bar: frame 1 the track, frame 2 the filled bar; 16 × 16 with margins 3.
TCanvas Progress()
{
    TCanvas c(32, 16, kFace);
    for (int k = 0; k < 2; ++k) {
        c.Paint(RoundRect(Sub(16 * k), 0, Sub(16 * k + 16), Sub(16), Sub(3)), kEdge);
        c.Paint(RoundRect(Sub(16 * k + 1), Sub(1), Sub(16 * k + 15), Sub(15), Sub(2)), k == 0 ? kTrack : kAccent);
    }
    return c;
}

TCanvas ProgressChunk()
{
    TCanvas c(8, 16, kTrack);
    for (int y = 2; y < 14; ++y)
        c.FillRect(0, y, 7, y + 1, Gradient(kAccentLight, kAccent, y - 2, 12));
    return c;
}

// Tabs, 5 frames of 24 × 22, margins 4: 1 normal, 2 selected, 3 disabled, 4 hot, 5 focused.
TCanvas Tabs()
{
    constexpr int w = 24, h = 22;
    TCanvas c(5 * w, h, kFace);
    const TRgb fills[5] = {Rgb(232, 236, 245), kWhite, kFillDisabled, kHover, kWhite};
    for (int k = 0; k < 5; ++k) {
        const int ox = k * w;
        const int top = (k == 1 || k == 4) ? 0 : 2;
        c.Paint(RoundRect2(Sub(ox), Sub(top), Sub(ox + w), Sub(h + 4), Sub(4), 0), k == 2 ? kEdgeDisabled : kEdge);
        c.Paint(RoundRect2(Sub(ox + 1), Sub(top + 1), Sub(ox + w - 1), Sub(h + 4), Sub(3), 0), fills[k]);
        if (k == 4)
            c.FillRect(ox + 3, top + 1, ox + w - 3, top + 3, kAccent);
    }
    return c;
}

TCanvas TabPane()
{
    TCanvas c(16, 16, kEdge);
    c.FillRect(1, 1, 15, 15, kWhite);
    return c;
}

void Write(const fs::path& folder, const char* name, const TCanvas& canvas)
{
    const std::vector<uint8_t> bytes = canvas.BmpFile();
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + (folder / name).string());
}

void DrawAll(const fs::path& folder)
{
    // A small window is enough: every border piece is cut from its corners and one middle row.
    const TCanvas active = WindowFrame(kActive, 120, 90);
    const TCanvas inactive = WindowFrame(kInactive, 120, 90);
    Write(folder, "left.bmp", SideBySide(SideStrip(active, 0), SideStrip(inactive, 0)));
    Write(folder, "right.bmp", SideBySide(SideStrip(active, 120 - kBorder), SideStrip(inactive, 120 - kBorder)));
    Write(folder, "top.bmp", Stacked(BandStrip(active, 0, kCaption), BandStrip(inactive, 0, kCaption)));
    Write(folder, "bottom.bmp", Stacked(BandStrip(active, 90 - kBorder, kBorder), BandStrip(inactive, 90 - kBorder, kBorder)));
    Write(folder, "titleback.bmp", Stacked(TitleBack(active), TitleBack(inactive)));
    Write(folder, "menubar.bmp", MenuBar());
    Write(folder, "close.bmp", CaptionButton(CloseGlyph, true));
    Write(folder, "maximize.bmp", CaptionButton(MaximizeGlyph, false));
    Write(folder, "restore.bmp", CaptionButton(RestoreGlyph, false));
    Write(folder, "minimize.bmp", CaptionButton(MinimizeGlyph, false));
    Write(folder, "help.bmp", CaptionButton(HelpGlyph, false));
    Write(folder, "button.bmp", PushButtons());
    Write(folder, "check.bmp", CheckStrip());
    Write(folder, "radio.bmp", RadioStrip());
    Write(folder, "combo.bmp", ComboButton());
    Write(folder, "sunkedge.bmp", SunkEdge());
    Write(folder, "extra.bmp", ExtraImages());
    Write(folder, "scrollbar.bmp", ScrollbarParts());
    Write(folder, "hscroll.bmp", ScrollTrack(false));
    Write(folder, "vscroll.bmp", ScrollTrack(true));
    Write(folder, "hthumb.bmp", ScrollThumb(false));
    Write(folder, "vthumb.bmp", ScrollThumb(true));
    Write(folder, "updownh.bmp", UpDownFaces(11, 17));
    Write(folder, "updownv.bmp", UpDownFaces(17, 11));
    Write(folder, "updownhg.bmp", UpDownGlyphs(false));
    Write(folder, "updownvg.bmp", UpDownGlyphs(true));
    Write(folder, "statusbar.bmp", StatusBarEdges());
    Write(folder, "groupedge.bmp", GroupBoxEdge());
    Write(folder, "menuitem.bmp", MenuItems());
    Write(folder, "menubg.bmp", MenuBackground());
    Write(folder, "progress.bmp", Progress());
    Write(folder, "chunk.bmp", ProgressChunk());
    Write(folder, "tabs.bmp", Tabs());
    Write(folder, "tabpane.bmp", TabPane());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawskin FOLDER\n");
        return 2;
    }
    try {
        fs::create_directories(argv[1]);
        DrawAll(argv[1]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "drawskin: %s\n", e.what());
        return 1;
    }
}
