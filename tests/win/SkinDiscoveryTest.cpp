// Which wrapper each control of a framed window gets: the toolkit form's walk (default rules,
// the Skin3rd mapping, DisableTag), and the child-window rules of a system dialog made from a
// template, size grip included.
#include "skin/controls/SkinControl.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/LabeledEdit.h"
#include "toolkit/ListBox.h"
#include "toolkit/Panel.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StaticText.h"
#include "toolkit/StatusBar.h"

#include <map>

namespace {

// Classes of other libraries, as a form would hold them: only their names differ.
#define QM_NAMED_CLASS(Name, Base)                                                          \
    class Name : public Base {                                                              \
        TK_CLASS(Name)                                                                      \
    public:                                                                                 \
        using Base::Base;                                                                   \
    };                                                                                      \
    const TClassInfo Name::StaticClass{L## #Name, &Base::StaticClass, {}};

QM_NAMED_CLASS(TNilPanel, TPanel)            // a panel mapped to "nil": no wrapper at all
QM_NAMED_CLASS(TFancyLabel, TStaticText)     // "Panel": wrapped as a panel
QM_NAMED_CLASS(TPlainLabel, TStaticText)     // "panel", all lower case: the same
QM_NAMED_CLASS(TRzCheckGroup, TGroupBox)     // "checkgroup"
QM_NAMED_CLASS(TLMDRadioGroup, TGroupBox)    // "radiogroup" whose Tag is DisableTag
#undef QM_NAMED_CLASS

std::wstring WrapperName(TWinSkinForm* frame, HWND hwnd)
{
    const TSkinControl* wrapper = frame->FindWrapper(hwnd);
    return wrapper ? wrapper->ClassName() : L"";
}

} // namespace

class SkinDiscoveryTest : public TAppTest {
protected:
    template <class T>
    T* Add(TWinControl* parent, int left, int top, int width = 80, int height = 24)
    {
        T* control = Form->Make<T>();
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
        return control;
    }

