// The real program against the simulator on the rig's lines, driven from outside like a
// user: Connect, query and Read, continuous reading through injected faults, a settings
// write that the program follows, and automatic addressing of three sensors.
#include "tests/e2e/E2eLines.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/RemoteWindow.h"
#include "tests/support/RigLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

namespace {


std::string Joined(const std::vector<std::wstring>& lines)
{
    std::string all;
    for (const auto& line : lines)
        all += Utf8(line) + "\n";
    return all;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& wanted)
{
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// The simulator's counts for a line, from the file it rewrites after every frame.
std::map<std::string, unsigned> SimCounts(const std::wstring& device)
{
    std::map<std::string, unsigned> counts;
    const wchar_t* dir = _wgetenv(L"QM27K_E2E_STATS_DIR");
    if (!dir)
        return counts;
    // Not "COM4.stats": a device name with any extension still names the device.
    const std::wstring path = std::wstring(dir) + L"\\sim-" + device + L".txt";
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return counts;
    char text[512] = "";
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    std::istringstream items(std::string(text, read));
    std::string item;
    while (items >> item) {
        const size_t eq = item.find('=');
        if (eq != std::string::npos)
            counts[item.substr(0, eq)] = static_cast<unsigned>(std::strtoul(item.c_str() + eq + 1, nullptr, 10));
    }
    return counts;
}

class ProgramE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ProgramUnderTest().empty()) << "pass the program's path as the first argument";
        if (RigPortPairs().size() < 4 || !std::getenv("QM27K_E2E_STATS_DIR"))
            GTEST_SKIP() << "needs the rig's four lines with simulators behind them (tests/e2e/with-simulators.sh)";
    }

    // Starts the program and connects it to the line at 9600 baud.
    void Connect(int line)
    {
        Pair = RigPortPairs()[static_cast<size_t>(line)];
        Program = std::make_unique<TRemoteProgram>(ProgramUnderTest());
        ASSERT_TRUE(Program->Started());
        const HWND window = Program->WaitForWindow();
        ASSERT_NE(window, nullptr);
        Form = std::make_unique<TRemoteForm1>(window);
        ASSERT_TRUE(Form->Complete()) << "every control where the window lays it out";
        ASSERT_TRUE(RemoteSetText(Form->ComboBox5, Pair.Port));
        ASSERT_TRUE(RemoteClick(Form->BitBtn1));
        ASSERT_TRUE(WaitFor([&] { return Form->Panel(kRemotePortPanel) == L"打开"; }))
            << Utf8(Form->Panel(kRemotePortPanel));
        EXPECT_FALSE(RemoteEnabled(Form->BitBtn1));
    }

    template <class Pred>
    static bool WaitFor(Pred done, int timeoutMs = 5000)
    {
        return PumpUntil(done, timeoutMs);
    }

    bool WaitForPanel(int panel, const std::wstring& text, int timeoutMs = 5000)
    {
        return WaitFor([&] { return Form->Panel(panel) == text; }, timeoutMs);
    }

    void TearDown() override
    {
        if (Program && Form) {
            EXPECT_EQ(Program->Close(), 0) << "the program ends cleanly when its window is closed";
        }
    }

    TPortPair Pair;
    std::unique_ptr<TRemoteProgram> Program;
    std::unique_ptr<TRemoteForm1> Form;
};

} // namespace

