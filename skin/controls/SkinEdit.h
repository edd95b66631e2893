// TSkinEdit: the wrapper of edits: a flat border from the skin's colours in place of the sunken
// one, and the skinned up-down of a spin edit. Typing, selection and read-only stay the edit's.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinEdit : public TSkinControl {
    TK_CLASS(TSkinEdit)
public:
    using TSkinControl::TSkinControl;

    bool Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour) override;
    bool AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame) override;
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    // Without a context the border goes to the window's own, frame included.
    void PaintControl(HDC dc = nullptr) override;
    // The border, with rect the whole window; nothing for an edit without one.
    void Draw(HDC dc, const RECT& rect) override;

    // The window and client sizes differ.
    bool HasBorder() const;

private:
    void PaintBorder();
    // The up-down child of a spin edit gets a wrapper of its own, owned by the frame.
    void WrapUpDown();
};