    TSkinnedForm* Form = nullptr;
};

TEST_F(SkinDiscoveryTest, AToolkitFormsControlsGetTheWrapperOfTheirKind)
{
    Form = App.Make<TSkinnedForm>(TestSkinArchive());
    Form->SetClientSize(520, 360);
    Form->SkinData->SetSkin3rd({L"TNilPanel=nil", L"TFancyLabel=Panel", L"tplainlabel=panel", L"TRzCheckGroup=checkgroup",
                                L"TLMDRadioGroup=radiogroup"});

    auto* group = Add<TGroupBox>(Form, 10, 10, 200, 120);
    auto* inGroup = Add<TCheckBox>(group, 10, 20);
    auto* label = Add<TLabel>(group, 10, 60);
    std::map<TWinControl*, const wchar_t*> expected{
        {group, L"TSkinGroupBox"},
        {inGroup, L"TSkinCheckBox"},
        {Add<TButton>(Form, 220, 10), L"TSkinButton"},
        {Add<TBitBtn>(Form, 310, 10), L"TSkinBitButton"},
        {Add<TCheckBox>(Form, 400, 10), L"TSkinCheckBox"},
        {Add<TComboBox>(Form, 220, 40), L"TSkinComBox"},
        {Add<TEdit>(Form, 310, 40), L"TSkinEdit"},
        {Add<TLabeledEdit>(Form, 400, 60), L"TSkinEdit"},
        {Add<TSpinEdit>(Form, 220, 90), L"TSkinEdit"},
        {Add<TListBox>(Form, 310, 90, 80, 60), L"TSkinScrollbar"},
        {Add<TStaticText>(Form, 400, 110), L""},
        {Add<TPanel>(Form, 10, 140, 100, 40), L"TSkinBox"},
        {Add<TNilPanel>(Form, 120, 140, 100, 40), L""},
        {Add<TFancyLabel>(Form, 230, 140), L"TSkinBox"},
        {Add<TPlainLabel>(Form, 320, 140), L"TSkinBox"},
    };
    auto* checkGroup = Add<TRzCheckGroup>(Form, 10, 190, 150, 80);
    expected[checkGroup] = L"TSkinGroupBox";
    expected[Add<TCheckBox>(checkGroup, 10, 20)] = L"TSkinCheckBox";
    auto* off = Add<TButton>(Form, 170, 190);
    off->SetTag(Form->SkinData->DisableTag());
    expected[off] = L"";
    auto* radioGroup = Add<TLMDRadioGroup>(Form, 260, 190, 150, 80);
    radioGroup->SetTag(Form->SkinData->DisableTag());
    expected[radioGroup] = L"";
    auto* inRadioGroup = Add<TCheckBox>(radioGroup, 10, 20);
    expected[inRadioGroup] = L"";
    expected[Add<TStatusBar>(Form, 0, 330, 520, 24)] = L"TSkinStatusBar";

    TWinSkinForm* frame = ShowSkinned(Form);
    ASSERT_NE(frame, nullptr);
    for (const auto& [control, wrapper] : expected) {
        SCOPED_TRACE(Narrow(control->ClassName()));
        EXPECT_EQ(WrapperName(frame, control->Handle()), wrapper);
        EXPECT_EQ(::SendMessageW(control->Handle(), SKM_QUERYSKINNED, 0, 0), *wrapper ? 1 : 0);
    }
    // A group left alone hands its DisableTag on to its buttons.
    EXPECT_EQ(inRadioGroup->Tag(), Form->SkinData->DisableTag());
    EXPECT_EQ(inGroup->Tag(), 0);
    // Every wrapper serves a control that should have one, or a child window of it (a spin
    // edit's up-down, a combo box's list).
    EXPECT_EQ(label->Parent(), group);
    for (const auto& w : frame->WrapperList()) {
        const auto owner = std::find_if(expected.begin(), expected.end(), [&](const auto& e) {
            return e.first->Handle() == w->Handle() || e.first->Handle() == ::GetParent(w->Handle());
        });
        ASSERT_NE(owner, expected.end()) << Narrow(w->ClassName());
        EXPECT_STRNE(owner->second, L"") << Narrow(owner->first->ClassName());
    }
}

TEST_F(SkinDiscoveryTest, WithoutPanelsACheckGroupIsNothingAndItsLineKeepsTheGroupRuleAway)
{
    Form = App.Make<TSkinnedForm>(TestSkinArchive());
    Form->SkinData->SetSkin3rd({L"TRzCheckGroup=checkgroup"});
    TSkinControlTypes kinds = Form->SkinData->SkinControls();
    kinds.Exclude(TSkinControlType::xcPanel);
    Form->SkinData->SetSkinControls(kinds);
    auto* checkGroup = Add<TRzCheckGroup>(Form, 10, 10, 150, 80);
    auto* inCheckGroup = Add<TCheckBox>(checkGroup, 10, 20);
    auto* group = Add<TGroupBox>(Form, 170, 10, 100, 80);
    TWinSkinForm* frame = ShowSkinned(Form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WrapperName(frame, checkGroup->Handle()), L"");
    EXPECT_EQ(WrapperName(frame, group->Handle()), L"") << "a group box needs panels";
    // Its buttons are the form's own controls, walked by the default rules.
    EXPECT_EQ(WrapperName(frame, inCheckGroup->Handle()), L"TSkinCheckBox");
}

TEST_F(SkinDiscoveryTest, AScrollableControlMadeAgainGetsANewWrapper)
{
    Form = App.Make<TSkinnedForm>(TestSkinArchive());
    auto* list = Add<TListBox>(Form, 10, 10, 120, 100);
    int asked = 0;
    Form->SkinData->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control, const std::wstring&,
                                        TComponent*&) { asked += control == list; };
    TWinSkinForm* frame = ShowSkinned(Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->FindWrapper(list->Handle()), nullptr);
    ASSERT_EQ(asked, 1);
    ::PostMessageW(Form->Handle(), SKM_REWRAPSCROLL, reinterpret_cast<WPARAM>(list->Handle()), 0);
    EXPECT_TRUE(PumpUntil([&] { return asked == 2; }, 2000));
    EXPECT_EQ(WrapperName(frame, list->Handle()), L"TSkinScrollbar");
    EXPECT_EQ(frame->WrapperList().size(), 1u);
}

// ---- A system dialog ------------------------------------------------------------------------

namespace {

// An in-memory dialog template: DLGTEMPLATE, then each item aligned to four bytes.
class TDialogTemplate {
public:
    explicit TDialogTemplate(short width, short height)
    {
        const DLGTEMPLATE head{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | WS_VISIBLE, 0, 0, 0, 0, width, height};
        Put(&head, sizeof(head));
        Word(0), Word(0), Text(L"Dialog"); // no menu, the standard class, the caption
        Word(8), Text(L"MS Shell Dlg");
    }

