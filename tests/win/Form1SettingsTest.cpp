// Device settings and addressing in-process: the address query, the broadcast, settings read
// and write following the device, automatic addressing, and input that is not a number.
#include "tests/win/Form1Fixture.h"

#include "app/HexFormat.h"

namespace {

const TBytes kQueryAddress{0xFF, 0x03, 0x00, 0x64, 0x00, 0x01, 0xD0, 0x0B};
const TBytes kBroadcast{0xFF, 0x06, 0x00, 0x64, 0x00, 0x01, 0x1C, 0x0B};
const TBytes kReadSettingsOf1{0x01, 0x03, 0x00, 0x64, 0x00, 0x02, 0x85, 0xD4};
const TBytes kSettingsOf1{0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x03, 0xEB, 0xF2};
const TBytes kWriteEcho{0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x00, 0x17};

// Disabled while automatic addressing runs.
const wchar_t* const kHeldByAddressing[] = {L"BitBtn2", L"BitBtn3", L"BitBtn6", L"BitBtn7", L"BitBtn8"};

TBytes Assign(std::uint16_t address)
{
    return WithCrc({0x01, 0x06, 0x00, 0x64, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)});
}

} // namespace

class Form1SettingsTest : public TConnectedForm1Test {
protected:
    void ReadSettings()
    {
        Form->BitBtn3Click(Form->BitBtn3);
        ASSERT_EQ(Sensor->Read(8), kReadSettingsOf1);
        Feed(kSettingsOf1);
    }
    void ExpectHeldControls(bool held)
    {
        for (const wchar_t* name : kHeldByAddressing)
            EXPECT_EQ(IsOn(name), !held) << Narrow(name);
    }
};

TEST_F(Form1SettingsTest, QueryFindsTheSensorAtFiveAndTheNextReadingGoesThere)
{
    Form->AddLogLine(L"earlier", true);
    Form->BitBtn7Click(Form->BitBtn7);
    EXPECT_EQ(Sensor->Read(8), kQueryAddress);
    EXPECT_EQ(LastLogLine(), L"TX: FF 03 00 64 00 01 D0 0B");
    EXPECT_EQ(Form->ListBox1->ItemIndex(), 0) << "the query's line is not selected";
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::AddressQuery);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->Timer1->Interval(), 1000u);

    Sensor->Write({0x05, 0x03, 0x02, 0x00, 0x05, 0x89, 0x87});
    ASSERT_TRUE(PumpUntil([&] { return Form->LabeledEdit6->Text() == L"5"; }));
    EXPECT_EQ(Panel(kCommStatePanel), L"正常");
    EXPECT_EQ(LastLogLine(), L"RX: 05 03 02 00 05 89 87------返回地址: 5");
    EXPECT_FALSE(Form->Timer1->Enabled());

    Form->BitBtn2Click(Form->BitBtn2);
    EXPECT_EQ(Sensor->Read(8), WithCrc({0x05, 0x03, 0x00, 0x00, 0x00, 0x02}));

    // A longer read answer from 0xFF while the query waits carries the address too.
    Form->BitBtn7Click(Form->BitBtn7);
    Sensor->Read(8);
    const TBytes longer = WithCrc({0xFF, 0x03, 0x04, 0x00, 0x07, 0x00, 0x03});
    Feed(longer);
    EXPECT_EQ(Form->LabeledEdit6->Text(), L"7");
    EXPECT_EQ(LastLogLine(), L"RX:" + FormatHexBytes(longer.data(), longer.size()) + L"  ----返回地址: 7");
}

TEST_F(Form1SettingsTest, BroadcastStartsNoTimeout)
{
    Form->LabeledEdit6->SetText(L"3");
    Form->LabeledEdit3->SetText(L"1");
    Form->BitBtn8Click(Form->BitBtn8);
    EXPECT_EQ(Sensor->Read(8), kBroadcast);
    EXPECT_EQ(LastLogLine(), L"TX: FF 06 00 64 00 01 1C 0B");
    EXPECT_EQ(Form->ListBox1->ItemIndex(), 0);
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->RequestAddress, 3);
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::AddressQuery);

    Feed(kBroadcast); // the echo
    EXPECT_EQ(Panel(kCommStatePanel), L"操作成功");
    EXPECT_EQ(LastLogLine(), L"RX: FF 06 00 64 00 01 1C 0B");
    EXPECT_EQ(Form->LabeledEdit6->Text(), L"1");
}

