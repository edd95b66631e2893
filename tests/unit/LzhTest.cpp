// LZH codec: round trips through our encoder, every match length and offset range, tree rebuilds,
// codes longer than 16 bits, input that ends early.
#include "skin/archive/Lzh.h"
#include "skin/archive/LzhEncoder.h"
#include "skin/archive/LzhTables.h"
#include "skin/archive/LzhTree.h"
#include "tests/unit/LzhSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

using lzhsamples::Decode;
using lzhsamples::Random;
using lzhsamples::Text;

// Half text, half binary, with runs: the kind of bytes a skin archive holds.
TBytes Mixed(size_t size)
{
    TBytes out;
    std::mt19937 rng(11);
    while (out.size() < size) {
        const TBytes text = Text(700 + rng() % 500);
        out.insert(out.end(), text.begin(), text.end());
        const TBytes bin = Random(300 + rng() % 900, rng());
        out.insert(out.end(), bin.begin(), bin.end());
        out.insert(out.end(), 100 + rng() % 400, static_cast<uint8_t>(rng()));
    }
    out.resize(size);
    return out;
}

void ExpectRoundTrip(const TBytes& input, const char* what)
{
    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    const TBytes back = Decode(stream, input.size());
    EXPECT_EQ(back.size(), input.size()) << what;
    EXPECT_TRUE(back == input) << what;
}

} // namespace

TEST(Lzh, RoundTripsTextBinaryEmptyAndLarge)
{
    const TBytes cases[][1] = {{TBytes{}},
                               {TBytes{'A'}},
                               {Text(10000)},
                               {Random(10000, 1)},
                               {TBytes(5000, 0)},
                               {TBytes(5000, ' ')},
                               {Mixed(2 * 1024 * 1024)}};
    const char* names[] = {"empty", "one byte", "text", "binary", "zeros", "spaces", "large mixed"};
    for (size_t i = 0; i < std::size(cases); ++i)
        ExpectRoundTrip(cases[i][0], names[i]);
}

TEST(Lzh, EncoderIsDeterministicAndCompressesText)
{
    const TBytes input = Text(20000);
    TLzhEncoder a;
    TLzhEncoder b;
    const TBytes first = a.Encode(input);
    EXPECT_EQ(first, b.Encode(input));
    EXPECT_LT(first.size(), input.size() / 3);
}

TEST(Lzh, ReachesEveryMatchLengthAndTheFarthestOffset)
{
    const TBytes input = lzhsamples::EveryMatch();

    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    for (int length = 3; length <= 60; ++length)
        EXPECT_GT(encoder.Stats().MatchesByLength[length], 0u) << "length " << length;
    EXPECT_EQ(encoder.Stats().LargestOffset, 4095u);
    EXPECT_TRUE(Decode(stream, input.size()) == input);
}

TEST(Lzh, MatchesReachIntoTheSpaceFilledRing)
{
    // A start of spaces is copied from the ring's fill, before any byte has been written.
    TBytes input(100, ' ');
    const TBytes tail = Text(50);
    input.insert(input.end(), tail.begin(), tail.end());
    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    EXPECT_GT(encoder.Stats().MatchesByLength[60], 0u);
    EXPECT_GT(encoder.Stats().MatchesByLength[40], 0u);
    EXPECT_TRUE(Decode(stream, input.size()) == input);
}

TEST(Lzh, MatchesThatEndWhereAnOutputBlockWouldEnd)
{
    // Output goes on in blocks of some power of two: a longest match that fills one to its very
    // end, followed by a literal, must neither run past it nor lose a byte.
    for (const size_t end : {size_t{4096}, size_t{8192}, size_t{16384}, size_t{32768}}) {
        TBytes input = Random(end - 60, static_cast<uint32_t>(end));
        const TBytes fragment(input.end() - 260, input.end() - 200);
        input.insert(input.end(), fragment.begin(), fragment.end());
        const TBytes tail = Random(100, 1);
        input.insert(input.end(), tail.begin(), tail.end());
        TLzhEncoder encoder;
        const TBytes stream = encoder.Encode(input);
        EXPECT_GT(encoder.Stats().MatchesByLength[60], 0u) << "end " << end;
        EXPECT_TRUE(Decode(stream, input.size()) == input) << "end " << end;
    }
}

