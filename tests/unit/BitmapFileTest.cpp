// The bitmap loader: every depth and orientation, colour masks, and one hand-made file per refusal.
#include "skin/pixels/BitmapFile.h"
#include "tests/unit/BmpFileBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void Poke32(TBytes& b, size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Px(std::uint32_t rgb) { return 0xFF000000u | rgb; }

TPixelBuffer Load(const TBytes& b) { return LoadBitmapFile(b); }

std::wstring RefusalOf(const TBytes& b)
{
    try {
        LoadBitmapFile(b);
    } catch (const EBitmapError& e) {
        return e.Message();
    }
    return L"(loaded)";
}

TBmpSpec Rgb24()
{
    TBmpSpec s;
    s.Width = 2;
    s.Height = 2;
    s.RowsTopFirst = {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, {0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C}};
    return s;
}

} // namespace

TEST(BitmapFile, TwentyFourBitBottomUpAndTopDownGiveTheSameImage)
{
    for (const int height : {2, -2}) {
        SCOPED_TRACE(height);
        TBmpSpec s = Rgb24();
        s.Height = height;
        const TPixelBuffer image = Load(MakeBmp(s));
        ASSERT_EQ(image.Width(), 2);
        ASSERT_EQ(image.Height(), 2);
        EXPECT_EQ(image.View().At(0, 0), Px(0x030201)) << "bytes are blue, green, red";
        EXPECT_EQ(image.View().At(1, 0), Px(0x060504));
        EXPECT_EQ(image.View().At(0, 1), Px(0x090807));
        EXPECT_EQ(image.View().At(1, 1), Px(0x0C0B0A));
    }
}

TEST(BitmapFile, OneBitRowsReadMostSignificantBitFirst)
{
    TBmpSpec s;
    s.Width = 10; // two bytes per row, the second partly padding
    s.Height = 2;
    s.Bits = 1;
    s.Palette = {0x000000, 0xFF00FF};
    s.RowsTopFirst = {{0b10100000, 0b01000000}, {0b00000001, 0b10000000}};
    const TPixelBuffer image = Load(MakeBmp(s));
    const TPixelView v = image.View();
    EXPECT_EQ(v.At(0, 0), Px(0xFF00FF));
    EXPECT_EQ(v.At(1, 0), Px(0));
    EXPECT_EQ(v.At(2, 0), Px(0xFF00FF));
    EXPECT_EQ(v.At(9, 0), Px(0xFF00FF));
    EXPECT_EQ(v.At(8, 0), Px(0));
    EXPECT_EQ(v.At(7, 1), Px(0xFF00FF));
    EXPECT_EQ(v.At(8, 1), Px(0xFF00FF));
    EXPECT_EQ(v.At(0, 1), Px(0));
}

TEST(BitmapFile, FourBitHighNibbleFirstAndShortPaletteGivesBlack)
{
    TBmpSpec s;
    s.Width = 3;
    s.Height = -1;
    s.Bits = 4;
    s.Palette = {0x102030, 0x405060, 0x708090};
    s.ColoursUsed = 3;
    s.RowsTopFirst = {{0x21, 0xF0}};
    const TPixelBuffer image = Load(MakeBmp(s));
    EXPECT_EQ(image.View().At(0, 0), Px(0x708090));
    EXPECT_EQ(image.View().At(1, 0), Px(0x405060));
    EXPECT_EQ(image.View().At(2, 0), Px(0)) << "index 15 of a 3-colour palette";
}

TEST(BitmapFile, EightBitWithFullPaletteBottomUp)
{
    TBmpSpec s;
    s.Width = 2;
    s.Height = 2;
    s.Bits = 8;
    for (std::uint32_t i = 0; i < 256; ++i)
        s.Palette.push_back(i << 16 | (255 - i));
    s.RowsTopFirst = {{0, 255}, {7, 128}};
    const TPixelBuffer image = Load(MakeBmp(s));
    EXPECT_EQ(image.View().At(0, 0), Px(0x0000FF));
    EXPECT_EQ(image.View().At(1, 0), Px(0xFF0000));
    EXPECT_EQ(image.View().At(0, 1), Px(0x0700F8));
    EXPECT_EQ(image.View().At(1, 1), Px(0x80007F));
}

