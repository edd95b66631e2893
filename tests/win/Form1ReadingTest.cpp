// Reading the sensor in-process: answers fed to the receive handler or sent from the far end
// of a rig line, single and continuous readings, the time-out repeat, Stop and Disconnect.
#include "tests/win/Form1Fixture.h"

namespace {

const TBytes kRequestTo1{0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};
const TBytes kAnswer{0x01, 0x03, 0x04, 0x00, 0xFD, 0x01, 0xC8, 0x6B, 0xC5};
const TBytes kBelowZero{0x01, 0x03, 0x04, 0xFF, 0xF6, 0x01, 0xC8, 0x2A, 0x13};
const wchar_t kAnswerLine[] = L"RX: 01 03 04 00 FD 01 C8 6B C5  ----25.3 ℃  45.6 rh%  采集成功";

// Disabled while a continuous reading runs.
const wchar_t* const kHeldByContinuous[] = {L"checkbox1", L"BitBtn6", L"BitBtn3", L"BitBtn4",
                                            L"BitBtn5",   L"BitBtn7", L"Button1"};

} // namespace

class Form1ReadingTest : public TConnectedForm1Test {
protected:
    void StartContinuous()
    {
        Form->checkbox1->SetChecked(true);
        Form->BitBtn2Click(Form->BitBtn2);
        ASSERT_EQ(Sensor->Read(8), kRequestTo1);
    }
    void ExpectHeldControls(bool held)
    {
        for (const wchar_t* name : kHeldByContinuous)
            EXPECT_EQ(IsOn(name), !held) << Narrow(name);
        EXPECT_TRUE(IsOn(L"BitBtn8"));
        EXPECT_TRUE(IsOn(L"BitBtn9"));
    }
};

TEST_F(Form1ReadingTest, SingleReadingOverTheLineShowsTheAnswer)
{
    Form->BitBtn2Click(Form->BitBtn2);
    EXPECT_EQ(Sensor->Read(8), kRequestTo1);
    EXPECT_EQ(LastLogLine(), L"TX: 01 03 00 00 00 02 C4 0B");
    EXPECT_EQ(Form->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::Measurement);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->Timer1->Interval(), 1000u);
    EXPECT_EQ(Form->BitBtn2->Caption(), L"读取");

    Sensor->Write(kAnswer);
    ASSERT_TRUE(PumpUntil([&] { return !Form->LabeledEdit1->Text().empty(); }));
    EXPECT_EQ(Form->LabeledEdit1->Text(), L"25.3");
    EXPECT_EQ(Form->LabeledEdit2->Text(), L"45.6");
    EXPECT_EQ(Panel(kCommStatePanel), L"正常");
    EXPECT_EQ(Panel(kStatisticsPanel), L"");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(LastLogLine(), kAnswerLine);
    EXPECT_EQ(Form->ListBox1->ItemIndex(), 1);
    EXPECT_EQ(Form->FrameLength, 9);
    EXPECT_TRUE(Sensor->ReadAny().empty()) << "a single reading asks once";
}

TEST_F(Form1ReadingTest, AnswersInPiecesBelowZeroAndOutOfTurn)
{
    Form->LabeledEdit6->SetText(L"257"); // low 8 bits: address 1
    Form->BitBtn2Click(Form->BitBtn2);
    EXPECT_EQ(Sensor->Read(8), kRequestTo1);
    const size_t lines = Form->ListBox1->Count();

    Feed({0x01, 0x03, 0x04, 0xFF});
    EXPECT_EQ(Form->LabeledEdit1->Text(), L"");
    EXPECT_EQ(Form->ListBox1->Count(), lines);
    EXPECT_TRUE(Form->Timer1->Enabled()) << "a piece is no answer";
    EXPECT_EQ(Form->AssemblyCount, 4);
    Feed({0xF6, 0x01, 0xC8, 0x2A, 0x13});
    EXPECT_EQ(Form->LabeledEdit1->Text(), L"-1.0");
    EXPECT_EQ(Form->LabeledEdit2->Text(), L"45.6");
    EXPECT_EQ(LastLogLine(), L"RX: 01 03 04 FF F6 01 C8 2A 13  ----" + Form->LabeledEdit1->Text() + L" ℃  45.6 rh%  采集成功");
    EXPECT_EQ(Form->AssemblyCount, 0);
    EXPECT_FALSE(Form->Timer1->Enabled());

    // The address query's short answer while a measurement is awaited: the wait ends, nothing else.
    Form->BitBtn2Click(Form->BitBtn2);
    const size_t before = Form->ListBox1->Count();
    Feed({0x05, 0x03, 0x02, 0x00, 0x05, 0x89, 0x87});
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->ListBox1->Count(), before);
    EXPECT_EQ(Form->LabeledEdit6->Text(), L"257");
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");

    // Another device's answer and a bad CRC leave no trace.
    Form->BitBtn2Click(Form->BitBtn2);
    Feed(WithCrc({0x02, 0x03, 0x04, 0x00, 0x10, 0x00, 0x20}));
    TBytes broken = kAnswer;
    broken[4] ^= 0x40;
    Feed(broken);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->LabeledEdit1->Text(), L"-1.0");
    EXPECT_EQ(Form->ListBox1->Count(), before + 1);

    // A refusal from the addressed device.
    Feed({0x01, 0x83, 0x02, 0xC0, 0xF1});
    EXPECT_EQ(LastLogLine(), L"RX: 01 83 02 C0 F1");
    EXPECT_EQ(Panel(kCommStatePanel), L"错误");
    EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(Form1ReadingTest, ContinuousReadingCountsEveryAnswer)
{
    StartContinuous();
    EXPECT_EQ(Form->BitBtn2->Caption(), L"停止");
    EXPECT_TRUE(Form->ContinuousMode);
    ExpectHeldControls(true);
    const size_t lines = Form->ListBox1->Count();
    for (int answer = 1; answer <= 3; ++answer) {
        Feed(kAnswer);
        EXPECT_EQ(Panel(kStatisticsPanel), L"成功:" + std::to_wstring(answer) + L",失败:0");
        EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
        EXPECT_EQ(Sensor->Read(8), kRequestTo1) << "the next request goes out at once";
        EXPECT_TRUE(Form->Timer1->Enabled());
        EXPECT_EQ(Form->Timer1->Interval(), 500u);
    }
    EXPECT_EQ(Form->ListBox1->Count(), lines + 3) << "RX lines only; continuous requests are not logged";
    EXPECT_EQ(LastLogLine(), kAnswerLine);
}

