// The simulator on a Windows COM port: the serve loop on one end of a rig line answers a
// request written on the other end, paced, and ends when asked.
#include "tests/win/TestSupport.h"

#include "app/ModbusRequests.h"
#include "tools/sim/ComPort_win.h"
#include "tools/sim/SteadyClock.h"

#include <thread>

TEST(SimComPort, ServesTheSensorOnAComPort)
{
    REQUIRE_RIG_PORTS(1);
    const TPortPair pair = RigPortPairs()[0];
    const std::string device(pair.Device.begin(), pair.Device.end());

    TSteadyClock clock;
    TComPort port(device, 9600, clock);
    TSensorBus bus(TSensorSettings{});
    TSimServer server(bus, port, clock);
    std::atomic<bool> stop{false};
    bool served = false;
    std::thread serving([&] { served = server.Run(stop); });

    const HANDLE tool = ::CreateFileW((L"\\\\.\\" + pair.Port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(tool, INVALID_HANDLE_VALUE);
    ::PurgeComm(tool, PURGE_RXCLEAR | PURGE_TXCLEAR);
    COMMTIMEOUTS timeouts{0, 0, 3000, 0, 1000}; // a read waits for all nine bytes, three seconds at most
    ::SetCommTimeouts(tool, &timeouts);
    TFrameBuffer request{};
    const size_t length = BuildReadMeasurement(request, 1);
    DWORD count = 0;
    ASSERT_TRUE(::WriteFile(tool, request.data(), static_cast<DWORD>(length), &count, nullptr));
    std::uint8_t answer[9] = {};
    ASSERT_TRUE(::ReadFile(tool, answer, sizeof answer, &count, nullptr));
    ::CloseHandle(tool);

    stop = true;
    serving.join();
    EXPECT_TRUE(served) << "the loop ends on request, not on a failed line";
    ASSERT_EQ(count, 9u);
    const std::uint8_t expected[9] = {0x01, 0x03, 0x04, 0x00, 0xFD, 0x01, 0xC8, 0x6B, 0xC5};
    EXPECT_TRUE(std::equal(answer, answer + 9, expected));
    EXPECT_EQ(bus.Stats().Answers, 1u);
}

TEST(SimComPort, NamesThePortItCannotOpen)
{
    TSteadyClock clock;
    try {
        TComPort port("COM99", 9600, clock);
        ADD_FAILURE() << "COM99 opened";
    } catch (const ESimPortError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot open COM99"), std::string::npos) << e.what();
    }
}
