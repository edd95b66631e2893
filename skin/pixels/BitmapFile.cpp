// The bitmap file decoder: every length is checked before the bytes it covers are read.
#include "skin/pixels/BitmapFile.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;

[[noreturn]] void Refuse(const wchar_t* message)
{
    throw EBitmapError(message);
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

// One channel of a BI_BITFIELDS pixel: where its bits sit and how to widen them to 8.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    std::uint32_t Extract(std::uint32_t value) const noexcept
    {
        if (Bits == 0)
            return 0;
        const std::uint32_t v = (value & Mask) >> Shift;
        if (Bits >= 8)
            return v >> (Bits - 8);
        const std::uint32_t max = (1u << Bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

TChannel MakeChannel(std::uint32_t mask)
{
    TChannel c;
    c.Mask = mask;
    if (mask == 0)
        return c;
    c.Shift = std::countr_zero(mask);
    c.Bits = std::popcount(mask);
    // A mask with holes has no single place value for its bits.
    if ((mask >> c.Shift) != (c.Bits == 32 ? 0xFFFFFFFFu : (1u << c.Bits) - 1))
        Refuse(kBitmapBadMasks);
    return c;
}

struct THeader {
    std::uint32_t Size = 0;
    int Width = 0;
    int Height = 0; // always positive here
    bool TopDown = false;
    int Bits = 0;
    std::uint32_t Compression = kBiRgb;
    std::uint32_t ColoursUsed = 0;
    std::array<std::uint32_t, 3> Masks{}; // red, green, blue
    bool HasMasks = false;
    size_t PaletteEntrySize = 4;
};

THeader ReadHeader(std::span<const std::uint8_t> file)
{
    THeader h;
    const std::uint8_t* info = file.data() + kFileHeaderSize;
    h.Size = U32(info);
    const bool core = h.Size == 12;
    if (!core && h.Size != 40 && h.Size != 52 && h.Size != 56 && h.Size != 108 && h.Size != 124)
        Refuse(kBitmapBadHeaderSize);
    if (file.size() - kFileHeaderSize < h.Size)
        Refuse(kBitmapTruncatedHeader);

    long long width, height;
    int planes;
    if (core) {
        width = U16(info + 4);
        height = U16(info + 6);
        planes = U16(info + 8);
        h.Bits = U16(info + 10);
        h.PaletteEntrySize = 3;
    } else {
        width = S32(info + 4);
        height = S32(info + 8);
        planes = U16(info + 12);
        h.Bits = U16(info + 14);
        h.Compression = U32(info + 16);
        h.ColoursUsed = U32(info + 32);
    }
    // Widened before negating so that the most negative height cannot overflow.
    h.TopDown = height < 0;
    if (height < 0)
        height = -height;
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        Refuse(kBitmapBadDimensions);
    h.Width = static_cast<int>(width);
    h.Height = static_cast<int>(height);
    if (planes != 1)
        Refuse(kBitmapBadPlanes);
    if (h.Bits != 1 && h.Bits != 4 && h.Bits != 8 && h.Bits != 16 && h.Bits != 24 && h.Bits != 32)
        Refuse(kBitmapBadDepth);
    if (core && (h.Bits == 16 || h.Bits == 32))
        Refuse(kBitmapBadDepth);

    if (h.Compression == kBiBitfields) {
        if (h.Bits != 16 && h.Bits != 32)
            Refuse(kBitmapBadCompression);
        // The info header keeps its masks just after itself; the longer headers inside.
        const size_t at = kFileHeaderSize + 40;
        if (file.size() < at + 12)
            Refuse(kBitmapTruncatedHeader);
        h.Masks = {U32(file.data() + at), U32(file.data() + at + 4), U32(file.data() + at + 8)};
        h.HasMasks = true;
        if ((h.Masks[0] & h.Masks[1]) || (h.Masks[0] & h.Masks[2]) || (h.Masks[1] & h.Masks[2]))
            Refuse(kBitmapBadMasks);
    } else if (h.Compression != kBiRgb) {
        Refuse(kBitmapBadCompression);
    }
    return h;
}

} // namespace

TPixelBuffer LoadBitmapFile(std::span<const std::uint8_t> file)
{
    if (file.size() < kFileHeaderSize + 4)
        Refuse(kBitmapTruncatedHeader);
    if (file[0] != 'B' || file[1] != 'M')
        Refuse(kBitmapNoSignature);
    const std::uint32_t pixelOffset = U32(file.data() + 10);
    const THeader h = ReadHeader(file);

    // The palette follows the header (and the three masks an info header carries outside itself).
    size_t paletteAt = kFileHeaderSize + h.Size;
    if (h.Size == 40 && h.Compression == kBiBitfields)
        paletteAt += 12;
    std::vector<std::uint32_t> palette;
    if (h.Bits <= 8) {
        const std::uint32_t limit = 1u << h.Bits;
        if (h.ColoursUsed > limit)
            Refuse(kBitmapBadPalette);
        const std::uint32_t count = h.ColoursUsed == 0 ? limit : h.ColoursUsed;
        const size_t paletteBytes = static_cast<size_t>(count) * h.PaletteEntrySize;
        if (file.size() < paletteAt || file.size() - paletteAt < paletteBytes)
            Refuse(kBitmapTruncatedPalette);
        palette.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = file.data() + paletteAt + static_cast<size_t>(i) * h.PaletteEntrySize;
            palette[i] = 0xFF000000u | static_cast<std::uint32_t>(e[2]) << 16 | static_cast<std::uint32_t>(e[1]) << 8 | e[0];
        }
        // Indices beyond a short palette show black rather than reading past it.
        palette.resize(limit, 0xFF000000u);
    }

    // Rows are padded to whole 32-bit words.
    const size_t rowBytes = (static_cast<size_t>(h.Width) * static_cast<size_t>(h.Bits) + 31) / 32 * 4;
    const size_t dataBytes = rowBytes * static_cast<size_t>(h.Height);
    if (pixelOffset > file.size() || file.size() - pixelOffset < dataBytes)
        Refuse(kBitmapTruncatedPixels);

    std::array<TChannel, 3> channels{};
    if (h.Bits == 16 || h.Bits == 32) {
        const std::array<std::uint32_t, 3> masks = h.HasMasks ? h.Masks
            : h.Bits == 16                                     ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                               : std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
        for (size_t i = 0; i < 3; ++i)
            channels[i] = MakeChannel(masks[i]);
    }

    TPixelBuffer image(h.Width, h.Height);
    const TPixelView out = image.View();
    for (int row = 0; row < h.Height; ++row) {
        const std::uint8_t* in = file.data() + pixelOffset + static_cast<size_t>(row) * rowBytes;
        std::uint32_t* d = out.Row(h.TopDown ? row : h.Height - 1 - row);
        switch (h.Bits) {
        case 1:
        case 4:
        case 8: {
            const int perByte = 8 / h.Bits;
            const unsigned mask = (1u << h.Bits) - 1;
            for (int x = 0; x < h.Width; ++x) {
                const int shift = 8 - h.Bits * (x % perByte + 1);
                d[x] = palette[(in[x / perByte] >> shift) & mask];
            }
            break;
        }
        case 24:
            for (int x = 0; x < h.Width; ++x, in += 3)
                d[x] = 0xFF000000u | static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[1]) << 8 | in[0];
            break;
        default: {
            const size_t step = static_cast<size_t>(h.Bits / 8);
            for (int x = 0; x < h.Width; ++x, in += step) {
                const std::uint32_t v = h.Bits == 16 ? U16(in) : U32(in);
                d[x] = 0xFF000000u | channels[0].Extract(v) << 16 | channels[1].Extract(v) << 8 | channels[2].Extract(v);
            }
            break;
        }
        }
    }
    return image;
}
