// The main window in-process: layout and defaults, start-up states, the port list, and
// Connect / Disconnect on the rig's pseudo-terminal COM ports.
#include "tests/win/Form1Fixture.h"

#include "tests/support/FarEndSensor.h"
#include "tests/support/RigLineDrop.h"

#include "app/MainIcon.h"
#include "app/PortList.h"
#include "comm/Comm.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Exception.h"

#include <commctrl.h>

#include <map>

namespace {

struct TExpectedControl {
    const wchar_t* Name;
    const wchar_t* Parent;
    int Left, Top, Width, Height; // width and height 0: sized by the system to the text
    const wchar_t* Caption;
};

// The window's controls as the user sees them.
const TExpectedControl kLayout[] = {
    {L"Panel1", L"Form1", 0, 0, 169, 501, L""},
    {L"GroupBox4", L"Panel1", 14, 48, 141, 441, L"通讯设置"},
    {L"BitBtn8", L"GroupBox4", 16, 72, 105, 25, L"广播设置地址为1"},
    {L"BitBtn9", L"GroupBox4", 16, 107, 105, 25, L"自动设置地址"},
    {L"Label1", L"GroupBox4", 16, 159, 0, 0, L"串口号 "},
    {L"Label2", L"GroupBox4", 16, 200, 0, 0, L"波特率 "},
    {L"Label3", L"GroupBox4", 16, 240, 0, 0, L" 校  验 "},
    {L"BitBtn7", L"Panel1", 31, 82, 50, 25, L"查地址 "},
    {L"LabeledEdit6", L"Panel1", 90, 84, 48, 21, L"1"},
    {L"ComboBox5", L"Panel1", 75, 203, 60, 0, L"COM1"},
    {L"ComboBox3", L"Panel1", 75, 244, 60, 0, L"9600"},
    {L"ComboBox4", L"Panel1", 75, 284, 60, 0, L"N 8 1"},
    {L"BitBtn1", L"Panel1", 36, 342, 97, 33, L"连接"},
    {L"BitBtn6", L"Panel1", 36, 390, 97, 33, L"断开"},
    {L"Panel2", L"Form1", 169, 0, 404, 501, L""},
    {L"GroupBox1", L"Panel2", 15, 16, 383, 89, L"数据"},
    {L"LabeledEdit1", L"GroupBox1", 40, 35, 65, 37, L""},
    {L"Label5", L"GroupBox1", 106, 41, 0, 0, L"℃"},
    {L"LabeledEdit2", L"GroupBox1", 151, 35, 65, 37, L""},
    {L"Label6", L"GroupBox1", 217, 39, 0, 0, L"rh%"},
    {L"BitBtn2", L"GroupBox1", 294, 26, 75, 25, L"读取"},
    {L"checkbox1", L"GroupBox1", 297, 58, 81, 17, L" 连续采集   "},
    {L"GroupBox2", L"Panel2", 15, 121, 383, 128, L"设置"},
    {L"Label4", L"GroupBox2", 31, 26, 0, 0, L"地址 "},
    {L"LabeledEdit3", L"GroupBox2", 19, 42, 64, 22, L"1"},
    {L"StaticText1", L"GroupBox2", 135, 25, 0, 0, L"波特率 "},
    {L"ComboBox1", L"GroupBox2", 128, 42, 72, 0, L"9600"},
    {L"StaticText2", L"GroupBox2", 251, 25, 0, 0, L" 校  验 "},
    {L"ComboBox2", L"GroupBox2", 245, 42, 76, 0, L"N 8 1"},
    {L"BitBtn3", L"GroupBox2", 133, 88, 75, 25, L"读取"},
    {L"BitBtn4", L"GroupBox2", 245, 88, 75, 25, L"设置"},
    {L"GroupBox3", L"Panel2", 15, 256, 383, 234, L"调试"},
    {L"ListBox1", L"GroupBox3", 16, 24, 349, 153, L""},
    {L"Button1", L"GroupBox3", 108, 191, 105, 25, L"复制"},
    {L"BitBtn5", L"GroupBox3", 253, 191, 105, 25, L"清除"},
    {L"StatusBar1", L"Form1", 0, 501, 573, 21, nullptr},
};

const wchar_t* const kConnectedOnly[] = {L"BitBtn6", L"BitBtn2", L"BitBtn3", L"BitBtn5", L"BitBtn7",
                                         L"BitBtn8", L"BitBtn9", L"Button1", L"checkbox1"};
const wchar_t* const kDisconnectedOnly[] = {L"BitBtn1", L"ComboBox5", L"ComboBox3", L"ComboBox4"};
const wchar_t* const kAlwaysEnabled[] = {L"LabeledEdit6", L"LabeledEdit3", L"ComboBox1", L"ComboBox2"};

// What the component last asked the device for: a pseudo-terminal drops parity and data
// bits from its line settings, so the request itself is what can be checked.
DCB gRequestedDcb{};
BOOL WINAPI RecordSetCommState(HANDLE file, LPDCB dcb)
{
    gRequestedDcb = *dcb;
    return ::SetCommState(file, dcb);
}

} // namespace

