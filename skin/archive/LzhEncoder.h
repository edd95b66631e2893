// TLzhEncoder writes the LZHUF stream that TLZH reads, for the tools that build skin archives.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// What the last Encode emitted, so tests can tell which parts of the format an input reached.
struct TLzhEncodeStats {
    size_t Literals = 0;
    std::array<size_t, 61> MatchesByLength{}; // index = match length, 3..60 used
    int Rebuilds = 0;
    int LongestCode = 0;                      // bits of the longest symbol code written
    unsigned LargestOffset = 0;               // 0..4095
};

// One step of a parse: a literal byte (Length 1, Value the byte) or a copy of Length 3..60
// bytes from Value + 1 bytes back (Value 0..4095).
struct TLzhToken {
    uint16_t Length = 1;
    uint16_t Value = 0;
};

class TLzhEncoder {
public:
    // The bit stream only; the archive's length field is the caller's. Same input, same bytes.
    std::vector<uint8_t> Encode(std::span<const uint8_t> input);
    // A parse chosen by the caller, for inputs no matcher would produce (invalid tokens are
    // a programmer error and are not checked beyond their ranges).
    std::vector<uint8_t> EncodeTokens(std::span<const TLzhToken> tokens);

    const TLzhEncodeStats& Stats() const noexcept { return FStats; }

private:
    TLzhEncodeStats FStats;
};