TEST_F(Form1SettingsTest, SettingsReadThenWriteFollowsTheDevice)
{
    EXPECT_FALSE(IsOn(L"BitBtn4"));
    Form->BitBtn3Click(Form->BitBtn3);
    EXPECT_EQ(Sensor->Read(8), kReadSettingsOf1);
    EXPECT_EQ(LastLogLine(), L"TX: 01 03 00 64 00 02 85 D4");
    EXPECT_TRUE(IsOn(L"BitBtn4")) << "whatever the answer";
    EXPECT_TRUE(Form->Timer1->Enabled());
    Form->LabeledEdit3->SetText(L"9");
    Form->ComboBox1->SetItemIndex(0);
    Feed(kSettingsOf1);
    EXPECT_EQ(Form->LabeledEdit3->Text(), L"1");
    EXPECT_EQ(Form->ComboBox1->Text(), L"9600");
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), 3);
    EXPECT_EQ(Panel(kCommStatePanel), L"正常");
    EXPECT_EQ(LastLogLine(), L"RX: 01 03 04 00 01 00 03 EB F2  ");
    EXPECT_FALSE(Form->Timer1->Enabled());

    Form->LabeledEdit3->SetText(L"2");
    Form->ComboBox1->SetItemIndex(4);
    Form->BitBtn4Click(Form->BitBtn4);
    const TBytes write = WithCrc({0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x04, 0x00, 0x02, 0x00, 0x04});
    EXPECT_EQ(Sensor->Read(13), write);
    EXPECT_EQ(LastLogLine(), TForm1::TxLine(write.data(), write.size()));
    EXPECT_EQ(Panel(kCommStatePanel), L"设置中...");
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::SettingsRead) << "a write awaits no read answer";
    EXPECT_TRUE(Form->Timer1->Enabled());

    // Unanswered, the repeat sends all 13 bytes again.
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Sensor->Read(13), write);

    Sensor->Write(kWriteEcho);
    ASSERT_TRUE(PumpUntil([&] { return Panel(kCommStatePanel) == L"操作成功"; }));
    EXPECT_EQ(LastLogLine(), L"RX: 01 10 00 64 00 02 00 17");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->LabeledEdit6->Text(), L"2");
    EXPECT_EQ(Form->Comm1->BaudRate(), 19200u);
    EXPECT_EQ(LineState().BaudRate, 19200u) << "the open port switched";
    EXPECT_EQ(Form->ComboBox3->Text(), L"19200");
    EXPECT_EQ(Form->BaudIndex, 3) << "the receive pause keeps the connected rate's";
    EXPECT_EQ(Form->Comm1->ReadIntervalTimeout(), 30u);

    Form->BitBtn2Click(Form->BitBtn2);
    EXPECT_EQ(Sensor->Read(8), WithCrc({0x02, 0x03, 0x00, 0x00, 0x00, 0x02}));
}

TEST_F(Form1SettingsTest, SettingsAnswersOutOfTheUsualRange)
{
    ReadSettings();
    // An unknown baud code leaves the box empty; the address shows as sent.
    Form->BitBtn3Click(Form->BitBtn3);
    Feed(WithCrc({0x01, 0x03, 0x04, 0x01, 0x2C, 0x00, 0x07}));
    EXPECT_EQ(Form->LabeledEdit3->Text(), L"300");
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(Form->ComboBox1->Text(), L"");

    // With no entry selected the write carries FF FF as the code.
    Form->LabeledEdit3->SetText(L"300");
    Sensor->Read(8);
    Form->BitBtn4Click(Form->BitBtn4);
    EXPECT_EQ(Sensor->Read(13), WithCrc({0x01, 0x10, 0x00, 0x64, 0x00, 0x02, 0x04, 0x01, 0x2C, 0xFF, 0xFF}));

    // A refusal to the settings request.
    Feed(WithCrc({0x01, 0x90, 0x03}));
    EXPECT_EQ(Panel(kCommStatePanel), L"错误");
    EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(Form1SettingsTest, AutomaticAddressingNumbersEachDeviceAndStops)
{
    Form->BitBtn9Click(Form->BitBtn9);
    EXPECT_EQ(Sensor->Read(8), Assign(2));
    EXPECT_EQ(Assign(2), (TBytes{0x01, 0x06, 0x00, 0x64, 0x00, 0x02, 0x49, 0xD4}));
    EXPECT_EQ(LastLogLine(), L"TX: 01 06 00 64 00 02 49 D4");
    EXPECT_EQ(Form->BitBtn9->Caption(), L"停止");
    EXPECT_EQ(Panel(kCommStatePanel), L"自动设置地址中...");
    ExpectHeldControls(true);
    EXPECT_TRUE(Form->Timer3->Enabled());
    EXPECT_EQ(Form->Timer3->Interval(), 1000u);

    // No answer: the same number again each second, each with its line.
    Form->Timer3Timer(Form->Timer3);
    EXPECT_EQ(Sensor->Read(8), Assign(2));
    EXPECT_EQ(Form->ListBox1->Count(), 2u);

    for (std::uint16_t next = 3; next <= 4; ++next) {
        Feed(Assign(next - 1)); // the echo of the device that took the last number
        EXPECT_EQ(Sensor->Read(8), Assign(next)) << "the next number goes out at once";
        EXPECT_EQ(Form->NextAutoAddress, next);
        EXPECT_EQ(LastLogLine(), L"RX:" + FormatHexBytes(Assign(next - 1).data(), 8)) << "no TX line for it";
        EXPECT_EQ(Panel(kCommStatePanel), L"操作成功");
        EXPECT_TRUE(Form->Timer3->Enabled());
    }

    Form->BitBtn9Click(Form->BitBtn9);
    EXPECT_EQ(Form->BitBtn9->Caption(), L"自动设置地址");
    ExpectHeldControls(false);
    EXPECT_FALSE(Form->Timer3->Enabled());
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::None);

    // A later write echo, such as a settings write's, assigns nothing more.
    Feed(kWriteEcho);
    EXPECT_EQ(Panel(kCommStatePanel), L"操作成功");
    EXPECT_TRUE(Sensor->ReadAny().empty());
    EXPECT_FALSE(Form->Timer3->Enabled());
    EXPECT_EQ(Form->NextAutoAddress, 4);
}

