// The real program on a line whose far end goes away while it is connected, as when a USB
// adapter is pulled out, driven from outside like a user: once idle and once in a continuous
// reading the port state turns to "error" while the program stays alive, answering and
// without a box; Disconnect puts the window back, and on the fresh line Connect and a reading
// work. This program plays the sensor itself, so that it can plug it in on the fresh line.
#include "tests/support/FarEndSensor.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/RemoteWindow.h"
#include "tests/support/RigLineDrop.h"
#include "tests/support/RigLines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {


// The window must answer a message within this, all the time.
constexpr UINT kAnswerMs = 1000;

class HangupE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ProgramUnderTest().empty()) << "pass the program's path as the first argument";
        if (RigPortPairs().size() < 4 || !std::getenv("QM27K_RIG_RUNNER"))
            GTEST_SKIP() << "needs the rig's four lines and its --drop-line (run through tests/rig/wine-run)";
        Pair = RigPortPairs()[3];
        Program = std::make_unique<TRemoteProgram>(ProgramUnderTest());
        ASSERT_TRUE(Program->Started());
        const HWND window = Program->WaitForWindow();
        ASSERT_NE(window, nullptr);
        Form = std::make_unique<TRemoteForm1>(window);
        ASSERT_TRUE(Form->Complete()) << "every control where the window lays it out";
    }

    void TearDown() override
    {
        if (Program && Form)
            EXPECT_EQ(Program->Close(), 0) << "the program ends cleanly when its window is closed";
    }

    // What is wrong with the program now, or empty: ended, not answering, or showing a box.
    std::string Trouble() const
    {
        if (!Program->Running())
            return "the program ended";
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(Form->Window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result))
            return "the window did not answer within 1 s";
        if (const HWND box = FindDialog(Program->ProcessId()))
            return "a box: " + Utf8(RemoteText(box));
        return {};
    }

    // Waits for done() while the program stays sound; false with the reason in Problem.
    template <class Pred>
    bool WaitSoundly(Pred done, int timeoutMs = 5000)
    {
        const bool reached = PumpUntil([&] { return !(Problem = Trouble()).empty() || done(); }, timeoutMs);
        return reached && Problem.empty();
    }
    // Watches the program for a while as it goes on by itself.
    bool StaysSound(int ms)
    {
        return !WaitSoundly([] { return false; }, ms) && Problem.empty();
    }

    void Connect()
    {
        ASSERT_TRUE(RemoteSetText(Form->ComboBox5, Pair.Port));
        ASSERT_TRUE(RemoteClick(Form->BitBtn1));
        ASSERT_TRUE(WaitSoundly([&] { return Form->Panel(kRemotePortPanel) == L"打开"; }))
            << Problem << " / panel 1: " << Utf8(Form->Panel(kRemotePortPanel));
    }
    void ReadOnce()
    {
        ASSERT_TRUE(RemoteSetText(Form->LabeledEdit1, L""));
        ASSERT_TRUE(RemoteClick(Form->BitBtn2));
        ASSERT_TRUE(WaitSoundly([&] { return RemoteText(Form->LabeledEdit1) == L"25.3"; })) << Problem;
    }

    TPortPair Pair;
    std::unique_ptr<TRemoteProgram> Program;
    std::unique_ptr<TRemoteForm1> Form;
    std::string Problem;
};

} // namespace

TEST_F(HangupE2e, TheBoxWatchSeesABox)
{
    // A port that does not exist: the program's one box for opening; posted, since it is modal.
    ASSERT_TRUE(RemoteSetText(Form->ComboBox5, L"COM99"));
    ASSERT_TRUE(::PostMessageW(Form->BitBtn1, BM_CLICK, 0, 0));
    ASSERT_FALSE(WaitSoundly([] { return false; }, 5000));
    EXPECT_NE(Problem.find("a box"), std::string::npos) << Problem;
    const HWND box = FindDialog(Program->ProcessId());
    ASSERT_NE(box, nullptr);
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    // Without a window manager Wine waits up to 2 s for a closed box to be unmapped, and the
    // window answers again after that.
    EXPECT_TRUE(PumpUntil([&] { return !FindDialog(Program->ProcessId()) &&
                                       Form->Panel(kRemotePortPanel) == L"关闭"; }, 10000));
    EXPECT_TRUE(StaysSound(300)) << Problem;
}

