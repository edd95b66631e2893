// LZHUF encoding: greedy matches from hash chains over the ring's history, the adaptive tree
// for literals and lengths, the fixed prefix code for offsets.
#include "skin/archive/LzhEncoder.h"

#include "skin/archive/LzhTables.h"
#include "skin/archive/LzhTree.h"

#include <algorithm>

namespace {

class TBitOutput {
public:
    explicit TBitOutput(std::vector<uint8_t>& out) : FOut(out) {}

    void Bit(unsigned bit)
    {
        FByte = static_cast<uint8_t>((FByte << 1) | (bit & 1));
        if (++FCount == 8) {
            FOut.push_back(FByte);
            FByte = 0;
            FCount = 0;
        }
    }

    // The low count bits of value, most significant first.
    void Bits(unsigned value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            Bit((value >> i) & 1);
    }

    // Pads the last byte with zeros, which a reader past our data also assumes.
    void Flush()
    {
        if (FCount != 0)
            FOut.push_back(static_cast<uint8_t>(FByte << (8 - FCount)));
        FByte = 0;
        FCount = 0;
    }

private:
    std::vector<uint8_t>& FOut;
    uint8_t FByte = 0;
    int FCount = 0;
};

// Codes literals, lengths and offsets into the bit stream and keeps the statistics.
class TTokenWriter {
public:
    TTokenWriter(std::vector<uint8_t>& out, TLzhEncodeStats& stats) : FBits(out), FStats(stats) {}

    void Literal(uint8_t byte)
    {
        Symbol(byte);
        ++FStats.Literals;
    }

    void Match(int length, unsigned offset)
    {
        Symbol(lzh::kLengthBase + length);
        const unsigned upper = offset >> 6;
        const int codeLength = lzh::kPositionCode.Length[upper];
        FBits.Bits(lzh::kPositionCode.Code[upper] >> (8 - codeLength), codeLength);
        FBits.Bits(offset & 0x3F, 6);
        ++FStats.MatchesByLength[static_cast<size_t>(length)];
        FStats.LargestOffset = std::max(FStats.LargestOffset, offset);
    }

    void Finish()
    {
        FBits.Flush();
        FStats.Rebuilds = FTree.Rebuilds();
    }

private:
    void Symbol(int symbol)
    {
        const int length = FTree.CodeOf(symbol, FCode);
        for (int i = 0; i < length; ++i)
            FBits.Bit(FCode[i]);
        FStats.LongestCode = std::max(FStats.LongestCode, length);
        FTree.Update(symbol);
    }

    TBitOutput FBits;
    TLzhEncodeStats& FStats;
    TLzhTree FTree;
    std::array<uint8_t, TLzhTree::kCharCount> FCode{};
};

constexpr int kHashBits = 15;
constexpr int kMaxChain = 256;
constexpr int64_t kNone = -1;
// Chain links of the last 8 KiB of positions; older ones are beyond the ring's reach anyway.
constexpr size_t kChainMask = 8191;

unsigned Hash3(const uint8_t* p)
{
    const unsigned v = (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

} // namespace

std::vector<uint8_t> TLzhEncoder::Encode(std::span<const uint8_t> input)
{
    FStats = {};
    std::vector<uint8_t> out;
    out.reserve(input.size() / 2 + 16);
    TTokenWriter writer(out, FStats);

    // The decoder's ring starts with kFirstPosition spaces before the first byte, so matches
    // may reach into them: search one text made of that fill followed by the input.
    const size_t fill = lzh::kFirstPosition;
    std::vector<uint8_t> text(fill + input.size());
    std::fill_n(text.begin(), fill, lzh::kFill);
    std::copy(input.begin(), input.end(), text.begin() + static_cast<std::ptrdiff_t>(fill));

    std::vector<int64_t> head(size_t(1) << kHashBits, kNone);
    std::vector<int64_t> previous(kChainMask + 1, kNone);
    size_t inserted = 0;
    auto insertUpTo = [&](size_t end) {
        // Positions whose three bytes lie inside the text.
        for (; inserted < end && inserted + 2 < text.size(); ++inserted) {
            const unsigned h = Hash3(&text[inserted]);
            previous[inserted & kChainMask] = head[h];
            head[h] = static_cast<int64_t>(inserted);
        }
    };

    size_t pos = fill;
    while (pos < text.size()) {
        insertUpTo(pos);
        const size_t remaining = text.size() - pos;
        const size_t maxLength = std::min<size_t>(lzh::kLookAhead, remaining);
        size_t bestLength = 0;
        size_t bestDistance = 0;
        if (maxLength >= static_cast<size_t>(lzh::kMinMatch)) {
            const unsigned h = Hash3(&text[pos]);
            int chain = kMaxChain;
            for (int64_t cand = head[h]; cand != kNone && chain-- > 0; cand = previous[static_cast<size_t>(cand) & kChainMask]) {
                const size_t distance = pos - static_cast<size_t>(cand);
                if (distance > static_cast<size_t>(lzh::kRingSize))
                    break;
                size_t length = 0;
                while (length < maxLength && text[cand + length] == text[pos + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == maxLength)
                        break;
                }
            }
        }

        if (bestLength < static_cast<size_t>(lzh::kMinMatch)) {
            writer.Literal(text[pos]);
            ++pos;
            continue;
        }
        writer.Match(static_cast<int>(bestLength), static_cast<unsigned>(bestDistance - 1));
        pos += bestLength;
    }
    writer.Finish();
    return out;
}

std::vector<uint8_t> TLzhEncoder::EncodeTokens(std::span<const TLzhToken> tokens)
{
    FStats = {};
    std::vector<uint8_t> out;
    TTokenWriter writer(out, FStats);
    for (const TLzhToken& t : tokens) {
        if (t.Length <= 1)
            writer.Literal(static_cast<uint8_t>(t.Value));
        else
            writer.Match(std::clamp<int>(t.Length, lzh::kMinMatch, lzh::kLookAhead), t.Value & (lzh::kRingSize - 1u));
    }
    writer.Finish();
    return out;
}
