// Small skins made in the test with our packer, and forms skinned with them under the rig: a
// form carrying a skin data component, shown and activated explicitly (the rig has no window
// manager to activate anything), and waited for until its frame has finished setting up.
#pragma once

#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
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
    TBmpSpec bmp;
    const int count = static_cast<int>(colours.size());
    bmp.Width = stacked ? frameWidth : frameWidth * count;
    bmp.Height = stacked ? frameHeight * count : frameHeight;
    for (int y = 0; y < bmp.Height; ++y) {
        TBytes row;
        for (int x = 0; x < bmp.Width; ++x) {
            const std::uint32_t c = colours[static_cast<size_t>(stacked ? y / frameHeight : x / frameWidth)];
            row.push_back(static_cast<std::uint8_t>(c));
            row.push_back(static_cast<std::uint8_t>(c >> 8));
            row.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        bmp.RowsTopFirst.push_back(row);
    }
    return MakeBmp(bmp);
}

// What the test skin is made of; the defaults give borders of 4, a caption of `TopHeight`, and
// one close button (Action 0, Align 1, Xcoord 30) of 4 frames 20 × 16.
struct TTestSkin {
    int TopHeight = 30;
    int TopFrames = 2;
    int Side = 4;
    std::string Buttons = "[BUTTON1]\r\nAction=0\r\nAlign=1\r\nXcoord=30\r\nYcoord=5\r\nVisibility=0\r\n"
                          "ButtonImage=close.bmp\r\nframe=4\r\n";
    std::string Personality; // more lines of the [Personality] section (caption text placement)
    std::string Extra;       // more definition lines
    TSkinFiles ExtraFiles;   // more images the extra lines name
};

inline TBytes TestSkinArchive(const TTestSkin& s = {})
{
    std::string ini = "[TitlebarSkin]\r\nSkinName=Test\r\n[Personality]\r\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        ini += std::string(side) + "=" + side + ".bmp\r\n" + side + "Frame=" +
            std::to_string(side[0] == 'T' ? s.TopFrames : 2) + "\r\n" + side + "Stretch=1\r\n";
    ini += s.Personality;
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
    files.insert(files.end(), s.ExtraFiles.begin(), s.ExtraFiles.end());
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

    // What reached the form's own handling, under every hook and the frame.
    std::vector<WPARAM> SysCommands;   // WM_SYSCOMMAND, low four bits cleared
    std::vector<WPARAM> ButtonActions; // SKM_SYSBUTTONACTION
    int CloseRequests = 0;             // WM_CLOSE, kept from the form so that the window stays

    void WndProc(TMessage& Message) override
    {
        switch (Message.Msg) {
        case WM_CLOSE: ++CloseRequests; Message.Result = 0; return;
        case WM_SYSCOMMAND: SysCommands.push_back(Message.WParam & 0xFFF0); break;
        case SKM_SYSBUTTONACTION: ButtonActions.push_back(Message.WParam); break;
        default: break;
        }
        TForm::WndProc(Message);
    }
};

// Shows and activates a form and waits until its frame finished its set-up; null on time-out.
inline TWinSkinForm* ShowSkinned(TCustomForm* form, int timeoutMs = 3000)
{
    // The cursor rests where no test window is, so no button starts out hot.
    ::SetCursorPos(50, 700);
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

// The window as it shows on the screen, row by row, as 0x00RRGGBB.
struct TWindowPixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Bits;
    std::uint32_t At(int x, int y) const { return Bits[static_cast<size_t>(y * Width + x)] & 0xFFFFFF; }
};

inline TWindowPixels GrabWindow(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    TWindowPixels shot{r.right - r.left, r.bottom - r.top, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.Width, -shot.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const win::GdiObject<HBITMAP> dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return shot;
    {
        const win::WindowDC screen(nullptr);
        const win::MemoryDC dc(screen.get(), 1, 1);
        const win::Select select(dc.get(), dib.get());
        ::BitBlt(dc.get(), 0, 0, shot.Width, shot.Height, screen.get(), r.left, r.top, SRCCOPY);
        ::GdiFlush();
    }
    const auto* first = static_cast<const std::uint32_t*>(bits);
    shot.Bits.assign(first, first + static_cast<size_t>(shot.Width * shot.Height));
    return shot;
}

// Pumps until the pixel shows the colour or the bound passes; the pixel last seen.
inline std::uint32_t AwaitPixel(HWND hwnd, int x, int y, std::uint32_t colour, int timeoutMs = 1500)
{
    std::uint32_t seen = 0;
    PumpUntil([&] { return (seen = ScreenPixel(hwnd, x, y)) == colour; }, timeoutMs);
    return seen;
}

// Real input, as a person gives it: the system turns it into the messages the window gets.
inline void MouseTo(POINT screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = ::MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = ::MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
}

inline void MouseButton(DWORD flag) // MOUSEEVENTF_LEFTDOWN, ..._LEFTUP, ..._RIGHTDOWN, ...
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    ::SendInput(1, &in, sizeof(in));
}

inline void KeyPress(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof(in));
}

// One key pressed and released, with a modifier (VK_MENU, VK_CONTROL, ...) held around it.
inline void KeyStroke(WORD vk, WORD modifier = 0)
{
    if (modifier)
        KeyPress(modifier, false);
    KeyPress(vk, false);
    KeyPress(vk, true);
    if (modifier)
        KeyPress(modifier, true);
}

// The window's region box, or an empty box without a region.
inline RECT RegionBox(HWND hwnd)
{
    const win::GdiObject<HRGN> rgn(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetWindowRgn(hwnd, rgn.get()) != ERROR)
        ::GetRgnBox(rgn.get(), &box);
    return box;
}

// The screen point at the middle of a caption button.
inline POINT ButtonPoint(TWinSkinForm* frame, size_t index)
{
    RECT r{};
    ::GetWindowRect(frame->WindowHandle(), &r);
    const TPixelRect& b = frame->CaptionButtons()[index].Bounds;
    return {r.left + (b.Left + b.Right) / 2, r.top + (b.Top + b.Bottom) / 2};
}

// A small icon of one colour (0x00RRGGBB), for windows whose icon button must show something
// known.
inline win::Icon SolidIcon(std::uint32_t colour)
{
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const std::vector<std::uint32_t> bits(static_cast<size_t>(size * size), 0xFF000000u | colour);
    const std::vector<std::uint8_t> opaque(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);
    const win::GdiObject<HBITMAP> image(::CreateBitmap(size, size, 1, 32, bits.data()));
    const win::GdiObject<HBITMAP> mask(::CreateBitmap(size, size, 1, 1, opaque.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return win::Icon(::CreateIconIndirect(&info));
}

inline SIZE ClientSize(HWND hwnd)
{
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}
