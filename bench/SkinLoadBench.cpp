// Time to load a skin as the skin data component does: decode the archive, parse the definition, build every object.
// usage: SkinLoadBench [ARCHIVE]   (without an archive, a synthetic skin of typical size)
#include "tests/unit/SkinFixture.h"
#include "tools/FileBytes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// What skin images mostly are: vertical shading with a darker rim, so rows repeat and pixels
// along a row agree.
TBytes ShadedBmp(int w, int h)
{
    TPixelBuffer image(w, h);
    const TPixelView v = image.View();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool rim = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const std::uint32_t shade = static_cast<std::uint32_t>(120 + (y * 100) / std::max(h, 1));
            v.At(x, y) = rim ? 0xFF203060u : 0xFF000000u | shade << 16 | shade << 8 | 0xF0u;
        }
    return MakeBmp(v);
}

// Every element the painters use, with images of the sizes a window skin has.
TBytes SyntheticSkin()
{
    std::string ini = "[TitlebarSkin]\nSkinName=Synthetic\n"
                      "[Personality]\nTop=top.bmp\nTopFrame=2\nTopTopHeight=40\nTopBotHeight=40\n"
                      "Left=side.bmp\nLeftFrame=2\nRight=side.bmp\nRightFrame=2\nBottom=bottom.bmp\nBottomFrame=2\n"
                      "TextBack=text.bmp\nmenuBar=bar.bmp\n"
                      "[Colours]\nButtonFace=236,233,216\nMenu=255,255,255\nHilight=49,106,197\n"
                      "[Buttons]\nBitmap=button.bmp\nCheckButton=check.bmp\nRadioButton=radio.bmp\n"
                      "LeftWidth=4\nRightWidth=4\nTopHeight=4\nBottomHeight=4\n"
                      "[MDICONTROLS]\nImage=mdi.bmp\n";
    TSkinFiles files{{"top.bmp", ShadedBmp(589, 60)}, {"side.bmp", ShadedBmp(16, 500)},
                     {"bottom.bmp", ShadedBmp(589, 16)}, {"text.bmp", ShadedBmp(120, 24)},
                     {"bar.bmp", ShadedBmp(60, 20)}, {"button.bmp", ShadedBmp(120, 24)},
                     {"check.bmp", ShadedBmp(104, 13)}, {"radio.bmp", ShadedBmp(104, 13)},
                     {"mdi.bmp", ShadedBmp(192, 16)}, {"caption.bmp", ShadedBmp(105, 21)},
                     {"strip.bmp", ShadedBmp(80, 20)}, {"scroll.bmp", ShadedBmp(368, 16)}};
    for (int i = 1; i <= 5; ++i)
        ini += "[BUTTON" + std::to_string(i) + "]\nAction=" + std::to_string(i) + "\nButtonImage=caption.bmp\n";
    for (const char* s : {"Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane",
                          "ToolBars", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
                          "MenuBackground", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
                          "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "UpDown.Horz", "UpDown.Vert"})
        ini += std::string("[") + s + "]\nImage=strip.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n";
    ini += "[Progress]\nBitmap=strip.bmp\n[Scrollbar]\nImage=scroll.bmp\n";
    return SkinArchive(ini, files);
}

struct TTimes {
    double Decode = 0, Parse = 0, Build = 0;
    double Total() const { return Decode + Parse + Build; }
};

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

TTimes LoadOnce(const TBytes& archive, size_t& objects)
{
    TTimes t;
    const auto t0 = TClock::now();
    TSkinReader reader;
    TMemoryStream source{TBytes(archive)};
    if (!reader.OpenArchive(source))
        throw std::runtime_error("archive of an unknown version");
    const auto t1 = TClock::now();
    TMemoryStream entry;
    std::string name;
    reader.FindEntry(".ini", entry, name);
    TQuickIni ini;
    ini.LoadFromStream(entry);
    const auto t2 = TClock::now();
    TSkinObjects model;
    model.BuildSkinObjects(reader, ini);
    const auto t3 = TClock::now();
    objects = model.Objects().size();
    t.Decode = Ms(t1 - t0);
    t.Parse = Ms(t2 - t1);
    t.Build = Ms(t3 - t2);
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const bool synthetic = argc < 2;
        const TBytes archive = synthetic ? SyntheticSkin() : ReadFileBytes(argv[1]);
        constexpr int kRuns = 50;
        std::vector<TTimes> runs;
        size_t objects = 0;
        for (int i = 0; i < kRuns; ++i)
            runs.push_back(LoadOnce(archive, objects));
        std::sort(runs.begin(), runs.end(), [](const TTimes& a, const TTimes& b) { return a.Total() < b.Total(); });
        const TTimes& best = runs.front();
        const TTimes& median = runs[runs.size() / 2];
        std::printf("SkinLoadBench: %s, %zu bytes, %zu objects\n", synthetic ? "synthetic skin" : argv[1],
                    archive.size(), objects);
        std::printf("SkinLoadBench: load %.3f ms best, %.3f ms median of %d (decode %.3f, parse %.3f, build %.3f ms "
                    "in the median run); goal under 5 ms\n",
                    best.Total(), median.Total(), kRuns, median.Decode, median.Parse, median.Build);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SkinLoadBench: %s\n", e.what());
        return 1;
    }
}