class Form1Test : public TForm1Test {
protected:
    TForm1* MakeForm(std::vector<std::wstring> ports = {L"COM1"})
    {
        TCommApi api;
        api.SetCommState = &RecordSetCommState;
        return TForm1Test::MakeForm(std::move(ports), api);
    }
    void ExpectConnectedState(bool connected)
    {
        for (const wchar_t* name : kConnectedOnly)
            EXPECT_EQ(IsOn(name), connected) << Narrow(name);
        for (const wchar_t* name : kDisconnectedOnly)
            EXPECT_EQ(IsOn(name), !connected) << Narrow(name);
        for (const wchar_t* name : kAlwaysEnabled)
            EXPECT_TRUE(IsOn(name)) << Narrow(name);
        EXPECT_FALSE(IsOn(L"BitBtn4")) << "writing settings waits for a settings read";
    }
};

TEST_F(Form1Test, WindowHasItsCaptionFrameAndClientArea)
{
    MakeForm();
    const HWND hwnd = Form->Handle();
    wchar_t caption[64];
    ::GetWindowTextW(hwnd, caption, 64);
    EXPECT_STREQ(caption, L"QM27K-测试工具_V1.3");
    wchar_t className[32];
    ::GetClassNameW(hwnd, className, 32);
    EXPECT_STREQ(className, L"TForm1");
    RECT client{};
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 573);
    EXPECT_EQ(client.bottom, 522);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "cannot be resized by its border";
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    EXPECT_NEAR((window.left + window.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(Form->Color(), clBtnFace);
    EXPECT_EQ(Form->Font().Name(), L"MS Sans Serif");
    EXPECT_EQ(Form->Font().Height(), 11);
    EXPECT_EQ(App.MainForm(), Form);
}

TEST(MainIcon, IsOne64By64ImageWith32BitsPerPixel)
{
    const win::Icon icon = LoadMainIcon(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    const win::GdiObject<HBITMAP> colour{info.hbmColor}, mask{info.hbmMask};
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectW(colour.get(), sizeof(bitmap), &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 64);
    EXPECT_EQ(bitmap.bmHeight, 64);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);

    // The form shows it in its frame.
    TApplication app;
    auto* form = app.Make<TForm1>([] { return std::vector<std::wstring>{}; });
    form->SetIcon(icon.get());
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0)), icon.get());
}

TEST_F(Form1Test, EveryControlSitsWhereTheLayoutPutsIt)
{
    MakeForm();
    for (const auto& expected : kLayout) {
        SCOPED_TRACE(Narrow(expected.Name));
        TControl* control = Find(expected.Name);
        ASSERT_NE(control, nullptr);
        ASSERT_NE(control->Parent(), nullptr);
        EXPECT_EQ(control->Parent()->Name(), expected.Parent);
        if (expected.Caption) {
            EXPECT_EQ(control->Caption(), expected.Caption);
        }
        if (auto* windowed = As<TWinControl>(control)) {
            RECT r{};
            ::GetWindowRect(windowed->Handle(), &r);
            ::MapWindowPoints(nullptr, control->Parent()->Handle(), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, expected.Left);
            EXPECT_EQ(r.top, expected.Top);
            if (expected.Width) {
                EXPECT_EQ(r.right - r.left, expected.Width);
            }
            if (expected.Height) {
                EXPECT_EQ(r.bottom - r.top, expected.Height);
            } else {
                EXPECT_GT(r.bottom - r.top, 10);
            }
        } else {
            EXPECT_EQ(control->Left(), expected.Left);
            EXPECT_EQ(control->Top(), expected.Top);
            EXPECT_GT(control->Width(), 0);
        }
    }
}

