// The objects of a frame's non-client area that the mouse drives: the caption buttons (and,
// with skinned menus, the menu bar items), with their state machine.
#pragma once

#include "skin/pixels/PixelBuffer.h"

#include <cstddef>

class TWinSkinForm;

class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& frame) noexcept : FFrame(frame) {}
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;
    virtual ~TNCObject() = default;

    // At most one object of a frame is hot (under the mouse or pressed) at a time.
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() = 0;

    virtual TPixelRect Bounds() const = 0; // frame coordinates
    virtual bool Visible() const = 0;

protected:
    virtual void SetState(int state) = 0; // 1 normal, 2 pressed, 3 hot
    TWinSkinForm& FFrame;
};

// One caption button: entry `index` of the frame's caption buttons.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& frame, size_t index) noexcept : TNCObject(frame), FIndex(index) {}

    void Paint() override;
    TPixelRect Bounds() const override;
    bool Visible() const override;
    size_t Index() const noexcept { return FIndex; }

protected:
    void SetState(int state) override;

private:
    size_t FIndex;
};
