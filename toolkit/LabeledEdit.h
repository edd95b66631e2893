// An edit with a label bound to it, kept above the edit on the edit's parent.
#pragma once

#include "toolkit/Edit.h"
#include "toolkit/Label.h"

class TBoundLabel : public TCustomLabel {
    TK_CLASS(TBoundLabel)
public:
    using TCustomLabel::TCustomLabel;

protected:
    void SizeChanged() override;
};

class TLabeledEdit : public TCustomEdit {
    TK_CLASS(TLabeledEdit)
public:
    explicit TLabeledEdit(TComponent* owner);

    TBoundLabel* EditLabel() const noexcept { return FEditLabel; }
    int LabelSpacing() const noexcept { return FLabelSpacing; }
    void SetLabelSpacing(int spacing);

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void VisibleChanged() override;
    void EnabledChanged() override;

private:
    void PlaceLabel();
    friend class TBoundLabel;

    TBoundLabel* FEditLabel;
    int FLabelSpacing = 3;
};
