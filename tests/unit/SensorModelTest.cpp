// The simulated sensor's answers to the tool's six requests, its refusals, and when its
// writes take effect.
#include "app/ModbusRequests.h"
#include "tools/sim/SensorModel.h"

#include <gtest/gtest.h>

namespace {

TBytes Frame(std::initializer_list<std::uint8_t> withoutCrc)
{
    TBytes frame(withoutCrc);
    AppendCrc(frame);
    return frame;
}

template <class Build, class... Args>
TBytes Request(Build build, Args... args)
{
    TFrameBuffer buffer{};
    const size_t length = build(buffer, args...);
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length)};
}

TSensorModel SensorAt(std::uint8_t address, std::int16_t temperature = 253, std::uint16_t humidity = 456)
{
    TSensorSettings settings;
    settings.Address = address;
    settings.Temperature = temperature;
    settings.Humidity = humidity;
    return TSensorModel(settings);
}

} // namespace

TEST(SensorModel, AnswersTheSixRequestsOfTheTool)
{
    struct Case {
        const char* name;
        std::uint8_t address;
        TBytes request;
        TBytes answer;
    };
    const Case cases[] = {
        {"query address", 5, Request(BuildQueryAddress), {0x05, 0x03, 0x02, 0x00, 0x05, 0x89, 0x87}},
        {"measurement", 1, Request(BuildReadMeasurement, 1), {0x01, 0x03, 0x04, 0x00, 0xFD, 0x01, 0xC8, 0x6B, 0xC5}},
        {"settings read", 1, Request(BuildReadSettings, 1), {0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x03, 0xEB, 0xF2}},
        {"settings write", 1, Request(BuildWriteSettings, 1, 2, 3), {0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x00, 0x17}},
        {"assign address", 1, Request(BuildAssignAddress, 2), {0x01, 0x06, 0x00, 0x64, 0x00, 0x02, 0x49, 0xD4}},
        {"broadcast address 1", 7, Request(BuildBroadcastAddress1), Frame({0x07, 0x06, 0x00, 0x64, 0x00, 0x01})},
    };
    for (const Case& c : cases) {
        TSensorModel sensor = SensorAt(c.address);
        const auto answer = sensor.Answer(c.request);
        ASSERT_TRUE(answer.has_value()) << c.name;
        EXPECT_EQ(*answer, c.answer) << c.name;
    }
}

TEST(SensorModel, SignedTemperatureAndUnsignedHumidity)
{
    TSensorModel cold = SensorAt(1, -10, 456);
    EXPECT_EQ(cold.Answer(Request(BuildReadMeasurement, 1)),
              (TBytes{0x01, 0x03, 0x04, 0xFF, 0xF6, 0x01, 0xC8, 0x2A, 0x13}));
    TSensorModel humid = SensorAt(1, 0, 65535);
    EXPECT_EQ(humid.Answer(Request(BuildReadMeasurement, 1)), Frame({0x01, 0x03, 0x04, 0x00, 0x00, 0xFF, 0xFF}));
    // Each register alone, too.
    EXPECT_EQ(humid.Answer(Frame({0x01, 0x03, 0x00, 0x01, 0x00, 0x01})), Frame({0x01, 0x03, 0x02, 0xFF, 0xFF}));
}

TEST(SensorModel, RefusesWithTheModbusExceptionCodes)
{
    struct Case {
        const char* name;
        TBytes request;
        std::uint8_t function;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"read of a register it lacks", Frame({0x01, 0x03, 0x00, 0x10, 0x00, 0x01}), 0x83, 0x02},
        {"read running past the humidity", Frame({0x01, 0x03, 0x00, 0x01, 0x00, 0x02}), 0x83, 0x02},
        {"read past the baud code", Frame({0x01, 0x03, 0x00, 0x64, 0x00, 0x03}), 0x83, 0x02},
        {"read of no register", Frame({0x01, 0x03, 0x00, 0x00, 0x00, 0x00}), 0x83, 0x03},
        {"address 0", Frame({0x01, 0x06, 0x00, 0x64, 0x00, 0x00}), 0x86, 0x03},
        {"address 248", Frame({0x01, 0x06, 0x00, 0x64, 0x00, 0xF8}), 0x86, 0x03},
        {"baud code 5", Frame({0x01, 0x06, 0x00, 0x65, 0x00, 0x05}), 0x86, 0x03},
        {"writing the temperature", Frame({0x01, 0x06, 0x00, 0x00, 0x00, 0x05}), 0x86, 0x02},
        {"settings write with baud FF FF", Request(BuildWriteSettings, 1, 2, -1), 0x90, 0x03},
        {"settings write to address 300", Request(BuildWriteSettings, 1, 300, 3), 0x90, 0x03},
        {"write multiple with a wrong byte count", Frame({0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x02, 0x00, 0x02}), 0x90, 0x03},
        {"write multiple past the baud code", Frame({0x01, 0x10, 0x00, 0x65, 0x00, 0x02, 0x04, 0x00, 0x01, 0x00, 0x01}), 0x90, 0x02},
        {"read input registers", Frame({0x01, 0x04, 0x00, 0x00, 0x00, 0x02}), 0x84, 0x01},
        {"an unknown function", Frame({0x01, 0x2B, 0x0E, 0x01, 0x00}), 0xAB, 0x01},
    };
    for (const Case& c : cases) {
        TSensorModel sensor = SensorAt(1);
        const auto answer = sensor.Answer(c.request);
        ASSERT_TRUE(answer.has_value()) << c.name;
        EXPECT_EQ(*answer, Frame({0x01, c.function, c.code})) << c.name;
        sensor.CommitWrites();
        EXPECT_EQ(sensor.Address(), 1) << c.name << ": a refused write changes nothing";
        EXPECT_EQ(sensor.BaudCode(), 3) << c.name;
    }
    // The refusal the tool's log shows as its example.
    EXPECT_EQ(SensorAt(1).Answer(Frame({0x01, 0x03, 0x00, 0x10, 0x00, 0x01})), (TBytes{0x01, 0x83, 0x02, 0xC0, 0xF1}));
}