TEST_F(Form1Test, ControlsCarryTheirContentsAndLook)
{
    MakeForm();
    EXPECT_EQ(Form->ComboBox3->Items(), (std::vector<std::wstring>{L"1200", L"2400", L"4800", L"9600", L"19200"}));
    EXPECT_EQ(Form->ComboBox3->ItemIndex(), 3);
    EXPECT_EQ(Form->ComboBox1->Items(), Form->ComboBox3->Items());
    EXPECT_EQ(Form->ComboBox1->ItemIndex(), 3);
    EXPECT_EQ(Form->ComboBox4->Items(), (std::vector<std::wstring>{L"N 8 1", L"O 8 1", L"E 8 1"}));
    EXPECT_EQ(Form->ComboBox4->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox2->ItemIndex(), 0);
    EXPECT_EQ(Form->LabeledEdit3->MinValue(), 1);
    EXPECT_EQ(Form->LabeledEdit3->MaxValue(), 247);
    EXPECT_EQ(Form->LabeledEdit6->EditLabel()->Caption(), L"     地址  ");
    EXPECT_EQ(Form->LabeledEdit1->EditLabel()->Caption(), L"   温 度     ");
    EXPECT_EQ(Form->LabeledEdit2->EditLabel()->Caption(), L"   湿 度   ");
    EXPECT_EQ(Form->LabeledEdit1->EditLabel()->Font().Height(), 13);
    EXPECT_LT(Form->LabeledEdit1->EditLabel()->Top() + Form->LabeledEdit1->EditLabel()->Height(), 35) << "above its edit";
    for (TLabeledEdit* reading : {Form->LabeledEdit1, Form->LabeledEdit2}) {
        EXPECT_TRUE(reading->ReadOnly());
        EXPECT_TRUE(::GetWindowLongPtrW(reading->Handle(), GWL_STYLE) & ES_READONLY);
        EXPECT_EQ(reading->Font().Height(), 24);
        EXPECT_EQ(reading->Font().Color(), clGreen);
        EXPECT_TRUE(HasStyle(reading->Font().Style(), TFontStyle::Bold));
    }
    EXPECT_EQ(Form->Label5->Font().Height(), 21);
    EXPECT_EQ(Form->Label5->Font().Color(), RGBColor(65, 65, 65));
    EXPECT_EQ(Form->Label6->Font().Height(), 24);
    EXPECT_FALSE(Form->checkbox1->Checked());
    EXPECT_EQ(Form->ListBox1->Count(), 0u);
    EXPECT_EQ(::SendMessageW(Form->ListBox1->Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
}

TEST_F(Form1Test, StatusBarHasEightPanels)
{
    MakeForm();
    TStatusBar* bar = Form->StatusBar1;
    int edges[8] = {};
    ASSERT_EQ(::SendMessageW(bar->Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 8);
    const int widths[8] = {60, 60, 40, 60, 60, 140, 50, 50};
    int right = 0;
    for (int i = 0; i < 7; ++i) {
        right += widths[i];
        EXPECT_EQ(edges[i], right) << i;
    }
    const wchar_t* const texts[8] = {L"端口状态：", L"", L"模式：", L"", L"通讯状态：", L"", L"统计", L""};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(PanelText(bar, i), texts[i]) << i;
    EXPECT_EQ(bar->Color(), RGBColor(56, 89, 222));
    EXPECT_FALSE(::GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
}

TEST_F(Form1Test, TabOrderFollowsTheLayout)
{
    MakeForm();
    const std::vector<std::vector<const wchar_t*>> orders = {
        {L"Panel1", L"Panel2"},
        {L"BitBtn1", L"LabeledEdit6", L"ComboBox3", L"ComboBox4", L"ComboBox5", L"BitBtn6", L"BitBtn7", L"GroupBox4"},
        {L"BitBtn8", L"BitBtn9"},
        {L"GroupBox1", L"GroupBox2", L"GroupBox3"},
        {L"BitBtn2", L"LabeledEdit1", L"LabeledEdit2", L"checkbox1"},
        {L"BitBtn3", L"BitBtn4", L"ComboBox1", L"ComboBox2", L"StaticText1", L"StaticText2", L"LabeledEdit3"},
        {L"ListBox1", L"BitBtn5", L"Button1"},
    };
    for (const auto& order : orders) {
        for (size_t i = 0; i < order.size(); ++i) {
            auto* control = As<TWinControl>(Find(order[i]));
            ASSERT_NE(control, nullptr) << Narrow(order[i]);
            EXPECT_EQ(control->TabOrder(), static_cast<int>(i)) << Narrow(order[i]);
            if (i > 0) { // z-order follows, so the port controls lie above the group box
                EXPECT_EQ(::GetWindow(As<TWinControl>(Find(order[i - 1]))->Handle(), GW_HWNDNEXT), control->Handle())
                    << Narrow(order[i]);
            }
        }
    }
}

TEST_F(Form1Test, StartsDisconnectedWithComponentsAsStored)
{
    MakeForm();
    ExpectConnectedState(false);
    EXPECT_FALSE(Form->Connected);
    EXPECT_EQ(Form->BaudIndex, 0);
    EXPECT_EQ(PanelText(Form->StatusBar1, 3), L"");

    TComm* comm = Form->Comm1;
    EXPECT_EQ(comm->Name(), L"Comm1");
    EXPECT_EQ(comm->ComHandle(), nullptr);
    EXPECT_EQ(comm->CommName(), L"COM2");
    EXPECT_EQ(comm->BaudRate(), 9600u);
    EXPECT_FALSE(comm->Outx_CtsFlow());
    EXPECT_FALSE(comm->Outx_DsrFlow());
    EXPECT_EQ(comm->RtsControl(), TRtsControl::RtsDisable);
    EXPECT_EQ(comm->DtrControl(), TDtrControl::DtrEnable);
    EXPECT_EQ(comm->ReadIntervalTimeout(), 10u);

    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_FALSE(Form->Timer3->Enabled());
    EXPECT_EQ(Form->Timer1->Interval(), 1000u);
    EXPECT_EQ(Form->Timer3->Interval(), 1000u);
    EXPECT_TRUE(Form->Timer2->Enabled()) << "the port list refreshes while disconnected";
    EXPECT_EQ(Form->Timer2->Interval(), 3000u);
}

TEST_F(Form1Test, PortBoxOffersThePortsInOrderAndShowsTheLast)
{
    MakeForm({L"COM1", L"COM3", L"COM4"});
    EXPECT_EQ(Form->ComboBox5->Items(), (std::vector<std::wstring>{L"COM1", L"COM3", L"COM4"}));
    EXPECT_EQ(Form->ComboBox5->Text(), L"COM4");
    EXPECT_EQ(Form->PortList.size(), 3u);
}

TEST_F(Form1Test, NoPortsLeaveTheBoxEmptyShowingCom1)
{
    MakeForm({});
    EXPECT_TRUE(Form->ComboBox5->Items().empty());
    EXPECT_EQ(::SendMessageW(Form->ComboBox5->Handle(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Form->ComboBox5->Text(), L"COM1");
}

TEST_F(Form1Test, PortListRefreshPicksUpANewAdapter)
{
    std::vector<std::wstring> ports{L"COM1"};
    Form = App.CreateForm<TForm1>([&ports] { return ports; });
    Form->HandleNeeded();
    EXPECT_EQ(Form->ComboBox5->Text(), L"COM1");
    ports = {L"COM1", L"COM7"};
    Form->Timer2Timer(Form->Timer2);
    EXPECT_EQ(Form->ComboBox5->Text(), L"COM7");
    EXPECT_EQ(Form->PortList.size(), 2u);
    EXPECT_TRUE(Form->Timer2->Enabled());

    // The same count again keeps what the user typed.
    Form->ComboBox5->SetText(L"COM9");
    Form->Timer2Timer(Form->Timer2);
    EXPECT_EQ(Form->ComboBox5->Text(), L"COM9");
    EXPECT_EQ(Form->ComboBox5->Items().size(), 2u);
}

TEST(ReadPortList, ListsStringValuesInRegistryOrder)
{
    const wchar_t* path = L"Software\\QM27K-Tests\\SerialComm";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QM27K-Tests");
    HKEY raw = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr), ERROR_SUCCESS);
    {
        const win::RegKey key{raw};
        // Names in the same order sorted and as inserted (Wine enumerates sorted, Windows
        // as inserted), ports in neither sorted order.
        const struct { const wchar_t* name; const wchar_t* port; } values[] = {
            {L"\\Device\\A", L"COM4"}, {L"\\Device\\B", L"COM1"}, {L"\\Device\\C", L"COM3"}};
        for (const auto& v : values)
            ::RegSetValueExW(key.get(), v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.port),
                             static_cast<DWORD>((wcslen(v.port) + 1) * sizeof(wchar_t)));
        const DWORD notAString = 7;
        ::RegSetValueExW(key.get(), L"Junk", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&notAString), sizeof(notAString));
        // A value stored without its terminating NUL.
        ::RegSetValueExW(key.get(), L"\\Device\\D", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"COM12"), 5 * sizeof(wchar_t));
    }
    EXPECT_EQ(ReadPortList(HKEY_CURRENT_USER, path), (std::vector<std::wstring>{L"COM4", L"COM1", L"COM3", L"COM12"}));
    EXPECT_TRUE(ReadPortList(HKEY_CURRENT_USER, L"Software\\QM27K-Tests\\Missing").empty());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QM27K-Tests");
}

TEST(ReadPortList, SeesTheRigsPortsInTheSystemList)
{
    REQUIRE_RIG_PORTS(1u);
    const auto ports = ReadPortList();
    for (const auto& pair : RigPortPairs()) {
        EXPECT_NE(std::find(ports.begin(), ports.end(), pair.Port), ports.end()) << Narrow(pair.Port);
        EXPECT_NE(std::find(ports.begin(), ports.end(), pair.Device), ports.end()) << Narrow(pair.Device);
    }
}

TEST_F(Form1Test, ConnectAndDisconnectOnARealLine)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    const std::wstring port = RigPortPairs()[0].Port;
    ConnectTo(port, L"9600", 0);
    ASSERT_NE(Form->Comm1->ComHandle(), nullptr) << "boxes: " << (Boxes.empty() ? "" : Narrow(Boxes[0]));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Form->Connected);
    EXPECT_EQ(PanelText(Form->StatusBar1, 1), L"打开");
    ExpectConnectedState(true);
    EXPECT_EQ(Form->BaudIndex, 3);
    EXPECT_EQ(Form->Comm1->CommName(), port);
    EXPECT_FALSE(Form->Timer2->Enabled()) << "no port list refresh while connected";

    const DCB dcb = LineState();
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(Form->Comm1->ComHandle(), &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 30u);

    Form->Timer1->SetEnabled(true);
    Form->Timer3->SetEnabled(true);
    Form->ContinuousMode = true;
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_EQ(Form->Comm1->ComHandle(), nullptr);
    EXPECT_FALSE(Form->Connected);
    EXPECT_FALSE(Form->ContinuousMode);
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_FALSE(Form->Timer3->Enabled());
    EXPECT_TRUE(Form->Timer2->Enabled());
    EXPECT_EQ(PanelText(Form->StatusBar1, 1), L"关闭");
    ExpectConnectedState(false);
    EXPECT_TRUE(Boxes.empty());
}