TEST(BitmapFile, CoreHeaderWithThreeBytePalette)
{
    TBmpSpec s;
    s.HeaderSize = 12;
    s.Width = 2;
    s.Height = 1;
    s.Bits = 1;
    s.Palette = {0x112233, 0x445566};
    s.RowsTopFirst = {{0b01000000}};
    const TPixelBuffer image = Load(MakeBmp(s));
    EXPECT_EQ(image.View().At(0, 0), Px(0x112233));
    EXPECT_EQ(image.View().At(1, 0), Px(0x445566));
}

TEST(BitmapFile, ThirtyTwoBitPlainIgnoresTheFourthByte)
{
    TBmpSpec s;
    s.Width = 2;
    s.Height = 1;
    s.Bits = 32;
    s.RowsTopFirst = {{0x01, 0x02, 0x03, 0x00, 0xFF, 0x00, 0xFF, 0x80}};
    const TPixelBuffer image = Load(MakeBmp(s));
    EXPECT_EQ(image.View().At(0, 0), Px(0x030201));
    EXPECT_EQ(image.View().At(1, 0), Px(0xFF00FF));
}

TEST(BitmapFile, BitfieldsInEveryHeaderKindPlaceTheChannelsByMask)
{
    // Red in the low byte, blue in the third: the opposite of the plain layout.
    for (const std::uint32_t header : {40u, 56u, 108u, 124u}) {
        SCOPED_TRACE(header);
        TBmpSpec s;
        s.HeaderSize = header;
        s.Width = 1;
        s.Height = -2;
        s.Bits = 32;
        s.Compression = 3;
        s.Masks = {0x0000FF, 0x00FF00, 0xFF0000};
        s.RowsTopFirst = {{0x11, 0x22, 0x33, 0x00}, {0xFF, 0x00, 0x00, 0x00}};
        const TPixelBuffer image = Load(MakeBmp(s));
        EXPECT_EQ(image.View().At(0, 0), Px(0x112233));
        EXPECT_EQ(image.View().At(0, 1), Px(0xFF0000));
    }
}

TEST(BitmapFile, SixteenBitFiveSixFiveAndDefaultFiveFiveFive)
{
    TBmpSpec s;
    s.Width = 3;
    s.Height = 1;
    s.Bits = 16;
    s.Compression = 3;
    s.Masks = {0xF800, 0x07E0, 0x001F};
    s.RowsTopFirst = {{0x00, 0xF8, 0xE0, 0x07, 0x10, 0x00}};
    const TPixelBuffer image = Load(MakeBmp(s));
    EXPECT_EQ(image.View().At(0, 0), Px(0xFF0000));
    EXPECT_EQ(image.View().At(1, 0), Px(0x00FF00));
    EXPECT_EQ(image.View().At(2, 0), Px(0x000084)) << "16 of 31 widened to 8 bits";

    TBmpSpec plain;
    plain.Width = 1;
    plain.Height = 1;
    plain.Bits = 16;
    plain.RowsTopFirst = {{0x1F, 0x7C}}; // 0x7C1F: red and blue full in 5-5-5
    EXPECT_EQ(Load(MakeBmp(plain)).View().At(0, 0), Px(0xFF00FF));
}

