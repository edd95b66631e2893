// The bound label follows the edit: same parent, placed above it, shown and enabled with it.
#include "toolkit/LabeledEdit.h"

#include "toolkit/WinControl.h"

const TClassInfo TBoundLabel::StaticClass{L"TBoundLabel", &TCustomLabel::StaticClass, {}};
const TClassInfo TLabeledEdit::StaticClass{L"TLabeledEdit", &TCustomEdit::StaticClass, {}};

void TBoundLabel::SizeChanged()
{
    if (auto* edit = As<TLabeledEdit>(Owner()))
        edit->PlaceLabel();
}

TLabeledEdit::TLabeledEdit(TComponent* owner) : TCustomEdit(owner), FEditLabel(Make<TBoundLabel>())
{
    FEditLabel->SetName(L"SubLabel");
}

void TLabeledEdit::SetParent(TWinControl* parent)
{
    TCustomEdit::SetParent(parent);
    FEditLabel->SetParent(parent);
    PlaceLabel();
}

void TLabeledEdit::SetBounds(int left, int top, int width, int height)
{
    TCustomEdit::SetBounds(left, top, width, height);
    PlaceLabel();
}

void TLabeledEdit::SetLabelSpacing(int spacing)
{
    FLabelSpacing = spacing;
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel()
{
    FEditLabel->SetBounds(Left(), Top() - FEditLabel->Height() - FLabelSpacing, FEditLabel->Width(),
                          FEditLabel->Height());
}

void TLabeledEdit::VisibleChanged()
{
    TCustomEdit::VisibleChanged();
    FEditLabel->SetVisible(Visible());
}

void TLabeledEdit::EnabledChanged()
{
    TCustomEdit::EnabledChanged();
    FEditLabel->SetEnabled(Enabled());
}
