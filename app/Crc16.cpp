// Byte-by-byte table walk over the two halves of the register.
#include "app/Crc16.h"

std::uint16_t Crc16(const std::uint8_t* bytes, size_t count) noexcept
{
    std::uint8_t first = 0xFF;  // the byte sent first (the register's low byte)
    std::uint8_t second = 0xFF; // the byte sent second
    for (size_t i = 0; i < count; ++i) {
        const std::uint8_t index = first ^ bytes[i];
        first = second ^ kCrcTableHi[index];
        second = kCrcTableLo[index];
    }
    return static_cast<std::uint16_t>(second << 8 | first);
}
