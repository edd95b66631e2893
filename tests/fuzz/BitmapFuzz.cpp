// Feeds arbitrary bytes to the bitmap loader and paints whatever it accepts.
#include "skin/pixels/BitmapFile.h"
#include "skin/pixels/Blitters.h"
#include "skin/pixels/ImageTransforms.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/Region.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    TPixelBuffer image;
    try {
        image = LoadBitmapFile(std::span<const std::uint8_t>(data, size));
    } catch (const EBitmapError&) {
        return 0;
    }
    const TPixelView src = image.View();
    // Margins and frame numbers come from the file's own bytes, so odd skins get painted too.
    const int a = size > 0 ? data[size - 1] % 24 - 4 : 3;
    const int n = size > 1 ? data[size - 2] % 5 : 1;
    const TMargins margins{a, a / 2, a + 1, 2};
    TPixelBuffer canvas(23, 17);
    const TPixelView dst = canvas.View();
    DrawNineSlice(dst, {-3, 2, 20, 19}, src, TStrip::Horizontal, TCentre::Tile, TKeying::Transparent, n, 2, margins);
    DrawNineSlice(dst, {1, 1, 9, 9}, src, TStrip::Vertical, TCentre::Stretch, TKeying::Opaque, n, 1, margins);
    DrawThreeSlice(dst, {0, 0, 23, 6}, src, TStrip::Horizontal, TKeying::Transparent, n, 1, margins);
    DrawHorzStretch(dst, {2, 3, 30, 9}, src, TStrip::Horizontal, n, 3, margins);
    DrawFrameCentred(dst, {0, 0, 5, 5}, src, TKeying::Transparent, n, 1);
    TransparentBlit(dst, {-5, -5, 40, 40}, src);
    (void)RegionFromBitmap(src, 1, 1, {2, 0, 2}, kTransparentKey);
    if (image.Width() <= 256 && image.Height() <= 256) {
        MirrorImage(image.View());
        RotateLeft(image);
        RotateRight(image);
    }
    return 0;
}
