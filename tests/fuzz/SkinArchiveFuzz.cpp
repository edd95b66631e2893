// Fuzz target: any bytes as a skin archive, through the decoder, the directory and every lookup.
#include "skin/archive/Lzh.h"
#include "skin/archive/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    // A real length field can ask for 64 MiB; the fuzzer's interest is structure, not volume,
    // so claims above 64 KiB keep only their low 16 bits.
    if (bytes.size() >= 4) {
        const uint32_t claimed = uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
                                 (uint32_t(bytes[3]) << 24);
        if (claimed < 0x80000000u && claimed > 0xFFFFu) {
            const uint32_t cut = claimed & 0xFFFFu;
            for (int i = 0; i < 4; ++i)
                bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(cut >> (8 * i));
        }
    }
    TMemoryStream source(std::move(bytes));
    TSkinReader reader([](const std::wstring&) {});
    try {
        if (!reader.OpenArchive(source))
            return 0;
        TMemoryStream entry;
        std::string name;
        reader.FindEntry(".ini", entry, name);
        for (const std::string& n : reader.Names()) {
            reader.ExtractEntry(n, entry);
            if (entry.Position() != 0)
                __builtin_trap();
        }
    } catch (const ESkinReadError&) {
    } catch (const ElzhException&) {
    }
    return 0;
}
