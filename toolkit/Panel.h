// Panels: a raised bevel around controls, with an optional centred caption.
#pragma once

#include "toolkit/WinControl.h"

enum class TBorderStyle { None, Single };

class TCustomPanel : public TWinControl {
    TK_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint(HDC dc, const TRect& client) override;

private:
    TBorderStyle FBorderStyle = TBorderStyle::None;
};

class TPanel : public TCustomPanel {
    TK_CLASS(TPanel)
public:
    using TCustomPanel::TCustomPanel;
};
