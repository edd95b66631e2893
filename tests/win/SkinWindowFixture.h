// Small skins made in the test with our packer, and forms skinned with them under the rig: a
// form carrying a skin data component, shown and activated explicitly (the rig has no window
// manager to activate anything), and waited for until its frame has finished setting up.
#pragma once

#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/unit/SkinFixture.h"
#include "tests/win/TestSupport.h"
#include "toolkit/Form.h"

#include <cstdint>
#include <string>
#include <vector>

// Opaque colours of the test skin's images, as 0x00RRGGBB.
constexpr std::uint32_t kActiveTop = 0x2040C0, kInactiveTop = 0x808080;
constexpr std::uint32_t kActiveSide = 0x1030A0, kInactiveSide = 0x707070;
constexpr std::uint32_t kKey = 0xFF00FF;

// A 24-bit bitmap file of equal solid frames, side by side or stacked.
inline TBytes SolidBmp(int frameWidth, int frameHeight, std::vector<std::uint32_t> colours, bool stacked)
{
    TBmpSpec spec;
    const int count = static_cast<int>(colours.size());
    spec.Width = stacked ? frameWidth : frameWidth * count;
    spec.Height = stacked ? frameHeight * count : frameHeight;
    for (int y = 0; y < spec.Height; ++y) {
        TBytes row;
        for (int x = 0; x < spec.Width; ++x) {
            const std::uint32_t c = colours[static_cast<size_t>(stacked ? y / frameHeight : x / frameWidth)];
            row.push_back(static_cast<std::uint8_t>(c));
            row.push_back(static_cast<std::uint8_t>(c >> 8));
            row.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        spec.RowsTopFirst.push_back(row);
    }
    return MakeBmp(spec);
}

// What the test skin is made of; the defaults give borders of 4, a caption of `TopHeight`, and
// one close button (Action 0, Align 1, Xcoord 30) of 4 frames 20 × 16.
struct TTestSkin {
    int TopHeight = 30;
    int TopFrames = 2;
    int Side = 4;
    std::string Buttons = "[BUTTON1]\r\nAction=0\r\nAlign=1\r\nXcoord=30\r\nYcoord=5\r\nVisibility=0\r\n"
                          "ButtonImage=close.bmp\r\nframe=4\r\n";
    std::string Extra; // more definition lines
};

inline TBytes TestSkinArchive(const TTestSkin& s = {})
{
    std::string ini = "[TitlebarSkin]\r\nSkinName=Test\r\n[Personality]\r\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        ini += std::string(side) + "=" + side + ".bmp\r\n" + side + "Frame=" +
            std::to_string(side[0] == 'T' ? s.TopFrames : 2) + "\r\n" + side + "Stretch=1\r\n";
    ini += "[Colours]\r\nButtonFace=240,240,240\r\nTitleTextActive=255,255,255\r\nTitleTextNoActive=0,0,0\r\n";
    ini += s.Buttons + s.Extra;
    std::vector<std::uint32_t> topColours{kActiveTop, kInactiveTop};
    topColours.resize(static_cast<size_t>(s.TopFrames), kInactiveTop);
    TSkinFiles files{
        {"Top.bmp", SolidBmp(40, s.TopHeight, topColours, true)},
        {"Bottom.bmp", SolidBmp(40, s.Side, {kActiveSide, kInactiveSide}, true)},
        {"Left.bmp", SolidBmp(s.Side, 40, {kActiveSide, kInactiveSide}, false)},
        {"Right.bmp", SolidBmp(s.Side, 40, {kActiveSide, kInactiveSide}, false)},
        {"close.bmp", SolidBmp(20, 16, {0x00C000, 0xC00000, 0xC0C000, 0x404040}, false)},
    };
    return SkinArchive(ini, files);
}

// The archive as a form stores it: the SkinStream property.
inline TBytes StoredSkin(const TBytes& archive)
{
    TBytes stored;
    Put32(stored, static_cast<std::uint32_t>(archive.size()));
    stored.insert(stored.end(), archive.begin(), archive.end());
    return stored;
}

// A form with its own skin data component, read as a form description is read.
class TSkinnedForm : public TForm {
public:
    TSkinnedForm(TComponent* owner, const TBytes& archive, bool active = true) : TForm(owner)
    {
        SetCaption(L"Skinned test form");
        SetBounds(100, 100, 300, 200);
        SetClientSize(280, 160);
        SkinData = Make<TSkinData>();
        SkinData->BeginLoading();
        SkinData->SetActive(active);
        SkinData->ReadSkinStream(StoredSkin(archive));
        SkinData->Loaded();
    }
    TSkinData* SkinData;
};

// Shows and activates a form and waits until its frame finished its set-up; null on time-out.
inline TWinSkinForm* ShowSkinned(TCustomForm* form, int timeoutMs = 3000)
{
    form->Show();
    ::SetActiveWindow(form->Handle());
    TWinSkinForm* frame = nullptr;
    PumpUntil(
        [&] {
            frame = SkinManager ? SkinManager->FindFrame(form->Handle()) : nullptr;
            return frame && frame->FrameState() == TFrameState::Active;
        },
        timeoutMs);
    return frame && frame->FrameState() == TFrameState::Active ? frame : nullptr;
}

// The pixel (0x00RRGGBB) of the screen at a point of the window, as it shows.
inline std::uint32_t ScreenPixel(HWND hwnd, int x, int y)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, r.left + x, r.top + y);
    ::ReleaseDC(nullptr, screen);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

inline SIZE ClientSize(HWND hwnd)
{
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}
