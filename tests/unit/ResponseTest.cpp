// Answers from the line: blocks joined into frames, the four answer classes, the fields they
// carry, and bounds that hold for any byte sequence.
#include "app/Crc16.h"
#include "app/ResponseAssembly.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// The bytes with their CRC behind them, low byte first.
TBytes WithCrc(TBytes bytes)
{
    const std::uint16_t crc = Crc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

TBytes FrameBytes(const TReceivedFrame& frame)
{
    return {frame.Bytes.begin(), frame.Bytes.begin() + frame.Length};
}

const TBytes kMeasurement{0x01, 0x03, 0x04, 0x00, 0xFD, 0x01, 0xC8, 0x6B, 0xC5};
const TBytes kBelowZero{0x01, 0x03, 0x04, 0xFF, 0xF6, 0x01, 0xC8, 0x2A, 0x13};
const TBytes kAddressAnswer{0x05, 0x03, 0x02, 0x00, 0x05, 0x89, 0x87};
const TBytes kRefusal{0x01, 0x83, 0x02, 0xC0, 0xF1};
const TBytes kSettingsAnswer{0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x03, 0xEB, 0xF2};
const TBytes kWriteEcho{0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x00, 0x17};
const TBytes kNoise{0x55, 0xAA, 0x13};

class ResponseTest : public ::testing::Test {
protected:
    TReceivedFrame Take(const TBytes& block) { return TakeInBlock(AssemblyBuffer, AssemblyCount, block.data(), block.size()); }
    TAnswerClass Class(const TReceivedFrame& frame, std::uint8_t address = 1,
                       TPendingRequest pending = TPendingRequest::Measurement) const
    {
        return ClassifyAnswer(frame, address, pending);
    }

    TFrameBuffer AssemblyBuffer{};
    int AssemblyCount = 0;
};

} // namespace

TEST_F(ResponseTest, MeasurementAnswerCarriesSignedTemperatureAndHumidity)
{
    const TReceivedFrame frame = Take(kMeasurement);
    EXPECT_EQ(FrameBytes(frame), kMeasurement);
    EXPECT_TRUE(frame.CrcGood());
    EXPECT_EQ(Class(frame), TAnswerClass::ReadAnswer);
    EXPECT_EQ(frame.TemperatureTenths(), 253);
    EXPECT_EQ(frame.HumidityTenths(), 456);
    EXPECT_EQ(FormatTenths(frame.TemperatureTenths()), L"25.3");
    EXPECT_EQ(FormatTenths(frame.HumidityTenths()), L"45.6");

    const TReceivedFrame cold = Take(kBelowZero);
    EXPECT_EQ(Class(cold), TAnswerClass::ReadAnswer);
    EXPECT_EQ(cold.TemperatureTenths(), -10);
    EXPECT_EQ(FormatTenths(cold.TemperatureTenths()), L"-1.0");
    EXPECT_EQ(AssemblyCount, 0);
}

