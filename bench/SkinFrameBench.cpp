// The skinned frame of the real main window with the skin the program carries: the time from
// the window's creation to its first skinned frame on screen, a full repaint of the frame
// active and inactive, and one caption button state change, beside their goals.
#include "app/Form1.h"
#include "bench/BenchStats.h"
#include "app/MainIcon.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/MessagePump.h"
#include "toolkit/Application.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// One row of pixels (0x00RRGGBB) of a device context.
std::vector<std::uint32_t> Row(HDC source, int x, int y, int width)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC memory = ::CreateCompatibleDC(source);
    const HBITMAP dib = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, width, 1, source, x, y, SRCCOPY);
    ::GdiFlush();
    std::vector<std::uint32_t> row(static_cast<const std::uint32_t*>(bits),
                                   static_cast<const std::uint32_t*>(bits) + width);
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    for (auto& p : row)
        p &= 0xFFFFFF;
    return row;
}

// The middle row of the caption band as the frame paints it, from a paint into a memory DC;
// the row's ends stay out, where the window's corners may let the screen show through.
std::vector<std::uint32_t> PaintedCaptionRow(TWinSkinForm& frame, int& y)
{
    RECT r{};
    ::GetWindowRect(frame.WindowHandle(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    frame.PaintFrame(memory);
    y = frame.Borders().Top / 2;
    std::vector<std::uint32_t> row = Row(memory, 8, y, w - 16);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return row;
}

std::vector<std::uint32_t> ScreenCaptionRow(HWND hwnd, int y, int width)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const HDC screen = ::GetDC(nullptr);
    std::vector<std::uint32_t> row = Row(screen, r.left + 8, r.top + y, width);
    ::ReleaseDC(nullptr, screen);
    return row;
}

// Dispatches one waiting message, or waits up to a millisecond for one.
void PumpOne()
{
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    } else {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

TWinSkinForm* FrameOf(HWND hwnd) { return SkinManager ? SkinManager->FindFrame(hwnd) : nullptr; }

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int repeats = argc > 1 ? std::max(_wtoi(argv[1]), 20) : 500;
    TApplication app;
    app.Initialize();
    const win::Icon icon = LoadMainIcon(::GetModuleHandleW(nullptr));

    // As the program starts: the form with its stored skin, its icon, then shown.
    const auto created = TClock::now();
    auto* form = app.CreateForm<TForm1>();
    form->SetIcon(icon.get());
    const HWND hwnd = form->Handle();
    const auto shown = TClock::now();
    form->Show();
    const auto showReturned = TClock::now();

    TWinSkinForm* frame = nullptr;
    std::optional<TClock::time_point> active;
    while (!active) {
        if (Ms(TClock::now() - shown) > 5000) {
            std::fprintf(stderr, "SkinFrameBench: the window was not framed within 5 s\n");
            return 1;
        }
        PumpOne();
        frame = FrameOf(hwnd);
        if (frame && frame->FrameState() == TFrameState::Active)
            active = TClock::now();
    }
    int y = 0;
    const std::vector<std::uint32_t> painted = PaintedCaptionRow(*frame, y);
    std::optional<TClock::time_point> onScreen;
    while (!onScreen) {
        if (Ms(TClock::now() - shown) > 5000) {
            std::fprintf(stderr, "SkinFrameBench: the skinned caption did not reach the screen within 5 s\n");
            return 1;
        }
        if (ScreenCaptionRow(hwnd, y, static_cast<int>(painted.size())) == painted)
            onScreen = TClock::now();
        else
            PumpOne();
    }
    RECT window{}, client{};
    ::GetWindowRect(hwnd, &window);
    ::GetClientRect(hwnd, &client);
    std::printf("shipped skin \"%s\": window %ldx%ld, client %ldx%ld, borders %d/%d/%d/%d\n",
                frame->SkinData()->SkinName().c_str(), window.right - window.left, window.bottom - window.top,
                client.right, client.bottom, frame->Borders().Left, frame->Borders().Top, frame->Borders().Right,
                frame->Borders().Bottom);
    std::printf("creation (constructor, stored skin, window) to Show:  %6.1f ms\n", Ms(shown - created));
    std::printf("Show itself (window shown, activated and framed, client painted): %6.1f ms\n",
                Ms(showReturned - shown));
    std::printf("Show to frame set up (first skinned PaintFrame):      %6.1f ms\n", Ms(*active - shown));
    std::printf("Show to skinned caption on screen:                    %6.1f ms   (goal < 50 ms: %s)\n",
                Ms(*onScreen - shown), Ms(*onScreen - shown) < 50 ? "met" : "MISSED");
    std::printf("creation to skinned caption on screen:                %6.1f ms\n", Ms(*onScreen - created));

    PumpFor(300);
    const TStats activePaint = Summarise(TimeCalls(repeats, [&] { frame->PaintFrame(); }));
    ::SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
    const TStats inactivePaint = Summarise(TimeCalls(repeats, [&] { frame->PaintFrame(); }));
    ::SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
    PumpFor(100);

    // The close button: hot, then normal again, each repainting only itself.
    std::optional<size_t> close;
    for (size_t i = 0; i < frame->CaptionButtons().size(); ++i)
        if (frame->CaptionButtons()[i].Data->Action == 0 && frame->CaptionButtons()[i].Visible)
            close = i;
    if (!close) {
        std::fprintf(stderr, "SkinFrameBench: the skin shows no close button\n");
        return 1;
    }
    TWinSysButton& button = *frame->SysButtons()[*close];
    std::vector<double> enter, leave;
    for (int i = 0; i < repeats; ++i) {
        auto start = TClock::now();
        button.MouseEnter();
        enter.push_back(Ms(TClock::now() - start));
        start = TClock::now();
        button.MouseLeave();
        leave.push_back(Ms(TClock::now() - start));
    }
    std::printf("over %d calls each, to the window DC:\n", repeats);
    PrintStats("PaintFrame, active", activePaint, 2.0);
    PrintStats("PaintFrame, inactive", inactivePaint, 2.0);
    PrintStats("close button normal -> hot (MouseEnter)", Summarise(enter), 0.3);
    PrintStats("close button hot -> normal (MouseLeave)", Summarise(leave), 0.3);
    return 0;
}