TEST_F(Form1SettingsTest, AutomaticAddressingFollowsTheSettingsRateAndEndsAtDisconnect)
{
    Form->ComboBox1->SetItemIndex(2);
    Form->BitBtn9Click(Form->BitBtn9);
    Sensor->Read(8);
    Feed(Assign(2));
    EXPECT_EQ(Form->Comm1->BaudRate(), 4800u);
    EXPECT_EQ(Sensor->Read(8), Assign(3));

    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_FALSE(Form->Timer3->Enabled());
    EXPECT_EQ(Form->BitBtn9->Caption(), L"自动设置地址") << "nothing runs after Disconnect";
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::None);

    // After a new Connect the first click starts again from 2.
    ConnectTo(RigPortPairs()[0].Port, L"9600", 0);
    ASSERT_TRUE(Form->Connected);
    Form->BitBtn9Click(Form->BitBtn9);
    EXPECT_EQ(Sensor->Read(8), Assign(2));
    Form->BitBtn9Click(Form->BitBtn9);
}

TEST_F(Form1SettingsTest, TextThatIsNotANumberSendsNothing)
{
    Form->LabeledEdit6->SetText(L"abc");
    Click(Form->BitBtn3);
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::SettingsRead);
    EXPECT_EQ(Panel(kCommStatePanel), L"读取中...");
    EXPECT_FALSE(IsOn(L"BitBtn4")) << "the handler stopped before enabling the write";
    Click(Form->BitBtn8);
    EXPECT_EQ(Form->PendingRequest, TPendingRequest::AddressQuery);
    ASSERT_EQ(Errors.size(), 2u);
    EXPECT_EQ(Errors[0], L"'abc' is not a valid integer value");
    EXPECT_EQ(Errors[1], Errors[0]);

    // The new address of a settings write; the request address was taken before it.
    Form->LabeledEdit6->SetText(L"4");
    Form->LabeledEdit3->SetText(L"two");
    Form->BitBtn4->SetEnabled(true);
    Click(Form->BitBtn4);
    ASSERT_EQ(Errors.size(), 3u);
    EXPECT_EQ(Errors[2], L"'two' is not a valid integer value");
    EXPECT_EQ(Panel(kCommStatePanel), L"设置中...");
    EXPECT_EQ(Form->RequestAddress, 4);
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->ListBox1->Count(), 0u);
    EXPECT_TRUE(Sensor->ReadAny().empty());

    // A settings baud box that is not a number stops the echo's handling at the rate change.
    Form->LabeledEdit3->SetText(L"6");
    Form->ComboBox1->SetText(L"fast");
    Sensor->Write(kWriteEcho);
    ASSERT_TRUE(PumpUntil([&] { return Errors.size() == 4; }));
    EXPECT_EQ(Errors[3], L"'fast' is not a valid integer value");
    EXPECT_EQ(LastLogLine(), L"RX: 01 10 00 64 00 02 00 17");
    EXPECT_EQ(Panel(kCommStatePanel), L"操作成功");
    EXPECT_EQ(Form->LabeledEdit6->Text(), L"6");
    EXPECT_EQ(Form->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(Form->ComboBox3->Text(), L"9600");
}
