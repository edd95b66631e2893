// Control state shared by windowed and graphic controls, and the parent links.
#include "toolkit/Control.h"

#include "toolkit/SysUtils.h"
#include "toolkit/WinControl.h"

namespace {
const TControl& C(const TObject& o) { return static_cast<const TControl&>(o); }
TControl& C(TObject& o) { return static_cast<TControl&>(o); }

const TPropertyInfo kControlProps[] = {
    {L"Caption", [](const TObject& o) { return C(o).Caption(); },
     [](TObject& o, std::wstring_view v) { C(o).SetCaption(std::wstring(v)); }},
    // Signed, as form files write colours: system colours read back ($FF00000F is -16777201).
    {L"Color", [](const TObject& o) { return IntToStr(static_cast<std::int32_t>(C(o).Color())); },
     [](TObject& o, std::wstring_view v) { C(o).SetColor(static_cast<TColor>(StrToInt(v))); }},
    {L"Enabled", [](const TObject& o) { return BoolToStr(C(o).Enabled()); },
     [](TObject& o, std::wstring_view v) { C(o).SetEnabled(StrToBool(v)); }},
    {L"Visible", [](const TObject& o) { return BoolToStr(C(o).Visible()); },
     [](TObject& o, std::wstring_view v) { C(o).SetVisible(StrToBool(v)); }},
    {L"Left", [](const TObject& o) { return IntToStr(C(o).Left()); },
     [](TObject& o, std::wstring_view v) { C(o).SetBounds(StrToInt(v), C(o).Top(), C(o).Width(), C(o).Height()); }},
    {L"Top", [](const TObject& o) { return IntToStr(C(o).Top()); },
     [](TObject& o, std::wstring_view v) { C(o).SetBounds(C(o).Left(), StrToInt(v), C(o).Width(), C(o).Height()); }},
    {L"Width", [](const TObject& o) { return IntToStr(C(o).Width()); },
     [](TObject& o, std::wstring_view v) { C(o).SetBounds(C(o).Left(), C(o).Top(), StrToInt(v), C(o).Height()); }},
    {L"Height", [](const TObject& o) { return IntToStr(C(o).Height()); },
     [](TObject& o, std::wstring_view v) { C(o).SetBounds(C(o).Left(), C(o).Top(), C(o).Width(), StrToInt(v)); }},
    {L"ParentFont", [](const TObject& o) { return BoolToStr(C(o).ParentFont()); },
     [](TObject& o, std::wstring_view v) { C(o).SetParentFont(StrToBool(v)); }},
    {L"Font", [](const TObject&) { return std::wstring(L"(TFont)"); }, nullptr,
     [](const TObject& o) -> TObject* { return const_cast<TFont*>(&C(o).Font()); }},
};

} // namespace

const TClassInfo TControl::StaticClass{L"TControl", &TComponent::StaticClass, kControlProps};
const TClassInfo TGraphicControl::StaticClass{L"TGraphicControl", &TControl::StaticClass, {}};

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    FFont.OnChange = [this] {
        if (!FUpdatingFont)
            FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    FFont.OnChange = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = parent;
    if (FParent) {
        FParent->InsertControl(this);
        ParentFontChanged();
        ParentColorChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
}

void TControl::SetAlign(TAlign align)
{
    if (align == FAlign)
        return;
    FAlign = align;
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetCaption(const std::wstring& caption)
{
    if (caption == Caption())
        return;
    FCaption = caption;
    CaptionChanged();
}

void TControl::SetParentFont(bool value)
{
    FParentFont = value;
    if (value)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    FFont = FParent->Font();
    FUpdatingFont = false;
}

void TControl::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    FParentColor = false;
    ColorChanged();
}

void TControl::SetParentColor(bool value)
{
    FParentColor = value;
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent || FColor == FParent->Color())
        return;
    FColor = FParent->Color();
    ColorChanged();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    EnabledChanged();
}

void TControl::SetVisible(bool visible)
{
    if (visible == FVisible)
        return;
    FVisible = visible;
    VisibleChanged();
}

void TControl::Invalidate() {}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TGraphicControl::Invalidate()
{
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated())
        return;
    const RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    ::InvalidateRect(parent->Handle(), &r, TRUE);
}

void TGraphicControl::VisibleChanged()
{
    TWinControl* parent = Parent();
    if (parent && parent->HandleAllocated())
        ::InvalidateRect(parent->Handle(), nullptr, TRUE);
}
