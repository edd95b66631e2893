// Times the skin painters on a main-window-sized frame: nine-slice paint, transparent blit, region build.
#include "skin/pixels/Blitters.h"
#include "skin/pixels/Painters.h"
#include "skin/pixels/Region.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 589, kHeight = 560;

// A border image of three 60 × 60 frames with a distinct colour per pixel and a magenta rim.
TPixelBuffer SkinImage()
{
    TPixelBuffer image(180, 60);
    const TPixelView v = image.View();
    for (int y = 0; y < v.Height; ++y)
        for (int x = 0; x < v.Width; ++x)
            v.At(x, y) = (x % 60 < 2 || y < 2) ? 0xFFFF00FF : 0xFF000000u | static_cast<std::uint32_t>(x << 8 | y);
    return image;
}

// A window-shaped image: magenta corners and a few holes per row, as skin masks have.
TPixelBuffer ShapeImage()
{
    TPixelBuffer image(kWidth, kHeight);
    const TPixelView v = image.View();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool corner = (x < 8 && y < 8 - x) || (x >= kWidth - 8 && y < x - (kWidth - 9));
            v.At(x, y) = corner || (x % 97 == 5) ? 0xFFFF00FF : 0xFFC0C0C0;
        }
    return image;
}

template <class F>
double MicrosecondsPerRun(int runs, F&& f)
{
    f(); // warm caches and the allocator
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        f();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

} // namespace

int main()
{
    const TPixelBuffer skin = SkinImage();
    const TPixelBuffer shape = ShapeImage();
    TPixelBuffer canvas(kWidth, kHeight);
    const TMargins margins{20, 24, 20, 18};
    std::uint32_t sink = 0;

    const double tiled = MicrosecondsPerRun(500, [&] {
        DrawNineSlice(canvas.View(), {0, 0, kWidth, kHeight}, skin.View(), TStrip::Horizontal, TCentre::Tile,
            TKeying::Opaque, 3, 2, margins);
        sink += canvas.View().At(300, 300);
    });
    const double stretched = MicrosecondsPerRun(500, [&] {
        DrawNineSlice(canvas.View(), {0, 0, kWidth, kHeight}, skin.View(), TStrip::Horizontal, TCentre::Stretch,
            TKeying::Opaque, 3, 2, margins);
        sink += canvas.View().At(300, 300);
    });
    const double keyed = MicrosecondsPerRun(500, [&] {
        DrawNineSlice(canvas.View(), {0, 0, kWidth, kHeight}, skin.View(), TStrip::Horizontal, TCentre::Stretch,
            TKeying::Transparent, 3, 1, margins);
        sink += canvas.View().At(1, 1);
    });
    const double blit = MicrosecondsPerRun(500, [&] {
        TransparentBlit(canvas.View(), {0, 0, kWidth, kHeight}, shape.View());
        sink += canvas.View().At(5, 5);
    });
    size_t rectCount = 0;
    const double region = MicrosecondsPerRun(200, [&] {
        const auto rects = RegionFromBitmap(shape.View(), 0, 0, {}, kTransparentKey);
        rectCount = rects.size();
    });

    std::printf("PixelBench, %d x %d\n", kWidth, kHeight);
    std::printf("  nine-slice, tiled centre        %8.1f us\n", tiled);
    std::printf("  nine-slice, stretched centre    %8.1f us\n", stretched);
    std::printf("  nine-slice, transparent         %8.1f us\n", keyed);
    std::printf("  transparent blit                %8.1f us\n", blit);
    std::printf("  region build (%zu rectangles) %8.1f us\n", rectCount, region);
    std::printf("  (checksum %u)\n", static_cast<unsigned>(sink));
    return 0;
}
