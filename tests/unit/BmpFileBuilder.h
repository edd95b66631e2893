// Bitmap files made in memory, laid out as a paint program saves them, for tests that load images.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstdint>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

inline void Put16(TBytes& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(TBytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A file as a paint program writes it: rows given top row first, padded here to 4 bytes.
struct TBmpSpec {
    int Width = 1;
    int Height = 1; // negative for top-down
    int Bits = 24;
    std::uint32_t Compression = 0;
    std::uint32_t HeaderSize = 40;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB
    std::vector<std::uint32_t> Masks;   // red, green, blue
    std::uint32_t ColoursUsed = 0;
    std::vector<TBytes> RowsTopFirst;
};

inline TBytes MakeBmp(const TBmpSpec& s)
{
    TBytes info;
    if (s.HeaderSize == 12) {
        Put32(info, 12);
        Put16(info, static_cast<std::uint32_t>(s.Width));
        Put16(info, static_cast<std::uint32_t>(s.Height));
        Put16(info, 1);
        Put16(info, static_cast<std::uint32_t>(s.Bits));
    } else {
        Put32(info, s.HeaderSize);
        Put32(info, static_cast<std::uint32_t>(s.Width));
        Put32(info, static_cast<std::uint32_t>(s.Height));
        Put16(info, 1);
        Put16(info, static_cast<std::uint32_t>(s.Bits));
        Put32(info, s.Compression);
        Put32(info, 0);
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, s.ColoursUsed);
        Put32(info, 0);
        for (const std::uint32_t m : s.Masks)
            Put32(info, m); // inside a longer header, just after an info header
        if (info.size() < s.HeaderSize)
            info.resize(s.HeaderSize, 0);
    }
    for (const std::uint32_t c : s.Palette) {
        info.push_back(static_cast<std::uint8_t>(c));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        if (s.HeaderSize != 12)
            info.push_back(0);
    }
    TBytes pixels;
    const bool topDown = s.Height < 0;
    for (size_t i = 0; i < s.RowsTopFirst.size(); ++i) {
        TBytes row = s.RowsTopFirst[topDown ? i : s.RowsTopFirst.size() - 1 - i];
        row.resize((row.size() + 3) / 4 * 4, 0);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    TBytes file{'B', 'M'};
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size());
    Put32(file, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// A 24-bit file of an image, the format most skin bitmaps come in.
inline TBytes MakeBmp(const TPixelView& image)
{
    TBmpSpec s;
    s.Width = image.Width;
    s.Height = image.Height;
    for (int y = 0; y < image.Height; ++y) {
        TBytes row;
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t p = image.At(x, y);
            row.insert(row.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p >> 16)});
        }
        s.RowsTopFirst.push_back(std::move(row));
    }
    return MakeBmp(s);
}
