// LZHUF decoding: adaptive Huffman symbols, offsets through the fixed prefix code, a 4 KiB ring.
#include "skin/archive/Lzh.h"

#include "skin/archive/LzhTables.h"
#include "skin/archive/LzhTree.h"

#include <array>
#include <memory>
#include <new>
#include <vector>

namespace {

// Bits are taken from the most significant end; bytes past the end of input count as zero.
class TBitInput {
public:
    explicit TBitInput(const TLzhRead& read) : FRead(read) {}

    // Walks the tree from the root, a bit per level. The walk is the decoder's critical path,
    // so the bit buffer stays in registers for it instead of going through the object.
    int Symbol(const TLzhTree& tree)
    {
        uint64_t buffer = FBuffer;
        int count = FCount;
        int node = tree.Son(TLzhTree::kRoot);
        while (node < TLzhTree::kTreeSize) {
            if (count == 0) {
                FBuffer = buffer;
                FCount = 0;
                Refill();
                buffer = FBuffer;
                count = FCount;
            }
            node = tree.Son(node + static_cast<int>(buffer >> 63));
            buffer <<= 1;
            --count;
        }
        FBuffer = buffer;
        FCount = count;
        return node - TLzhTree::kTreeSize;
    }

    // count is 1..8.
    unsigned Bits(int count)
    {
        if (FCount < count)
            Refill();
        const unsigned value = static_cast<unsigned>(FBuffer >> (64 - count));
        FBuffer <<= count;
        FCount -= count;
        return value;
    }

private:
    // Tops the buffer up to at least 56 valid bits.
    void Refill()
    {
        while (FCount <= 56) {
            if (FNext == FEnd && !FillBlock()) {
                // End of input: the rest is zeros, which the cleared low bits already are.
                FCount = 64;
                return;
            }
            FBuffer |= static_cast<uint64_t>(FBlock[FNext++]) << (56 - FCount);
            FCount += 8;
        }
    }

    bool FillBlock()
    {
        if (FAtEnd)
            return false;
        // A short delivery is not trusted to mean the end; only an empty one is.
        const size_t got = FRead(FBlock.data(), FBlock.size());
        if (got == 0)
            FAtEnd = true;
        FNext = 0;
        FEnd = got;
        return got != 0;
    }

    const TLzhRead& FRead;
    std::array<uint8_t, 4096> FBlock{};
    size_t FNext = 0;
    size_t FEnd = 0;
    bool FAtEnd = false;
    uint64_t FBuffer = 0;
    int FCount = 0;
};

// Collects output so the write procedure is called per block, not per byte.
class TByteOutput {
public:
    explicit TByteOutput(const TLzhWrite& write) : FWrite(write) {}

    // A match may have filled the block to its end, so room is made before, not after.
    void Put(uint8_t byte)
    {
        if (FCount == FBlock.size())
            Flush();
        FBlock[FCount++] = byte;
    }

    // Room for a whole match at the returned place; Commit says how much of it was filled.
    uint8_t* Room()
    {
        if (FBlock.size() - FCount < lzh::kLookAhead)
            Flush();
        return FBlock.data() + FCount;
    }

    void Commit(size_t count) { FCount += count; }

    void Flush()
    {
        if (FCount != 0)
            FWrite(FBlock.data(), FCount);
        FCount = 0;
    }

private:
    const TLzhWrite& FWrite;
    std::array<uint8_t, 8192> FBlock{};
    size_t FCount = 0;
};

struct TDecodeTables {
    TLzhTree Tree;
    std::array<uint8_t, lzh::kRingSize + lzh::kLookAhead - 1> Ring{};
};

} // namespace

void TLZH::Decode(size_t count, const TLzhWrite& write, const TLzhRead& read)
{
    std::unique_ptr<TDecodeTables> tables;
    try {
        tables = std::make_unique<TDecodeTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(kNoMemory);
    }
    TLzhTree& tree = tables->Tree;
    uint8_t* const ring = tables->Ring.data();
    for (int i = 0; i < lzh::kFirstPosition; ++i)
        ring[i] = lzh::kFill;

    TBitInput in(read);
    TByteOutput out(write);
    const auto& positions = lzh::kPositionCode;
    unsigned r = lzh::kFirstPosition;
    size_t produced = 0;
    while (produced < count) {
        const int symbol = in.Symbol(tree);
        tree.Update(symbol);

        if (symbol < 256) {
            const auto byte = static_cast<uint8_t>(symbol);
            out.Put(byte);
            ring[r] = byte;
            r = (r + 1) & (lzh::kRingSize - 1);
            ++produced;
            continue;
        }
        const unsigned first = in.Bits(8);
        const unsigned upper = positions.Upper[first];
        // The first byte holds the upper code and the top of the plain six bits; the rest follows.
        const int more = positions.UpperLength[first] - 2;
        const unsigned low = ((first << more) | in.Bits(more)) & 0x3F;
        const unsigned offset = (upper << 6) | low;
        unsigned source = (r - offset - 1) & (lzh::kRingSize - 1);
        const int length = symbol - lzh::kLengthBase;
        uint8_t* const copy = out.Room();
        for (int k = 0; k < length; ++k) {
            const uint8_t byte = ring[source];
            source = (source + 1) & (lzh::kRingSize - 1);
            copy[k] = byte;
            ring[r] = byte;
            r = (r + 1) & (lzh::kRingSize - 1);
        }
        out.Commit(static_cast<size_t>(length));
        produced += static_cast<size_t>(length);
    }
    out.Flush();
}
