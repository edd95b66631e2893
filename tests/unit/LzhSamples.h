// Inputs for the LZH coder tests and benchmark: random bytes, definition-like text, a stream
// that forces every match length and the farthest offset; and decoding a whole stream.
#pragma once

#include "skin/archive/Lzh.h"

#include <algorithm>
#include <cstring>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lzhsamples {

using TBytes = std::vector<uint8_t>;

inline TBytes Random(size_t size, uint32_t seed)
{
    std::mt19937 rng(seed);
    TBytes out(size);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng());
    return out;
}

inline TBytes Text(size_t size)
{
    static const char* words[] = {"[Form]", "Caption=", "Title.bmp", "Left", "Margin=4,4,4,4", "\r\n",
                                  "Colour=0x00FF00FF", " ", "Tile=1", "Buttons"};
    std::mt19937 rng(7);
    std::string s;
    while (s.size() < size)
        s += words[rng() % 10];
    s.resize(size);
    return TBytes(s.begin(), s.end());
}

// Each fragment of 3..60 bytes appears twice, the copy followed by a different byte than the
// original, so its match stops at exactly the fragment's length; then a block repeated
// exactly one ring length later, which sits at the largest offset.
inline TBytes EveryMatch()
{
    TBytes input = Random(200, 3);
    for (int length = 3; length <= 60; ++length) {
        const TBytes fragment = Random(static_cast<size_t>(length), 100 + length);
        input.insert(input.end(), fragment.begin(), fragment.end());
        input.push_back(0xAA);
        input.insert(input.end(), fragment.begin(), fragment.end());
        input.push_back(0x55);
    }
    const TBytes block = Random(4096, 9);
    input.insert(input.end(), block.begin(), block.end());
    input.insert(input.end(), block.begin(), block.end());
    return input;
}

// Appends the count bytes the stream decodes to, read from memory as the archive reader does.
inline void DecodeInto(const TBytes& stream, size_t count, TBytes& out)
{
    size_t at = 0;
    TLZH decoder;
    decoder.Decode(
        count, [&out](const uint8_t* b, size_t n) { out.insert(out.end(), b, b + n); },
        [&](uint8_t* b, size_t n) {
            const size_t got = std::min(n, stream.size() - at);
            if (got != 0)
                std::memcpy(b, stream.data() + at, got);
            at += got;
            return got;
        });
}

inline TBytes Decode(const TBytes& stream, size_t count)
{
    TBytes out;
    DecodeInto(stream, count, out);
    return out;
}

} // namespace lzhsamples