TEST_F(Form1ReadingTest, UnpluggedSensorCountsOneFailureEveryTwoTicks)
{
    StartContinuous();
    Feed(kAnswer);
    ASSERT_EQ(Sensor->Read(8), kRequestTo1);
    const size_t lines = Form->ListBox1->Count();

    Form->Timer1Timer(Form->Timer1); // the repeat
    EXPECT_TRUE(Form->RetryDone);
    EXPECT_EQ(Sensor->Read(8), kRequestTo1);
    EXPECT_EQ(Form->Timer1->Interval(), 2000u);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Panel(kStatisticsPanel), L"成功:1,失败:0");
    for (int failures = 1; failures <= 3; ++failures) {
        Form->Timer1Timer(Form->Timer1); // the time-out
        EXPECT_EQ(Panel(kStatisticsPanel), L"成功:1,失败:" + std::to_wstring(failures));
        EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
        EXPECT_FALSE(Form->RetryDone);
        EXPECT_EQ(Sensor->Read(8), kRequestTo1);
        EXPECT_TRUE(Form->Timer1->Enabled());
        EXPECT_EQ(Form->Timer1->Interval(), 2000u);
        Form->Timer1Timer(Form->Timer1); // the next repeat counts nothing
        EXPECT_EQ(Panel(kStatisticsPanel), L"成功:1,失败:" + std::to_wstring(failures));
        EXPECT_EQ(Sensor->Read(8), kRequestTo1);
    }
    EXPECT_EQ(Form->ListBox1->Count(), lines) << "repeats get no TX line";
}

TEST_F(Form1ReadingTest, SingleReadingTimesOutAfterOneRepeat)
{
    Form->BitBtn2Click(Form->BitBtn2);
    ASSERT_EQ(Sensor->Read(8), kRequestTo1);
    Form->AssemblyCount = 3;
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Sensor->Read(8), kRequestTo1);
    EXPECT_EQ(Form->AssemblyCount, 0);
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Panel(kCommStatePanel), L"接收超时");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_TRUE(Sensor->ReadAny().empty());

    // An answer after the repeat leaves the repeat used up: the next silence is reported at once.
    Form->BitBtn2Click(Form->BitBtn2);
    Form->Timer1Timer(Form->Timer1);
    Feed(kAnswer);
    Form->BitBtn2Click(Form->BitBtn2);
    Sensor->Read(24);
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Panel(kCommStatePanel), L"接收超时");
    EXPECT_TRUE(Sensor->ReadAny().empty());
}

TEST_F(Form1ReadingTest, StopThenReadStartsAFreshAcquisition)
{
    StartContinuous();
    Feed(kAnswer);
    Feed(kAnswer);
    Sensor->Read(16);
    Form->BitBtn2Click(Form->BitBtn2);
    EXPECT_EQ(Form->BitBtn2->Caption(), L"读取");
    EXPECT_FALSE(Form->ContinuousMode);
    EXPECT_FALSE(Form->Timer1->Enabled());
    ExpectHeldControls(false);
    EXPECT_EQ(Panel(kStatisticsPanel), L"成功:2,失败:0") << "the last counts stay after Stop";
    EXPECT_TRUE(Sensor->ReadAny().empty()) << "Stop sends nothing";

    // An answer still on its way is a single reading.
    Feed(kAnswer);
    EXPECT_TRUE(Sensor->ReadAny().empty());
    EXPECT_FALSE(Form->Timer1->Enabled());

    StartContinuous();
    EXPECT_EQ(Panel(kStatisticsPanel), L"");
    Feed(kAnswer);
    EXPECT_EQ(Panel(kStatisticsPanel), L"成功:1,失败:0");
}

TEST_F(Form1ReadingTest, DisconnectDuringContinuousReadingEndsIt)
{
    StartContinuous();
    Feed(kAnswer);
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_FALSE(Form->ContinuousMode);
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->BitBtn2->Caption(), L"读取") << "nothing runs, so the button offers to read";
    EXPECT_FALSE(IsOn(L"BitBtn2"));

    ConnectTo(RigPortPairs()[0].Port, L"9600", 0);
    ASSERT_TRUE(Form->Connected);
    EXPECT_TRUE(Form->checkbox1->Checked());
    Sensor->Read(8, 300);
    StartContinuous();
    EXPECT_TRUE(Form->ContinuousMode) << "the first click starts a reading again";
    EXPECT_EQ(Form->BitBtn2->Caption(), L"停止");
}

TEST_F(Form1ReadingTest, AddressThatIsNotANumberStopsBeforeSending)
{
    Form->LabeledEdit6->SetText(L"x1");
    Click(Form->BitBtn2);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], L"'x1' is not a valid integer value");
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::Measurement);
    EXPECT_EQ(Form->ListBox1->Count(), 0u);
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_FALSE(Form->ContinuousMode);
    EXPECT_TRUE(Sensor->ReadAny().empty());
}
