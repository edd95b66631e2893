// Push button messages: BN_CLICKED comes back reflected from the parent.
#include "toolkit/Button.h"

#include "toolkit/SysUtils.h"

namespace {
const TPropertyInfo kButtonProps[] = {
    {L"Default", [](const TObject& o) { return BoolToStr(static_cast<const TButton&>(o).Default()); },
     [](TObject& o, std::wstring_view v) { static_cast<TButton&>(o).SetDefault(StrToBool(v)); }},
};
} // namespace

const TClassInfo TButton::StaticClass{L"TButton", &TWinControl::StaticClass, kButtonProps};

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    FDefault = value;
    if (FHandle)
        ::SendMessageW(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
        Click();
        return;
    }
    TWinControl::WndProc(Message);
}