TEST_F(ProgramE2e, QueryTheAddressThenReadTheSensorThere)
{
    ASSERT_NO_FATAL_FAILURE(Connect(kE2eAddressedLine));
    ASSERT_TRUE(RemoteClick(Form->BitBtn7));
    ASSERT_TRUE(WaitForPanel(kRemoteCommPanel, L"正常")) << Utf8(Form->Panel(kRemoteCommPanel));
    EXPECT_EQ(RemoteText(Form->LabeledEdit6), std::to_wstring(kE2eSensorAddress));

    ASSERT_TRUE(RemoteClick(Form->BitBtn2));
    ASSERT_TRUE(WaitFor([&] { return RemoteText(Form->LabeledEdit1) == L"25.3"; }))
        << Utf8(RemoteText(Form->LabeledEdit1));
    EXPECT_EQ(RemoteText(Form->LabeledEdit2), L"45.6");
    EXPECT_EQ(Form->Panel(kRemoteCommPanel), L"正常");
    EXPECT_EQ(Form->Panel(kRemoteStatisticsPanel), L"");

    const auto log = Form->Log();
    EXPECT_TRUE(Contains(log, L"TX: FF 03 00 64 00 01 D0 0B")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 05 03 02 00 05 89 87------返回地址: 5")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"TX: 05 03 00 00 00 02 C5 8F")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 05 03 04 00 FD 01 C8 2E 05  ----25.3 ℃  45.6 rh%  采集成功")) << Joined(log);
    EXPECT_EQ(SimCounts(Pair.Device)["answers"], 2u);

    // The broadcast puts the sensor at address 1, and the window follows it there.
    ASSERT_TRUE(RemoteClick(Form->BitBtn8));
    ASSERT_TRUE(WaitForPanel(kRemoteCommPanel, L"操作成功")) << Utf8(Form->Panel(kRemoteCommPanel));
    EXPECT_EQ(RemoteText(Form->LabeledEdit6), L"1");
    ASSERT_TRUE(RemoteSetText(Form->LabeledEdit1, L""));
    ASSERT_TRUE(RemoteClick(Form->BitBtn2));
    EXPECT_TRUE(WaitFor([&] { return RemoteText(Form->LabeledEdit1) == L"25.3"; }));
    const auto after = Form->Log();
    EXPECT_TRUE(Contains(after, L"TX: FF 06 00 64 00 01 1C 0B")) << Joined(after);
    EXPECT_TRUE(Contains(after, L"TX: 01 03 00 00 00 02 C4 0B")) << Joined(after);
}

TEST_F(ProgramE2e, ContinuousReadingThroughFaultsCountsEveryRequest)
{
    ASSERT_NO_FATAL_FAILURE(Connect(kE2eFaultyLine));
    ASSERT_TRUE(RemoteClick(Form->checkbox1));
    ASSERT_TRUE(RemoteChecked(Form->checkbox1));
    ASSERT_TRUE(RemoteClick(Form->BitBtn2));
    EXPECT_EQ(RemoteText(Form->BitBtn2), L"停止");
    for (HWND off : {Form->checkbox1, Form->BitBtn6, Form->BitBtn3, Form->BitBtn4, Form->BitBtn5, Form->BitBtn7,
                     Form->Button1})
        EXPECT_FALSE(RemoteEnabled(off));

    // Every answer the line lets through intact is one success; the corrupted one is not.
    const int expectedSuccesses = static_cast<int>(kE2eSilentAfter - kE2eSilentAfter / kE2eCorruptEvery);
    int successes = -1, failures = -1;
    ASSERT_TRUE(WaitFor([&] { return ParseStatistics(Form->Panel(kRemoteStatisticsPanel), successes, failures) &&
                                     successes == expectedSuccesses; }, 30000))
        << Utf8(Form->Panel(kRemoteStatisticsPanel));
    // Then the sensor is silent: wait for the next failure, and stop before the one after.
    const int failuresWhenSilent = failures;
    ASSERT_TRUE(WaitFor([&] { return ParseStatistics(Form->Panel(kRemoteStatisticsPanel), successes, failures) &&
                                     failures > failuresWhenSilent; }, 10000))
        << Utf8(Form->Panel(kRemoteStatisticsPanel));
    ASSERT_TRUE(RemoteClick(Form->BitBtn2));
    EXPECT_EQ(RemoteText(Form->BitBtn2), L"读取");
    EXPECT_TRUE(RemoteEnabled(Form->Button1));
    EXPECT_EQ(successes, expectedSuccesses);

    // Each request is either answered, or followed by one tick that alternately repeats it
    // and counts a failure (sending it again); the last of those is still unanswered. So the
    // requests the sensor saw are the successes, twice the failures, and one.
    std::map<std::string, unsigned> counts;
    const unsigned expected = static_cast<unsigned>(successes + 2 * failures + 1);
    WaitFor([&] { return (counts = SimCounts(Pair.Device))["requests"] == expected; }, 2000);
    EXPECT_EQ(counts["requests"], expected) << "successes " << successes << ", failures " << failures;
    EXPECT_EQ(counts["answers"], kE2eSilentAfter);
    EXPECT_EQ(counts["requests"], counts["answers"] + counts["dropped"] + counts["silenced"]);
    EXPECT_GE(counts["dropped"], 1u);
    EXPECT_EQ(counts["bad"], 0u) << "every request the program sent had a good CRC";
}

