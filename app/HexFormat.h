// Bytes as the traffic log shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// For each byte a blank and two upper-case hex digits: {0x01, 0x0A} gives " 01 0A".
std::wstring FormatHexBytes(const std::uint8_t* bytes, size_t count);
