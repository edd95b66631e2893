// Main window: start-up, connection control, the requests its buttons and timers send and
// what the sensor's answers do to the window.
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
constexpr DWORD kSendPauseMs = 30;          // lets the writer put the frame on the line
constexpr DWORD kAfterSendPauseMs = 100;    // the sensor's turn-around before the log line
constexpr DWORD kAfterSettingsPauseMs = 30; // the write echo comes back quickly
// 384 bit times at each connected rate: the rest of a burst is on the wire by then.
constexpr std::array<DWORD, 5> kReceivePauseMs{320, 160, 80, 40, 20};

// Answer time-outs: after a request from a button, after a repeat or a reported time-out,
// and after a continuous request sent from an answer.
constexpr unsigned kFirstAnswerMs = 1000;
constexpr unsigned kRepeatAnswerMs = 2000;
constexpr unsigned kContinuousAnswerMs = 500;
constexpr unsigned kAssignRepeatMs = 1000;

constexpr wchar_t kReadCaption[] = L"读取";
constexpr wchar_t kStopCaption[] = L"停止";
constexpr wchar_t kAutoAddressCaption[] = L"自动设置地址";

std::wstring RxLine(const TReceivedFrame& frame)
{
    return L"RX:" + FormatHexBytes(frame.Bytes.data(), static_cast<size_t>(frame.Length));
}

} // namespace

const TClassInfo TForm1::StaticClass{L"TForm1", &TForm::StaticClass, {}};

TForm1::TForm1(TComponent* owner, TPortListSource readPortList, const TCommApi& commApi)
    : TForm(owner), FReadPortList(readPortList ? std::move(readPortList) : TPortListSource([] { return ReadPortList(); }))
{
    CreateComponents(commApi);
    ConnectEvents();
    // The form has been read: components that waited for the others run their Loaded now.
    for (size_t i = 0; i < ComponentCount(); ++i)
        if (Components(i)->Loading())
            Components(i)->Loaded();
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
    Comm1->OnReceiveData = [this](TObject* Sender, void* Buffer, std::uint16_t BufferLength) {
        Comm1ReceiveData(Sender, Buffer, BufferLength);
    };
    Comm1->OnRequestHangup = [this](TObject* Sender) { Comm1RequestHangup(Sender); };
    BitBtn2->OnClick = [this](TObject* Sender) { BitBtn2Click(Sender); };
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    BitBtn7->OnClick = [this](TObject* Sender) { BitBtn7Click(Sender); };
    BitBtn8->OnClick = [this](TObject* Sender) { BitBtn8Click(Sender); };
    BitBtn3->OnClick = [this](TObject* Sender) { BitBtn3Click(Sender); };
    BitBtn4->OnClick = [this](TObject* Sender) { BitBtn4Click(Sender); };
    BitBtn9->OnClick = [this](TObject* Sender) { BitBtn9Click(Sender); };
    Timer3->OnTimer = [this](TObject* Sender) { Timer3Timer(Sender); };
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
        // Nothing runs after Disconnect, so no button may offer to stop something.
        BitBtn2->SetCaption(kReadCaption);
        if (BitBtn9->Caption() != kAutoAddressCaption)
            EndAutoAddressing();
    } catch (const std::exception&) {
        Application->ShowMessage(L"关闭端口错误");
        StatusBar1->Panels(kPortStatePanel).SetText(L"error");
        return;
    }
    StartPortListRefresh();
}