TEST_F(ProgramE2e, SettingsWriteIsFollowedToTheNewAddressAndRate)
{
    ASSERT_NO_FATAL_FAILURE(Connect(kE2eSettingsLine));
    EXPECT_FALSE(RemoteEnabled(Form->BitBtn4)) << "no write before a settings read";
    ASSERT_TRUE(RemoteClick(Form->BitBtn3));
    ASSERT_TRUE(WaitForPanel(kRemoteCommPanel, L"正常"));
    EXPECT_EQ(RemoteText(Form->LabeledEdit3), L"1");
    EXPECT_EQ(RemoteText(Form->ComboBox1), L"9600");
    ASSERT_TRUE(RemoteEnabled(Form->BitBtn4));

    // An address the sensor does not take: it refuses, and the window says so.
    ASSERT_TRUE(RemoteSetText(Form->LabeledEdit3, L"300"));
    ASSERT_TRUE(RemoteClick(Form->BitBtn4));
    ASSERT_TRUE(WaitForPanel(kRemoteCommPanel, L"错误")) << Utf8(Form->Panel(kRemoteCommPanel));
    EXPECT_EQ(RemoteText(Form->LabeledEdit6), L"1");

    ASSERT_TRUE(RemoteSetText(Form->LabeledEdit3, L"2"));
    ASSERT_TRUE(RemoteSelect(Form->ComboBox1, 4));
    ASSERT_TRUE(RemoteClick(Form->BitBtn4));
    ASSERT_TRUE(WaitForPanel(kRemoteCommPanel, L"操作成功")) << Utf8(Form->Panel(kRemoteCommPanel));
    EXPECT_EQ(RemoteText(Form->LabeledEdit6), L"2");
    EXPECT_EQ(RemoteText(Form->ComboBox3), L"19200");

    // The next reading goes to the new address, and the sensor answers it at its new rate.
    ASSERT_TRUE(RemoteClick(Form->BitBtn2));
    ASSERT_TRUE(WaitFor([&] { return RemoteText(Form->LabeledEdit1) == L"25.3"; }));
    const auto log = Form->Log();
    EXPECT_TRUE(Contains(log, L"TX: 01 10 00 64 00 02 04 00 02 00 04 54 77")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 01 90 03 0C 01")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 01 10 00 64 00 02 00 17")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"TX: 02 03 00 00 00 02 C4 38")) << Joined(log);
}

TEST_F(ProgramE2e, AutomaticAddressingNumbersThreeSensors)
{
    ASSERT_NO_FATAL_FAILURE(Connect(kE2eAddressingLine));
    // Clicked by message: the panel says so only until the first echo, tens of milliseconds
    // later, and a message returns as soon as the click's handler has.
    DWORD_PTR clicked = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(Form->BitBtn9, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &clicked));
    EXPECT_EQ(RemoteText(Form->BitBtn9), L"停止");
    EXPECT_EQ(Form->Panel(kRemoteCommPanel), L"自动设置地址中...");
    for (HWND off : {Form->BitBtn2, Form->BitBtn3, Form->BitBtn6, Form->BitBtn7, Form->BitBtn8})
        EXPECT_FALSE(RemoteEnabled(off));

    // Three echoes, then the next number is offered to address 1 once a second, unanswered.
    const std::wstring nextFree = L"TX: 01 06 00 64 00 05 08 16";
    std::vector<std::wstring> log;
    ASSERT_TRUE(WaitFor([&] { return Contains(log = Form->Log(), nextFree); }, 10000)) << Joined(log);
    ASSERT_TRUE(RemoteClick(Form->BitBtn9));
    EXPECT_EQ(RemoteText(Form->BitBtn9), L"自动设置地址");
    for (HWND on : {Form->BitBtn2, Form->BitBtn3, Form->BitBtn6, Form->BitBtn7, Form->BitBtn8})
        EXPECT_TRUE(RemoteEnabled(on));
    EXPECT_TRUE(Contains(log, L"TX: 01 06 00 64 00 02 49 D4")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 01 06 00 64 00 02 49 D4")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 01 06 00 64 00 03 88 14")) << Joined(log);
    EXPECT_TRUE(Contains(log, L"RX: 01 06 00 64 00 04 C9 D6")) << Joined(log);
    EXPECT_FALSE(Contains(log, L"RX: 01 06 00 64 00 05 08 16")) << "no fourth sensor";

    // Each sensor now answers at its own address.
    for (int address = 2; address < 2 + kE2eSensorsToAddress; ++address) {
        ASSERT_TRUE(RemoteSetText(Form->LabeledEdit1, L""));
        ASSERT_TRUE(RemoteSetText(Form->LabeledEdit6, std::to_wstring(address)));
        ASSERT_TRUE(RemoteClick(Form->BitBtn2));
        EXPECT_TRUE(WaitFor([&] { return RemoteText(Form->LabeledEdit1) == L"25.3"; })) << "sensor at " << address;
    }
}

int main(int argc, char** argv)
{
    return RunProgramTests(argc, argv);
}
