// The Windows edges of the skin pixels: DIB-section buffers GDI draws into, the one transfer to a
// window, system colours from GetSysColor, and regions joined in blocks.
#include "skin/pixels/Blitters.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "skin/pixels/Region.h"
#include "skin/pixels/Region_win.h"
#include "skin/pixels/SystemColors_win.h"
#include "toolkit/WinHandle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A memory DC with the buffer's DIB section selected, deselected before the DC goes.
class TDibDC {
public:
    explicit TDibDC(const TPixelBuffer& buffer) : FDC(CreateCompatibleDC(nullptr)), FOld(SelectObject(FDC, DibHandle(buffer))) {}
    TDibDC(const TDibDC&) = delete;
    TDibDC& operator=(const TDibDC&) = delete;
    ~TDibDC()
    {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    HDC get() const noexcept { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

int CountDark(const TPixelView& v, const TPixelRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += (v.At(x, y) & 0xFFFFFF) < 0x808080 ? 1 : 0;
    return n;
}

// A bare popup window on the rig's display, shown so that its DC has pixels to read back.
win::Window ShownPopup(int w, int h)
{
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        UpdateWindow(hwnd);
    return win::Window(hwnd);
}

long long RegionArea(HRGN rgn)
{
    const DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<BYTE> data(size);
    if (size == 0 || GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(data.data())) != size)
        return -1;
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    long long area = 0;
    for (DWORD i = 0; i < header->nCount; ++i)
        area += static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    return area;
}

} // namespace

TEST(SkinPixelsWin, GdiTextLandsInTheBufferPixels)
{
    TPixelBuffer buffer = CreateDibBuffer(80, 24);
    ASSERT_NE(DibHandle(buffer), nullptr);
    buffer.Fill(0xFFFFFF);
    {
        TDibDC dc(buffer);
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), RGB(0, 0, 0));
        const RECT left{0, 0, 40, 24};
        DrawTextW(dc.get(), L"Hg", -1, const_cast<RECT*>(&left), DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
        GdiFlush();
    }
    const TPixelView v = buffer.View();
    EXPECT_GT(CountDark(v, {0, 0, 40, 24}), 10) << "the text's pixels are in the buffer";
    EXPECT_EQ(CountDark(v, {50, 0, 80, 24}), 0) << "nothing outside where it was drawn";
    EXPECT_EQ(v.At(79, 23) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(SkinPixelsWin, PaintersAndGdiShareOneImage)
{
    // What a painter writes, GDI reads: the DIB's row 0 is the top row, blue in the low byte.
    TPixelBuffer buffer = CreateDibBuffer(4, 3);
    buffer.Fill(0x000000);
    buffer.View().At(0, 0) = 0x0000FF; // blue
    buffer.View().At(3, 2) = 0xFF0000; // red
    TDibDC dc(buffer);
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.get(), 3, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(0, 0, 0));

    // A plain-memory buffer has no DIB behind it; an empty size gives an empty buffer.
    EXPECT_EQ(DibHandle(TPixelBuffer(4, 4)), nullptr);
    EXPECT_TRUE(CreateDibBuffer(0, 5).IsEmpty());
}

TEST(SkinPixelsWin, OneTransferPutsTheBufferOnAWindow)
{
    const win::Window popup = ShownPopup(40, 30);
    ASSERT_TRUE(popup);
    TPixelBuffer image(20, 10);
    const TPixelView v = image.View();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            v.At(x, y) = (x < 10 ? 0x00C000u : 0x0000C0u) | (y < 5 ? 0xC00000u : 0u);

    win::WindowDC dc(popup.get());
    ASSERT_NE(dc.get(), nullptr);
    EXPECT_TRUE(PutPixels(dc.get(), 5, 7, image));
    GdiFlush();
    // Corners of each quadrant, read back through the window's own DC.
    EXPECT_EQ(GetPixel(dc.get(), 5, 7), RGB(0xC0, 0xC0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 24, 7), RGB(0xC0, 0, 0xC0));
    EXPECT_EQ(GetPixel(dc.get(), 5, 16), RGB(0, 0xC0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 24, 16), RGB(0, 0, 0xC0));
    EXPECT_NE(GetPixel(dc.get(), 25, 16), RGB(0, 0, 0xC0)) << "nothing past the image";

    EXPECT_TRUE(PutPixels(dc.get(), 0, 0, TPixelBuffer())) << "an empty buffer is nothing to do";
}

TEST(SkinPixelsWin, SystemColourReferencesResolveThroughGetSysColor)
{
    const TSystemColors sys = CurrentSystemColors();
    for (int i = 0; i < TSystemColors::kCount; ++i)
        EXPECT_EQ(sys[i], GetSysColor(i)) << "index " << i;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ResolveColor(0xFF000000u | COLOR_BTNFACE, sys), face);
    EXPECT_EQ(ToPixel(0xFF000000u | COLOR_BTNFACE, sys) & 0xFFFFFF,
              static_cast<uint32_t>(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face));
    EXPECT_EQ(ResolveColor(0x00123456, sys), 0x00123456u) << "plain colours stay";
}

TEST(SkinPixelsWin, RegionsJoinBlocksOfRectanglesIntoOneShape)
{
    // A checkerboard: every opaque pixel is a run of its own, 2500 rectangles, a full block
    // and a part of one, so both must reach the result.
    TPixelBuffer board(100, 50);
    const TPixelView v = board.View();
    int opaque = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool key = (x + y) % 2 == 0;
            v.At(x, y) = key ? kTransparentKey : 0x336699;
            opaque += key ? 0 : 1;
        }
    const std::vector<TPixelRect> rects = RegionFromBitmap(v, 10, 20, {}, kTransparentKey);
    ASSERT_EQ(rects.size(), 2500u);
    const win::GdiObject<HRGN> rgn = CreateRegionFromRects(rects);
    ASSERT_TRUE(rgn);
    EXPECT_EQ(RegionArea(rgn.get()), opaque);
    EXPECT_TRUE(PtInRegion(rgn.get(), 10 + 1, 20 + 0));    // first block
    EXPECT_FALSE(PtInRegion(rgn.get(), 10 + 0, 20 + 0));   // a key pixel
    EXPECT_TRUE(PtInRegion(rgn.get(), 10 + 98, 20 + 49));  // the last rectangle, second block
    EXPECT_FALSE(PtInRegion(rgn.get(), 10 + 99, 20 + 49));
    RECT box{};
    EXPECT_EQ(GetRgnBox(rgn.get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 110);
    EXPECT_EQ(box.bottom, 70);

    // No rectangles (an all-key image) make an empty region, not a failure.
    const win::GdiObject<HRGN> empty = CreateRegionFromRects({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
}
