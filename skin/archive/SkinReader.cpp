// Skin archive reading: decode the payload, check the directory against it, copy entries out.
#include "skin/archive/SkinReader.h"

#include "skin/archive/Lzh.h"

#include <cstring>

namespace {

int32_t ReadInt32(const uint8_t* p) noexcept
{
    const uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return static_cast<int32_t>(v);
}

} // namespace

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::vector<std::string> SplitNameText(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

TSkinReader::TSkinReader(TShowMessage showMessage) : FShowMessage(std::move(showMessage)) {}

int TSkinReader::ReservedLength(int32_t version) noexcept
{
    switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
    }
}

TMemoryStream TSkinReader::DecompressArchive(TMemoryStream& source)
{
    source.SetPosition(0);
    uint8_t field[4];
    if (source.Read(field, 4) != 4)
        throw ESkinReadError(kNoLength);
    const int32_t length = ReadInt32(field);
    if (length < 0)
        throw ESkinReadError(kNegativeLength);
    if (length > kMaxPayload)
        throw ESkinReadError(kLengthTooLarge);

    TMemoryStream payload;
    TLZH decoder;
    decoder.Decode(
        static_cast<size_t>(length),
        [&payload](const uint8_t* buffer, size_t count) { payload.Write(buffer, count); },
        [&source](uint8_t* buffer, size_t count) { return source.Read(buffer, count); });
    payload.SetPosition(0);
    return payload;
}

bool TSkinReader::OpenArchive(TMemoryStream& source)
{
    const TMemoryStream payload = DecompressArchive(source);
    const std::span<const uint8_t> bytes = payload.Bytes();
    const size_t size = bytes.size();

    int reserved = -1;
    if (size >= 16) {
        FHeader.Version = ReadInt32(&bytes[0]);
        FHeader.NameLength = ReadInt32(&bytes[4]);
        FHeader.Reserved1 = ReadInt32(&bytes[8]);
        FHeader.Reserved2 = ReadInt32(&bytes[12]);
        reserved = ReservedLength(FHeader.Version);
    }
    if (reserved < 0) {
        if (FShowMessage)
            FShowMessage(kOlderSkin);
        return false;
    }

    // Every offset below is checked against the payload before it is used.
    const size_t namesAt = 16 + static_cast<size_t>(reserved);
    if (namesAt > size)
        throw ESkinReadError(kNoReservedBlock);
    if (FHeader.NameLength < 0 || static_cast<size_t>(FHeader.NameLength) > size - namesAt)
        throw ESkinReadError(kBadNameLength);
    const std::string nameText(reinterpret_cast<const char*>(bytes.data() + namesAt),
                               static_cast<size_t>(FHeader.NameLength));
    std::vector<std::string> names = SplitNameText(LowerAscii(nameText));
    if (names.size() > static_cast<size_t>(kMaxNames))
        throw ESkinReadError(kTooManyNames);

    const size_t sizesAt = namesAt + static_cast<size_t>(FHeader.NameLength);
    const size_t tableBytes = 4 * names.size();
    if (tableBytes > size - sizesAt)
        throw ESkinReadError(kNoSizeTable);
    const size_t dataAt = sizesAt + tableBytes;
    const size_t dataSize = size - dataAt;

    std::vector<int32_t> sizes(names.size());
    uint64_t total = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        sizes[i] = ReadInt32(&bytes[sizesAt + 4 * i]);
        if (sizes[i] < 0)
            throw ESkinReadError(kNegativeSize);
        total += static_cast<uint64_t>(sizes[i]);
    }
    if (total > dataSize)
        throw ESkinReadError(kSizesPastData);

    FNames = std::move(names);
    FSizes = std::move(sizes);
    FData.Clear();
    FData.Write(bytes.data() + dataAt, dataSize);
    FData.SetPosition(0);
    return true;
}

template <typename TTest>
const std::string* TSkinReader::CopyFirst(TTest test, TMemoryStream& target) const
{
    target.Clear();
    const std::span<const uint8_t> data = FData.Bytes();
    size_t offset = 0;
    for (size_t i = 0; i < FNames.size(); ++i) {
        const auto size = static_cast<size_t>(FSizes[i]);
        if (test(FNames[i])) {
            // OpenArchive proved that all sizes together fit the data region.
            target.Write(data.data() + offset, size);
            target.SetPosition(0);
            return &FNames[i];
        }
        offset += size;
    }
    return nullptr;
}

void TSkinReader::ExtractEntry(std::string_view name, TMemoryStream& target) const
{
    const std::string wanted = LowerAscii(name);
    CopyFirst([&wanted](const std::string& entry) { return entry == wanted; }, target);
}

void TSkinReader::FindEntry(std::string_view fragment, TMemoryStream& target, std::string& name) const
{
    const std::string* found = CopyFirst(
        [fragment](const std::string& entry) { return entry.find(fragment) != std::string::npos; }, target);
    if (found)
        name = *found;
}