// Everything of the window a handler could change, one line each, so two states compare
// in one check and a difference names itself.
std::vector<std::string> WindowState(TForm1& form)
{
    std::vector<std::string> state;
    for (size_t i = 0; i < form.StatusBar1->PanelCount(); ++i)
        state.push_back("panel " + std::to_string(i) + " " + Narrow(PanelText(form.StatusBar1, i)));
    for (size_t i = 0; i < form.ComponentCount(); ++i) {
        TComponent* component = form.Components(i);
        const std::string name = Narrow(component->Name());
        if (auto* control = As<TWinControl>(component))
            state.push_back(name + (::IsWindowEnabled(control->Handle()) ? " on " : " off ") + Narrow(control->Caption()));
        else if (auto* timer = As<TTimer>(component))
            state.push_back(name + (timer->Enabled() ? " on " : " off ") + std::to_string(timer->Interval()));
    }
    state.push_back("checked " + std::to_string(form.checkbox1->Checked()) + ", log lines " +
                    std::to_string(form.ListBox1->Count()) + ", port " +
                    std::to_string(form.Comm1->ComHandle() != nullptr));
    state.push_back("connected " + std::to_string(form.Connected) + ", continuous " +
                    std::to_string(form.ContinuousMode) + ", pending " +
                    std::to_string(static_cast<int>(form.PendingRequest)) + ", counts " +
                    std::to_string(form.SuccessCount) + "/" + std::to_string(form.FailureCount));
    return state;
}

