// A growable byte buffer with a position, the stream type the skin archive code reads and fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}

    size_t Size() const noexcept { return FBytes.size(); }
    size_t Position() const noexcept { return FPosition; }
    // Positions past the end are allowed, as with a file: a later Write fills the gap with zeros.
    void SetPosition(size_t value) noexcept { FPosition = value; }

    // Copies up to count bytes from the position on and returns how many it delivered.
    size_t Read(void* buffer, size_t count) noexcept;
    // Writes at the position, growing the stream as needed.
    void Write(const void* buffer, size_t count);
    void Clear() noexcept;

    std::span<const uint8_t> Bytes() const noexcept { return FBytes; }

private:
    std::vector<uint8_t> FBytes;
    size_t FPosition = 0;
};