TEST(Lzh, RebuildsTheTreeOnLongInput)
{
    // More than 0x8000 symbols, so the root reaches the limit several times on both sides.
    const TBytes input = Random(200000, 21);
    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    EXPECT_GE(encoder.Stats().Rebuilds, 5);
    EXPECT_TRUE(Decode(stream, input.size()) == input);
}

TEST(Lzh, TreeCodesLongerThanSixteenBitsLeadBackToTheirSymbol)
{
    // Weights growing like Fibonacci numbers, starting near the weight of the unused leaves,
    // make the deepest tree the frequency limit allows, and stay below it so nothing is halved.
    TLzhTree tree;
    const unsigned weights[] = {400, 400, 800, 1200, 2000, 3200, 5200, 8400};
    for (int symbol = 0; symbol < 8; ++symbol) {
        for (unsigned n = 0; n < weights[symbol]; ++n)
            tree.Update(symbol);
    }
    EXPECT_EQ(tree.Rebuilds(), 0);
    std::array<uint8_t, TLzhTree::kCharCount> bits{};
    int longest = 0;
    for (int symbol = 0; symbol < TLzhTree::kCharCount; ++symbol) {
        const int length = tree.CodeOf(symbol, bits);
        longest = std::max(longest, length);
        int node = tree.Son(TLzhTree::kRoot);
        for (int i = 0; i < length; ++i) {
            ASSERT_LT(node, TLzhTree::kTreeSize) << "code of " << symbol << " runs past a leaf";
            node = tree.Son(node + bits[i]);
        }
        EXPECT_EQ(node - TLzhTree::kTreeSize, symbol);
    }
    EXPECT_GT(longest, 16);
}

TEST(Lzh, CodesLongerThanSixteenBitsRoundTrip)
{
    // Literals with the Fibonacci-like weights above, in a parse no matcher would choose
    // (a matcher would turn the repeats into copies), then the rarest literals once more,
    // now at the bottom of the tree, and a copy.
    const unsigned weights[] = {400, 400, 800, 1200, 2000, 3200, 5200, 8400};
    std::vector<uint8_t> pool;
    for (int symbol = 0; symbol < 8; ++symbol)
        pool.insert(pool.end(), weights[symbol] - 1, static_cast<uint8_t>(symbol));
    std::mt19937 rng(17);
    std::shuffle(pool.begin(), pool.end(), rng);
    std::vector<TLzhToken> tokens;
    TBytes expected;
    for (uint8_t b : pool) {
        tokens.push_back({1, b});
        expected.push_back(b);
    }
    for (int b = 8; b < 256; ++b) {
        tokens.push_back({1, static_cast<uint16_t>(b)});
        expected.push_back(static_cast<uint8_t>(b));
    }
    tokens.push_back({60, 247});
    const TBytes copied(expected.end() - 248, expected.end() - 188);
    expected.insert(expected.end(), copied.begin(), copied.end());

    TLzhEncoder encoder;
    const TBytes stream = encoder.EncodeTokens(tokens);
    EXPECT_GT(encoder.Stats().LongestCode, 16);
    EXPECT_EQ(encoder.Stats().Rebuilds, 0);
    EXPECT_TRUE(Decode(stream, expected.size()) == expected);
}

TEST(Lzh, InputThatEndsEarlyDecodesAsZeroBits)
{
    const TBytes input = Text(10000);
    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    const TBytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
    TBytes padded = cut;
    padded.resize(stream.size() * 40, 0);

    const TBytes fromCut = Decode(cut, input.size());
    EXPECT_GE(fromCut.size(), input.size());
    EXPECT_LT(fromCut.size(), input.size() + 60);
    EXPECT_TRUE(std::equal(input.begin(), input.begin() + 1000, fromCut.begin()))
        << "what the stream still holds decodes as before";
    EXPECT_TRUE(fromCut == Decode(padded, input.size())) << "missing bytes read as zeros";

    const TBytes fromNothing = Decode({}, 500);
    EXPECT_GE(fromNothing.size(), 500u);
    EXPECT_TRUE(fromNothing == Decode(TBytes(4000, 0), 500));
}

