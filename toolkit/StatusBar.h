// Status bars with panels of fixed width; the last panel takes the rest of the bar.
#pragma once

#include "toolkit/WinControl.h"

#include <vector>

class TCustomStatusBar;

class TStatusPanel {
public:
    TStatusPanel(TCustomStatusBar& bar, size_t index, int width) : FBar(&bar), FIndex(index), FWidth(width) {}
    const std::wstring& Text() const noexcept { return FText; }
    void SetText(const std::wstring& text);
    int Width() const noexcept { return FWidth; }

private:
    TCustomStatusBar* FBar;
    size_t FIndex;
    int FWidth;
    std::wstring FText;
};

class TCustomStatusBar : public TWinControl {
    TK_CLASS(TCustomStatusBar)
public:
    explicit TCustomStatusBar(TComponent* owner);

    void AddPanel(int width, const std::wstring& text = {});
    size_t PanelCount() const noexcept { return FPanels.size(); }
    TStatusPanel& Panels(size_t index) { return FPanels.at(index); }
    const TStatusPanel& Panels(size_t index) const { return FPanels.at(index); }
    bool SizeGrip() const noexcept { return FSizeGrip; }
    void SetSizeGrip(bool value) { FSizeGrip = value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void InitializeWnd() override;
    void ColorChanged() override;

private:
    void UpdatePanels();
    void UpdatePanelText(size_t index);
    friend class TStatusPanel;

    std::vector<TStatusPanel> FPanels;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
    TK_CLASS(TStatusBar)
public:
    using TCustomStatusBar::TCustomStatusBar;
};
