// What the system does with a captioned window's non-client area under the rig, on a plain
// window that paints its own frame in one colour: the facts the skinned frame is built on.
#include "tests/support/MessagePump.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

constexpr COLORREF kOwnFrame = RGB(0x20, 0xA0, 0x40);
constexpr UINT WM_NCUAHDRAWCAPTION = 0xAE;

// The window procedure's record, one window at a time.
struct TRecord {
    std::set<UINT> Seen;
    int NcPaints = 0;
    bool PaintOwnFrame = true;
};
TRecord Record;

void PaintOwnFrame(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    const HDC dc = ::GetWindowDC(hwnd);
    const HBRUSH brush = ::CreateSolidBrush(kOwnFrame);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -r.left, -r.top);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(hwnd, dc);
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Record.Seen.insert(msg);
    if (msg == WM_NCPAINT) {
        ++Record.NcPaints;
        if (Record.PaintOwnFrame) {
            PaintOwnFrame(hwnd);
            return 0;
        }
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Painting reaches the screen when the thread next waits for messages.
void Settle() { PumpFor(150); }

// The pixels of the screen over a window's rectangle, top row first, as 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(HWND hwnd, RECT& window)
{
    ::GetWindowRect(hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, w, h, screen, window.left, window.top, SRCCOPY);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + static_cast<size_t>(w) * h);
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    for (auto& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

// Counts of the non-client pixels on screen: in our colour, and any other.
struct TNonClient {
    int Own = 0, Other = 0;
};

TNonClient NonClientOnScreen(HWND hwnd)
{
    RECT window{};
    const std::vector<std::uint32_t> pixels = ScreenPixels(hwnd, window);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int w = window.right - window.left;
    const std::uint32_t own = GetRValue(kOwnFrame) << 16 | GetGValue(kOwnFrame) << 8 | GetBValue(kOwnFrame);
    TNonClient count;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const POINT p{window.left + static_cast<int>(i) % w, window.top + static_cast<int>(i) / w};
        if (::PtInRect(&client, p))
            continue;
        (pixels[i] == own ? count.Own : count.Other)++;
    }
    return count;
}

// The non-client pixels once `done` holds of them, or as they are after a second under load.
template <class Pred>
TNonClient NonClientOnceSettled(HWND hwnd, Pred done)
{
    TNonClient shown;
    PumpUntil(
        [&] {
            shown = NonClientOnScreen(hwnd);
            return done(shown);
        },
        1000);
    return shown;
}

// One window for all cases: destroying a shown window costs 2 s under the rig, as Wine waits
// for a window manager to confirm that it is gone. Each case sets the region it needs.
class WineNonClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"WineNonClientProbe";
        ::RegisterClassW(&wc);
        Window = ::CreateWindowExW(0, wc.lpszClassName, L"Probe", WS_OVERLAPPEDWINDOW, 200, 150, 320, 240, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ::ShowWindow(Window, SW_SHOW);
        ::SetForegroundWindow(Window);
        ::UpdateWindow(Window);
        Settle();
    }
    static void TearDownTestSuite()
    {
        if (Window)
            ::DestroyWindow(Window);
        Window = nullptr;
    }
    void SetUp() override { ASSERT_NE(Window, nullptr); }
    void TearDown() override { EXPECT_EQ(Record.Seen.count(WM_NCUAHDRAWCAPTION), 0u) << "message 0xAE was sent"; }

    static void SetRegion(bool on)
    {
        RECT r{};
        ::GetWindowRect(Window, &r);
        ::SetWindowRgn(Window, on ? ::CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top) : nullptr, TRUE);
        Settle();
    }

    static inline HWND Window = nullptr;
};