TEST_F(HangupE2e, ALostLineShowsErrorAndTheWindowRecoversOnTheFreshLine)
{
    enum class TActivity { Idle, ContinuousReading };
    for (const TActivity activity : {TActivity::Idle, TActivity::ContinuousReading}) {
        const bool continuous = activity == TActivity::ContinuousReading;
        SCOPED_TRACE(continuous ? "during a continuous reading" : "while idle");
        auto sensor = std::make_unique<TFarEndSensor>(Pair.Device);
        ASSERT_NO_FATAL_FAILURE(Connect());
        ASSERT_NO_FATAL_FAILURE(ReadOnce());
        if (continuous) {
            ASSERT_TRUE(RemoteClick(Form->checkbox1));
            ASSERT_TRUE(RemoteClick(Form->BitBtn2));
            int successes = 0, failures = 0;
            ASSERT_TRUE(WaitSoundly([&] { return ParseStatistics(Form->Panel(kRemoteStatisticsPanel), successes,
                                                                 failures) && successes >= 2; }, 10000))
                << Problem;
        }

        ASSERT_TRUE(DropRigLine(Pair.Port));
        sensor.reset();
        ASSERT_TRUE(WaitSoundly([&] { return Form->Panel(kRemotePortPanel) == L"error"; })) << Problem;
        // A continuous reading goes on sending into the lost line until the user stops it;
        // the window stays as it was and keeps answering.
        EXPECT_TRUE(StaysSound(continuous ? 3000 : 1000)) << Problem;
        EXPECT_EQ(Form->Panel(kRemotePortPanel), L"error");
        EXPECT_FALSE(RemoteEnabled(Form->BitBtn1));
        EXPECT_EQ(RemoteEnabled(Form->BitBtn6), !continuous);
        EXPECT_EQ(RemoteText(Form->BitBtn2), continuous ? L"停止" : L"读取");

        if (continuous) {
            ASSERT_TRUE(RemoteClick(Form->BitBtn2));
            EXPECT_EQ(RemoteText(Form->BitBtn2), L"读取");
        }
        ASSERT_TRUE(RemoteClick(Form->BitBtn6));
        EXPECT_TRUE(WaitSoundly([&] { return Form->Panel(kRemotePortPanel) == L"关闭"; })) << Problem;
        EXPECT_TRUE(StaysSound(300)) << "no box after Disconnect: " << Problem;
        EXPECT_TRUE(RemoteEnabled(Form->BitBtn1));
        EXPECT_TRUE(RemoteEnabled(Form->ComboBox5));
        EXPECT_FALSE(RemoteEnabled(Form->BitBtn6));
        EXPECT_FALSE(RemoteEnabled(Form->BitBtn2));

        // The adapter is back: the fresh line connects and a reading comes through.
        sensor = std::make_unique<TFarEndSensor>(Pair.Device);
        ASSERT_NO_FATAL_FAILURE(Connect());
        if (continuous)
            ASSERT_TRUE(RemoteClick(Form->checkbox1)); // a single reading
        ASSERT_NO_FATAL_FAILURE(ReadOnce());
        ASSERT_TRUE(RemoteClick(Form->BitBtn6));
        EXPECT_TRUE(WaitSoundly([&] { return Form->Panel(kRemotePortPanel) == L"关闭"; })) << Problem;
    }

    // The log reads the same line by line from outside as through Copy.
    const std::vector<std::wstring> lines = RemoteListLines(Form->ListBox1);
    EXPECT_GE(lines.size(), 8u);
    ASSERT_TRUE(RemoteClick(Form->BitBtn1));
    EXPECT_EQ(lines, Form->Log());
}

int main(int argc, char** argv)
{
    return RunProgramTests(argc, argv);
}