TEST(SensorModel, WritesTakeEffectAfterTheEcho)
{
    TSensorModel sensor = SensorAt(1);
    const auto echo = sensor.Answer(Request(BuildWriteSettings, 1, 2, 4));
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ((*echo)[0], 0x01) << "the echo leaves on the old address";
    EXPECT_EQ(sensor.Address(), 1);
    EXPECT_EQ(sensor.BaudCode(), 3);
    sensor.CommitWrites();
    EXPECT_EQ(sensor.Address(), 2);
    EXPECT_EQ(sensor.BaudCode(), 4);
    EXPECT_FALSE(sensor.Answer(Request(BuildReadMeasurement, 1)).has_value()) << "address 1 is no longer its own";
    EXPECT_TRUE(sensor.Answer(Request(BuildReadMeasurement, 2)).has_value());
    // A later read answers from the new registers.
    EXPECT_EQ(sensor.Answer(Request(BuildReadSettings, 2)), Frame({0x02, 0x03, 0x04, 0x00, 0x02, 0x00, 0x04}));
}

TEST(SensorModel, KeepsSilentForOtherSlavesAndForBroadcasts)
{
    TSensorModel sensor = SensorAt(5);
    EXPECT_FALSE(sensor.Answer(Request(BuildReadMeasurement, 1)).has_value());
    EXPECT_FALSE(sensor.Answer(Request(BuildAssignAddress, 9)).has_value());
    sensor.CommitWrites();
    EXPECT_EQ(sensor.Address(), 5) << "a write to another slave is not carried out";
    // Slave address 0 is the Modbus broadcast: carried out, never answered.
    EXPECT_FALSE(sensor.Answer(Frame({0x00, 0x06, 0x00, 0x64, 0x00, 0x09})).has_value());
    sensor.CommitWrites();
    EXPECT_EQ(sensor.Address(), 9);
    EXPECT_FALSE(sensor.Answer({0x05, 0x03}).has_value()) << "too short to be a request";
}

TEST(SensorModel, DriftStaysNearTheStartAndMoves)
{
    TSensorSettings settings;
    settings.Drift = 2;
    TSensorModel sensor(settings, 7);
    bool moved = false;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(sensor.Answer(Request(BuildReadMeasurement, 1)).has_value());
        moved = moved || sensor.Temperature() != 253 || sensor.Humidity() != 456;
        ASSERT_LE(std::abs(sensor.Temperature() - 253), 100);
        ASSERT_LE(std::abs(sensor.Humidity() - 456), 100);
    }
    EXPECT_TRUE(moved);
    TSensorModel still{TSensorSettings{}};
    for (int i = 0; i < 10; ++i)
        still.Answer(Request(BuildReadMeasurement, 1));
    EXPECT_EQ(still.Temperature(), 253);
}

TEST(SensorModel, BaudCodesAndRates)
{
    const int rates[] = {1200, 2400, 4800, 9600, 19200};
    for (std::uint16_t code = 0; code < 5; ++code) {
        EXPECT_EQ(BaudRateOfCode(code), rates[code]);
        EXPECT_EQ(BaudCodeOfRate(rates[code]), code);
    }
    EXPECT_EQ(BaudCodeOfRate(38400), std::nullopt);
    EXPECT_EQ(BaudRateOfCode(5), 0);
}
