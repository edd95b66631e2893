// A numeric edit with an up-down child that steps its value within MinValue..MaxValue.
#pragma once

#include "toolkit/Edit.h"

class TSpinEdit : public TCustomEdit {
    TK_CLASS(TSpinEdit)
public:
    explicit TSpinEdit(TComponent* owner);

    int MinValue() const noexcept { return FMinValue; }
    int MaxValue() const noexcept { return FMaxValue; }
    void SetRange(int minValue, int maxValue);
    // The text as a number; text that is not one gives MinValue.
    int Value() const;
    void SetValue(int value);
    HWND UpDownHandle() const noexcept { return FUpDown; }

protected:
    void InitializeWnd() override;
    void CreateParams(TCreateParams& Params) override;

private:
    int FMinValue = 0;
    int FMaxValue = 0;
    HWND FUpDown = nullptr; // a child of the edit: destroyed with it
};
