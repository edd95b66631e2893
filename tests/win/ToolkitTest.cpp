// The toolkit on real windows: class identity, the control property on each window, the
// replaceable message hook, published properties, timers, combo boxes, check boxes, tab
// order, forms, exceptions that leave handlers, and the clipboard.
#include "tests/win/TestSupport.h"

#include "toolkit/BitBtn.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Exception.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/LabeledEdit.h"
#include "toolkit/ListBox.h"
#include "toolkit/Panel.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StaticText.h"
#include "toolkit/StatusBar.h"
#include "toolkit/SysUtils.h"
#include "toolkit/Timer.h"

#include <commctrl.h>

#include <cwchar>

class ToolkitTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        Form = App.Make<TForm>();
        Form->SetBounds(10, 10, 300, 200);
        Form->SetClientSize(280, 160);
    }
    TForm* Form = nullptr;
};

TEST_F(ToolkitTest, ClassesInheritAsTheSkinRulesExpect)
{
    const struct { TObject* object; std::vector<const wchar_t*> ancestors; } cases[] = {
        {App.Make<TBitBtn>(), {L"TBitBtn", L"TButton", L"TWinControl", L"TControl", L"TComponent"}},
        {App.Make<TCheckBox>(), {L"TCheckBox", L"TCustomCheckBox", L"TWinControl"}},
        {App.Make<TComboBox>(), {L"TComboBox", L"TCustomComboBox", L"TWinControl"}},
        {App.Make<TLabeledEdit>(), {L"TLabeledEdit", L"TCustomEdit", L"TWinControl"}},
        {App.Make<TSpinEdit>(), {L"TSpinEdit", L"TCustomEdit"}},
        {App.Make<TListBox>(), {L"TListBox", L"TCustomListBox", L"TWinControl"}},
        {App.Make<TPanel>(), {L"TPanel", L"TCustomPanel", L"TWinControl"}},
        {App.Make<TGroupBox>(), {L"TGroupBox", L"TCustomGroupBox", L"TWinControl"}},
        {App.Make<TStatusBar>(), {L"TStatusBar", L"TCustomStatusBar", L"TWinControl"}},
        {App.Make<TStaticText>(), {L"TStaticText", L"TWinControl"}},
        {App.Make<TForm>(), {L"TForm", L"TCustomForm", L"TWinControl", L"TControl", L"TComponent", L"TObject"}},
        {App.Make<TLabel>(), {L"TLabel", L"TCustomLabel", L"TGraphicControl", L"TControl"}},
        {App.Make<TTimer>(), {L"TTimer", L"TComponent"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.object->ClassName(), c.ancestors.front());
        for (const wchar_t* ancestor : c.ancestors)
            EXPECT_TRUE(c.object->InheritsFrom(ancestor)) << Narrow(c.object->ClassName()) << " is " << Narrow(ancestor);
    }
    EXPECT_FALSE(App.Make<TLabel>()->InheritsFrom(L"TWinControl"));
    EXPECT_FALSE(App.Make<TButton>()->InheritsFrom(L"TBitBtn"));
    EXPECT_FALSE(App.Make<TCheckBox>()->InheritsFrom(L"TButton"));
}

TEST_F(ToolkitTest, WindowsAreMadeOnFirstUseAndKnowTheirControl)
{
    auto* button = App.Make<TButton>();
    button->SetParent(Form);
    button->SetBounds(5, 6, 70, 25);
    button->SetCaption(L"连接");
    EXPECT_FALSE(button->HandleAllocated());
    EXPECT_FALSE(Form->HandleAllocated());

    const HWND hwnd = button->Handle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(Form->HandleAllocated()) << "a child needs its parent's window";
    EXPECT_EQ(::GetParent(hwnd), Form->Handle());

    // The property is named after module and thread, as the skin engine looks it up.
    wchar_t name[64];
    std::swprintf(name, 64, L"ControlOfs%.8llX%.8lX", reinterpret_cast<unsigned long long>(::GetModuleHandleW(nullptr)),
                  ::GetCurrentThreadId());
    const ATOM atom = ::GlobalFindAtomW(name);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(atom, ControlAtom());
    EXPECT_EQ(::GetPropW(hwnd, MAKEINTATOM(atom)), static_cast<HANDLE>(static_cast<TWinControl*>(button)));
    EXPECT_EQ(FindControl(hwnd), button);
    EXPECT_EQ(FindControl(::GetDesktopWindow()), nullptr);

    wchar_t className[64];
    ::GetClassNameW(hwnd, className, 64);
    EXPECT_STREQ(className, L"TButton");
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(button->Caption(), L"连接");

    button->DestroyHandle();
    EXPECT_FALSE(button->HandleAllocated());
    EXPECT_FALSE(::IsWindow(hwnd));
}

namespace {
// A stand-in for a skin painter: sees messages first, then hands them on.
class THookProbe {
public:
    explicit THookProbe(TWinControl& control) : FControl(control), FOld(control.WindowProc)
    {
        FMine = TWndMethod::Bind<&THookProbe::Hook>(this);
        control.WindowProc = FMine;
    }
    void Restore()
    {
        if (FControl.WindowProc == FMine)
            FControl.WindowProc = FOld;
    }
    void Hook(TMessage& message)
    {
        Seen.push_back(message.Msg);
        FOld(message);
    }
    std::vector<UINT> Seen;

private:
    TWinControl& FControl;
    TWndMethod FOld;
    TWndMethod FMine;
};
} // namespace

TEST_F(ToolkitTest, AFreedChildLeavesItsParentsListsAndTheTabOrderStillWorks)
{
    auto* first = Form->Make<TButton>();
    auto* gone = Form->Make<TButton>();
    auto* last = Form->Make<TButton>();
    for (TButton* b : {first, gone, last})
        b->SetParent(Form);
    Form->HandleNeeded();
    Form->FreeComponent(gone);
    EXPECT_EQ(Form->TabList(), (std::vector<TWinControl*>{first, last}));
    EXPECT_EQ(Form->ControlCount(), 2u);
    last->SetTabOrder(0); // walks the tab list: a freed entry would be read here
    EXPECT_EQ(Form->TabList().front(), last);
}

TEST_F(ToolkitTest, MessageHookCanBeReplacedAndRestored)
{
    auto* edit = App.Make<TEdit>();
    edit->SetParent(Form);
    edit->SetBounds(0, 0, 80, 21);
    const TWndMethod original = edit->WindowProc;
    THookProbe probe(*edit);
    EXPECT_FALSE(edit->WindowProc == original);

    ::SetWindowTextW(edit->Handle(), L"abc");
    EXPECT_NE(std::find(probe.Seen.begin(), probe.Seen.end(), static_cast<UINT>(WM_SETTEXT)), probe.Seen.end());
    EXPECT_EQ(edit->Text(), L"abc") << "the hook passed the message on";

    edit->SetEnabled(false);
    EXPECT_NE(std::find(probe.Seen.begin(), probe.Seen.end(), CM_ENABLEDCHANGED), probe.Seen.end());

    probe.Restore();
    EXPECT_TRUE(edit->WindowProc == original);
    probe.Seen.clear();
    ::SetWindowTextW(edit->Handle(), L"def");
    EXPECT_TRUE(probe.Seen.empty());
}

TEST_F(ToolkitTest, PublishedPropertiesReachTheWindows)
{
    auto* button = App.Make<TBitBtn>();
    button->SetParent(Form);
    auto* box = App.Make<TCheckBox>();
    box->SetParent(Form);
    auto* panel = App.Make<TPanel>();
    panel->SetParent(Form);

    EXPECT_TRUE(button->SetPropValue(L"Caption", L"读取"));
    EXPECT_EQ(button->Caption(), L"读取");
    wchar_t text[32];
    ::GetWindowTextW(button->Handle(), text, 32);
    EXPECT_STREQ(text, L"读取");
    EXPECT_EQ(button->GetPropValue(L"Default"), L"False");
    EXPECT_EQ(button->GetPropValue(L"Kind"), L"bkCustom");
    EXPECT_TRUE(button->SetPropValue(L"Enabled", L"False"));
    EXPECT_FALSE(::IsWindowEnabled(button->Handle()));
    EXPECT_TRUE(button->SetPropValue(L"Visible", L"False"));
    EXPECT_FALSE(::IsWindowVisible(button->Handle()));

    EXPECT_EQ(box->GetPropValue(L"State"), L"cbUnchecked");
    EXPECT_TRUE(box->SetPropValue(L"Checked", L"True"));
    EXPECT_EQ(::SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(box->GetPropValue(L"State"), L"cbChecked");
    EXPECT_TRUE(box->SetPropValue(L"State", L"cbGrayed"));
    EXPECT_EQ(::SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_THROW(box->SetPropValue(L"State", L"half"), EConvertError);

    EXPECT_EQ(panel->GetPropValue(L"ParentBackground"), L"True");
    EXPECT_TRUE(panel->SetPropValue(L"ParentBackground", L"False"));
    EXPECT_FALSE(panel->ParentBackground());
    EXPECT_EQ(panel->GetPropValue(L"BorderStyle"), L"bsNone");
    EXPECT_TRUE(panel->SetPropValue(L"BorderStyle", L"bsSingle"));
    EXPECT_TRUE(::GetWindowLongPtrW(panel->Handle(), GWL_STYLE) & WS_BORDER);
    EXPECT_THROW(panel->SetPropValue(L"BorderStyle", L"bsDouble"), EConvertError);
    EXPECT_TRUE(button->SetPropValue(L"Kind", L"bkOK"));
    EXPECT_EQ(button->Kind(), TBitBtnKind::OK);
    EXPECT_EQ(Form->GetPropValue(L"AutoScroll"), L"False");
    EXPECT_TRUE(Form->SetPropValue(L"AutoScroll", L"False"));

    auto* font = As<TFont>(button->GetObjectProp(L"Font"));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, &button->Font());
    EXPECT_EQ(font->Name(), L"MS Sans Serif");
    EXPECT_EQ(button->GetObjectProp(L"Caption"), nullptr);
}

TEST_F(ToolkitTest, ChildrenFollowTheParentFontUntilGivenTheirOwn)
{
    auto* panel = App.Make<TPanel>();
    panel->SetParent(Form);
    auto* label = App.Make<TLabel>();
    label->SetParent(panel);
    Form->Font().SetHeight(15);
    EXPECT_EQ(panel->Font().Height(), 15);
    EXPECT_EQ(label->Font().Height(), 15);
    EXPECT_TRUE(label->ParentFont());
    label->Font().SetHeight(21);
    EXPECT_FALSE(label->ParentFont());
    Form->Font().SetHeight(11);
    EXPECT_EQ(panel->Font().Height(), 11);
    EXPECT_EQ(label->Font().Height(), 21);
}

TEST_F(ToolkitTest, LabelsSizeThemselvesToTheirText)
{
    auto* label = App.Make<TLabel>();
    label->SetParent(Form);
    label->SetBounds(16, 159, 0, 0);
    label->SetCaption(L"串口号 ");
    const int narrow = label->Width();
    EXPECT_GT(narrow, 0);
    EXPECT_GT(label->Height(), 0);
    label->SetCaption(L"串口号 串口号 串口号");
    EXPECT_GT(label->Width(), narrow);
    EXPECT_EQ(label->Left(), 16);
    EXPECT_EQ(label->Top(), 159);
}

TEST_F(ToolkitTest, TimerChangesOnlyWhatDiffersAndKeepsTicking)
{
    auto* timer = App.Make<TTimer>();
    timer->SetEnabled(false);
    timer->SetInterval(1000);
    const unsigned idle = timer->StartCount();
    timer->SetInterval(1000);
    timer->SetEnabled(false);
    EXPECT_EQ(timer->StartCount(), idle) << "same values change nothing";

    timer->SetEnabled(true);
    EXPECT_EQ(timer->StartCount(), idle + 1);
    timer->SetEnabled(true);
    timer->SetInterval(1000);
    EXPECT_EQ(timer->StartCount(), idle + 1) << "no new period for the same values";
    timer->SetInterval(2000);
    EXPECT_EQ(timer->StartCount(), idle + 2) << "a change while enabled starts a new period";

    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer);
        ++ticks;
    };
    timer->SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000)) << "a tick does not disable the timer";
    EXPECT_TRUE(timer->Enabled());
    timer->SetEnabled(false);
    const int stopped = ticks;
    PumpFor(100);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(ToolkitTest, ComboBoxKeepsItsTextWhenEntriesAreReplaced)
{
    auto* box = App.Make<TComboBox>();
    box->SetParent(Form);
    box->SetBounds(10, 10, 60, 21);
    box->SetText(L"COM1");
    box->HandleNeeded();
    box->SetItems({L"COM3", L"COM4"});
    EXPECT_EQ(box->Text(), L"COM1");
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(::SendMessageW(box->Handle(), CB_GETCOUNT, 0, 0), 2);
    box->SetItemIndex(1);
    EXPECT_EQ(box->Text(), L"COM4");
    box->ClearItems();
    EXPECT_EQ(box->Text(), L"COM4");
    EXPECT_EQ(::SendMessageW(box->Handle(), CB_GETCOUNT, 0, 0), 0);
    box->SetText(L"COM9");
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Text(), L"COM9");
}