// The line went away under the open port (an adapter pulled out): nothing goes out or comes
// in any more, so the port state must not keep saying open. The rest stays as it is; the user
// disconnects, which closes the port, and connects again once the adapter is back.
void TForm1::Comm1RequestHangup(TObject*)
{
    StatusBar1->Panels(kPortStatePanel).SetText(L"error");
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

void TForm1::ShowCommState(const wchar_t* text)
{
    StatusBar1->Panels(kCommStatePanel).SetText(text);
}

void TForm1::ShowStatistics()
{
    StatusBar1->Panels(kStatisticsPanel)
        .SetText(L"成功:" + IntToStr(SuccessCount) + L",失败:" + IntToStr(FailureCount));
}

std::uint8_t TForm1::TypedAddress() const
{
    return AddressOf(StrToInt(LabeledEdit6->Text()));
}

void TForm1::SendRequest()
{
    SendFrame(RequestFrame.data(), FRequestLength);
}

void TForm1::LogRequest(bool select)
{
    AddLogLine(TxLine(RequestFrame.data(), FRequestLength), select);
}

void TForm1::ArmTimeout(unsigned interval)
{
    Timer1->SetInterval(interval);
    Timer1->SetEnabled(true);
}

void TForm1::SendAssignAddress()
{
    FRequestLength = BuildAssignAddress(RequestFrame, static_cast<std::uint16_t>(NextAutoAddress));
    SendRequest();
}

// Answers.

void TForm1::Comm1ReceiveData(TObject*, const void* Buffer, std::uint16_t BufferLength)
{
    ReceiveBuffer.fill(0);
    ::Sleep(kReceivePauseMs[std::min<size_t>(BaudIndex, kReceivePauseMs.size() - 1)]);
    const TReceivedFrame frame =
        TakeInBlock(AssemblyBuffer, AssemblyCount, static_cast<const std::uint8_t*>(Buffer), Buffer ? BufferLength : 0);
    ReceiveBuffer = frame.Bytes;
    FrameLength = frame.Length;
    switch (ClassifyAnswer(frame, RequestAddress, PendingRequest)) {
    case TAnswerClass::None: break; // the time-out, if one runs, reports the silence
    case TAnswerClass::ShortRead: ShortReadAnswer(frame); break;
    case TAnswerClass::Refusal: RefusalAnswer(frame); break;
    case TAnswerClass::WriteEcho: WriteEchoAnswer(frame); break;
    case TAnswerClass::ReadAnswer: ReadAnswer(frame); break;
    }
}

std::wstring TForm1::ShowDeviceAddress(const TReceivedFrame& frame)
{
    LabeledEdit6->SetText(IntToStr(frame.DeviceAddress()));
    return LabeledEdit6->Text();
}

void TForm1::ShortReadAnswer(const TReceivedFrame& frame)
{
    Timer1->SetEnabled(false);
    if (PendingRequest != TPendingRequest::AddressQuery)
        return;
    ShowCommState(L"正常");
    const std::wstring address = ShowDeviceAddress(frame);
    AddLogLine(RxLine(frame) + L"------返回地址: " + address, true);
}

void TForm1::RefusalAnswer(const TReceivedFrame& frame)
{
    AddLogLine(RxLine(frame), true);
    AssemblyCount = 0;
    Timer1->SetEnabled(false);
    ShowCommState(L"错误");
}

void TForm1::WriteEchoAnswer(const TReceivedFrame& frame)
{
    Timer1->SetEnabled(false);
    AddLogLine(RxLine(frame), true);
    ShowCommState(L"操作成功");
    // Follow the device to the address and rate it has just taken.
    LabeledEdit6->SetText(LabeledEdit3->Text());
    const std::wstring baud = ComboBox1->Text();
    Comm1->SetBaudRate(static_cast<std::uint32_t>(StrToInt(baud)));
    ComboBox3->SetText(baud);
    if (PendingRequest == TPendingRequest::AutoAddress) {
        // The device at 1 has its number; offer the next one to whoever answers at 1 now.
        Timer3->SetEnabled(false);
        ++NextAutoAddress;
        SendAssignAddress();
        Timer3->SetInterval(kAssignRepeatMs);
        Timer3->SetEnabled(true);
    }
}

void TForm1::ReadAnswer(const TReceivedFrame& frame)
{
    Timer1->SetEnabled(false);
    std::wstring extra;
    switch (PendingRequest) {
    case TPendingRequest::AddressQuery:
        if (frame.Length >= 7) {
            ShowCommState(L"正常");
            extra = L"----返回地址: " + ShowDeviceAddress(frame);
        }
        break;
    case TPendingRequest::Measurement:
        if (checkbox1->Checked())
            ++SuccessCount;
        if (frame.Length >= 9) {
            ShowCommState(L"正常");
            LabeledEdit1->SetText(FormatTenths(frame.TemperatureTenths()));
            LabeledEdit2->SetText(FormatTenths(frame.HumidityTenths()));
            extra = L"----" + LabeledEdit1->Text() + L" ℃  " + LabeledEdit2->Text() + L" rh%" + L"  采集成功";
        }
        if (ContinuousMode) {
            ShowStatistics();
            ShowCommState(L"读取中...");
            SendRequest();
            ArmTimeout(kContinuousAnswerMs);
        }
        break;
    case TPendingRequest::SettingsRead:
        if (frame.Length >= 9) {
            ShowCommState(L"正常");
            LabeledEdit3->SetText(IntToStr(frame.DeviceAddress()));
            ComboBox1->SetItemIndex(frame.BaudCode()); // an unknown code leaves the box empty
        }
        break;
    case TPendingRequest::None:
    case TPendingRequest::AutoAddress: break;
    }
    AddLogLine(RxLine(frame) + L"  " + extra, true);
}

// Measurement reading.

void TForm1::SetContinuousControlsEnabled(bool enabled)
{
    using Controls = std::initializer_list<TControl*>;
    for (TControl* control : Controls{checkbox1, BitBtn6, BitBtn3, BitBtn4, BitBtn5, BitBtn7, Button1})
        control->SetEnabled(enabled);
}

void TForm1::BitBtn2Click(TObject*)
{
    if (ContinuousMode) {
        BitBtn2->SetCaption(kReadCaption);
        ContinuousMode = false;
        Timer1->SetEnabled(false);
        SetContinuousControlsEnabled(true);
        return;
    }
    ShowCommState(L"读取中...");
    PendingRequest = TPendingRequest::Measurement;
    RequestAddress = TypedAddress();
    FRequestLength = BuildReadMeasurement(RequestFrame, RequestAddress);
    if (checkbox1->Checked()) {
        BitBtn2->SetCaption(kStopCaption);
        ContinuousMode = true;
        SuccessCount = 0;
        FailureCount = 0;
        SetContinuousControlsEnabled(false);
    }
    SendRequest();
    ::Sleep(kAfterSendPauseMs);
    LogRequest(true);
    ArmTimeout(kFirstAnswerMs);
    StatusBar1->Panels(kStatisticsPanel).SetText(L"");
}

void TForm1::Timer1Timer(TObject*)
{
    if (!RetryDone) {
        RetryDone = true;
        SendRequest();
        Timer1->SetInterval(kRepeatAnswerMs);
        AssemblyCount = 0;
        return;
    }
    RetryDone = false;
    Timer1->SetEnabled(false);
    ShowCommState(L"接收超时");
    if (ContinuousMode) {
        ++FailureCount;
        ShowStatistics();
        ShowCommState(L"读取中...");
        SendRequest();
        ArmTimeout(kRepeatAnswerMs);
        AssemblyCount = 0;
    }
}

// Device settings and addressing.

void TForm1::BitBtn7Click(TObject*)
{
    ShowCommState(L"读取中...");
    PendingRequest = TPendingRequest::AddressQuery;
    FRequestLength = BuildQueryAddress(RequestFrame);
    Timer1->SetEnabled(true);
    SendRequest();
    ::Sleep(kAfterSendPauseMs);
    LogRequest(false);
    ArmTimeout(kFirstAnswerMs);
}

void TForm1::BitBtn8Click(TObject*)
{
    ShowCommState(L"读取中...");
    PendingRequest = TPendingRequest::AddressQuery;
    RequestAddress = TypedAddress();
    FRequestLength = BuildBroadcastAddress1(RequestFrame);
    SendRequest();
    LogRequest(true);
    ::Sleep(kAfterSendPauseMs);
    // Every device hears a broadcast, so no single answer is awaited: no time-out.
}

void TForm1::BitBtn3Click(TObject*)
{
    ShowCommState(L"读取中...");
    PendingRequest = TPendingRequest::SettingsRead;
    RequestAddress = TypedAddress();
    FRequestLength = BuildReadSettings(RequestFrame, RequestAddress);
    Timer1->SetEnabled(true);
    SendRequest();
    ::Sleep(kAfterSendPauseMs);
    LogRequest(true);
    ArmTimeout(kFirstAnswerMs);
    BitBtn4->SetEnabled(true);
}

void TForm1::BitBtn4Click(TObject*)
{
    ShowCommState(L"设置中...");
    RequestAddress = TypedAddress();
    const int newAddress = StrToInt(LabeledEdit3->Text());
    FRequestLength = BuildWriteSettings(RequestFrame, RequestAddress, newAddress, ComboBox1->ItemIndex());
    Timer1->SetEnabled(true);
    SendRequest();
    ::Sleep(kAfterSettingsPauseMs);
    LogRequest(true);
    ArmTimeout(kFirstAnswerMs);
}

void TForm1::SetAddressingControlsEnabled(bool enabled)
{
    using Controls = std::initializer_list<TControl*>;
    for (TControl* control : Controls{BitBtn2, BitBtn3, BitBtn6, BitBtn7, BitBtn8})
        control->SetEnabled(enabled);
}

void TForm1::BitBtn9Click(TObject*)
{
    if (BitBtn9->Caption() != kAutoAddressCaption) {
        EndAutoAddressing();
        SetAddressingControlsEnabled(true);
        return;
    }
    SetAddressingControlsEnabled(false);
    ShowCommState(L"自动设置地址中...");
    BitBtn9->SetCaption(kStopCaption);
    PendingRequest = TPendingRequest::AutoAddress;
    NextAutoAddress = 2;
    SendAssignAddress();
    LogRequest(true);
    Timer3->SetInterval(kAssignRepeatMs);
    Timer3->SetEnabled(true);
}

void TForm1::EndAutoAddressing()
{
    BitBtn9->SetCaption(kAutoAddressCaption);
    Timer3->SetEnabled(false);
    // Left pending, a later write echo (a settings write's, say) would start assigning again.
    PendingRequest = TPendingRequest::None;
}

void TForm1::Timer3Timer(TObject*)
{
    SendAssignAddress();
    LogRequest(true);
    Timer3->SetInterval(kAssignRepeatMs);
}