TEST_F(Form1Test, LostLineShowsErrorAsThePortStateAndChangesNothingElse)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    ConnectTo(RigPortPairs()[0].Port, L"9600", 0);
    ASSERT_TRUE(Form->Connected);
    // In the middle of a continuous reading, whose request is still unanswered.
    Form->checkbox1->SetChecked(true);
    Form->BitBtn2Click(Form->BitBtn2);
    ASSERT_TRUE(Form->ContinuousMode);
    Form->Timer1->SetEnabled(false); // no tick may change the state while it is compared
    std::vector<std::string> expected = WindowState(*Form);
    expected[kPortStatePanel] = "panel 1 error";

    // The component raises the hang-up through its notify window, as its threads do.
    ASSERT_TRUE(::PostMessageW(Form->Comm1->NotifyWindow(), MSG_COMM_HANGUP, 0, 0));
    PumpFor(50);
    EXPECT_EQ(WindowState(*Form), expected);
    EXPECT_TRUE(Boxes.empty()) << Narrow(Boxes.front());
    EXPECT_TRUE(Errors.empty());

    // Stop, then Disconnect, as the user does; the window is disconnected again, without a box.
    Form->BitBtn2Click(Form->BitBtn2);
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_EQ(PanelText(Form->StatusBar1, kPortStatePanel), L"关闭");
    ExpectConnectedState(false);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(Form1Test, LineLostDuringAContinuousReadingIsReportedOnce)
{
    REQUIRE_RIG_PORTS(4u);
    if (!std::getenv("QM27K_RIG_RUNNER"))
        GTEST_SKIP() << "needs the rig's --drop-line (run through tests/rig/wine-run)";
    const TPortPair pair = RigPortPairs()[3]; // the line the component's own test drops too
    MakeForm();
    int hangups = 0;
    const TNotifyEvent bound = Form->Comm1->OnRequestHangup;
    Form->Comm1->OnRequestHangup = [&](TObject* sender) {
        ++hangups;
        bound(sender);
    };
    {
        TFarEndSensor sensor(pair.Device);
        ConnectTo(pair.Port, L"9600", 0);
        ASSERT_TRUE(Form->Connected);
        Form->checkbox1->SetChecked(true);
        Form->BitBtn2Click(Form->BitBtn2);
        ASSERT_TRUE(PumpUntil([&] { return Form->SuccessCount >= 2; }, 10000)) << "the reading runs";
        ASSERT_TRUE(DropRigLine(pair.Port));
    }
    ASSERT_TRUE(PumpUntil([&] { return hangups > 0; }));
    EXPECT_EQ(PanelText(Form->StatusBar1, kPortStatePanel), L"error");
    // Reader and writer both lose the line, and the reading goes on sending into it until
    // the user stops it: a repeat, then a counted failure and the next request.
    EXPECT_TRUE(PumpUntil([&] { return Form->FailureCount >= 1; }, 6000));
    PumpFor(200);
    EXPECT_EQ(hangups, 1);
    EXPECT_EQ(PanelText(Form->StatusBar1, kPortStatePanel), L"error");
    EXPECT_TRUE(Form->ContinuousMode);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Errors.empty());

    Form->BitBtn2Click(Form->BitBtn2);
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_TRUE(Boxes.empty()) << "closing a lost line is no failure";
    ExpectConnectedState(false);
    ConnectTo(pair.Port, L"9600", 0);
    EXPECT_TRUE(Form->Connected) << "the fresh line opens";
    EXPECT_EQ(PanelText(Form->StatusBar1, kPortStatePanel), L"打开");
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_EQ(hangups, 1);
}

