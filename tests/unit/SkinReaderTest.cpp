// Skin archive reader: every version, names and lookups, the older-skin path, one malformed
// archive per refusal, and a truncation and bit-flip sweep.
#include "skin/archive/Lzh.h"
#include "skin/archive/SkinReader.h"
#include "skin/archive/SkinWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

void PutInt32(TBytes& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

// A payload laid out by hand, so tests can put anything in any field.
TBytes Payload(int32_t version, const std::string& names, const std::vector<int32_t>& sizes, const TBytes& data,
               const TBytes& reserved = {}, int32_t nameLength = -1)
{
    TBytes out;
    PutInt32(out, version);
    PutInt32(out, nameLength >= 0 ? nameLength : static_cast<int32_t>(names.size()));
    PutInt32(out, 0x11111111);
    PutInt32(out, 0x22222222);
    out.insert(out.end(), reserved.begin(), reserved.end());
    out.insert(out.end(), names.begin(), names.end());
    for (int32_t s : sizes)
        PutInt32(out, s);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TMemoryStream Archive(const TBytes& payload) { return TMemoryStream(TSkinWriter::CompressPayload(payload)); }

std::string Text(const TMemoryStream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

struct TOpened {
    std::vector<std::wstring> Messages;
    TSkinReader Reader{[this](const std::wstring& text) { Messages.push_back(text); }};
};

std::wstring OpenError(const TBytes& archive)
{
    TSkinReader reader;
    TMemoryStream source(archive);
    try {
        reader.OpenArchive(source);
    } catch (const ESkinReadError& e) {
        return e.Message();
    }
    return L"(opened)";
}

} // namespace

TEST(SkinReader, ReadsEveryVersionPastItsReservedBlock)
{
    const struct {
        int32_t Version;
        size_t Reserved;
    } versions[] = {{20000, 0}, {30000, 256}, {40000, 80}, {50000, 48}, {60000, 117}, {70000, 69}};
    for (const auto& v : versions) {
        TOpened o;
        TMemoryStream source = Archive(Payload(v.Version, "a.ini\r\nb.bmp\r\n", {3, 2}, Bytes("[x]BM"),
                                               TBytes(v.Reserved, 0xEE)));
        ASSERT_TRUE(o.Reader.OpenArchive(source)) << v.Version;
        EXPECT_TRUE(o.Messages.empty());
        EXPECT_EQ(o.Reader.Header().Version, v.Version);
        EXPECT_EQ(o.Reader.Header().Reserved1, 0x11111111);
        EXPECT_EQ(o.Reader.Names(), (std::vector<std::string>{"a.ini", "b.bmp"})) << v.Version;
        TMemoryStream entry;
        o.Reader.ExtractEntry("b.bmp", entry);
        EXPECT_EQ(Text(entry), "BM") << v.Version;
        EXPECT_EQ(entry.Position(), 0u);
    }
}

TEST(SkinReader, JunkInTheReservedBlockReadsLikeZeros)
{
    TBytes junk(256);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<uint8_t>(i * 37 + 5);
    junk[10] = '\n';
    junk[11] = 0;
    TSkinReader zeros;
    TSkinReader noisy;
    TMemoryStream a = Archive(Payload(30000, "x.bmp\ny.ini", {1, 4}, Bytes("Z[a]b"), TBytes(256, 0)));
    TMemoryStream b = Archive(Payload(30000, "x.bmp\ny.ini", {1, 4}, Bytes("Z[a]b"), junk));
    ASSERT_TRUE(zeros.OpenArchive(a));
    ASSERT_TRUE(noisy.OpenArchive(b));
    EXPECT_EQ(zeros.Names(), noisy.Names());
    EXPECT_EQ(zeros.Sizes(), noisy.Sizes());
    EXPECT_TRUE(std::equal(zeros.Data().Bytes().begin(), zeros.Data().Bytes().end(), noisy.Data().Bytes().begin(),
                           noisy.Data().Bytes().end()));
}

TEST(SkinReader, EmptyDirectoryYieldsEmptyLookups)
{
    TSkinReader reader;
    TMemoryStream source = Archive(Payload(20000, "", {}, {}));
    ASSERT_TRUE(reader.OpenArchive(source));
    EXPECT_EQ(reader.Count(), 0);
    TMemoryStream entry(Bytes("old"));
    reader.ExtractEntry("a.bmp", entry);
    EXPECT_EQ(entry.Size(), 0u) << "the target is cleared even when nothing matches";
    std::string name = "unchanged";
    reader.FindEntry(".ini", entry, name);
    EXPECT_EQ(entry.Size(), 0u);
    EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, NamesAreLowerCasedAndLookupsIgnoreAsciiCase)
{
    TSkinReader reader;
    TMemoryStream source = Archive(Payload(20000, "Title.BMP\r\nSKIN.Ini\r\n\xC4Z.bmp", {2, 3, 1}, Bytes("t1[s]\xC4")));
    ASSERT_TRUE(reader.OpenArchive(source));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"title.bmp", "skin.ini", "\xC4z.bmp"}))
        << "only ASCII capitals change";
    TMemoryStream entry;
    reader.ExtractEntry("TITLE.bmp", entry);
    EXPECT_EQ(Text(entry), "t1");
    reader.ExtractEntry("\xC4Z.BMP", entry);
    EXPECT_EQ(Text(entry), "\xC4");

    std::string name;
    reader.FindEntry(".INI", entry, name);
    EXPECT_EQ(entry.Size(), 0u) << "fragments are compared as given";
    EXPECT_EQ(name, "");
    reader.FindEntry(".ini", entry, name);
    EXPECT_EQ(Text(entry), "[s]");
    EXPECT_EQ(name, "skin.ini");
}

