// The adaptive Huffman tree of LZHUF that codes literals and match lengths, shared by both directions.
#pragma once

#include <array>
#include <cstdint>

class TLzhTree {
public:
    static constexpr int kCharCount = 314;            // 256 literals and the lengths 3..60
    static constexpr int kTreeSize = 2 * kCharCount - 1;
    static constexpr int kRoot = kTreeSize - 1;
    static constexpr unsigned kMaxFreq = 0x8000;

    TLzhTree() noexcept;

    // Counts one more use of the symbol and restores the sibling order; rebuilds first
    // when the root has reached the frequency limit.
    void Update(int symbol) noexcept;

    // Node index of a child or, at or above kTreeSize, a leaf's symbol + kTreeSize.
    int Son(int node) const noexcept { return FSon[node]; }

    // The symbol's current code, root first, one bit per entry; returns its length. The tree
    // can be as deep as it has leaves, so codes are not limited to a machine word.
    int CodeOf(int symbol, std::array<uint8_t, kCharCount>& bits) const noexcept;

    int Rebuilds() const noexcept { return FRebuilds; }

private:
    void Reconstruct() noexcept;

    // One entry past the tree holds a sentinel no node reaches, so the sibling search stops.
    // Counts never pass kMaxFreq, so 16 bits hold them, and the narrower rows search faster.
    std::array<uint16_t, kTreeSize + 1> FFreq{};
    std::array<int, kTreeSize + kCharCount> FParent{};
    std::array<int, kTreeSize> FSon{};
    int FRebuilds = 0;
};
