// TControl: what every control has (parent, bounds, caption, font, colour, enabled, visible),
// and TGraphicControl, a control without a window that its parent paints.
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Component.h"
#include "toolkit/Font.h"

#include <functional>
#include <string>

class TWinControl;

enum class TAlign { None, Top, Bottom, Left, Right, Client };

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const noexcept { return Right - Left; }
    int Height() const noexcept { return Bottom - Top; }
    bool operator==(const TRect&) const noexcept = default;
};

class TControl : public TComponent {
    TK_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const noexcept { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    TRect BoundsRect() const noexcept { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual void SetBounds(int left, int top, int width, int height);
    TAlign Align() const noexcept { return FAlign; }
    void SetAlign(TAlign align);

    virtual std::wstring Caption() const { return FCaption; }
    void SetCaption(const std::wstring& caption);

    TFont& Font() noexcept { return FFont; }
    const TFont& Font() const noexcept { return FFont; }
    bool ParentFont() const noexcept { return FParentFont; }
    void SetParentFont(bool value);

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const noexcept { return FParentColor; }
    void SetParentColor(bool value);

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool visible);

    virtual void Invalidate();

    TNotifyEvent OnClick;

protected:
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    void Click();

    // Follows the parent's font and colour while ParentFont / ParentColor are set.
    void ParentFontChanged();
    void ParentColorChanged();

    std::wstring FCaption;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;

private:
    TWinControl* FParent = nullptr;
    TAlign FAlign = TAlign::None;
    TFont FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    bool FEnabled = true;
    bool FVisible = true;

    friend class TWinControl;
};

// A control without a window: its parent paints it in its own WM_PAINT.
class TGraphicControl : public TControl {
    TK_CLASS(TGraphicControl)
public:
    using TControl::TControl;
    virtual void Paint(HDC dc) = 0;
    void Invalidate() override;

protected:
    void CaptionChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }
    void ColorChanged() override { Invalidate(); }
    void EnabledChanged() override { Invalidate(); }
    void VisibleChanged() override;
};
