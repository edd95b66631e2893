// Archive layout for the writing side: the reader's format with version 20000 and no reserved block.
#include "skin/archive/SkinWriter.h"

#include "skin/archive/LzhEncoder.h"

#include <stdexcept>

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t CheckedSize(size_t size)
{
    if (size > 0x7FFFFFFFu)
        throw std::length_error("skin archive part larger than 2 GiB");
    return static_cast<uint32_t>(size);
}

} // namespace

void TSkinWriter::AddEntry(std::string name, std::vector<uint8_t> bytes)
{
    FEntries.push_back({std::move(name), std::move(bytes)});
}

std::vector<uint8_t> TSkinWriter::Payload() const
{
    std::string names;
    for (const TEntry& e : FEntries)
        names += e.Name + "\r\n";
    std::vector<uint8_t> out;
    PutInt32(out, 20000);
    PutInt32(out, CheckedSize(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const TEntry& e : FEntries)
        PutInt32(out, CheckedSize(e.Bytes.size()));
    for (const TEntry& e : FEntries)
        out.insert(out.end(), e.Bytes.begin(), e.Bytes.end());
    return out;
}

std::vector<uint8_t> TSkinWriter::Archive() const
{
    return CompressPayload(Payload());
}

std::vector<uint8_t> TSkinWriter::CompressPayload(std::span<const uint8_t> payload)
{
    std::vector<uint8_t> out;
    PutInt32(out, CheckedSize(payload.size()));
    TLzhEncoder encoder;
    const std::vector<uint8_t> stream = encoder.Encode(payload);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}
