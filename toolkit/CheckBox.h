// Check boxes: a superclass of BUTTON with the auto-check style; State is the three-state value.
#pragma once

#include "toolkit/WinControl.h"

enum class TCheckBoxState { Unchecked, Checked, Grayed };

class TCustomCheckBox : public TWinControl {
    TK_CLASS(TCustomCheckBox)
public:
    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return State() == TCheckBoxState::Checked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::Checked : TCheckBoxState::Unchecked); }
    TCheckBoxState State() const;
    void SetState(TCheckBoxState state);

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void InitializeWnd() override;

private:
    TCheckBoxState FState = TCheckBoxState::Unchecked;
};

class TCheckBox : public TCustomCheckBox {
    TK_CLASS(TCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
};
