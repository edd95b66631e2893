// A second, independent LZHUF coder in the style of the classic published program, kept only
// to check that our codec speaks the same format.
//
// This is our own reconstruction, written from memory of the published algorithm (binary-tree
// matcher, adaptive Huffman tree of 314 symbols, fixed tables for the upper six offset bits),
// not a copy of that program. It deliberately shares no code or tables with skin/Lzh*, so a
// fault there cannot hide in both.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace classic {

// The classic file layout: a 4-byte little-endian length, then the bit stream. This is also
// the outer layer of a skin archive, so archives decode with it unchanged.
std::vector<uint8_t> Encode(std::span<const uint8_t> input);

// Decodes a whole file as above; a stream that ends early reads as zero bits, as in the
// published program. Like it, a final match is copied whole, so the result can run up to 59
// bytes past the declared length.
std::vector<uint8_t> Decode(std::span<const uint8_t> file);

} // namespace classic
