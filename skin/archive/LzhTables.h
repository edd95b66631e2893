// Constants of the LZHUF stream and the fixed prefix code of the upper six offset bits.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

constexpr int kRingSize = 4096;
constexpr int kLookAhead = 60;        // longest match
constexpr int kThreshold = 2;         // longest length sent as literals
constexpr int kMinMatch = kThreshold + 1;
constexpr int kFirstPosition = kRingSize - kLookAhead;
constexpr uint8_t kFill = 0x20;
constexpr int kLengthBase = 256 - kMinMatch; // symbol = kLengthBase + length

// Upper offset bits u (0..63): a prefix code of 3 to 8 bits, shorter for nearer offsets.
struct TPositionCode {
    std::array<uint8_t, 64> Code{};    // left-aligned in 8 bits
    std::array<uint8_t, 64> Length{};
    std::array<uint8_t, 256> Upper{};  // by the next 8 stream bits: the u they start with
    std::array<uint8_t, 256> UpperLength{};
};

constexpr TPositionCode MakePositionCode()
{
    // How many of the 64 values get each length; the code is canonical in value order.
    constexpr std::array<int, 6> counts{1, 3, 8, 12, 24, 16};
    TPositionCode t;
    int u = 0;
    unsigned next = 0; // next free code, left-aligned in 8 bits
    for (int n = 0; n < 6; ++n) {
        const int length = 3 + n;
        for (int c = 0; c < counts[n]; ++c, ++u) {
            t.Code[u] = static_cast<uint8_t>(next);
            t.Length[u] = static_cast<uint8_t>(length);
            const unsigned span = 256u >> length;
            for (unsigned b = next; b < next + span; ++b) {
                t.Upper[b] = static_cast<uint8_t>(u);
                t.UpperLength[b] = static_cast<uint8_t>(length);
            }
            next += span;
        }
    }
    return t;
}

inline constexpr TPositionCode kPositionCode = MakePositionCode();

} // namespace lzh