TEST(SkinReader, DuplicateNamesGiveTheFirstEntry)
{
    TSkinReader reader;
    TMemoryStream source = Archive(Payload(20000, "a.bmp\r\nA.BMP\r\n", {1, 2}, Bytes("xyz")));
    ASSERT_TRUE(reader.OpenArchive(source));
    TMemoryStream entry;
    reader.ExtractEntry("a.bmp", entry);
    EXPECT_EQ(Text(entry), "x");
    std::string name;
    reader.FindEntry("a.", entry, name);
    EXPECT_EQ(Text(entry), "x");
}

TEST(SkinReader, SplitsNameLinesLikeAStringList)
{
    const struct {
        std::string Text;
        std::vector<std::string> Lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb\0c\nd", {"a", "b"}},
        {"\n", {""}},
        {"", {}},
        {"\r\r\n", {"", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitNameText(c.Text), c.Lines) << '"' << c.Text << '"';
    // An embedded NUL needs an explicit length.
    EXPECT_EQ(SplitNameText(std::string_view("a\nb\0c\nd", 7)), (std::vector<std::string>{"a", "b"}));
}

TEST(SkinReader, EmptyLinesOwnSizeSlots)
{
    TSkinReader reader;
    TMemoryStream source = Archive(Payload(20000, "a.bmp\r\n\r\nb.bmp\r\n", {1, 2, 3}, Bytes("abbccc")));
    ASSERT_TRUE(reader.OpenArchive(source));
    EXPECT_EQ(reader.Count(), 3);
    TMemoryStream entry;
    reader.ExtractEntry("b.bmp", entry);
    EXPECT_EQ(Text(entry), "ccc");
}

TEST(SkinReader, UnknownVersionsAndShortPayloadsAreOlderSkins)
{
    const TBytes payloads[] = {
        {},                                            // declared length 0
        TBytes(10, 0),                                 // shorter than the header
        Payload(10000, "a.bmp", {1}, Bytes("a")),      // unknown version
        Payload(20001, "a.bmp", {1}, Bytes("a")),
    };
    for (const TBytes& payload : payloads) {
        TOpened o;
        TMemoryStream source = Archive(payload);
        EXPECT_FALSE(o.Reader.OpenArchive(source));
        ASSERT_EQ(o.Messages.size(), 1u);
        EXPECT_EQ(o.Messages[0], L"This is Older Skin File\rPlease update to new version !");
        EXPECT_EQ(o.Reader.Count(), 0);
    }
    TOpened zero;
    TMemoryStream lengthZero(TBytes{0, 0, 0, 0});
    EXPECT_FALSE(zero.Reader.OpenArchive(lengthZero));
    EXPECT_EQ(zero.Reader.Header().Version, 0);
    EXPECT_EQ(zero.Messages.size(), 1u);
}

TEST(SkinReader, RefusesEachKindOfMalformedArchive)
{
    TBytes negative;
    PutInt32(negative, -5);
    TBytes huge;
    PutInt32(huge, TSkinReader::kMaxPayload + 1);
    std::string manyNames;
    for (int i = 0; i < 1002; ++i)
        manyNames += "n" + std::to_string(i) + "\n";
    std::vector<int32_t> manySizes(1002, 0);

    const struct {
        TBytes Archive;
        const wchar_t* Message;
    } cases[] = {
        {TBytes{1, 0, 0}, TSkinReader::kNoLength},
        {negative, TSkinReader::kNegativeLength},
        {huge, TSkinReader::kLengthTooLarge},
        {TSkinWriter::CompressPayload(Payload(20000, "a.bmp", {1}, Bytes("a"), {}, 1000)), TSkinReader::kBadNameLength},
        {TSkinWriter::CompressPayload(Payload(20000, "", {}, {}, {}, 0x7FFFFFFF)), TSkinReader::kBadNameLength},
        {TSkinWriter::CompressPayload(Payload(30000, "", {}, {}, TBytes(100, 0))), TSkinReader::kNoReservedBlock},
        {TSkinWriter::CompressPayload(Payload(20000, manyNames, manySizes, {})), TSkinReader::kTooManyNames},
        {TSkinWriter::CompressPayload(Payload(20000, "a.bmp\r\nb.bmp", {1}, {})), TSkinReader::kNoSizeTable},
        {TSkinWriter::CompressPayload(Payload(20000, "a.bmp\r\nb.bmp", {-1, 2}, Bytes("ab"))), TSkinReader::kNegativeSize},
        {TSkinWriter::CompressPayload(Payload(20000, "a.bmp\r\nb.bmp", {1, 2}, Bytes("ab"))), TSkinReader::kSizesPastData},
        {TSkinWriter::CompressPayload(Payload(20000, "a.bmp\r\nb.bmp", {0x7FFFFFFF, 0x7FFFFFFF}, Bytes("ab"))),
         TSkinReader::kSizesPastData},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenError(c.Archive), c.Message);
    // Exactly 1001 names is still an archive.
    std::string most;
    for (int i = 0; i < 1001; ++i)
        most += "n" + std::to_string(i) + "\n";
    EXPECT_EQ(OpenError(TSkinWriter::CompressPayload(Payload(20000, most, std::vector<int32_t>(1001, 0), {}))),
              L"(opened)");
}

TEST(SkinReader, KeepsBytesPastTheEntriesInTheDataRegion)
{
    TSkinReader reader;
    TMemoryStream source = Archive(Payload(20000, "a.bmp", {1}, Bytes("a-tail")));
    ASSERT_TRUE(reader.OpenArchive(source));
    EXPECT_EQ(reader.Data().Size(), 6u);
}

TEST(SkinReader, WriterArchiveRoundTripsThroughTheReader)
{
    TSkinWriter writer;
    TBytes bitmap(5000);
    for (size_t i = 0; i < bitmap.size(); ++i)
        bitmap[i] = static_cast<uint8_t>(i % 7 == 0 ? 0xFF : i);
    writer.AddEntry("skin.ini", Bytes("[TitlebarSkin]\r\nSkinName=Test\r\n"));
    writer.AddEntry("Title.bmp", bitmap);
    writer.AddEntry("empty.bmp", {});
    TMemoryStream source(writer.Archive());
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(source));
    TMemoryStream entry;
    reader.ExtractEntry("title.bmp", entry);
    EXPECT_TRUE(std::equal(bitmap.begin(), bitmap.end(), entry.Bytes().begin(), entry.Bytes().end()));
    reader.ExtractEntry("empty.bmp", entry);
    EXPECT_EQ(entry.Size(), 0u);
    std::string name;
    reader.FindEntry(".ini", entry, name);
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(Text(entry), "[TitlebarSkin]\r\nSkinName=Test\r\n");
}

TEST(SkinReader, TruncatedStreamStillProducesTheDeclaredLength)
{
    TSkinWriter writer;
    writer.AddEntry("a.ini", Bytes(std::string(3000, 'q') + "end"));
    const TBytes whole = writer.Archive();
    const size_t declared = writer.Payload().size();
    for (size_t keep : {size_t(4), size_t(5), whole.size() / 2, whole.size() - 1}) {
        TMemoryStream source(TBytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
        const TMemoryStream payload = TSkinReader::DecompressArchive(source);
        EXPECT_GE(payload.Size(), declared) << keep;
        EXPECT_LT(payload.Size(), declared + 60) << keep;
    }
}

TEST(SkinReader, TruncationAndBitFlipSweepEndsInAnswerOrNamedError)
{
    TSkinWriter writer;
    writer.AddEntry("skin.ini", Bytes("[Form]\r\nTitle=title.bmp\r\n"));
    writer.AddEntry("title.bmp", Bytes("BM\x10\0\0\0 some pixels 0123456789"));
    const TBytes whole = writer.Archive();
    auto tryOpen = [](const TBytes& bytes) {
        TSkinReader reader;
        TMemoryStream source(bytes);
        try {
            if (reader.OpenArchive(source)) {
                TMemoryStream entry;
                std::string name;
                reader.FindEntry(".ini", entry, name);
                for (const std::string& n : reader.Names())
                    reader.ExtractEntry(n, entry);
            }
        } catch (const ESkinReadError&) {
        } catch (const ElzhException&) {
        }
    };
    for (size_t keep = 0; keep <= whole.size(); ++keep)
        tryOpen(TBytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
    // Flips that raise the length field by 512 KiB or more only feed the decoder more of its own
    // output, not new input; the sweep leaves those out to stay short.
    for (size_t byte = 0; byte < whole.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((byte == 2 && bit >= 3) || (byte == 3 && bit <= 1))
                continue;
            TBytes flipped = whole;
            flipped[byte] ^= static_cast<uint8_t>(1u << bit);
            tryOpen(flipped);
        }
    }
    SUCCEED() << "every damaged archive ended in an answer or a named error";
}
