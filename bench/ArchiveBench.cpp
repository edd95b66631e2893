// Skin archive codec throughput: encode and decode a 10 MB mix of text and binary, best of several runs.
#include "skin/archive/Lzh.h"
#include "skin/archive/LzhEncoder.h"
#include "tests/unit/ClassicLzhuf.h"
#include "tests/unit/LzhSamples.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;
using TClock = std::chrono::steady_clock;

// Definition-like text, bitmap-like rows with repeats, and noise, in blocks.
TBytes MakeInput(size_t size)
{
    static const char* words[] = {"[Form]\r\n", "Caption=", "title.bmp", "Left=", "Margin=4,4,4,4\r\n",
                                  "Colour=0x00FF00FF\r\n", "Tile=1\r\n", "[Button]\r\n", "Frames=4\r\n", " "};
    std::mt19937 rng(1);
    TBytes out;
    out.reserve(size + 4096);
    while (out.size() < size) {
        switch (rng() % 3) {
        case 0:
            for (int i = 0; i < 200; ++i) {
                const char* w = words[rng() % 10];
                out.insert(out.end(), w, w + std::strlen(w));
            }
            break;
        case 1: {
            // A 32-bit pixel row of a few colours, repeated with small changes.
            TBytes row(256);
            for (size_t i = 0; i < row.size(); i += 4) {
                const uint32_t c = (rng() % 4 == 0) ? rng() : 0xFFFF00FFu;
                std::memcpy(&row[i], &c, 4);
            }
            for (int r = 0; r < 8; ++r) {
                row[rng() % row.size()] ^= 1;
                out.insert(out.end(), row.begin(), row.end());
            }
            break;
        }
        default:
            for (int i = 0; i < 1024; ++i)
                out.push_back(static_cast<uint8_t>(rng()));
        }
    }
    out.resize(size);
    return out;
}

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace

int main()
{
    const size_t size = 10 * 1000 * 1000;
    const TBytes input = MakeInput(size);
    const int runs = 3;

    TBytes stream;
    double bestEncode = 1e9;
    for (int i = 0; i < runs; ++i) {
        TLzhEncoder encoder;
        const auto start = TClock::now();
        stream = encoder.Encode(input);
        bestEncode = std::min(bestEncode, Seconds(TClock::now() - start));
    }

    double bestDecode = 1e9;
    TBytes output;
    for (int i = 0; i < runs; ++i) {
        output.clear();
        output.reserve(size + 64);
        const auto start = TClock::now();
        lzhsamples::DecodeInto(stream, size, output);
        bestDecode = std::min(bestDecode, Seconds(TClock::now() - start));
    }
    if (output != input) {
        std::printf("ArchiveBench: decoded output differs from the input\n");
        return 1;
    }
    // The same stream through our classic-style reconstruction (built -O2, see bench/CMakeLists.txt),
    // the yardstick for "as fast as the published program".
    TBytes file(4);
    const uint32_t declared = static_cast<uint32_t>(size);
    std::memcpy(file.data(), &declared, 4);
    file.insert(file.end(), stream.begin(), stream.end());
    double bestClassic = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        const TBytes classicOut = classic::Decode(file);
        bestClassic = std::min(bestClassic, Seconds(TClock::now() - start));
        if (classicOut != input) {
            std::printf("ArchiveBench: the classic-style decoder read something else\n");
            return 1;
        }
    }

    const double mb = static_cast<double>(size) / 1e6;
    std::printf("ArchiveBench: %.1f MB input, %.1f MB compressed (%.1f%%)\n", mb, static_cast<double>(stream.size()) / 1e6,
                100.0 * static_cast<double>(stream.size()) / static_cast<double>(size));
    std::printf("ArchiveBench: encode %.1f MB/s (%.3f s), decode %.1f MB/s (%.3f s), best of %d\n", mb / bestEncode,
                bestEncode, mb / bestDecode, bestDecode, runs);
    std::printf("ArchiveBench: classic-style decode %.1f MB/s (%.3f s); ours runs at %.2f times its speed\n",
                mb / bestClassic, bestClassic, bestClassic / bestDecode);
    return 0;
}
