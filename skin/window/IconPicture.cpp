// Drawing an icon onto the skin's key colour.
#include "skin/window/IconPicture.h"

#include "skin/pixels/PixelBuffer_win.h"
#include "toolkit/WinHandle.h"

#include <algorithm>
#include <cstdint>

namespace {

void DrawIconOn(const TPixelBuffer& target, HICON icon, int width, int height)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc)
        return;
    {
        const win::Select select(dc, DibHandle(target));
        ::DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    ::DeleteDC(dc);
}

} // namespace

TPixelBuffer IconOnKey(HICON icon, int width, int height)
{
    if (!icon || width <= 0 || height <= 0)
        return {};
    const win::Icon sized(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, width, height, 0)));
    if (!sized)
        return {};
    // Drawn on black and on white, a pixel that follows the background is mostly see-through
    // and becomes the key, so that the icon's soft edge does not turn into a pink fringe.
    TPixelBuffer onBlack = CreateDibBuffer(width, height);
    TPixelBuffer onWhite = CreateDibBuffer(width, height);
    onBlack.Fill(0xFF000000u);
    onWhite.Fill(0xFFFFFFFFu);
    DrawIconOn(onBlack, sized.get(), width, height);
    DrawIconOn(onWhite, sized.get(), width, height);
    const TPixelView black = onBlack.View(), white = onWhite.View();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t b = black.At(x, y), w = white.At(x, y);
            const int seeThrough = int(w & 0xFF) - int(b & 0xFF); // 255 × (1 − alpha), read in blue
            if (seeThrough > 127) {
                black.At(x, y) = 0xFFFF00FFu;
                continue;
            }
            // On black the colour came out multiplied by the alpha; take it back out.
            const int alpha = 255 - seeThrough;
            auto channel = [&](int shift) {
                return std::uint32_t(std::min(255, int((b >> shift) & 0xFF) * 255 / alpha)) << shift;
            };
            black.At(x, y) = 0xFF000000u | channel(16) | channel(8) | channel(0);
        }
    }
    return onBlack;
}
