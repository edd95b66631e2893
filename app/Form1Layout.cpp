// The main window's description: every control with its parent, place, caption and look,
// the components without a window, and the tab order.
#include "app/Form1.h"

#include "app/Resources.h"
#include "comm/Comm.h"
#include "skin/window/SkinData.h"

#include <cstdint>
#include <initializer_list>
#include <span>

namespace {

constexpr TColor kReadingGreen = clGreen;
constexpr TColor kUnitGrey = RGBColor(65, 65, 65);
constexpr TColor kStatusBlue = RGBColor(56, 89, 222);

const std::vector<std::wstring> kBaudRates{L"1200", L"2400", L"4800", L"9600", L"19200"};
const std::vector<std::wstring> kFramings{L"N 8 1", L"O 8 1", L"E 8 1"};

template <class T>
T* Place(TComponent* owner, const wchar_t* name, TWinControl* parent, int left, int top, int width, int height,
         const wchar_t* caption = L"")
{
    T* control = owner->Make<T>();
    control->SetName(name);
    control->SetParent(parent);
    control->SetCaption(caption);
    control->SetBounds(left, top, width, height);
    return control;
}

// Labels size themselves to their text.
template <class T>
T* PlaceText(TComponent* owner, const wchar_t* name, TWinControl* parent, int left, int top, const wchar_t* caption)
{
    return Place<T>(owner, name, parent, left, top, 0, 0, caption);
}

TComboBox* PlaceCombo(TComponent* owner, const wchar_t* name, TWinControl* parent, int left, int top, int width,
                      const std::vector<std::wstring>& items, int selected)
{
    auto* box = Place<TComboBox>(owner, name, parent, left, top, width, 21);
    box->SetItems(items);
    box->SetItemIndex(selected);
    return box;
}

void SetFont(TFont& font, int height, TColor color = clWindowText, TFontStyle style = TFontStyle::None)
{
    font.SetHeight(height);
    font.SetColor(color);
    font.SetStyle(style);
}

// Other libraries' control classes and the kind of skinned control each is painted as.
std::vector<std::wstring> ApplicationSkin3rd()
{
    std::vector<std::wstring> lines;
    auto add = [&lines](const wchar_t* kind, std::initializer_list<const wchar_t*> classes) {
        for (const wchar_t* c : classes)
            lines.push_back(std::wstring(c) + L"=" + kind);
    };
    add(L"scrollbar", {L"TCategoryButtons", L"TVirtualStringTree", L"TVirtualDrawTree", L"TAdvPanelGroup",
                       L"THTMLViewer", L"TDBCtrlGrid", L"TImageEnMView", L"TImageEnView", L"TAdvMemo", L"TDBAdvMemo"});
    add(L"pngspeedbutton", {L"TPngSpeedbutton"});
    add(L"pngbitbtn", {L"TPngBitBtn"});
    add(L"panel", {L"TTBXDockablePanel", L"TControlBar", L"TTBDock", L"TTBToolbar", L"TLMDGROUPBOX",
                   L"TLMDSIMPLEPANEL", L"TLMDDBCalendar", L"TLMDButtonPanel", L"TLMDLMDCalculator",
                   L"TLMDHeaderPanel", L"TLMDTechnicalLine", L"TLMDLMDClock", L"TRzGroup", L"TLMDCalculator",
                   L"TLMDTrackbar"});
    add(L"combobox", {L"TComboboxex", L"TcxDBLookupComboBox", L"TcxDBComboBox", L"TcxDBDateEdit",
                      L"TcxDBImageComboBox", L"TcxDBCalcEdit", L"TcxDBBlobEdit", L"TcxDBPopupEdit",
                      L"TcxDBFontNameComboBox", L"TcxDBShellComboBox", L"TRxLookupEdit", L"TRxDBLookupCombo",
                      L"TRzDateTimeEdit", L"TRzColorEdit", L"TRzDateTimePicker", L"TRzDBDateTimeEdit",
                      L"TRzDbColorEdit", L"TRzDBDateTimePicker", L"TLMDListCombobox", L"TLMDCheckListCombobox",
                      L"TLMDHeaderListCombobox", L"TLMDImageCombobox", L"TLMDColorCombobox", L"TLMDFontCombobox",
                      L"TLMDFontSizeCombobox", L"TLMDFontSizeCombobox", L"TLMDPrinterCombobox",
                      L"TLMDDriveCombobox", L"TLMDCalculatorComboBox", L"TLMDTrackBarComboBox",
                      L"TLMDCalendarComboBox", L"TLMDTreeComboBox", L"TWWTempKeyCombo", L"TDBLookupCombobox",
                      L"TWWDBCombobox", L"TWWDBCombobox", L"TWWDBLookupCombo", L"TWWKeyCombo",
                      L"TWWDBDateTimePicker"});
    add(L"speedbutton", {L"TRxSpeedButton", L"TfrSpeedButton", L"TfrTBButton"});
    add(L"button", {L"TRzButton"});
    add(L"bitbtn", {L"TRzBitbtn", L"TLMDButton", L"TcxButton"});
    add(L"menubtn", {L"TRzMenuButton"});
    add(L"CheckGroup", {L"TRzCheckGroup", L"TLMDCheckGroup", L"TLMDDBCheckGroup"});
    add(L"radiogroup", {L"TRzRadioGroup", L"TRzDBRadioGroup", L"TLMDRADIOGROUP", L"TLMDDBRADIOGROUP",
                        L"TWWRADIOGROUP", L"TcxDBRadioGroup", L"TcxRadioGroup"});
    add(L"edit", {L"TRzButtonEdit", L"TLMDEDIT", L"TLMDMASKEDIT", L"TLMDBROWSEEDIT", L"TLMDEXTSPINEDIT",
                  L"TLMDCALENDAREDIT", L"TLMDFILEOPENEDIT", L"TLMDFILESAVEEDIT", L"TLMDCOLOREDIT", L"TLMDDBEDIT",
                  L"TLMDDBMASKEDIT", L"TLMDDBEXTSPINEDIT", L"TLMDDBSPINEDIT", L"TLMDDBEDITDBLookup",
                  L"TLMDEDITDBLookup", L"TLMDCalculatorEdit", L"TWWDBEDIT", L"TOVCPICTUREFIELD",
                  L"TOVCDBPICTUREFIELD", L"TOVCSLIDEREDIT", L"TOVCDBSLIDEREDIT", L"TOVCSIMPLEFIELD",
                  L"TOVCDBSIMPLEFIELD", L"TO32DBFLEXEDIT", L"TOVCNUMERICFIELD", L"TOVCDBNUMERICFIELD"});
    add(L"Radiobutton", {L"TRzDBRadioButton", L"TLMDRadiobutton"});
    add(L"Groupbox", {L"TLMDGroupBox", L"TcxGroupbox"});
    add(L"Checkbox", {L"TDBCheckboxEh", L"TDBCheckboxEh", L"TLMDCHECKBOX", L"TLMDDBCHECKBOX"});
    return lines;
}

// The skin stored with the form: its SkinStream property as the program's resources carry it.
// A module without it (a test linking the form alone) stores none.
std::span<const std::uint8_t> StoredSkinStream()
{
    static const std::uint8_t kNone[4] = {0, 0, 0, 0};
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_SKIN), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return kNone;
    return {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, info)};
}

