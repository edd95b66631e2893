// Single-line edits: a superclass of EDIT; Text is the window text.
#pragma once

#include "toolkit/WinControl.h"

class TCustomEdit : public TWinControl {
    TK_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);

    std::wstring Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }
    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool value);

    TNotifyEvent OnChange;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
    TK_CLASS(TEdit)
public:
    using TCustomEdit::TCustomEdit;
};
