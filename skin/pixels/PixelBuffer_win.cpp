// DIB-section storage for pixel buffers and the one transfer that puts them on screen.
#include "skin/pixels/PixelBuffer_win.h"

#include "toolkit/WinHandle.h"

#include <stdexcept>
#include <utility>

namespace {

BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: row 0 is the top row, as TPixelView expects
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

class TDibStorage final : public TPixelStorage {
public:
    TDibStorage(win::GdiObject<HBITMAP> bitmap, std::uint32_t* bits) noexcept : FBitmap(std::move(bitmap)), FBits(bits) {}
    std::uint32_t* Bits() noexcept override { return FBits; }
    HBITMAP Bitmap() const noexcept { return FBitmap.get(); }

private:
    win::GdiObject<HBITMAP> FBitmap;
    std::uint32_t* FBits;
};

} // namespace

TPixelBuffer CreateDibBuffer(int width, int height)
{
    if (width <= 0 || height <= 0)
        return TPixelBuffer(width < 0 ? 0 : width, height < 0 ? 0 : height);
    const BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    win::GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        throw std::runtime_error("cannot create a DIB section");
    return TPixelBuffer(width, height, std::make_unique<TDibStorage>(std::move(bitmap), static_cast<std::uint32_t*>(bits)));
}

HBITMAP DibHandle(const TPixelBuffer& buffer) noexcept
{
    const auto* dib = dynamic_cast<const TDibStorage*>(buffer.Storage());
    return dib ? dib->Bitmap() : nullptr;
}

bool PutPixels(HDC dc, int x, int y, const TPixelBuffer& buffer) noexcept
{
    if (buffer.IsEmpty())
        return true;
    // GDI may still be drawing text into a DIB section; it must finish before we read it.
    GdiFlush();
    const BITMAPINFO info = TopDownInfo(buffer.Width(), buffer.Height());
    return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(buffer.Width()), static_cast<DWORD>(buffer.Height()), 0, 0, 0,
               static_cast<UINT>(buffer.Height()), buffer.View().Bits, &info, DIB_RGB_COLORS)
        != 0;
}

bool PutPixelRect(HDC dc, int x, int y, const TPixelBuffer& buffer, const TPixelRect& part) noexcept
{
    const TPixelRect r = Intersect(part, buffer.View().Bounds());
    const HBITMAP section = DibHandle(buffer);
    if (r.IsEmpty())
        return true;
    if (!section)
        return false;
    GdiFlush();
    const HDC source = CreateCompatibleDC(dc);
    if (!source)
        return false;
    const HGDIOBJ old = SelectObject(source, section);
    const bool done = BitBlt(dc, x, y, r.Width(), r.Height(), source, r.Left, r.Top, SRCCOPY) != FALSE;
    SelectObject(source, old);
    DeleteDC(source);
    return done;
}
