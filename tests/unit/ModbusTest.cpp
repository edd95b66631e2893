// CRC-16 tables and values, the six requests byte for byte, and the log's hex text.
#include "app/Crc16.h"
#include "app/HexFormat.h"
#include "app/ModbusRequests.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<std::uint8_t> Bytes(const TFrameBuffer& frame, size_t length)
{
    return {frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length)};
}
} // namespace

TEST(Crc16, TablesMatchThePublishedRoutine)
{
    // Entries as the classic listing prints them.
    const std::uint8_t hiStart[] = {0x00, 0xC1, 0x81, 0x40, 0x01, 0xC0, 0x80, 0x41};
    const std::uint8_t loStart[] = {0x00, 0xC0, 0xC1, 0x01, 0xC3, 0x03, 0x02, 0xC2};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(kCrcTableHi[i], hiStart[i]) << i;
        EXPECT_EQ(kCrcTableLo[i], loStart[i]) << i;
    }
    EXPECT_EQ(kCrcTableHi[255], 0x40);
    EXPECT_EQ(kCrcTableLo[255], 0x40);
    EXPECT_EQ(kCrcTableLo[128], 0xA0);
    EXPECT_EQ(kCrcTableHi[128], 0x01);
}

TEST(Crc16, ChecksKnownFrames)
{
    const std::uint8_t measurement[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02};
    EXPECT_EQ(Crc16(measurement, 6), 0x0BC4);
    // The standard check value of CRC-16/MODBUS.
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16(digits, 9), 0x4B37);
    EXPECT_EQ(Crc16(digits, 0), 0xFFFF);
    // A frame followed by its own CRC, low byte first, checks to zero.
    const std::uint8_t whole[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};
    EXPECT_EQ(Crc16(whole, 8), 0x0000);
}

TEST(ModbusRequests, SixRequestsByteForByte)
{
    TFrameBuffer frame{};
    EXPECT_EQ(BuildReadMeasurement(frame, 1), kRequestLength);
    EXPECT_EQ(Bytes(frame, 8), (std::vector<std::uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B}));

    EXPECT_EQ(BuildQueryAddress(frame), kRequestLength);
    EXPECT_EQ(Bytes(frame, 8), (std::vector<std::uint8_t>{0xFF, 0x03, 0x00, 0x64, 0x00, 0x01, 0xD0, 0x0B}));
    EXPECT_EQ(BuildBroadcastAddress1(frame), kRequestLength);
    EXPECT_EQ(Bytes(frame, 8), (std::vector<std::uint8_t>{0xFF, 0x06, 0x00, 0x64, 0x00, 0x01, 0x1C, 0x0B}));
    EXPECT_EQ(BuildReadSettings(frame, 1), kRequestLength);
    EXPECT_EQ(Bytes(frame, 8), (std::vector<std::uint8_t>{0x01, 0x03, 0x00, 0x64, 0x00, 0x02, 0x85, 0xD4}));
    EXPECT_EQ(BuildWriteSettings(frame, 1, 2, 3), kWriteSettingsLength);
    EXPECT_EQ(Bytes(frame, 13), (std::vector<std::uint8_t>{0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x04, 0x00, 0x02,
                                                           0x00, 0x03, 0x15, 0xB5}));
    EXPECT_EQ(BuildAssignAddress(frame, 2), kRequestLength);
    EXPECT_EQ(Bytes(frame, 8), (std::vector<std::uint8_t>{0x01, 0x06, 0x00, 0x64, 0x00, 0x02, 0x49, 0xD4}));
}

TEST(ModbusRequests, EveryFrameEndsInItsOwnCrc)
{
    TFrameBuffer frame{};
    for (int kind = 0; kind < 4; ++kind) {
        size_t length = 0;
        switch (kind) {
        case 0: length = BuildReadMeasurement(frame, 0x7B); break;
        case 1: length = BuildReadSettings(frame, 0xF7); break;
        case 2: length = BuildWriteSettings(frame, 9, 247, 4); break;
        default: length = BuildAssignAddress(frame, 0x1234); break;
        }
        EXPECT_EQ(Crc16(frame.data(), length), 0) << kind;
    }
    EXPECT_EQ(frame[4], 0x12) << "16-bit fields go high byte first";
    EXPECT_EQ(frame[5], 0x34);
}

TEST(ModbusRequests, TypedValuesAreSentAsTheyAre)
{
    EXPECT_EQ(AddressOf(256), 0x00);
    EXPECT_EQ(AddressOf(257), 0x01);
    EXPECT_EQ(AddressOf(1), 0x01);
    EXPECT_EQ(AddressOf(-1), 0xFF);

    TFrameBuffer frame{};
    BuildReadMeasurement(frame, AddressOf(256));
    EXPECT_EQ(frame[0], 0x00);

    // No baud entry selected (-1) is FF FF; an address beyond the spin edit's range goes as typed.
    BuildWriteSettings(frame, 1, 300, -1);
    EXPECT_EQ(frame[7], 0x01);
    EXPECT_EQ(frame[8], 0x2C);
    EXPECT_EQ(frame[9], 0xFF);
    EXPECT_EQ(frame[10], 0xFF);
    EXPECT_EQ(Crc16(frame.data(), kWriteSettingsLength), 0);
}

TEST(HexFormat, BlankAndTwoUpperCaseDigitsPerByte)
{
    const std::uint8_t bytes[] = {0x01, 0x03, 0x00, 0x0A, 0xC4, 0xFF};
    EXPECT_EQ(FormatHexBytes(bytes, 6), L" 01 03 00 0A C4 FF");
    EXPECT_EQ(FormatHexBytes(bytes, 0), L"");
    EXPECT_EQ(L"TX:" + FormatHexBytes(bytes, 1), L"TX: 01");
}