TEST_F(Form1Test, ConnectUsesEachBaudRatesReadTimeout)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    const std::wstring port = RigPortPairs()[0].Port;
    const struct { const wchar_t* baud; int index; DWORD interval; } rates[] = {
        {L"1200", 0, 160}, {L"2400", 1, 80}, {L"4800", 2, 60}, {L"9600", 3, 30}, {L"19200", 4, 10}};
    for (const auto& rate : rates) {
        ConnectTo(port, rate.baud, 0);
        ASSERT_NE(Form->Comm1->ComHandle(), nullptr) << Narrow(rate.baud);
        EXPECT_EQ(Form->BaudIndex, rate.index);
        EXPECT_EQ(LineState().BaudRate, static_cast<DWORD>(std::stoi(rate.baud)));
        COMMTIMEOUTS timeouts{};
        ::GetCommTimeouts(Form->Comm1->ComHandle(), &timeouts);
        EXPECT_EQ(timeouts.ReadIntervalTimeout, rate.interval) << Narrow(rate.baud);
        Form->BitBtn6Click(Form->BitBtn6);
    }

    // A rate typed by hand opens the line at that rate and keeps the last derived values.
    ConnectTo(port, L"38400", 0);
    ASSERT_NE(Form->Comm1->ComHandle(), nullptr);
    EXPECT_EQ(LineState().BaudRate, 38400u);
    EXPECT_EQ(Form->BaudIndex, 4);
    EXPECT_EQ(Form->Comm1->ReadIntervalTimeout(), 10u);
    Form->BitBtn6Click(Form->BitBtn6);
}

