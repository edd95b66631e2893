// TSkinWriter lays out a version-20000 skin archive and compresses it, for tools and tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TSkinWriter {
public:
    // Entries keep the order they are added in; names are written as given.
    void AddEntry(std::string name, std::vector<uint8_t> bytes);

    // Header, name lines (CR LF after each), size table and data.
    std::vector<uint8_t> Payload() const;
    // The length field followed by the LZHUF stream of the payload.
    std::vector<uint8_t> Archive() const;

    // Any payload, compressed with its length in front.
    static std::vector<uint8_t> CompressPayload(std::span<const uint8_t> payload);

private:
    struct TEntry {
        std::string Name;
        std::vector<uint8_t> Bytes;
    };
    std::vector<TEntry> FEntries;
};
