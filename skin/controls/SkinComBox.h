// TSkinComBox: the wrapper of combo boxes: the sunken edge, the button and its arrow from the
// skin over the box's own look, and the helper wrappers of its scroll bars. The box keeps all its
// behaviour (typing, dropping the list, choosing); only the edge and the button are skin pixels.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

class TSkinComBox : public TSkinControl {
    TK_CLASS(TSkinComBox)
public:
    using TSkinControl::TSkinControl;

    bool Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour) override;
    bool AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame) override;
    void DetachWrapper() override;
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // An extended combo box (the edit is its first child window).
    void SetExtended(bool extended) noexcept { FExtended = extended; }
    bool Extended() const noexcept { return FExtended; }

    bool MouseOver() const noexcept { return FMouseOver; }
    // The frame the last Draw used, 0 before any.
    int LastFrame() const noexcept { return FLastFrame; }

private:
    // The skin has something to paint a combo box with, and the box shows its button.
    bool CanPaint(COMBOBOXINFO& info) const;
    int CurrentFrame(const COMBOBOXINFO& info) const;
    bool CursorOver() const;
    // The edit's mouse and the scroll bars' wrappers, once attached.
    void AttachParts();
    void EditHook(TMessage& Message);
    void SetMouseOver(bool value);
    void RepaintIfChanged();
    void WMPaint(TMessage& Message);
    void PaintSkin(const COMBOBOXINFO& info, int frame);

    TMessageLink FEditLink; // the edit of a drop-down box: the mouse over it is over the box
    TPixelBuffer FFace;
    bool FExtended = false;
    bool FMouseOver = false;
    bool FTracking = false;
    bool FEditTracking = false;
    int FLastFrame = 0;
};
