// The six requests the tool sends, built byte for byte into the request buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using TFrameBuffer = std::array<std::uint8_t, 256>;

// Which answer the window waits for; the numbers are those the receive side compares.
enum class TPendingRequest : int { None = 0, AddressQuery = 1, Measurement = 2, SettingsRead = 3, AutoAddress = 4 };

constexpr std::uint8_t kAnyAddress = 0xFF;  // query and broadcast: every sensor listens
constexpr std::uint8_t kAssignAddress = 0x01; // automatic addressing talks to the sensor at 1
constexpr std::uint16_t kRegisterMeasurement = 0x0000;
constexpr std::uint16_t kRegisterAddress = 0x0064; // followed by the baud code at 0x0065
constexpr std::uint8_t kReadHoldingRegisters = 0x03;
constexpr std::uint8_t kWriteSingleRegister = 0x06;
constexpr std::uint8_t kWriteMultipleRegisters = 0x10;
constexpr size_t kRequestLength = 8;
constexpr size_t kWriteSettingsLength = 13;

// Each writes its request from index 0, ends it with the CRC, and returns its length.
size_t BuildQueryAddress(TFrameBuffer& frame);
size_t BuildBroadcastAddress1(TFrameBuffer& frame);
size_t BuildReadMeasurement(TFrameBuffer& frame, std::uint8_t address);
size_t BuildReadSettings(TFrameBuffer& frame, std::uint8_t address);
// newAddress is sent as typed (not clamped); a baud code of -1 (no entry selected) is FF FF.
size_t BuildWriteSettings(TFrameBuffer& frame, std::uint8_t address, int newAddress, int baudCode);
size_t BuildAssignAddress(TFrameBuffer& frame, std::uint16_t nextAutoAddress);

// The slave address a typed number gives: its low 8 bits (256 is 0x00, 257 is 0x01).
constexpr std::uint8_t AddressOf(int typed) { return static_cast<std::uint8_t>(typed & 0xFF); }
