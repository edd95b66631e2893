// Combo box state is kept here until the window exists, then the window holds it.
#include "toolkit/ComboBox.h"

#include "toolkit/SysUtils.h"

namespace {
TCustomComboBox& B(TObject& o) { return static_cast<TCustomComboBox&>(o); }
const TCustomComboBox& B(const TObject& o) { return static_cast<const TCustomComboBox&>(o); }

const TPropertyInfo kComboProps[] = {
    {L"Text", [](const TObject& o) { return B(o).Text(); },
     [](TObject& o, std::wstring_view v) { B(o).SetText(std::wstring(v)); }},
    {L"ItemIndex", [](const TObject& o) { return IntToStr(B(o).ItemIndex()); },
     [](TObject& o, std::wstring_view v) { B(o).SetItemIndex(StrToInt(v)); }},
    {L"Style", [](const TObject&) { return std::wstring(L"csDropDown"); }, nullptr},
};
} // namespace

const TClassInfo TCustomComboBox::StaticClass{L"TCustomComboBox", &TWinControl::StaticClass, kComboProps};
const TClassInfo TComboBox::StaticClass{L"TComboBox", &TCustomComboBox::StaticClass, {}};

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"COMBOBOX");
    Params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    // The window height of a drop-down combo box is that of its open list; the closed
    // box takes the height its font needs.
    Params.Height = OpenHeight();
}

void TCustomComboBox::InitializeWnd()
{
    for (const auto& item : FItems)
        ::SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (FItemIndex >= 0)
        ::SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    else
        ::SetWindowTextW(FHandle, FCaption.c_str());
    RECT r{};
    ::GetWindowRect(FHandle, &r);
    FHeight = r.bottom - r.top;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    if (FHandle)
        ::SetWindowPos(FHandle, nullptr, left, top, width, OpenHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetItems(std::vector<std::wstring> items)
{
    const std::wstring text = Text();
    FItems = std::move(items);
    FItemIndex = -1;
    if (FHandle) {
        ::SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
        for (const auto& item : FItems)
            ::SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        ::SetWindowTextW(FHandle, text.c_str());
    }
    FCaption = text;
}

int TCustomComboBox::ItemIndex() const
{
    if (!FHandle)
        return FItemIndex;
    // The list keeps its selection while the user types over it; an entry counts as
    // selected only while the box still shows it.
    const int selected = static_cast<int>(::SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= static_cast<int>(FItems.size()) || FItems[static_cast<size_t>(selected)] != Text())
        return -1;
    return selected;
}

void TCustomComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(FItems.size()))
        index = -1;
    FItemIndex = index;
    FCaption = index >= 0 ? FItems[static_cast<size_t>(index)] : std::wstring();
    if (FHandle)
        ::SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND: {
        const WORD code = HIWORD(Message.WParam);
        if ((code == CBN_EDITCHANGE || code == CBN_SELCHANGE) && OnChange)
            OnChange(this);
        return;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
        AnswerCtlColor(Message);
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}
