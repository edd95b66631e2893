// Format compatibility: a classic-style LZHUF coder, written apart from ours, reads what our encoder
// writes, and our decoder reads what it writes.
#include "tests/unit/ClassicLzhuf.h"
#include "tests/unit/LzhSamples.h"

#include "skin/archive/LzhEncoder.h"
#include "skin/archive/SkinReader.h"
#include "skin/archive/SkinWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

using lzhsamples::Random;

TBytes Text(size_t size)
{
    static const char* lines[] = {"[Personality]\r\n", "Left=left.bmp\r\n", "LeftTopHeight=30\r\n", "Trans=1\r\n",
                                  "[Buttons]\r\n", "NormalColour2=30,34,46\r\n", "; comment\r\n", "\r\n"};
    std::mt19937 rng(3);
    std::string s;
    while (s.size() < size)
        s += lines[rng() % 8];
    s.resize(size);
    return TBytes(s.begin(), s.end());
}

// Rows of a 24-bit bitmap: flat runs, gradients and a few noisy pixels.
TBytes BitmapRows(size_t size)
{
    std::mt19937 rng(5);
    TBytes out;
    while (out.size() < size) {
        const uint8_t base = static_cast<uint8_t>(rng());
        for (int x = 0; x < 300; ++x) {
            const bool noise = rng() % 50 == 0;
            out.push_back(noise ? static_cast<uint8_t>(rng()) : static_cast<uint8_t>(base + x / 16));
            out.push_back(static_cast<uint8_t>(base ^ 0x5A));
            out.push_back(0xFF);
        }
    }
    out.resize(size);
    return out;
}

struct TCase {
    const char* Name;
    TBytes Input;
};

std::vector<TCase> Cases()
{
    TBytes spaces(5000, ' '); // matches straight out of the space-filled ring
    TBytes runs;
    for (int i = 0; i < 256; ++i)
        runs.insert(runs.end(), static_cast<size_t>(1 + i % 70), static_cast<uint8_t>(i));
    return {{"empty", {}},
            {"one byte", {'Q'}},
            {"two bytes", {0x00, 0xFF}},
            {"spaces", spaces},
            {"text", Text(30000)},
            {"bitmap rows", BitmapRows(60000)},
            {"binary", Random(20000, 1)},
            {"runs", runs},
            {"every match length", lzhsamples::EveryMatch()},
            // Well past 0x8000 symbols: both trees are halved and rebuilt many times.
            {"rebuilds", Random(300000, 2)},
            {"large", BitmapRows(2000000)}};
}

// Our encoder's stream with the length field in front, as a skin archive has it (and the
// classic program's files too), and our decoder's reading of such a file.
TBytes OurFile(const TBytes& input)
{
    return TSkinWriter::CompressPayload(input);
}

TBytes OurDecode(const TBytes& file)
{
    TMemoryStream source{TBytes(file)};
    const TMemoryStream payload = TSkinReader::DecompressArchive(source);
    return TBytes(payload.Bytes().begin(), payload.Bytes().end());
}

} // namespace

TEST(ClassicLzhuf, ReadsWhatOurEncoderWrites)
{
    for (const TCase& c : Cases()) {
        const TBytes back = classic::Decode(OurFile(c.Input));
        EXPECT_EQ(back.size(), c.Input.size()) << c.Name;
        EXPECT_TRUE(back == c.Input) << c.Name;
    }
}

TEST(ClassicLzhuf, OurDecoderReadsWhatItWrites)
{
    for (const TCase& c : Cases()) {
        const TBytes file = classic::Encode(c.Input);
        ASSERT_GE(file.size(), 4u) << c.Name;
        // Its own round trip first, so a fault of the reconstruction is not blamed on ours.
        EXPECT_TRUE(classic::Decode(file) == c.Input) << c.Name << " (classic round trip)";
        const TBytes back = OurDecode(file);
        EXPECT_EQ(back.size(), c.Input.size()) << c.Name;
        EXPECT_TRUE(back == c.Input) << c.Name;
    }
}

TEST(ClassicLzhuf, ReadsOurCodesLongerThanSixteenBits)
{
    // Literal weights growing like Fibonacci numbers push the rarest leaves below depth 16;
    // such a parse needs our token encoder, since a matcher would copy the repeats.
    const unsigned weights[] = {400, 400, 800, 1200, 2000, 3200, 5200, 8400};
    TBytes expected;
    for (int symbol = 0; symbol < 8; ++symbol)
        expected.insert(expected.end(), weights[symbol] - 1, static_cast<uint8_t>(symbol));
    std::mt19937 rng(17);
    std::shuffle(expected.begin(), expected.end(), rng);
    for (int b = 8; b < 256; ++b)
        expected.push_back(static_cast<uint8_t>(b));
    std::vector<TLzhToken> tokens;
    for (uint8_t b : expected)
        tokens.push_back({1, b});
    tokens.push_back({60, 247});
    const TBytes copied(expected.end() - 248, expected.end() - 188);
    expected.insert(expected.end(), copied.begin(), copied.end());

    TLzhEncoder encoder;
    const TBytes stream = encoder.EncodeTokens(tokens);
    ASSERT_GT(encoder.Stats().LongestCode, 16);
    TBytes file(4);
    const uint32_t n = static_cast<uint32_t>(expected.size());
    std::memcpy(file.data(), &n, 4);
    file.insert(file.end(), stream.begin(), stream.end());
    EXPECT_TRUE(classic::Decode(file) == expected);
}

TEST(ClassicLzhuf, BothReadATruncatedStreamAsZeroBitsAlike)
{
    const TBytes file = OurFile(Text(5000));
    for (size_t keep : {size_t{4}, size_t{5}, file.size() / 2, file.size() - 1}) {
        const TBytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(keep));
        const TBytes ours = OurDecode(cut);
        const TBytes theirs = classic::Decode(cut);
        EXPECT_GE(ours.size(), 5000u) << keep;
        EXPECT_TRUE(ours == theirs) << "kept " << keep << " bytes";
    }
}
