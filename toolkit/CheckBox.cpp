// Check box state lives in the window once it exists; clicks toggle it and raise OnClick.
#include "toolkit/CheckBox.h"

#include "toolkit/SysUtils.h"

#include <array>

namespace {
constexpr std::array<const wchar_t*, 3> kStateNames{L"cbUnchecked", L"cbChecked", L"cbGrayed"};
TCustomCheckBox& B(TObject& o) { return static_cast<TCustomCheckBox&>(o); }
const TCustomCheckBox& B(const TObject& o) { return static_cast<const TCustomCheckBox&>(o); }

const TPropertyInfo kCheckBoxProps[] = {
    {L"Checked", [](const TObject& o) { return BoolToStr(B(o).Checked()); },
     [](TObject& o, std::wstring_view v) { B(o).SetChecked(StrToBool(v)); }},
    {L"State", [](const TObject& o) { return std::wstring(kStateNames[size_t(B(o).State())]); },
     [](TObject& o, std::wstring_view v) { B(o).SetState(TCheckBoxState(IndexOfName(kStateNames, v, L"State"))); }},
};
} // namespace

const TClassInfo TCustomCheckBox::StaticClass{L"TCustomCheckBox", &TWinControl::StaticClass, kCheckBoxProps};
const TClassInfo TCheckBox::StaticClass{L"TCheckBox", &TCustomCheckBox::StaticClass, {}};

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetParentColor(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    // Toggled by us, so that a user click never lands on the grayed state.
    Params.Style |= BS_3STATE;
}

void TCustomCheckBox::InitializeWnd()
{
    ::SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

TCheckBoxState TCustomCheckBox::State() const
{
    if (FHandle)
        return static_cast<TCheckBoxState>(::SendMessageW(FHandle, BM_GETCHECK, 0, 0));
    return FState;
}

void TCustomCheckBox::SetState(TCheckBoxState state)
{
    if (state == State())
        return;
    FState = state;
    if (FHandle)
        ::SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    Click();
}

void TCustomCheckBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) {
            FState = State() == TCheckBoxState::Checked ? TCheckBoxState::Unchecked : TCheckBoxState::Checked;
            ::SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
            Click();
            return;
        }
        break;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
        AnswerCtlColor(Message);
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}
