// Push buttons: a superclass of the system BUTTON that raises OnClick.
#pragma once

#include "toolkit/WinControl.h"

class TButton : public TWinControl {
    TK_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);
    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool value);
    void Click() { TControl::Click(); }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    bool FDefault = false;
};
