// TSkinControl: the base of the control wrappers. A wrapper sits on one control of a framed
// window and paints it from the skin while the control keeps its behaviour: it takes over the
// control's messages (the toolkit hook of a toolkit control, or the window procedure of any
// other window), routes each through BeforeMessage, the control's own handling and
// AfterMessage, and leaves the painting to its descendant's Draw.
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Component.h"
#include "toolkit/Message.h"
#include "toolkit/MessageLink.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

#include <cstdint>
#include <string>

class TSkinData;
class TWinControl;
class TWinSkinForm;

enum class TWrapperState : std::int32_t {
    Created = 0,
    Attached = 1,
    WindowDestroyed = 6, // the frame drops the wrapper at its next walk over the controls
};

// A control's Tag that asks for the parent's background behind the skin's transparent pixels.
constexpr std::intptr_t kTransparentTag = 5555;

// The handler base comes first, so the object and its handler part share one address.
class TSkinControl : public TWindowHandler, public TComponent {
    TK_CLASS(TSkinControl)
public:
    // `control` is the toolkit control wrapped by Attach; none for AttachHandle.
    explicit TSkinControl(TWinControl* control = nullptr);
    ~TSkinControl() override;

    // Toolkit mode: takes over the control's hook. With useSkinColour the control's Color
    // becomes the skin's face colour until DetachWrapper. A second attach does nothing.
    virtual bool Attach(TWinSkinForm* frame, TSkinData* skinData, bool useSkinColour);
    // Window-procedure mode, for windows the toolkit did not make.
    virtual bool AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame);
    // Lets go of the control once; gives back its colour unless its window is gone.
    virtual void DetachWrapper();
    // Before the control's own handling; false finishes the message there.
    virtual bool BeforeMessage(TMessage& Message);
    virtual void AfterMessage(TMessage& Message);
    // Draws the whole control on dc, or on the window's own DC without one; painting errors
    // are swallowed, a skin that cannot paint must not take the window down.
    virtual void PaintControl(HDC dc = nullptr);
    virtual void Draw(HDC dc, const RECT& rect);
    // After a new skin: the face colour again, and a repaint.
    virtual void Refresh();
    virtual bool CanSkin() const { return true; }
    // SKM_SETACTIVE switched painting on or off: a wrapper that covers parts of its control
    // with windows of its own shows or hides them here.
    virtual void ActiveChanged() {}

    // The replacement handling in both modes.
    void WrapperHook(TMessage& Message);

    TWinControl* Control() const noexcept { return FControl; }
    HWND Handle() const noexcept { return FWindow; }
    TWinSkinForm* Frame() const noexcept { return FFrame; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    bool SkinActive() const noexcept { return FSkinActive; }
    TWrapperState WrapperState() const noexcept { return FState; }
    bool Attached() const noexcept { return FAttached && !FDetached; }
    int Variant() const noexcept { return FVariant; }
    bool Unicode() const noexcept { return FUnicode; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // A wrapper that only colours its control (panels) leaves the control's messages alone.
    virtual bool TakesOverMessages() const { return true; }
    void CallPrevious(TMessage& Message) const { FLink.CallPrevious(Message); }
    // Invalidates with erase and paints at once.
    void Repaint() const;
    // The control's Tag is kTransparentTag or the skin asks for transparent controls.
    bool TransparentMode() const;
    // The parent's own background and painting, as it shows under the control, into dc.
    void PaintParentBackground(HDC dc) const;
    // WM_PAINT answered by Draw over the whole window: into the context wParam carries, else
    // between BeginPaint and EndPaint.
    void PaintMessage(TMessage& Message);
    static std::wstring WindowText(HWND hwnd);
    // The control's published property, or the empty text.
    std::wstring Property(const wchar_t* name) const;
    bool PropertyIsTrue(const wchar_t* name) const;

    TWinControl* FControl;
    HWND FWindow = nullptr;
    TWinSkinForm* FFrame = nullptr;
    TSkinData* FSkinData = nullptr;
    int FVariant = 0;
    std::wstring FCaption;
    RECT FWindowRect{};

private:
    TMessageLink FLink;
    bool FSkinActive = true;
    TWrapperState FState = TWrapperState::Created;
    bool FAttached = false;
    bool FDetached = false;
    bool FUseSkinColour = false;
    TColor FSavedColour = 0;
    bool FParentBackgroundChanged = false;
    bool FUnicode = true;
};
