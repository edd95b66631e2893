// The caption buttons' state machine: press, release, enter and leave.
#include "skin/window/SysButtons.h"

#include "skin/window/SkinData.h"
#include "skin/window/WinSkinForm.h"

void TNCObject::MouseDown()
{
    if (FFrame.HotObject && FFrame.HotObject != this)
        FFrame.HotObject->MouseLeave();
    if (!Visible())
        return;
    FFrame.HotObject = this;
    SetState(2);
    Paint();
}

void TNCObject::MouseUp()
{
    if (!Visible())
        return;
    SetState(3);
    Paint();
}

void TNCObject::MouseEnter()
{
    if (FFrame.HotObject == this)
        return;
    if (FFrame.HotObject)
        FFrame.HotObject->MouseLeave();
    FFrame.HotObject = this;
    if (FFrame.SkinData())
        FFrame.SkinData()->HintClock = 0;
    SetState(3);
    Paint();
}

void TNCObject::MouseLeave()
{
    if (!Visible())
        return;
    FFrame.HotObject = nullptr;
    SetState(1);
    Paint();
    if (FFrame.SkinData()) {
        FFrame.SkinData()->HintClock = 0;
        FFrame.SkinData()->HideCaptionHint();
    }
}

void TWinSysButton::Paint() { FFrame.PaintSysButton(FIndex); }

TPixelRect TWinSysButton::Bounds() const { return FFrame.CaptionButtons()[FIndex].Bounds; }

bool TWinSysButton::Visible() const { return FFrame.CaptionButtons()[FIndex].Visible; }

void TWinSysButton::SetState(int state) { FFrame.CaptionButtons()[FIndex].State = static_cast<TButtonState>(state); }
