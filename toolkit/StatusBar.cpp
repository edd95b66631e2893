// Status bar parts and texts pushed to the common control.
#include "toolkit/StatusBar.h"

#include <commctrl.h>

const TClassInfo TCustomStatusBar::StaticClass{L"TCustomStatusBar", &TWinControl::StaticClass, {}};
const TClassInfo TStatusBar::StaticClass{L"TStatusBar", &TCustomStatusBar::StaticClass, {}};

void TStatusPanel::SetText(const std::wstring& text)
{
    if (text == FText)
        return;
    FText = text;
    FBar->UpdatePanelText(FIndex);
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner)
{
    SetAlign(TAlign::Bottom);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params)
{
    const INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, STATUSCLASSNAMEW);
    // We place the bar ourselves, so it keeps the height it was given.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (FSizeGrip ? SBARS_SIZEGRIP : 0);
}

void TCustomStatusBar::InitializeWnd()
{
    if (Color() != clBtnFace)
        ::SendMessageW(FHandle, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    UpdatePanels();
}

void TCustomStatusBar::ColorChanged()
{
    TWinControl::ColorChanged();
    if (FHandle)
        ::SendMessageW(FHandle, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

void TCustomStatusBar::AddPanel(int width, const std::wstring& text)
{
    FPanels.emplace_back(*this, FPanels.size(), width);
    FPanels.back().SetText(text);
    UpdatePanels();
}

void TCustomStatusBar::UpdatePanels()
{
    if (!FHandle || FPanels.empty())
        return;
    std::vector<int> edges;
    int right = 0;
    for (const auto& panel : FPanels) {
        right += panel.Width();
        edges.push_back(right);
    }
    edges.back() = -1;
    ::SendMessageW(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < FPanels.size(); ++i)
        UpdatePanelText(i);
}

void TCustomStatusBar::UpdatePanelText(size_t index)
{
    if (FHandle)
        ::SendMessageW(FHandle, SB_SETTEXTW, index, reinterpret_cast<LPARAM>(FPanels[index].Text().c_str()));
}