TEST(BitmapFile, EachMalformedFileIsRefusedWithItsOwnReason)
{
    const TBytes good = MakeBmp(Rgb24());
    ASSERT_EQ(RefusalOf(good), L"(loaded)");
    const auto with = [&](auto change) {
        TBytes b = good;
        change(b);
        return b;
    };
    const auto made = [](auto change) {
        TBmpSpec s = Rgb24();
        change(s);
        return MakeBmp(s);
    };
    const struct {
        const char* what;
        TBytes file;
        const wchar_t* message;
    } cases[] = {
        {"ten bytes", TBytes(good.begin(), good.begin() + 10), kBitmapTruncatedHeader},
        {"header cut", TBytes(good.begin(), good.begin() + 30), kBitmapTruncatedHeader},
        {"no BM", with([](TBytes& b) { b[0] = 'M'; }), kBitmapNoSignature},
        {"header size 20", with([](TBytes& b) { Poke32(b, 14, 20); }), kBitmapBadHeaderSize},
        {"width 0", made([](TBmpSpec& s) { s.Width = 0; }), kBitmapBadDimensions},
        {"width negative", with([](TBytes& b) { Poke32(b, 18, 0xFFFFFFFE); }), kBitmapBadDimensions},
        {"height 0", with([](TBytes& b) { Poke32(b, 22, 0); }), kBitmapBadDimensions},
        {"height INT32_MIN", with([](TBytes& b) { Poke32(b, 22, 0x80000000); }), kBitmapBadDimensions},
        {"width too large", with([](TBytes& b) { Poke32(b, 18, kMaxBitmapSide + 1); }), kBitmapBadDimensions},
        {"two planes", with([](TBytes& b) { b[26] = 2; }), kBitmapBadPlanes},
        {"2 bits", with([](TBytes& b) { b[28] = 2; }), kBitmapBadDepth},
        {"RLE8", made([](TBmpSpec& s) { s.Bits = 8; s.Compression = 1; s.Palette.assign(256, 0); }), kBitmapBadCompression},
        {"bitfields at 24 bits", made([](TBmpSpec& s) { s.Compression = 3; s.Masks = {0xFF0000, 0xFF00, 0xFF}; }),
            kBitmapBadCompression},
        {"mask with a hole",
            made([](TBmpSpec& s) { s.Bits = 32; s.Compression = 3; s.Masks = {0xF0F000, 0xFF, 0xF00}; }),
            kBitmapBadMasks},
        {"overlapping masks",
            made([](TBmpSpec& s) { s.Bits = 32; s.Compression = 3; s.Masks = {0xFF0000, 0x1FF00, 0xFF}; }),
            kBitmapBadMasks},
        {"palette larger than 1 bit allows",
            made([](TBmpSpec& s) { s.Bits = 1; s.ColoursUsed = 3; s.Palette = {0, 1, 2}; }), kBitmapBadPalette},
        {"palette cut short", made([](TBmpSpec& s) { s.Bits = 8; s.Palette = {0, 1, 2}; s.RowsTopFirst.clear(); }),
            kBitmapTruncatedPalette},
        {"last row missing", TBytes(good.begin(), good.end() - 8), kBitmapTruncatedPixels},
        {"pixel offset past the end", with([](TBytes& b) { Poke32(b, 10, 5000); }), kBitmapTruncatedPixels},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RefusalOf(c.file), c.message) << c.what;
}

TEST(BitmapFile, EveryTruncationAndEveryBitFlipEndsInAnImageOrARefusal)
{
    TBmpSpec s;
    s.Width = 5;
    s.Height = 3;
    s.Bits = 4;
    for (std::uint32_t i = 0; i < 16; ++i)
        s.Palette.push_back(i * 0x111111);
    s.RowsTopFirst = {{0x01, 0x23, 0x40}, {0x56, 0x78, 0x90}, {0xAB, 0xCD, 0xE0}};
    const TBytes good = MakeBmp(s);
    ASSERT_EQ(Load(good).View().At(4, 2), Px(0xEEEEEE));
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_THROW(LoadBitmapFile(std::span(good.data(), n)), EBitmapError) << n << " bytes";
    size_t loaded = 0;
    for (size_t i = 0; i < good.size() * 8; ++i) {
        TBytes b = good;
        b[i / 8] ^= static_cast<std::uint8_t>(1u << (i % 8));
        try {
            const TPixelBuffer image = LoadBitmapFile(b);
            ++loaded;
            EXPECT_FALSE(image.IsEmpty());
        } catch (const EBitmapError&) {
        }
    }
    EXPECT_GT(loaded, 0u) << "most flips in pixels and palette still decode";
}