TEST(Lzh, DeliversTheDeclaredCountInBlocksWhateverTheReadSize)
{
    // A read procedure that hands out one byte at a time gives the same result.
    const TBytes input = Mixed(50000);
    TLzhEncoder encoder;
    const TBytes stream = encoder.Encode(input);
    TBytes out;
    size_t at = 0;
    TLZH decoder;
    decoder.Decode(
        input.size(), [&out](const uint8_t* b, size_t n) { out.insert(out.end(), b, b + n); },
        [&](uint8_t* b, size_t n) {
            if (n == 0 || at == stream.size())
                return size_t(0);
            *b = stream[at++];
            return size_t(1);
        });
    EXPECT_TRUE(out == input);
}

TEST(Lzh, StartTreeAndOffsetCodeMatchThePublishedLayout)
{
    // In the start tree leaf i sits at node i and node 314 + k joins nodes 2k and 2k + 1, so
    // leaves 0..115 hang at depth 9 and the rest at depth 8: eight 0 bits lead from the root to
    // leaf 116 ('t'), nine 1 bits to leaf 115 ('s'), eight 1 bits and a 0 to leaf 114 ('r').
    TLzhEncoder encoder;
    EXPECT_EQ(encoder.Encode(TBytes{'t'}), TBytes{0x00});
    EXPECT_EQ(encoder.Encode(TBytes{'s'}), (TBytes{0xFF, 0x80}));
    EXPECT_EQ(encoder.Encode(TBytes{'r'}), (TBytes{0xFF, 0x00}));
    EXPECT_EQ(Decode({0x00}, 1), TBytes{'t'});
    EXPECT_EQ(Decode({0xFF, 0x80}, 1), TBytes{'s'});
    EXPECT_EQ(Decode({0xFF}, 1), TBytes{'r'}) << "the ninth bit, past the input, reads as 0";

    // The upper offset code: 3 bits for 0, then 4, 5, 6, 7 and 8 bits, canonical.
    const auto& p = lzh::kPositionCode;
    const struct {
        int Upper;
        int Code;
        int Length;
    } anchors[] = {{0, 0x00, 3}, {1, 0x20, 4}, {3, 0x40, 4}, {4, 0x50, 5}, {11, 0x88, 5}, {12, 0x90, 6},
                   {23, 0xBC, 6}, {24, 0xC0, 7}, {47, 0xEE, 7}, {48, 0xF0, 8}, {63, 0xFF, 8}};
    for (const auto& a : anchors) {
        EXPECT_EQ(p.Code[a.Upper], a.Code) << a.Upper;
        EXPECT_EQ(p.Length[a.Upper], a.Length) << a.Upper;
    }
    // Every byte value starts exactly one code, so decoding never meets a gap.
    for (int b = 0; b < 256; ++b) {
        const int u = p.Upper[b];
        EXPECT_EQ(p.UpperLength[b], p.Length[u]);
        EXPECT_EQ(b >> (8 - p.Length[u]), p.Code[u] >> (8 - p.Length[u])) << b;
    }
}

TEST(Lzh, EveryOffsetCopiesFromWhereItPoints)
{
    // After 4096 known bytes, a copy of three from every offset 0..4095 in turn; the expected
    // text follows from "offset o copies from o + 1 bytes back", byte by byte.
    TBytes expected = Random(4096, 33);
    std::vector<TLzhToken> tokens;
    for (uint8_t b : expected)
        tokens.push_back({1, b});
    for (unsigned offset = 0; offset < 4096; ++offset) {
        tokens.push_back({3, static_cast<uint16_t>(offset)});
        for (int k = 0; k < 3; ++k)
            expected.push_back(expected[expected.size() - offset - 1]);
    }
    TLzhEncoder encoder;
    const TBytes stream = encoder.EncodeTokens(tokens);
    EXPECT_EQ(encoder.Stats().LargestOffset, 4095u);
    EXPECT_TRUE(Decode(stream, expected.size()) == expected);
}
