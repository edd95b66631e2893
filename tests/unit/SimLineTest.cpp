// The simulated line: sensors plugged in one after another, the injected faults, frame
// detection by silence, answers paced at the line's rate, and the serve loop on a scripted
// port and clock (no sleeping).
#include "app/ModbusRequests.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/SimServer.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

namespace {

using namespace std::chrono_literals;

template <class Build, class... Args>
TBytes Request(Build build, Args... args)
{
    TFrameBuffer buffer{};
    const size_t length = build(buffer, args...);
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length)};
}

const TBytes kMeasurementAnswer{0x01, 0x03, 0x04, 0x00, 0xFD, 0x01, 0xC8, 0x6B, 0xC5};

TBytes Joined(const std::vector<TAnswerPiece>& pieces)
{
    TBytes all;
    for (const auto& piece : pieces)
        all.insert(all.end(), piece.Bytes.begin(), piece.Bytes.end());
    return all;
}

TSensorBus BusWith(const TFaultPlan& faults)
{
    return TSensorBus(TSensorSettings{}, 1, faults);
}

} // namespace

TEST(SensorBus, PlugsInTheNextSensorOnceTheLastOneTookAnAddress)
{
    TSensorBus bus(TSensorSettings{}, 3);
    EXPECT_EQ(bus.Plugged(), 1u);
    EXPECT_FALSE(bus.Handle(Request(BuildReadMeasurement, 1)).empty());
    EXPECT_EQ(bus.Plugged(), 1u) << "a read moves no sensor";

    for (std::uint16_t next = 2; next <= 4; ++next) {
        const auto echo = bus.Handle(Request(BuildAssignAddress, next));
        ASSERT_EQ(echo.size(), 1u) << next;
        EXPECT_EQ(echo[0].Bytes, Request(BuildAssignAddress, next)) << "the echo of " << next;
    }
    EXPECT_EQ(bus.Plugged(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(bus.Sensor(i).Address(), i + 2);
    // Each answers at its own address now, and nobody at 1.
    for (std::uint8_t address = 2; address <= 4; ++address)
        EXPECT_EQ(Joined(bus.Handle(Request(BuildReadMeasurement, address)))[0], address);
    EXPECT_TRUE(bus.Handle(Request(BuildReadMeasurement, 1)).empty());
    EXPECT_TRUE(bus.Handle(Request(BuildAssignAddress, 5)).empty()) << "no fourth sensor";
}

TEST(SensorBus, OnlyTheFirstSensorIsHeardAtTheAnyAddress)
{
    TSensorBus bus(TSensorSettings{}, 2);
    bus.Handle(Request(BuildAssignAddress, 9));
    ASSERT_EQ(bus.Plugged(), 2u);
    TBytes nine{0x09, 0x03, 0x02, 0x00, 0x09};
    AppendCrc(nine);
    EXPECT_EQ(Joined(bus.Handle(Request(BuildQueryAddress))), nine);
    // The broadcast reaches both, one echo is heard.
    EXPECT_EQ(bus.Handle(Request(BuildBroadcastAddress1)).size(), 1u);
    EXPECT_EQ(bus.Sensor(0).Address(), 1);
    EXPECT_EQ(bus.Sensor(1).Address(), 1);
}

TEST(SensorBus, DropsEveryNthRequestAndCountsFramesApart)
{
    TFaultPlan faults;
    faults.DropEvery = 3;
    TSensorBus bus = BusWith(faults);
    std::vector<bool> answered;
    for (int i = 0; i < 7; ++i)
        answered.push_back(!bus.Handle(Request(BuildReadMeasurement, 1)).empty());
    EXPECT_EQ(answered, (std::vector<bool>{true, true, false, true, true, false, true}));
    TBytes bad = Request(BuildReadMeasurement, 1);
    bad.back() ^= 1;
    EXPECT_TRUE(bus.Handle(bad).empty());
    EXPECT_TRUE(bus.Handle(Request(BuildReadMeasurement, 9)).empty());
    const TSimStats& s = bus.Stats();
    EXPECT_EQ(s.Frames, 9u);
    EXPECT_EQ(s.BadFrames, 1u);
    EXPECT_EQ(s.Requests, 8u);
    EXPECT_EQ(s.Dropped, 2u);
    EXPECT_EQ(s.Answers, 5u);
}

TEST(SensorBus, ShapesAnswersByTheFaultPlan)
{
    {
        TFaultPlan faults;
        faults.SplitEvery = 2;
        faults.SplitGapMs = 40;
        TSensorBus bus = BusWith(faults);
        EXPECT_EQ(bus.Handle(Request(BuildReadMeasurement, 1)).size(), 1u);
        const auto split = bus.Handle(Request(BuildReadMeasurement, 1));
        ASSERT_EQ(split.size(), 2u);
        EXPECT_EQ(split[0].Bytes, TBytes(kMeasurementAnswer.begin(), kMeasurementAnswer.begin() + 4));
        EXPECT_EQ(split[1].GapBeforeMs, 40);
        EXPECT_EQ(Joined(split), kMeasurementAnswer);
    }
    {
        TFaultPlan faults;
        faults.NoiseEvery = 1;
        faults.NoiseBytes = 4;
        faults.NoiseGapMs = 0;
        faults.DelayMs = 120;
        faults.DelayEvery = 1;
        TSensorBus bus = BusWith(faults);
        const auto noisy = bus.Handle(Request(BuildReadMeasurement, 1));
        ASSERT_EQ(noisy.size(), 2u);
        EXPECT_EQ(noisy[0].GapBeforeMs, 120) << "the delay comes before everything";
        EXPECT_EQ(noisy[0].Bytes.size(), 4u);
        EXPECT_EQ(noisy[1].GapBeforeMs, 0);
        EXPECT_EQ(noisy[1].Bytes, kMeasurementAnswer);
    }
    {
        TFaultPlan faults;
        faults.CorruptEvery = 1;
        TSensorBus bus = BusWith(faults);
        const TBytes corrupted = Joined(bus.Handle(Request(BuildReadMeasurement, 1)));
        EXPECT_EQ(corrupted.size(), 9u);
        EXPECT_FALSE(CrcGood(corrupted));
        EXPECT_TRUE(std::equal(corrupted.begin(), corrupted.end() - 1, kMeasurementAnswer.begin()));
        EXPECT_EQ(bus.Stats().Corrupted, 1u);
    }
    {
        TFaultPlan faults;
        faults.SilentAfter = 2;
        TSensorBus bus = BusWith(faults);
        int answers = 0;
        for (int i = 0; i < 5; ++i)
            answers += bus.Handle(Request(BuildReadMeasurement, 1)).empty() ? 0 : 1;
        EXPECT_EQ(answers, 2);
        EXPECT_EQ(bus.Stats().Silenced, 3u);
    }
}

TEST(SimLine, WaitsThreeAndAHalfCharactersThenPacesTheAnswer)
{
    EXPECT_EQ(CharacterTime(9600), 1041us);
    EXPECT_EQ(FrameSilence(9600), 3645us);
    EXPECT_EQ(FrameSilence(1200), 29166us);

    TSensorBus bus(TSensorSettings{});
    TSimLine line(bus);
    EXPECT_EQ(line.FrameEnd(), std::nullopt);
    const TBytes request = Request(BuildReadMeasurement, 1);
    // The request in two pieces: each byte takes its character time on the wire, so the
    // second piece, handed over before the first could have arrived, queues behind it; the
    // silence counts from the last byte.
    line.Receive(request.data(), 3, 1000us);
    line.Receive(request.data() + 3, 5, 2000us);
    const TSimTime lastByte = 1000us + 8 * CharacterTime(9600);
    ASSERT_EQ(line.FrameEnd(), lastByte + FrameSilence(9600));
    EXPECT_TRUE(line.Poll(lastByte + FrameSilence(9600) - 1us).empty()) << "not silent long enough yet";
    // A piece after a pause counts from its own moment.
    TSimLine paused(bus);
    paused.Receive(request.data(), 3, 0us);
    paused.Receive(request.data() + 3, 5, 20ms);
    EXPECT_EQ(paused.FrameEnd(), 20ms + 5 * CharacterTime(9600) + FrameSilence(9600));

    const auto answer = line.Poll(20ms);
    ASSERT_EQ(answer.size(), 9u);
    for (size_t i = 0; i < answer.size(); ++i) {
        EXPECT_EQ(answer[i].Value, kMeasurementAnswer[i]);
        EXPECT_EQ(answer[i].At, 20ms + static_cast<int>(i + 1) * CharacterTime(9600)) << i;
    }
    EXPECT_EQ(line.LastFrame(), request);
    EXPECT_EQ(line.FrameEnd(), std::nullopt);
}

TEST(SimLine, GapsOfSplitAnswersAndANewRateAfterTheEcho)
{
    TFaultPlan faults;
    faults.SplitEvery = 1;
    faults.SplitGapMs = 50;
    TSensorBus bus = BusWith(faults);
    TSimLine line(bus);
    const TBytes write = Request(BuildWriteSettings, 1, 1, 4);
    line.Receive(write.data(), write.size(), 0us);
    const auto echo = line.Poll(20ms);
    ASSERT_EQ(echo.size(), 8u);
    EXPECT_EQ(echo[3].At, 20ms + 4 * CharacterTime(9600));
    EXPECT_EQ(echo[4].At, 20ms + 50ms + 5 * CharacterTime(9600)) << "the second half after the gap";
    EXPECT_EQ(bus.BaudRate(), 19200) << "the new rate after its echo";

    const TBytes read = Request(BuildReadMeasurement, 1);
    line.Receive(read.data(), read.size(), 100ms);
    EXPECT_EQ(line.FrameEnd(), 100ms + 8 * CharacterTime(19200) + FrameSilence(19200));
    const auto answer = line.Poll(200ms);
    ASSERT_EQ(answer.size(), 9u);
    EXPECT_EQ(answer[0].At, 200ms + CharacterTime(19200));
}

TEST(SimLine, AnOverlongBurstKeepsItsEnd)
{
    TSensorBus bus(TSensorSettings{});
    TSimLine line(bus);
    const TBytes noise(1000, 0x55);
    line.Receive(noise.data(), noise.size(), 0us);
    const TBytes request = Request(BuildReadMeasurement, 1);
    line.Receive(request.data(), request.size(), 0us);
    EXPECT_TRUE(line.Poll(2s).empty()) << "noise in front of a request spoils its CRC";
    EXPECT_EQ(line.LastFrame().size(), 256u);
    EXPECT_EQ(bus.Stats().BadFrames, 1u);
}

namespace {

// A line whose bytes arrive at set moments; the clock jumps instead of sleeping.
class TScriptedLine : public TSimPort, public TSimClock {
public:
    struct TArrival {
        TSimTime At;
        TBytes Bytes;
    };
    std::deque<TArrival> Arrivals;
    std::vector<TTimedByte> Written;
    std::vector<int> Rates;
    TSimTime Clock{};

    TSimTime Now() override { return Clock; }
    void SleepUntil(TSimTime at) override { Clock = std::max(Clock, at); }
    long Read(std::uint8_t* buffer, size_t capacity, TSimTime until) override
    {
        if (Arrivals.empty() || Arrivals.front().At > until) {
            Clock = std::max(Clock, until);
            return Arrivals.empty() && until > 10s ? -1 : 0;
        }
        Clock = std::max(Clock, Arrivals.front().At);
        const TBytes bytes = Arrivals.front().Bytes;
        Arrivals.pop_front();
        const size_t n = std::min(capacity, bytes.size());
        std::copy_n(bytes.begin(), n, buffer);
        return static_cast<long>(n);
    }
    bool Write(std::uint8_t byte) override
    {
        Written.push_back({byte, Clock});
        return true;
    }
    void SetBaudRate(int rate) override { Rates.push_back(rate); }
};

} // namespace

TEST(SimServer, AnswersAtTheLinesPaceAndFollowsItsNewRate)
{
    TScriptedLine line;
    line.Arrivals.push_back({5ms, Request(BuildReadMeasurement, 1)});
    line.Arrivals.push_back({200ms, Request(BuildWriteSettings, 1, 1, 0)});
    TSensorBus bus(TSensorSettings{});
    std::ostringstream log;
    TSimServer server(bus, line, line, &log);
    std::vector<unsigned> frames;
    server.OnFrame = [&](const TSimStats& stats) { frames.push_back(stats.Frames); };
    std::atomic<bool> stop{false};
    EXPECT_FALSE(server.Run(stop)) << "the script ends in a failed line";

    ASSERT_EQ(line.Written.size(), 9u + 8u);
    const TSimTime start = 5ms + 8 * CharacterTime(9600) + FrameSilence(9600);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(line.Written[i].Value, kMeasurementAnswer[i]);
        EXPECT_EQ(line.Written[i].At, start + static_cast<int>(i + 1) * CharacterTime(9600)) << i;
    }
    EXPECT_EQ(line.Written[16].At, 200ms + 13 * CharacterTime(9600) + FrameSilence(9600) + 8 * CharacterTime(9600))
        << "echo still at 9600";
    EXPECT_EQ(line.Rates, std::vector<int>{1200});
    EXPECT_EQ(frames, (std::vector<unsigned>{1, 2}));
    EXPECT_NE(log.str().find("RX: 01 03 00 00 00 02 C4 0B"), std::string::npos) << log.str();
    EXPECT_NE(log.str().find("TX: 01 03 04 00 FD 01 C8 6B C5"), std::string::npos) << log.str();
}

TEST(SimServer, StopsWhenAsked)
{
    TScriptedLine line;
    TSensorBus bus(TSensorSettings{});
    TSimServer server(bus, line, line);
    std::atomic<bool> stop{true};
    EXPECT_TRUE(server.Run(stop));
    EXPECT_TRUE(line.Written.empty());
}

TEST(SimOptions, ReadsValuesLineSensorsAndFaults)
{
    const TSimOptions o = ParseSimOptions({"/dev/pts/3", "--temperature", "-1", "--humidity=99.9", "--drift", "0.2",
                                           "--baud", "19200", "--drop-every", "4", "--split-every", "2",
                                           "--split-gap", "30", "--noise-every", "5", "--noise-bytes", "6",
                                           "--corrupt-every", "7", "--delay", "15", "--silent-after", "9",
                                           "--stats", "/tmp/s", "-v"});
    EXPECT_EQ(o.Device, "/dev/pts/3");
    EXPECT_EQ(o.Sensor.Temperature, -10);
    EXPECT_EQ(o.Sensor.Humidity, 999);
    EXPECT_EQ(o.Sensor.Drift, 2);
    EXPECT_EQ(o.Sensor.BaudCode, 4);
    EXPECT_EQ(o.Faults.DropEvery, 4u);
    EXPECT_EQ(o.Faults.SplitEvery, 2u);
    EXPECT_EQ(o.Faults.SplitGapMs, 30);
    EXPECT_EQ(o.Faults.NoiseEvery, 5u);
    EXPECT_EQ(o.Faults.NoiseBytes, 6u);
    EXPECT_EQ(o.Faults.CorruptEvery, 7u);
    EXPECT_EQ(o.Faults.DelayMs, 15);
    EXPECT_EQ(o.Faults.DelayEvery, 1u) << "a delay alone delays every answer";
    EXPECT_EQ(o.Faults.SilentAfter, 9u);
    EXPECT_EQ(o.StatsFile, "/tmp/s");
    EXPECT_TRUE(o.Verbose);
    EXPECT_EQ(ParseSimOptions({"d", "--sensors", "3"}).Sensors, 3u);
    EXPECT_TRUE(ParseSimOptions({"--help"}).Help);
}

TEST(SimOptions, RefusesBadInputWithItsName)
{
    const std::vector<std::vector<std::string>> bad{
        {},
        {"--verbose"},
        {"d", "--baud", "38400"},
        {"d", "--baud", "fast"},
        {"d", "--address", "0"},
        {"d", "--address", "248"},
        {"d", "--temperature", "4000"},
        {"d", "--humidity", "-1"},
        {"d", "--humidity", "nan"},
        {"d", "--drop-every", "0"},
        {"d", "--drop-every", "3x"},
        {"d", "--delay"},
        {"d", "--colour", "red"},
        {"d", "e"},
        {"d", "--sensors", "3", "--address", "5"},
    };
    for (const auto& args : bad)
        EXPECT_THROW(ParseSimOptions(args), ESimOptionError) << (args.empty() ? "(none)" : args.back());
    try {
        ParseSimOptions({"d", "--baud", "38400"});
    } catch (const ESimOptionError& e) {
        EXPECT_NE(std::string(e.what()).find("--baud"), std::string::npos) << e.what();
    }
}

TEST(SensorBus, AnyRequestGetsAWellFormedAnswerOrNone)
{
    // Random requests with good CRCs, many of them near the sensor's own registers: every
    // answer must be a whole frame with a good CRC from the addressed sensor, either the
    // request's function or its refusal.
    TSensorBus bus(TSensorSettings{}, 3);
    unsigned random = 12345;
    const auto next = [&] {
        random = random * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(random >> 16);
    };
    const std::uint8_t functions[] = {0x03, 0x06, 0x10, 0x04, 0x83, 0x00};
    for (int i = 0; i < 200000; ++i) {
        TBytes request{static_cast<std::uint8_t>(next() % 6), functions[next() % 6], 0x00,
                       static_cast<std::uint8_t>(next() % 2 ? 0x64 + next() % 3 : next() % 3)};
        const size_t extra = next() % 12;
        for (size_t k = 0; k < extra; ++k)
            request.push_back(k < 2 ? next() % 4 : next());
        AppendCrc(request);
        const TBytes answer = Joined(bus.Handle(request));
        if (answer.empty())
            continue;
        ASSERT_TRUE(CrcGood(answer)) << i;
        ASSERT_NE(answer[0], 0) << "a broadcast is never answered";
        ASSERT_TRUE(answer[1] == request[1] || answer[1] == (request[1] | 0x80)) << i;
        if (answer[1] & 0x80) {
            ASSERT_EQ(answer.size(), 5u);
            ASSERT_GE(answer[2], 1);
            ASSERT_LE(answer[2], 3);
        }
    }
    for (size_t s = 0; s < 3; ++s) {
        EXPECT_GE(bus.Sensor(s).Address(), 1);
        EXPECT_LE(bus.Sensor(s).Address(), 247);
        EXPECT_LE(bus.Sensor(s).BaudCode(), 4);
    }
}
