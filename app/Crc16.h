// The CRC-16 that ends every Modbus RTU frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace crc16_detail {

// The reflected register after shifting one byte value through polynomial 0xA001.
constexpr std::uint16_t TableEntry(std::uint8_t value)
{
    std::uint16_t r = value;
    for (int bit = 0; bit < 8; ++bit)
        r = (r & 1) ? static_cast<std::uint16_t>((r >> 1) ^ 0xA001) : static_cast<std::uint16_t>(r >> 1);
    return r;
}

// The two byte tables of the classic table-driven Modbus routine: one gives the byte that
// is folded into the register's low byte, the other the register's new high byte.
constexpr std::array<std::uint8_t, 256> MakeTable(bool highByte)
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const std::uint16_t entry = TableEntry(static_cast<std::uint8_t>(i));
        table[static_cast<size_t>(i)] = static_cast<std::uint8_t>(highByte ? entry & 0xFF : entry >> 8);
    }
    return table;
}

} // namespace crc16_detail

// Named as in the published routine ("Hi" is XORed into the byte sent first).
inline constexpr std::array<std::uint8_t, 256> kCrcTableHi = crc16_detail::MakeTable(true);
inline constexpr std::array<std::uint8_t, 256> kCrcTableLo = crc16_detail::MakeTable(false);

// Initial register 0xFFFF, no final inversion. The low byte of the result goes on the
// line first: 01 03 00 00 00 02 ends in C4 0B, and Crc16 of those six bytes is 0x0BC4.
std::uint16_t Crc16(const std::uint8_t* bytes, size_t count) noexcept;
