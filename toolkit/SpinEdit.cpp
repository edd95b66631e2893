// The up-down child sits inside the edit's right edge and writes the number into the edit.
#include "toolkit/SpinEdit.h"

#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <commctrl.h>

namespace {
constexpr int kUpDownWidth = 15;
TSpinEdit& S(TObject& o) { return static_cast<TSpinEdit&>(o); }
const TSpinEdit& S(const TObject& o) { return static_cast<const TSpinEdit&>(o); }

const TPropertyInfo kSpinProps[] = {
    {L"Value", [](const TObject& o) { return IntToStr(S(o).Value()); },
     [](TObject& o, std::wstring_view v) { S(o).SetValue(StrToInt(v)); }},
    {L"MinValue", [](const TObject& o) { return IntToStr(S(o).MinValue()); }, nullptr},
    {L"MaxValue", [](const TObject& o) { return IntToStr(S(o).MaxValue()); }, nullptr},
};
} // namespace

const TClassInfo TSpinEdit::StaticClass{L"TSpinEdit", &TCustomEdit::StaticClass, kSpinProps};

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner)
{
    SetText(L"0");
}

void TSpinEdit::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    // The up-down lives inside the edit, so the edit must not paint over it.
    Params.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::SetRange(int minValue, int maxValue)
{
    FMinValue = minValue;
    FMaxValue = maxValue;
    if (FUpDown)
        ::SendMessageW(FUpDown, UDM_SETRANGE32, static_cast<WPARAM>(minValue), maxValue);
}

int TSpinEdit::Value() const
{
    try {
        return StrToInt(Text());
    } catch (const EConvertError&) {
        return FMinValue;
    }
}

void TSpinEdit::SetValue(int value)
{
    if (FMaxValue > FMinValue)
        value = std::clamp(value, FMinValue, FMaxValue);
    SetText(IntToStr(value));
}

void TSpinEdit::InitializeWnd()
{
    const INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&icc);
    RECT client{};
    ::GetClientRect(FHandle, &client);
    FUpDown = ::CreateWindowExW(0, UPDOWN_CLASSW, L"",
                                WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS,
                                client.right - kUpDownWidth, 0, kUpDownWidth, client.bottom, FHandle, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (!FUpDown)
        return; // the edit still works as a plain number box
    ::SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FHandle), 0);
    ::SendMessageW(FUpDown, UDM_SETRANGE32, static_cast<WPARAM>(FMinValue), FMaxValue);
    ::SendMessageW(FHandle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kUpDownWidth));
    // Setting the buddy may rewrite the text from the up-down's position: put ours back.
    ::SetWindowTextW(FHandle, FCaption.c_str());
}