TEST_F(Form1Test, TypedRateAtStartKeepsTheInitialDerivedValues)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    ConnectTo(RigPortPairs()[0].Port, L"38400", 0);
    ASSERT_NE(Form->Comm1->ComHandle(), nullptr);
    EXPECT_EQ(Form->BaudIndex, 0);
    EXPECT_EQ(Form->Comm1->ReadIntervalTimeout(), 10u);
    Form->BitBtn6Click(Form->BitBtn6);
}

TEST_F(Form1Test, FramingEntriesOpenTheLineWithTheirParity)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    const struct { int entry; BYTE parity; TParity property; } framings[] = {
        {1, ODDPARITY, TParity::Odd}, {2, EVENPARITY, TParity::Even}, {0, NOPARITY, TParity::None}};
    for (const auto& framing : framings) {
        gRequestedDcb = {};
        ConnectTo(RigPortPairs()[0].Port, L"9600", framing.entry);
        ASSERT_NE(Form->Comm1->ComHandle(), nullptr);
        EXPECT_EQ(Form->Comm1->Parity(), framing.property) << "entry " << framing.entry;
        EXPECT_EQ(gRequestedDcb.Parity, framing.parity) << "entry " << framing.entry;
        EXPECT_EQ(gRequestedDcb.ByteSize, 8);
        EXPECT_EQ(gRequestedDcb.StopBits, ONESTOPBIT);
        EXPECT_EQ(gRequestedDcb.BaudRate, 9600u);
        EXPECT_EQ(gRequestedDcb.fRtsControl, RTS_CONTROL_DISABLE);
        EXPECT_EQ(gRequestedDcb.fDtrControl, DTR_CONTROL_ENABLE);
        EXPECT_FALSE(gRequestedDcb.fOutxCtsFlow);
        EXPECT_FALSE(gRequestedDcb.fOutxDsrFlow);
        EXPECT_TRUE(gRequestedDcb.fBinary);
        EXPECT_EQ(LineState().BaudRate, 9600u) << "what the device itself reports";
        Form->BitBtn6Click(Form->BitBtn6);
    }
}

TEST_F(Form1Test, TypedFramingKeepsTheLastFraming)
{
    MakeForm();
    Form->Comm1->SetParity(TParity::Mark);
    Form->ComboBox5->SetText(L"COM99");
    Form->ComboBox4->SetText(L"N 7 2");
    ASSERT_EQ(Form->ComboBox4->ItemIndex(), -1);
    Form->BitBtn1Click(Form->BitBtn1);
    EXPECT_EQ(Form->Comm1->Parity(), TParity::Mark);
    EXPECT_EQ(Form->Comm1->ByteSize(), TByteSize::_8);
}

TEST_F(Form1Test, MissingPortIsReportedAndLeavesTheWindowDisconnected)
{
    MakeForm();
    ConnectTo(L"COM99", L"9600", 0);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0], L"打开端口错误,可能已被打开");
    EXPECT_EQ(PanelText(Form->StatusBar1, 1), L"关闭");
    EXPECT_FALSE(Form->Connected);
    EXPECT_EQ(Form->Comm1->ComHandle(), nullptr);
    ExpectConnectedState(false);
    EXPECT_EQ(Form->BaudIndex, 3) << "derived before the open was tried";
}

TEST_F(Form1Test, BaudTextThatIsNotANumberShowsTheConversionError)
{
    MakeForm();
    Form->ComboBox5->SetText(L"COM42");
    Form->ComboBox3->SetText(L"abc");
    // Clicked as the user would: the error leaves the handler and reaches the error box.
    ::SendMessageW(Form->BitBtn1->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], L"'abc' is not a valid integer value");
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Form->Comm1->CommName(), L"COM42") << "set before the conversion";
    EXPECT_EQ(Form->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(Form->Comm1->ComHandle(), nullptr);
    EXPECT_EQ(PanelText(Form->StatusBar1, 1), L"");
    ExpectConnectedState(false);
}

TEST_F(Form1Test, ConnectAfterFailureSucceeds)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    ConnectTo(L"COM99", L"9600", 0);
    EXPECT_FALSE(Form->Connected);
    ConnectTo(RigPortPairs()[0].Port, L"9600", 0);
    EXPECT_TRUE(Form->Connected);
    EXPECT_EQ(PanelText(Form->StatusBar1, 1), L"打开");
    Form->BitBtn6Click(Form->BitBtn6);
}

