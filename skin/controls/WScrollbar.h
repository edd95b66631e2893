// TWScrollbar: a skinned panel over one of a control's own scroll bars. It paints what the
// system reports of the bar beneath and hands presses to the control, so the system still does
// the scrolling; it only decides what the bar looks like.
#pragma once

#include "skin/controls/NativeScrollBar.h"
#include "skin/controls/ScrollBarLayout.h"
#include "skin/pixels/PixelBuffer.h"
#include "toolkit/Panel.h"

#include <optional>

class TSkinData;

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TWScrollbar : public TCustomPanel {
    TK_CLASS(TWScrollbar)
public:
    explicit TWScrollbar(TComponent* owner);

    TScrollBarKind Kind() const noexcept { return FKind; }
    void SetKind(TScrollBarKind value);
    bool Vertical() const noexcept { return FKind == TScrollBarKind::sbVertical; }

    // The window whose bar of this panel's kind is covered, and the skin to paint it from.
    void Cover(HWND control, TSkinData* skinData);
    // Reads the bar again and follows it: place, visibility, enabled state and face. Repaints
    // only when what shows changed, so a control that changes often stays cheap.
    void Follow();

    TScrollPart HotPart() const noexcept { return FHot; }
    TScrollPart PressedPart() const noexcept { return FPressed; }
    const TScrollBarLayout& Layout() const noexcept { return FLayout; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    void WMMouseMove(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMPaint(TMessage& Message);
    void SetHot(TScrollPart part);
    void PaintNow();
    void PaintTo(HDC dc);
    // The screen point of a panel point, held inside the bar the system hit-tests.
    POINT ToBar(int x, int y) const;
    int CursorAlong() const;

    TScrollBarKind FKind = TScrollBarKind::sbVertical;
    HWND FControl = nullptr;
    TSkinData* FSkinData = nullptr;
    TNativeScrollBar FBar;
    TScrollBarLayout FLayout;
    TPixelRect FPlace; // in the parent's client coordinates
    TScrollPart FHot = TScrollPart::None;
    TScrollPart FPressed = TScrollPart::None;
    // A dragged thumb follows the cursor from where it was grabbed.
    int FGrabThumb = 0;
    int FGrabCursor = 0;
    TPixelBuffer FScratch;
};