TEST_F(WineNonClientTest, WithoutRegionTheFrameIsMeasuredButNeverReachesTheScreen)
{
    SetRegion(false); // a region taken away again leaves the window as it was made
    Record.NcPaints = 0;
    ::RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    RECT window{}, client{};
    ::GetWindowRect(Window, &window);
    ::GetClientRect(Window, &client);
    EXPECT_EQ(window.right - window.left, 320);
    EXPECT_EQ(window.bottom - window.top, 240);
    EXPECT_LT(client.right, 320) << "the system still counts a border";
    EXPECT_LT(client.bottom, 240 - ::GetSystemMetrics(SM_CYCAPTION) + 1) << "and a caption";
    EXPECT_GT(Record.NcPaints, 0) << "WM_NCPAINT arrives all the same";
    const TNonClient shown = NonClientOnceSettled(Window, [](const TNonClient& n) { return n.Own == 0; });
    EXPECT_EQ(shown.Own, 0) << "what the window paints there stays off screen";
    std::printf("no region: window 320x240, client %ldx%ld, WM_NCPAINT %d, non-client pixels on screen: "
                "%d ours, %d other\n",
                client.right, client.bottom, Record.NcPaints, shown.Own, shown.Other);
}

TEST_F(WineNonClientTest, WithRegionTheWindowPaintsItsWholeFrame)
{
    RECT before{};
    ::GetClientRect(Window, &before);
    const int paints = Record.NcPaints;
    SetRegion(true);
    RECT after{};
    ::GetClientRect(Window, &after);
    EXPECT_EQ(after.right, before.right) << "a region does not change the client";
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_GT(Record.NcPaints, paints) << "setting the region repaints the frame";
    const TNonClient shown = NonClientOnceSettled(Window, [](const TNonClient& n) { return n.Other == 0; });
    EXPECT_EQ(shown.Other, 0) << "every non-client pixel is the window's own";
    EXPECT_GT(shown.Own, 0);
    std::printf("region: client %ldx%ld, WM_NCPAINT %d more, non-client pixels on screen: %d ours, %d other\n",
                after.right, after.bottom, Record.NcPaints - paints, shown.Own, shown.Other);
}

// With a region, each of these goes through the system's default handling without a WM_NCPAINT.
TEST_F(WineNonClientTest, DefaultHandlingThatPaintsTheClassicFrameByItself)
{
    SetRegion(true);
    const HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
    struct TCase {
        const char* Name;
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
        bool PaintsClassic;
    };
    RECT r{};
    ::GetWindowRect(Window, &r);
    const LPARAM closePoint = MAKELPARAM(r.right - 12, r.top + 12);
    const TCase cases[] = {
        {"WM_SETTEXT", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Another caption"), true},
        {"WM_SETICON", WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon), true},
        {"WM_NCACTIVATE lParam -1", WM_NCACTIVATE, FALSE, -1, false},
        {"WM_NCLBUTTONDOWN HTCLOSE", WM_NCLBUTTONDOWN, HTCLOSE, closePoint, true},
    };
    for (const TCase& c : cases) {
        ::RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_EQ(NonClientOnceSettled(Window, [](const TNonClient& n) { return n.Other == 0; }).Other, 0) << c.Name;
        const int paints = Record.NcPaints;
        if (c.Msg == WM_NCLBUTTONDOWN) {
            // The button's tracking loop reads the cursor of each mouse message: moved off the
            // window and released there, so the press ends without closing it.
            ::SetCursorPos(5, 5);
            ::PostMessageW(Window, WM_MOUSEMOVE, 0, 0);
            ::PostMessageW(Window, WM_LBUTTONUP, 0, 0);
        }
        ::SendMessageW(Window, c.Msg, c.WParam, c.LParam);
        const bool sentNcPaint = Record.NcPaints != paints;
        Settle();
        const TNonClient shown =
            NonClientOnceSettled(Window, [&](const TNonClient& n) { return (n.Other > 0) == c.PaintsClassic; });
        EXPECT_FALSE(sentNcPaint) << c.Name;
        EXPECT_EQ(shown.Other > 0, c.PaintsClassic) << c.Name << ": " << shown.Other << " classic pixels";
        ASSERT_TRUE(::IsWindow(Window)) << c.Name;
        std::printf("%-26s WM_NCPAINT %s, classic non-client pixels after it: %d\n", c.Name,
                    sentNcPaint ? "sent" : "not sent", shown.Other);
    }
}

} // namespace