TEST(FormatTenths, OneDigitAfterThePointAcrossTheRange)
{
    const struct { int tenths; const wchar_t* text; } cases[] = {
        {0, L"0.0"}, {-5, L"-0.5"}, {9, L"0.9"}, {10, L"1.0"}, {-123, L"-12.3"},
        {32767, L"3276.7"}, {-32768, L"-3276.8"}, {65535, L"6553.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTenths(c.tenths), c.text) << c.tenths;
}

TEST_F(ResponseTest, AnswerInTwoPiecesChecksOnceComplete)
{
    const TReceivedFrame first = Take({0x01, 0x03, 0x04, 0x00});
    EXPECT_EQ(Class(first), TAnswerClass::None);
    EXPECT_EQ(AssemblyCount, 4);

    const TReceivedFrame whole = Take({0xFD, 0x01, 0xC8, 0x6B, 0xC5});
    EXPECT_EQ(FrameBytes(whole), kMeasurement);
    EXPECT_EQ(Class(whole), TAnswerClass::ReadAnswer);
    EXPECT_EQ(whole.TemperatureTenths(), 253);
    EXPECT_EQ(AssemblyCount, 0) << "a frame that checks leaves nothing behind";
    // Beyond the frame the buffer is empty, so short answers read zeros, not stale bytes.
    for (size_t i = kMeasurement.size(); i < whole.Bytes.size(); ++i)
        ASSERT_EQ(whole.Bytes[i], 0) << i;
}

TEST_F(ResponseTest, NoiseStaysButAWholeAnswerPassesOnItsOwn)
{
    EXPECT_EQ(Class(Take(kNoise)), TAnswerClass::None);
    EXPECT_EQ(AssemblyCount, 3);
    const TReceivedFrame frame = Take(kMeasurement);
    EXPECT_EQ(FrameBytes(frame), kMeasurement);
    EXPECT_EQ(Class(frame), TAnswerClass::ReadAnswer);
    EXPECT_EQ(AssemblyCount, 0);
}

TEST_F(ResponseTest, NoiseThenASplitAnswerFailsUntilTheBufferIsCleared)
{
    Take(kNoise);
    const TReceivedFrame first = Take({0x01, 0x03, 0x04, 0x00});
    EXPECT_EQ(first.Length, 7);
    const TReceivedFrame second = Take({0xFD, 0x01, 0xC8, 0x6B, 0xC5});
    EXPECT_EQ(second.Length, 12);
    EXPECT_EQ(Class(second), TAnswerClass::None);
    EXPECT_EQ(AssemblyCount, 12);

    // A send clears the pieces; the next split answer joins cleanly.
    AssemblyCount = 0;
    Take({0x01, 0x03, 0x04, 0x00});
    EXPECT_EQ(Class(Take({0xFD, 0x01, 0xC8, 0x6B, 0xC5})), TAnswerClass::ReadAnswer);
}

TEST_F(ResponseTest, StrayByteIsNotKept)
{
    const TReceivedFrame stray = Take({0x01});
    EXPECT_EQ(stray.Length, 1);
    EXPECT_EQ(Class(stray), TAnswerClass::None);
    EXPECT_EQ(AssemblyCount, 0);
    EXPECT_EQ(Take({}).Length, 0);

    // Between two pieces it is skipped, and the pieces still join.
    Take({0x01, 0x03, 0x04, 0x00});
    Take({0x7F});
    EXPECT_EQ(AssemblyCount, 4);
    EXPECT_EQ(Class(Take({0xFD, 0x01, 0xC8, 0x6B, 0xC5})), TAnswerClass::ReadAnswer);
}

TEST_F(ResponseTest, SevenByteReadIsTheShortReadFromAnyAddress)
{
    const TReceivedFrame frame = Take(kAddressAnswer);
    for (TPendingRequest pending : {TPendingRequest::AddressQuery, TPendingRequest::Measurement}) {
        EXPECT_EQ(Class(frame, 1, pending), TAnswerClass::ShortRead);
        EXPECT_EQ(Class(frame, 9, pending), TAnswerClass::ShortRead) << "the address byte is not looked at";
    }
    EXPECT_EQ(frame.DeviceAddress(), 5);
}

TEST_F(ResponseTest, RefusalOnlyFromTheAddressedDevice)
{
    const TReceivedFrame frame = Take(kRefusal);
    EXPECT_EQ(Class(frame, 1), TAnswerClass::Refusal);
    EXPECT_EQ(Class(frame, 2), TAnswerClass::None);
    EXPECT_EQ(Class(Take(WithCrc({0x01, 0x80, 0x02})), 1), TAnswerClass::None) << "0x80 itself is no refusal";
    EXPECT_EQ(Class(Take(WithCrc({0x01, 0x86, 0x03})), 1), TAnswerClass::Refusal);
}

TEST_F(ResponseTest, SettingsAnswerCarriesAddressAndBaudCode)
{
    const TReceivedFrame frame = Take(kSettingsAnswer);
    EXPECT_EQ(Class(frame, 1, TPendingRequest::SettingsRead), TAnswerClass::ReadAnswer);
    EXPECT_EQ(frame.DeviceAddress(), 1);
    EXPECT_EQ(frame.BaudCode(), 3);
    // Only the low byte of the second register names the rate.
    EXPECT_EQ(Take(WithCrc({0x01, 0x03, 0x04, 0x00, 0xF7, 0x01, 0x04})).BaudCode(), 4);
}

TEST_F(ResponseTest, WriteEchoesFromAnyNonZeroAddress)
{
    EXPECT_EQ(Class(Take(kWriteEcho)), TAnswerClass::WriteEcho);
    const TBytes assignEcho = WithCrc({0x01, 0x06, 0x00, 0x64, 0x00, 0x02});
    EXPECT_EQ(Class(Take(assignEcho), 7, TPendingRequest::AutoAddress), TAnswerClass::WriteEcho);
    EXPECT_EQ(Class(Take(WithCrc({0xFF, 0x06, 0x00, 0x64, 0x00, 0x01})), 0), TAnswerClass::WriteEcho);
    // At address 0 only the read-answer class takes a 0x06 frame, and only when it is ours.
    const TBytes zeroEcho = WithCrc({0x00, 0x06, 0x00, 0x64, 0x00, 0x01});
    EXPECT_EQ(Class(Take(zeroEcho), 0), TAnswerClass::ReadAnswer);
    EXPECT_EQ(Class(Take(zeroEcho), 1), TAnswerClass::None);
    EXPECT_EQ(Class(Take(WithCrc({0x00, 0x10, 0x00, 0x64, 0x00, 0x02})), 0), TAnswerClass::None);
}

TEST_F(ResponseTest, ReadAnswerNeedsItsAddressOrAutomaticAddressing)
{
    const TBytes fromThree = WithCrc({0x03, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02});
    EXPECT_EQ(Class(Take(fromThree), 1), TAnswerClass::None);
    EXPECT_EQ(Class(Take(fromThree), 3), TAnswerClass::ReadAnswer);
    EXPECT_EQ(Class(Take(fromThree), 1, TPendingRequest::AutoAddress), TAnswerClass::ReadAnswer);
    EXPECT_EQ(Class(Take(WithCrc({0xFF, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02})), 1), TAnswerClass::ReadAnswer);
    EXPECT_EQ(Class(Take(WithCrc({0x01, 0x05, 0x00, 0x01})), 1), TAnswerClass::None) << "a function no class takes";

    TBytes badCrc = kMeasurement;
    badCrc.back() ^= 0x01;
    AssemblyCount = 0;
    EXPECT_EQ(Class(Take(badCrc)), TAnswerClass::None);
}

TEST_F(ResponseTest, BlockOver255BytesIsExaminedUpTo255)
{
    // Its first 255 bytes happen to check: they are the frame.
    TBytes block = WithCrc(TBytes(253, 0x11));
    block.resize(300, 0x22);
    AssemblyCount = 10;
    const TReceivedFrame frame = Take(block);
    EXPECT_EQ(frame.Length, 255);
    EXPECT_TRUE(frame.CrcGood());
    EXPECT_EQ(AssemblyCount, 0);

    // Noise that long cannot join the pieces: both go.
    Take(kNoise);
    const TReceivedFrame noise = Take(TBytes(300, 0x33));
    EXPECT_EQ(noise.Length, 255);
    EXPECT_EQ(AssemblyCount, 0);
    EXPECT_EQ(noise.Bytes[0], 0x33);
}

TEST_F(ResponseTest, PiecesThatWouldPassTheBufferAreDropped)
{
    Take(TBytes(200, 0x44));
    EXPECT_EQ(AssemblyCount, 200);
    Take(TBytes(55, 0x45));
    EXPECT_EQ(AssemblyCount, 255) << "exactly full still fits";
    const TReceivedFrame frame = Take({0x46, 0x47});
    EXPECT_EQ(AssemblyCount, 0);
    EXPECT_EQ(FrameBytes(frame), (TBytes{0x46, 0x47})) << "the block alone stays under examination";
}

TEST(ResponseFuzz, AnyBlocksKeepTheBounds)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    TFrameBuffer assemblyBuffer{};
    int assemblyCount = 0;
    std::vector<std::uint8_t> block;
    size_t classified = 0;
    for (int round = 0; round < 1'000'000; ++round) {
        const int shape = byte(random);
        // Mostly answer-sized blocks, now and then one far past the buffer.
        const size_t length = shape < 8 ? static_cast<size_t>(byte(random)) * 3 : static_cast<size_t>(shape % 16);
        block.resize(length);
        for (auto& b : block)
            b = static_cast<std::uint8_t>(byte(random));
        const auto requestAddress = static_cast<std::uint8_t>(byte(random) % 4);
        if (shape & 2 && length >= 2) { // shaped like an answer to us
            const std::uint8_t functions[] = {0x03, 0x06, 0x10, 0x83, 0x04};
            block[0] = requestAddress;
            block[1] = functions[shape % 5];
        }
        if (shape & 1 && length >= 2) {
            const std::uint16_t crc = Crc16(block.data(), length - 2);
            block[length - 2] = static_cast<std::uint8_t>(crc & 0xFF);
            block[length - 1] = static_cast<std::uint8_t>(crc >> 8);
        }
        if (shape == 255)
            assemblyCount = 0; // a send in between
        const TReceivedFrame frame = TakeInBlock(assemblyBuffer, assemblyCount, block.data(), block.size());
        ASSERT_LE(assemblyCount, kMaxFrameLength);
        ASSERT_GE(assemblyCount, 0);
        ASSERT_LE(frame.Length, kMaxFrameLength);
        const auto pending = static_cast<TPendingRequest>(byte(random) % 5);
        const TAnswerClass answer = ClassifyAnswer(frame, requestAddress, pending);
        if (answer != TAnswerClass::None) {
            ASSERT_TRUE(frame.CrcGood());
            ++classified;
        }
    }
    EXPECT_GT(classified, 100'000u) << "the valid blocks reach the classes";
}
