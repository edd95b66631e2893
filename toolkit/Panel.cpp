// Panel painting: background by the toolkit, then bevel and caption.
#include "toolkit/Panel.h"

#include "toolkit/SysUtils.h"

namespace {
const wchar_t* const kBorderStyleNames[] = {L"bsNone", L"bsSingle"};
const TPropertyInfo kPanelProps[] = {
    {L"BorderStyle",
     [](const TObject& o) {
         return std::wstring(kBorderStyleNames[size_t(static_cast<const TCustomPanel&>(o).BorderStyle())]);
     },
     [](TObject& o, std::wstring_view v) {
         static_cast<TCustomPanel&>(o).SetBorderStyle(TBorderStyle(IndexOfName(kBorderStyleNames, v, L"BorderStyle")));
     }},
};
} // namespace

const TClassInfo TCustomPanel::StaticClass{L"TCustomPanel", &TWinControl::StaticClass, kPanelProps};
const TClassInfo TPanel::StaticClass{L"TPanel", &TCustomPanel::StaticClass, {}};

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner)
{
    SetParentColor(true);
    SetParentBackground(true);
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
    if (FBorderStyle == TBorderStyle::Single)
        Params.Style |= WS_BORDER;
    Params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::SetBorderStyle(TBorderStyle style)
{
    if (style == FBorderStyle)
        return;
    FBorderStyle = style;
    if (FHandle) {
        const LONG_PTR s = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
        ::SetWindowLongPtrW(FHandle, GWL_STYLE, style == TBorderStyle::Single ? (s | WS_BORDER) : (s & ~LONG_PTR(WS_BORDER)));
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

void TCustomPanel::Paint(HDC dc, const TRect& client)
{
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (FCaption.empty())
        return;
    win::Select font{dc, Font().Handle()};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(Font().Color()));
    ::DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