    void Add(const wchar_t* className, DWORD style, short x, short y, short cx, short cy, const wchar_t* text)
    {
        Align();
        const DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, ++FCount};
        Put(&item, sizeof(item));
        Text(className), Text(text), Word(0);
        // The item count sits in the header.
        reinterpret_cast<DLGTEMPLATE*>(FBytes.data())->cdit = FCount;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FBytes.data()); }

private:
    void Put(const void* p, size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        FBytes.insert(FBytes.end(), b, b + n);
    }
    void Word(WORD w) { Put(&w, sizeof(w)); }
    void Text(const wchar_t* s) { Put(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align() { FBytes.resize((FBytes.size() + 3) & ~size_t(3)); }

    std::vector<std::uint8_t> FBytes;
    WORD FCount = 0;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

} // namespace

TEST_F(SkinDiscoveryTest, ADialogsChildWindowsGetTheWrapperTheirClassAndStyleGive)
{
    // The dialog is framed with the main form's component, as the program's message boxes are.
    Form = App.Make<TSkinnedForm>(TestSkinArchive());
    ASSERT_NE(ShowSkinned(Form), nullptr);

    struct TItem {
        const wchar_t* Class;
        DWORD Style;
        const wchar_t* Wrapper;
    };
    const TItem items[] = {
        {L"Button", BS_PUSHBUTTON, L"TSkinButton"},
        {L"Button", BS_DEFPUSHBUTTON, L"TSkinButton"},
        {L"Button", BS_USERBUTTON, L"TSkinButton"},
        {L"Button", BS_CHECKBOX, L"TSkinCheckBox"},
        {L"Button", BS_AUTOCHECKBOX, L"TSkinCheckBox"},
        {L"Button", BS_3STATE, L"TSkinCheckBox"},
        {L"Button", BS_AUTO3STATE, L"TSkinCheckBox"},
        {L"Button", BS_RADIOBUTTON, L"TSkinRadioButton"},
        {L"Button", BS_AUTORADIOBUTTON, L"TSkinRadioButton"},
        {L"Button", BS_GROUPBOX, L""},
        {L"Button", BS_OWNERDRAW, L""},
        {L"Button", BS_PUSHBUTTON | BS_BITMAP, L""},
        {L"ComboBox", CBS_SIMPLE, L""},
        {L"ComboBox", CBS_DROPDOWN, L"TSkinComBox"},
        {L"ComboBox", CBS_DROPDOWNLIST, L"TSkinComBox"},
        {L"Edit", WS_BORDER, L"TSkinEdit"},
        {L"ScrollBar", SBS_VERT, L""}, // an ordinary scroll bar is not a size grip
        {L"ScrollBar", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, L"TSkinSizer"},
        {L"Static", SS_LEFT, L""},
    };
    TDialogTemplate dialogTemplate(300, 200);
    short y = 4;
    for (const TItem& item : items) {
        dialogTemplate.Add(item.Class, item.Style, 4, y, 80, item.Class[0] == L'C' ? 60 : 9, L"Item");
        y += 10;
    }
    const win::Window dialog(::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(),
                                                          nullptr, PlainDialogProc, 0));
    ASSERT_TRUE(dialog);
    ::SetActiveWindow(dialog.get());
    TWinSkinForm* frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        frame = SkinManager->FindFrame(dialog.get());
        return frame && frame->FrameState() == TFrameState::Active;
    }, 3000));

    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog.get(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), std::size(items));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << Narrow(items[i].Class) << " style 0x" << std::hex << items[i].Style);
        EXPECT_EQ(WrapperName(frame, children[i]), items[i].Wrapper);
    }
    // The dialog itself is a frame, not a wrapper; a size grip made later is wrapped as it is made.
    EXPECT_EQ(frame->FindWrapper(dialog.get()), nullptr);
    const win::Window grip(::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 0, 0, 16, 16,
                                             dialog.get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(WrapperName(frame, grip.get()), L"TSkinSizer");
    const win::Window bar(::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 20, 60, 16,
                                            dialog.get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(WrapperName(frame, bar.get()), L"");
}
