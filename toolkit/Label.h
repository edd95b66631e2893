// Labels: text painted by the parent, sized to the text unless AutoSize is off.
#pragma once

#include "toolkit/Control.h"

class TCustomLabel : public TGraphicControl {
    TK_CLASS(TCustomLabel)
public:
    explicit TCustomLabel(TComponent* owner);

    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool value);

    void Paint(HDC dc) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void AdjustBounds();
    // After auto-sizing changed the size.
    virtual void SizeChanged() {}

private:
    bool FAutoSize = true;
    bool FTransparent = false;
};

class TLabel : public TCustomLabel {
    TK_CLASS(TLabel)
public:
    using TCustomLabel::TCustomLabel;
};
