// Edit messages: EN_CHANGE raises OnChange; colours follow the control's font and colour.
#include "toolkit/Edit.h"

#include "toolkit/SysUtils.h"

namespace {
const TPropertyInfo kEditProps[] = {
    {L"Text", [](const TObject& o) { return static_cast<const TCustomEdit&>(o).Text(); },
     [](TObject& o, std::wstring_view v) { static_cast<TCustomEdit&>(o).SetText(std::wstring(v)); }},
    {L"ReadOnly", [](const TObject& o) { return BoolToStr(static_cast<const TCustomEdit&>(o).ReadOnly()); },
     [](TObject& o, std::wstring_view v) { static_cast<TCustomEdit&>(o).SetReadOnly(StrToBool(v)); }},
};
} // namespace

const TClassInfo TCustomEdit::StaticClass{L"TCustomEdit", &TWinControl::StaticClass, kEditProps};
const TClassInfo TEdit::StaticClass{L"TEdit", &TCustomEdit::StaticClass, {}};

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"EDIT");
    Params.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    if (FHandle)
        ::SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE && OnChange)
            OnChange(this);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: // read-only edits ask with the static message
        AnswerCtlColor(Message);
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}