TEST_F(ToolkitTest, ComboBoxStateSetBeforeItsWindowArrivesInIt)
{
    auto* box = App.Make<TComboBox>();
    box->SetParent(Form);
    box->SetBounds(10, 10, 60, 21);
    box->SetItems({L"N 8 1", L"O 8 1", L"E 8 1"});
    box->SetItemIndex(2);
    EXPECT_EQ(box->Text(), L"E 8 1");
    box->HandleNeeded();
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(box->Text(), L"E 8 1");
}

TEST_F(ToolkitTest, ClicksRaiseOnClickAndToggleCheckBoxes)
{
    auto* button = App.Make<TButton>();
    button->SetParent(Form);
    auto* box = App.Make<TCheckBox>();
    box->SetParent(Form);
    button->SetBounds(5, 5, 75, 25); // a click lands inside the button
    box->SetBounds(5, 40, 81, 17);
    int clicks = 0, boxClicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    box->OnClick = [&](TObject*) { ++boxClicks; };
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    ::SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box->Checked());
    ::SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(boxClicks, 2);
}

TEST_F(ToolkitTest, ExceptionLeavingAHandlerReachesTheStandardErrorBox)
{
    auto* button = App.Make<TButton>();
    button->SetParent(Form);
    button->SetBounds(5, 5, 75, 25);
    button->OnClick = [](TObject*) { StrToInt(L"abc"); };
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0], L"'abc' is not a valid integer value");

    // Without a replacement, the error goes to a message box with the application's title.
    App.OnException = nullptr;
    std::wstring caption;
    App.OnMessageBox = [&](const std::wstring& text, const std::wstring& title, unsigned flags) {
        Boxes.push_back(text);
        caption = title;
        EXPECT_TRUE(flags & MB_ICONERROR);
        return IDOK;
    };
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0], L"'abc' is not a valid integer value");
    EXPECT_EQ(caption, App.Title());
}