TEST_F(Form1Test, LogAddsLinesInOrderAndFollowsTheSelectedLast)
{
    MakeForm();
    TListBox* log = Form->ListBox1;
    Form->AddLogLine(L"TX: 01 03 00 00 00 02 C4 0B", true);
    EXPECT_EQ(log->ItemIndex(), 0);
    for (int i = 1; i < 50; ++i)
        Form->AddLogLine(L"RX: line " + std::to_wstring(i), true);
    ASSERT_EQ(log->Count(), 50u);
    EXPECT_EQ(log->Item(0), L"TX: 01 03 00 00 00 02 C4 0B");
    EXPECT_EQ(log->Item(49), L"RX: line 49");
    EXPECT_EQ(::SendMessageW(log->Handle(), LB_GETCOUNT, 0, 0), 50);
    EXPECT_EQ(log->ItemIndex(), 49);
    // The selected last line is in view: the list shows about eleven lines of 13 pixels.
    const int top = log->TopIndex();
    EXPECT_GT(top, 30);
    EXPECT_LE(top, 49);

    Form->AddLogLine(L"TX: unselected", false);
    EXPECT_EQ(log->ItemIndex(), 49) << "a line added without select leaves the selection";
    EXPECT_EQ(log->Count(), 51u);
}

TEST_F(Form1Test, ClearEmptiesTheLogAndLaterLinesStartANewOne)
{
    MakeForm();
    for (int i = 0; i < 5; ++i)
        Form->AddLogLine(L"line " + std::to_wstring(i), true);
    Form->BitBtn5->SetEnabled(true);
    ::SendMessageW(Form->BitBtn5->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form->ListBox1->Count(), 0u);
    EXPECT_EQ(::SendMessageW(Form->ListBox1->Handle(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Form->ListBox1->ItemIndex(), -1);
    Form->AddLogLine(L"after", true);
    EXPECT_EQ(Form->ListBox1->Count(), 1u);
    EXPECT_EQ(Form->ListBox1->Item(0), L"after");
    EXPECT_EQ(Form->ListBox1->ItemIndex(), 0);
}

TEST_F(Form1Test, CopyPutsEveryLineWithCrLfOnTheClipboard)
{
    MakeForm();
    Form->Button1->SetEnabled(true);
    ASSERT_TRUE(SetClipboardText(L"something else"));
    ::SendMessageW(Form->Button1->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(), L"") << "an empty log gives an empty text";

    Form->AddLogLine(L"TX: 01 03 00 00 00 02 C4 0B", true);
    Form->AddLogLine(L"RX: 01 03 04 00 FD 01 C8 4A 4E", true);
    ::SendMessageW(Form->Button1->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(), L"TX: 01 03 00 00 00 02 C4 0B\r\nRX: 01 03 04 00 FD 01 C8 4A 4E\r\n");
}

TEST_F(Form1Test, TxLineShowsTheWholeFrame)
{
    MakeForm();
    const size_t length = BuildWriteSettings(Form->RequestFrame, 1, 2, 3);
    EXPECT_EQ(TForm1::TxLine(Form->RequestFrame.data(), length), L"TX: 01 10 00 64 00 02 04 00 02 00 03 15 B5");
}

TEST_F(Form1Test, SendFramePutsTheRequestOnTheLine)
{
    REQUIRE_RIG_PORTS(1u);
    MakeForm();
    const TPortPair pair = RigPortPairs()[0];
    TSensorEnd sensor{pair.Device};
    ASSERT_TRUE(sensor.IsOpen());

    ConnectTo(pair.Port, L"9600", 0);
    ASSERT_TRUE(Form->Connected);
    Form->AssemblyCount = 7;
    const size_t length = BuildReadMeasurement(Form->RequestFrame, 1);
    EXPECT_TRUE(Form->SendFrame(Form->RequestFrame.data(), length));
    EXPECT_EQ(Form->AssemblyCount, 0) << "pieces of an earlier answer are dropped";

    EXPECT_EQ(sensor.Read(length), (TBytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B}));

    // Closed: nothing goes out, and the send still reports success.
    Form->BitBtn6Click(Form->BitBtn6);
    EXPECT_TRUE(Form->SendFrame(Form->RequestFrame.data(), length));
    EXPECT_TRUE(sensor.ReadAny(200).empty());
}
