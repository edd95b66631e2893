// Adaptive Huffman tree of LZHUF: start state, update with sibling swaps, rebuild at the limit.
#include "skin/archive/LzhTree.h"

TLzhTree::TLzhTree() noexcept
{
    for (int i = 0; i < kCharCount; ++i) {
        FFreq[i] = 1;
        FSon[i] = i + kTreeSize;
        FParent[i + kTreeSize] = i;
    }
    for (int i = 0, j = kCharCount; j <= kRoot; i += 2, ++j) {
        FFreq[j] = FFreq[i] + FFreq[i + 1];
        FSon[j] = i;
        FParent[i] = FParent[i + 1] = j;
    }
    FFreq[kTreeSize] = 0xFFFF;
    FParent[kRoot] = 0;
}

void TLzhTree::Reconstruct() noexcept
{
    ++FRebuilds;
    // Gather the leaves at the front with halved counts, rounded up so none drops to zero.
    int j = 0;
    for (int i = 0; i < kTreeSize; ++i) {
        if (FSon[i] >= kTreeSize) {
            FFreq[j] = (FFreq[i] + 1) / 2;
            FSon[j] = FSon[i];
            ++j;
        }
    }
    // Join pairs into internal nodes, each inserted where its frequency keeps the order.
    for (int i = 0, n = kCharCount; n < kTreeSize; i += 2, ++n) {
        const unsigned f = FFreq[i] + FFreq[i + 1];
        int k = n - 1;
        while (f < FFreq[k])
            --k;
        ++k;
        for (int m = n; m > k; --m) {
            FFreq[m] = FFreq[m - 1];
            FSon[m] = FSon[m - 1];
        }
        FFreq[k] = f;
        FSon[k] = i;
    }
    for (int i = 0; i < kTreeSize; ++i) {
        const int k = FSon[i];
        if (k >= kTreeSize)
            FParent[k] = i;
        else
            FParent[k] = FParent[k + 1] = i;
    }
}

void TLzhTree::Update(int symbol) noexcept
{
    if (FFreq[kRoot] == kMaxFreq)
        Reconstruct();
    int c = FParent[symbol + kTreeSize];
    do {
        const unsigned k = ++FFreq[c];
        int l = c + 1;
        if (k > FFreq[l]) {
            while (k > FFreq[++l]) {
            }
            --l;
            FFreq[c] = FFreq[l];
            FFreq[l] = k;

            const int i = FSon[c];
            FParent[i] = l;
            if (i < kTreeSize)
                FParent[i + 1] = l;

            const int j = FSon[l];
            FSon[l] = i;
            FParent[j] = c;
            if (j < kTreeSize)
                FParent[j + 1] = c;
            FSon[c] = j;

            c = l;
        }
        c = FParent[c];
    } while (c != 0);
}

int TLzhTree::CodeOf(int symbol, std::array<uint8_t, kCharCount>& bits) const noexcept
{
    // Walk leaf to root; siblings sit at an even index and the one after it, so the odd one is bit 1.
    int length = 0;
    for (int k = FParent[symbol + kTreeSize]; k != kRoot; k = FParent[k])
        bits[length++] = static_cast<uint8_t>(k & 1);
    for (int a = 0, b = length - 1; a < b; ++a, --b) {
        const uint8_t t = bits[a];
        bits[a] = bits[b];
        bits[b] = t;
    }
    return length;
}
