// Main window start-up and connection control.
#include "app/Form1.h"

#include "app/HexFormat.h"
#include "app/PortList.h"
#include "comm/Comm.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/SysUtils.h"

#include <array>
#include <initializer_list>

namespace {

struct TBaudSetting {
    std::uint32_t BaudRate;
    std::uint8_t BaudIndex;
    std::uint32_t ReadIntervalTimeout; // ms of line silence that ends a received block
};
constexpr std::array<TBaudSetting, 5> kBaudSettings{{
    {1200, 0, 160}, {2400, 1, 80}, {4800, 2, 60}, {9600, 3, 30}, {19200, 4, 10},
}};

constexpr unsigned kPortListRefreshMs = 3000;
constexpr DWORD kSendPauseMs = 30; // lets the writer put the frame on the line

} // namespace

const TClassInfo TForm1::StaticClass{L"TForm1", &TForm::StaticClass, {}};

TForm1::TForm1(TComponent* owner, TPortListSource readPortList, const TCommApi& commApi)
    : TForm(owner), FReadPortList(readPortList ? std::move(readPortList) : TPortListSource([] { return ReadPortList(); }))
{
    CreateComponents(commApi);
    ConnectEvents();
}

TForm1::~TForm1() = default;

void TForm1::ConnectEvents()
{
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    BitBtn1->OnClick = [this](TObject* Sender) { BitBtn1Click(Sender); };
    BitBtn6->OnClick = [this](TObject* Sender) { BitBtn6Click(Sender); };
    Timer2->OnTimer = [this](TObject* Sender) { Timer2Timer(Sender); };
    BitBtn5->OnClick = [this](TObject* Sender) { BitBtn5Click(Sender); };
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
}

void TForm1::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    // The border style is sizeable; toggling the bit leaves a frame that cannot be dragged.
    Params.Style ^= WS_THICKFRAME;
}

void TForm1::FormCreate(TObject*)
{
    PortList = FReadPortList();
    ComboBox5->SetItems(PortList);
    if (!PortList.empty())
        ComboBox5->SetItemIndex(static_cast<int>(PortList.size()) - 1);
    SetConnectedState(false);
    StartPortListRefresh();
}

void TForm1::SetConnectedState(bool connected)
{
    using Controls = std::initializer_list<TControl*>;
    for (TControl* control : Controls{BitBtn6, BitBtn2, BitBtn3, BitBtn5, BitBtn7, BitBtn8, BitBtn9, Button1, checkbox1})
        control->SetEnabled(connected);
    for (TControl* control : Controls{BitBtn1, ComboBox5, ComboBox3, ComboBox4})
        control->SetEnabled(!connected);
    // Writing settings needs a settings read first, in either state.
    BitBtn4->SetEnabled(false);
}

void TForm1::BitBtn1Click(TObject*)
{
    Comm1->SetCommName(ComboBox5->Text());
    Comm1->SetBaudRate(static_cast<std::uint32_t>(StrToInt(ComboBox3->Text())));
    for (const TBaudSetting& setting : kBaudSettings) {
        if (setting.BaudRate == Comm1->BaudRate()) {
            BaudIndex = setting.BaudIndex;
            Comm1->SetReadIntervalTimeout(setting.ReadIntervalTimeout);
        }
    }
    // "O 8 1" is odd parity and "E 8 1" even; a typed framing leaves the line as it was.
    switch (ComboBox4->ItemIndex()) {
    case 0: Comm1->SetParity(TParity::None); break;
    case 1: Comm1->SetParity(TParity::Odd); break;
    case 2: Comm1->SetParity(TParity::Even); break;
    default: break;
    }
    if (ComboBox4->ItemIndex() >= 0) {
        Comm1->SetByteSize(TByteSize::_8);
        Comm1->SetStopBits(TStopBits::_1);
    }

    try {
        Comm1->OpenPort();
    } catch (const std::exception&) {
        Application->ShowMessage(L"打开端口错误,可能已被打开");
        StatusBar1->Panels(kPortStatePanel).SetText(L"关闭");
        Connected = false;
        return;
    }
    StatusBar1->Panels(kPortStatePanel).SetText(L"打开");
    SetConnectedState(true);
    Connected = true;
    Timer2->SetEnabled(false);
}

void TForm1::BitBtn6Click(TObject*)
{
    try {
        Comm1->ClosePort();
        Timer1->SetEnabled(false);
        Timer3->SetEnabled(false);
        StatusBar1->Panels(kPortStatePanel).SetText(L"关闭");
        SetConnectedState(false);
        ContinuousMode = false;
        Connected = false;
    } catch (const std::exception&) {
        Application->ShowMessage(L"关闭端口错误");
        StatusBar1->Panels(kPortStatePanel).SetText(L"error");
        return;
    }
    StartPortListRefresh();
}

void TForm1::StartPortListRefresh()
{
    Timer2->SetInterval(kPortListRefreshMs);
    Timer2->SetEnabled(true);
}

void TForm1::Timer2Timer(TObject*)
{
    std::vector<std::wstring> ports = FReadPortList();
    ComboBox5->SetItems(ports);
    // An adapter plugged in or pulled out changes the count: offer the newest port.
    if (ports.size() != PortList.size()) {
        PortList = std::move(ports);
        if (!PortList.empty())
            ComboBox5->SetItemIndex(static_cast<int>(PortList.size()) - 1);
    }
    if (Connected) {
        Timer2->SetEnabled(false);
    } else {
        Timer2->SetInterval(kPortListRefreshMs);
        Timer2->SetEnabled(true);
    }
}

bool TForm1::SendFrame(const std::uint8_t* frame, size_t length)
{
    // Pieces of an earlier answer must not join the answer to this request.
    AssemblyCount = 0;
    Comm1->WriteData(frame, static_cast<std::uint16_t>(length)); // a refusal shows as a time-out
    ::Sleep(kSendPauseMs);
    return true;
}

std::wstring TForm1::TxLine(const std::uint8_t* frame, size_t length)
{
    return L"TX:" + FormatHexBytes(frame, length);
}

void TForm1::AddLogLine(const std::wstring& line, bool select)
{
    ListBox1->AddItem(line);
    if (select)
        ListBox1->SetItemIndex(static_cast<int>(ListBox1->Count()) - 1);
}

void TForm1::BitBtn5Click(TObject*)
{
    ListBox1->Clear();
}

void TForm1::Button1Click(TObject*)
{
    SetClipboardText(ListBox1->Lines().Joined(L"\r\n"));
}
