// Time to compose a caption band and to build the window region of a skinned frame, at common window sizes.
// usage: FrameBench ARCHIVE
#include "skin/window/CaptionComposer.h"
#include "skin/window/CaptionText.h"
#include "skin/window/FrameRegion.h"
#include "tests/unit/SkinFixture.h"
#include "tools/FileBytes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// Median of the runs, in microseconds.
double MedianMicros(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = TClock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(TClock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: FrameBench ARCHIVE\n");
        return 2;
    }
    try {
        const TSkinFixture skin(ReadFileBytes(argv[1]));
        const TSkinObjects& model = skin.Model;
        const TFrameBorders borders = ComputeBorders(model, TBorderKind::Sizeable);
        std::printf("FrameBench: %s, borders %d %d %d %d\n", argv[1], borders.Left, borders.Top, borders.Right,
            borders.Bottom);
        for (const auto& [w, h] : {std::pair{589, 560}, {1280, 800}, {1920, 1080}}) {
            std::vector<TCaptionButton> buttons;
            for (const auto& d : model.CaptionButtons) {
                TCaptionButton b;
                b.Data = d.get();
                buttons.push_back(b);
            }
            TCaptionWindow window;
            window.Boxes = caption_box::kSysMenu | caption_box::kMinimize | caption_box::kMaximize;
            const TPixelRect caption{0, 0, w, borders.Top};
            size_t rects = 0;
            // What one caption paint does apart from GDI's text: place, lay out and compose.
            const double compose = MedianMicros(200, [&] {
                UpdateSysButtons(buttons, window, {});
                const TCaptionTextPlacement text = PlaceCaptionText(
                    {caption, 140, 14, TReading::LeftToRight, false, false, RightButtonArea(buttons)}, model.Title);
                TButtonLayoutFrame layout;
                layout.Width = w;
                layout.Borders = borders;
                layout.CaptionText = text.Text;
                LayoutSysButtons(buttons, layout);
                TPixelBuffer band(w, borders.Top);
                const TCaptionScene scene{w, h, borders, TShowState::Normal, TActivation::Active, text.Background};
                ComposeCaptionBackground(band.View(), model, scene);
                ComposeCaptionButtons(band.View(), buttons, TActivation::Active, {});
            });
            // What each size change costs until the system has the region.
            const double region = MedianMicros(200, [&] {
                rects = BuildFrameRegion(model, w, h, borders, TBorderKind::Sizeable).Rects.size();
            });
            std::printf("FrameBench: %4d x %4d: caption band %.1f us, region %.1f us (%zu rectangles), median of 200; "
                        "goal under 1000 us each\n",
                w, h, compose, region, rects);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FrameBench: %s\n", e.what());
        return 1;
    }
}