void SetTabOrders(std::initializer_list<TWinControl*> controls)
{
    int order = 0;
    for (TWinControl* control : controls)
        control->SetTabOrder(order++);
}

} // namespace

void TForm1::CreateComponents(const TCommApi& commApi)
{
    SetName(L"Form1");
    SetCaption(L"QM27K-测试工具_V1.3");
    SetBounds(277, 148, 589, 560);
    SetClientSize(573, 522);
    SetPosition(TPosition::DesktopCenter);
    SetBorderIcons(TBorderIcon::SystemMenu);
    SetColor(clBtnFace);
    Font().SetName(L"MS Sans Serif");
    SetFont(Font(), 11);

    // Left panel: connection.
    Panel1 = Place<TPanel>(this, L"Panel1", this, 0, 0, 169, 501);
    Panel1->SetAlign(TAlign::Left);
    BitBtn1 = Place<TBitBtn>(this, L"BitBtn1", Panel1, 36, 342, 97, 33, L"连接");
    LabeledEdit6 = Place<TLabeledEdit>(this, L"LabeledEdit6", Panel1, 90, 84, 48, 21, L"1");
    LabeledEdit6->EditLabel()->SetCaption(L"     地址  ");
    ComboBox3 = PlaceCombo(this, L"ComboBox3", Panel1, 75, 244, 60, kBaudRates, 3);
    ComboBox4 = PlaceCombo(this, L"ComboBox4", Panel1, 75, 284, 60, kFramings, 0);
    ComboBox5 = Place<TComboBox>(this, L"ComboBox5", Panel1, 75, 203, 60, 21, L"COM1");
    BitBtn6 = Place<TBitBtn>(this, L"BitBtn6", Panel1, 36, 390, 97, 33, L"断开");
    BitBtn7 = Place<TBitBtn>(this, L"BitBtn7", Panel1, 31, 82, 50, 25, L"查地址 ");
    // Beneath the port controls above: created after them, so it lies lower in z-order.
    GroupBox4 = Place<TGroupBox>(this, L"GroupBox4", Panel1, 14, 48, 141, 441, L"通讯设置");
    BitBtn8 = Place<TBitBtn>(this, L"BitBtn8", GroupBox4, 16, 72, 105, 25, L"广播设置地址为1");
    BitBtn9 = Place<TBitBtn>(this, L"BitBtn9", GroupBox4, 16, 107, 105, 25, L"自动设置地址");
    Label1 = PlaceText<TLabel>(this, L"Label1", GroupBox4, 16, 159, L"串口号 ");
    Label2 = PlaceText<TLabel>(this, L"Label2", GroupBox4, 16, 200, L"波特率 ");
    Label3 = PlaceText<TLabel>(this, L"Label3", GroupBox4, 16, 240, L" 校  验 ");

    // Right panel: data, settings, traffic log.
    Panel2 = Place<TPanel>(this, L"Panel2", this, 169, 0, 404, 501);
    Panel2->SetAlign(TAlign::Client);

    GroupBox1 = Place<TGroupBox>(this, L"GroupBox1", Panel2, 15, 16, 383, 89, L"数据");
    BitBtn2 = Place<TBitBtn>(this, L"BitBtn2", GroupBox1, 294, 26, 75, 25, L"读取");
    LabeledEdit1 = Place<TLabeledEdit>(this, L"LabeledEdit1", GroupBox1, 40, 35, 65, 37);
    LabeledEdit1->SetReadOnly(true);
    SetFont(LabeledEdit1->Font(), 24, kReadingGreen, TFontStyle::Bold);
    SetFont(LabeledEdit1->EditLabel()->Font(), 13);
    LabeledEdit1->EditLabel()->SetCaption(L"   温 度     ");
    LabeledEdit2 = Place<TLabeledEdit>(this, L"LabeledEdit2", GroupBox1, 151, 35, 65, 37);
    LabeledEdit2->SetReadOnly(true);
    SetFont(LabeledEdit2->Font(), 24, kReadingGreen, TFontStyle::Bold);
    SetFont(LabeledEdit2->EditLabel()->Font(), 13);
    LabeledEdit2->EditLabel()->SetCaption(L"   湿 度   ");
    checkbox1 = Place<TCheckBox>(this, L"checkbox1", GroupBox1, 297, 58, 81, 17, L" 连续采集   ");
    Label5 = PlaceText<TLabel>(this, L"Label5", GroupBox1, 106, 41, L"℃");
    SetFont(Label5->Font(), 21, kUnitGrey);
    Label6 = PlaceText<TLabel>(this, L"Label6", GroupBox1, 217, 39, L"rh%");
    SetFont(Label6->Font(), 24, kUnitGrey);

    GroupBox2 = Place<TGroupBox>(this, L"GroupBox2", Panel2, 15, 121, 383, 128, L"设置");
    BitBtn3 = Place<TBitBtn>(this, L"BitBtn3", GroupBox2, 133, 88, 75, 25, L"读取");
    BitBtn4 = Place<TBitBtn>(this, L"BitBtn4", GroupBox2, 245, 88, 75, 25, L"设置");
    ComboBox1 = PlaceCombo(this, L"ComboBox1", GroupBox2, 128, 42, 72, kBaudRates, 3);
    ComboBox2 = PlaceCombo(this, L"ComboBox2", GroupBox2, 245, 42, 76, kFramings, 0);
    StaticText1 = PlaceText<TStaticText>(this, L"StaticText1", GroupBox2, 135, 25, L"波特率 ");
    StaticText2 = PlaceText<TStaticText>(this, L"StaticText2", GroupBox2, 251, 25, L" 校  验 ");
    LabeledEdit3 = Place<TSpinEdit>(this, L"LabeledEdit3", GroupBox2, 19, 42, 64, 22);
    LabeledEdit3->SetRange(1, 247);
    LabeledEdit3->SetValue(1);
    Label4 = PlaceText<TLabel>(this, L"Label4", GroupBox2, 31, 26, L"地址 ");

    GroupBox3 = Place<TGroupBox>(this, L"GroupBox3", Panel2, 15, 256, 383, 234, L"调试");
    ListBox1 = Place<TListBox>(this, L"ListBox1", GroupBox3, 16, 24, 349, 153);
    ListBox1->SetItemHeight(13);
    BitBtn5 = Place<TBitBtn>(this, L"BitBtn5", GroupBox3, 253, 191, 105, 25, L"清除");
    Button1 = Place<TButton>(this, L"Button1", GroupBox3, 108, 191, 105, 25, L"复制");

    StatusBar1 = Place<TStatusBar>(this, L"StatusBar1", this, 0, 501, 573, 21);
    StatusBar1->SetAlign(TAlign::Bottom);
    StatusBar1->SetColor(kStatusBlue);
    StatusBar1->SetSizeGrip(false);
    StatusBar1->AddPanel(60, L"端口状态：");
    StatusBar1->AddPanel(60);
    StatusBar1->AddPanel(40, L"模式：");
    StatusBar1->AddPanel(60);
    StatusBar1->AddPanel(60, L"通讯状态：");
    StatusBar1->AddPanel(140);
    StatusBar1->AddPanel(50, L"统计");
    StatusBar1->AddPanel(50);

    SetTabOrders({Panel1, Panel2});
    SetTabOrders({BitBtn1, LabeledEdit6, ComboBox3, ComboBox4, ComboBox5, BitBtn6, BitBtn7, GroupBox4});
    SetTabOrders({BitBtn8, BitBtn9});
    SetTabOrders({GroupBox1, GroupBox2, GroupBox3});
    SetTabOrders({BitBtn2, LabeledEdit1, LabeledEdit2, checkbox1});
    SetTabOrders({BitBtn3, BitBtn4, ComboBox1, ComboBox2, StaticText1, StaticText2, LabeledEdit3});
    SetTabOrders({ListBox1, BitBtn5, Button1});

    // The line runs without hardware flow control and with RTS held off.
    Comm1 = Make<TComm>(commApi);
    Comm1->SetName(L"Comm1");
    Comm1->SetOutx_CtsFlow(false);
    Comm1->SetOutx_DsrFlow(false);
    Comm1->SetRtsControl(TRtsControl::RtsDisable);

    for (auto [timer, name] : {std::pair{&Timer1, L"Timer1"}, {&Timer2, L"Timer2"}, {&Timer3, L"Timer3"}}) {
        *timer = Make<TTimer>();
        (*timer)->SetName(name);
        (*timer)->SetEnabled(false);
        (*timer)->SetInterval(1000);
    }

    // The skin: read with the form, so the stored skin is built before the window is shown;
    // its Loaded runs once every component exists (end of the constructor).
    SkinData1 = Make<TSkinData>();
    SkinData1->BeginLoading();
    SkinData1->SetName(L"SkinData1");
    SkinData1->SetActive(true);
    SkinData1->SetSkin3rd(ApplicationSkin3rd());
    SkinData1->ReadSkinStream(StoredSkinStream());
}
