// The main window under test: made with a fixed port list, looked at as the user sees it,
// and connected to one of the rig's lines whose far end the test plays as the sensor.
#pragma once

#include "tests/win/TestSupport.h"

#include "app/Crc16.h"
#include "app/Form1.h"
#include "comm/Comm.h"
#include "toolkit/WinHandle.h"

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

inline std::wstring PanelText(TStatusBar* bar, size_t index)
{
    wchar_t text[128] = L"";
    ::SendMessageW(bar->Handle(), SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// The bytes with their CRC behind them, low byte first.
inline TBytes WithCrc(TBytes bytes)
{
    const std::uint16_t crc = Crc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

// The far end of a line: a plain handle with bounded reads.
class TSensorEnd {
public:
    explicit TSensorEnd(const std::wstring& device)
        : FHandle(::CreateFileW((L"\\\\.\\" + device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr))
    {
        ::PurgeComm(FHandle.get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
    }
    bool IsOpen() const { return static_cast<bool>(FHandle); }

    // Up to count bytes, waiting at most timeoutMs for all of them.
    TBytes Read(size_t count, DWORD timeoutMs = 2000)
    {
        COMMTIMEOUTS timeouts{0, 0, timeoutMs, 0, 0};
        ::SetCommTimeouts(FHandle.get(), &timeouts);
        TBytes bytes(count);
        DWORD got = 0;
        size_t total = 0;
        while (total < count &&
               ::ReadFile(FHandle.get(), bytes.data() + total, static_cast<DWORD>(count - total), &got, nullptr) && got > 0)
            total += got;
        bytes.resize(total);
        return bytes;
    }
    // Whatever arrives within a short while; empty when the tool sent nothing.
    TBytes ReadAny(DWORD timeoutMs = 300) { return Read(64, timeoutMs); }
    void Write(const TBytes& bytes)
    {
        DWORD written = 0;
        ::WriteFile(FHandle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

private:
    win::FileHandle FHandle;
};

class TForm1Test : public TAppTest {
protected:
    TForm1* MakeForm(std::vector<std::wstring> ports = {L"COM1"}, const TCommApi& api = {})
    {
        Form = App.CreateForm<TForm1>([ports] { return ports; }, api);
        Form->HandleNeeded();
        return Form;
    }
    TControl* Find(const wchar_t* name) const { return As<TControl>(Form->FindComponent(name)); }
    bool IsOn(const wchar_t* name) const
    {
        auto* control = Find(name);
        auto* windowed = As<TWinControl>(control);
        return windowed ? ::IsWindowEnabled(windowed->Handle()) != FALSE : control->Enabled();
    }
    void ConnectTo(const std::wstring& port, const std::wstring& baud, int framing)
    {
        Form->ComboBox5->SetText(port);
        Form->ComboBox3->SetText(baud);
        Form->ComboBox4->SetItemIndex(framing);
        Form->BitBtn1Click(Form->BitBtn1);
    }
    DCB LineState() const
    {
        DCB dcb{};
        dcb.DCBlength = sizeof(dcb);
        EXPECT_TRUE(::GetCommState(Form->Comm1->ComHandle(), &dcb));
        return dcb;
    }
    std::wstring Panel(size_t index) const { return PanelText(Form->StatusBar1, index); }
    std::wstring LastLogLine() const
    {
        const size_t count = Form->ListBox1->Count();
        return count ? Form->ListBox1->Item(count - 1) : std::wstring();
    }

    TForm1* Form = nullptr;
};

// Connected at 9600 on the rig's first line, with the sensor's end open.
class TConnectedForm1Test : public TForm1Test {
protected:
    void SetUp() override
    {
        TForm1Test::SetUp();
        REQUIRE_RIG_PORTS(1u);
        const TPortPair pair = RigPortPairs()[0];
        Sensor = std::make_unique<TSensorEnd>(pair.Device);
        ASSERT_TRUE(Sensor->IsOpen());
        MakeForm();
        ConnectTo(pair.Port, L"9600", 0);
        ASSERT_TRUE(Form->Connected);
    }
    void TearDown() override
    {
        if (Form && Form->Connected)
            Form->BitBtn6Click(Form->BitBtn6);
    }

    // A block as the component delivers it from the line.
    void Feed(const TBytes& block) { Form->Comm1ReceiveData(Form->Comm1, block.data(), static_cast<std::uint16_t>(block.size())); }
    // Clicked as the user would: an error leaves the handler and reaches the error box.
    void Click(TWinControl* button) { ::SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

    std::unique_ptr<TSensorEnd> Sensor;
};