TEST_F(ToolkitTest, TabOrderDecidesZOrder)
{
    auto* a = App.Make<TButton>();
    a->SetParent(Form);
    auto* b = App.Make<TButton>();
    b->SetParent(Form);
    auto* c = App.Make<TButton>();
    c->SetParent(Form);
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(b->TabOrder(), 2);
    Form->HandleNeeded();
    EXPECT_EQ(::GetWindow(Form->Handle(), GW_CHILD), c->Handle());
    EXPECT_EQ(::GetWindow(c->Handle(), GW_HWNDNEXT), a->Handle());
    EXPECT_EQ(::GetWindow(a->Handle(), GW_HWNDNEXT), b->Handle());
    b->SetTabOrder(0);
    EXPECT_EQ(::GetWindow(Form->Handle(), GW_CHILD), b->Handle());
    EXPECT_EQ(::GetNextDlgTabItem(Form->Handle(), b->Handle(), FALSE), c->Handle());
}

TEST_F(ToolkitTest, FormTakesItsClientSizeAndIsListed)
{
    Form->SetBorderIcons(TBorderIcon::SystemMenu);
    Form->SetPosition(TPosition::DesktopCenter);
    Form->HandleNeeded();
    RECT client{};
    ::GetClientRect(Form->Handle(), &client);
    EXPECT_EQ(client.right, 280);
    EXPECT_EQ(client.bottom, 160);
    const LONG_PTR style = ::GetWindowLongPtrW(Form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    RECT window{};
    ::GetWindowRect(Form->Handle(), &window);
    EXPECT_NEAR((window.left + window.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    ASSERT_GE(App.FormCount(), 1u);
    EXPECT_EQ(App.Forms(0), Form);
    auto* second = App.Make<TForm>();
    EXPECT_EQ(App.FormCount(), 2u);
    App.FreeComponent(second);
    EXPECT_EQ(App.FormCount(), 1u);
}

TEST_F(ToolkitTest, StatusBarPanelsAndSpinEdit)
{
    auto* bar = App.Make<TStatusBar>();
    bar->SetParent(Form);
    bar->SetSizeGrip(false);
    bar->AddPanel(60, L"端口状态：");
    bar->AddPanel(60);
    bar->AddPanel(40, L"模式：");
    bar->Panels(1).SetText(L"打开");
    int edges[3] = {};
    ASSERT_EQ(::SendMessageW(bar->Handle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 60);
    EXPECT_EQ(edges[1], 120);
    EXPECT_EQ(edges[2], -1) << "the last panel takes the rest";
    wchar_t text[32] = L"";
    ::SendMessageW(bar->Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"打开");
    EXPECT_FALSE(::GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);

    auto* spin = App.Make<TSpinEdit>();
    spin->SetParent(Form);
    spin->SetBounds(19, 42, 64, 22);
    spin->SetRange(1, 247);
    spin->SetValue(1);
    ASSERT_NE(spin->Handle(), nullptr);
    ASSERT_NE(spin->UpDownHandle(), nullptr);
    EXPECT_EQ(::GetParent(spin->UpDownHandle()), spin->Handle());
    EXPECT_EQ(spin->Text(), L"1");
    int low = 0, high = 0;
    ::SendMessageW(spin->UpDownHandle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 247);
    spin->SetText(L"x");
    EXPECT_EQ(spin->Value(), 1) << "text that is not a number reads as the minimum";
    spin->SetValue(300);
    EXPECT_EQ(spin->Text(), L"247");
}

TEST_F(ToolkitTest, ClipboardCarriesText)
{
    ASSERT_TRUE(SetClipboardText(L"TX: 01 03 00 00 00 02 C4 0B\r\n"));
    EXPECT_EQ(ClipboardText(), L"TX: 01 03 00 00 00 02 C4 0B\r\n");
    ASSERT_TRUE(SetClipboardText(L""));
    EXPECT_EQ(ClipboardText(), L"");
}
