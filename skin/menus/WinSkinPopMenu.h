// TWinSkinPopMenu: the wrapper of one popup menu window ("#32768") while it is open. It paints
// the window's border and background from the skin's MenuBackground object and keeps that
// picture, so that the menu's owner-drawn items can copy their part of it as their background.
#pragma once

#include "skin/pixels/PixelBuffer.h"
#include "toolkit/Message.h"
#include "toolkit/MessageLink.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

class TSkinData;

class TWinSkinPopMenu : public TWindowHandler {
public:
    // The border the background's strips are painted in, each side.
    static constexpr int kBorder = 3;

    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu() override;

    // Takes over the menu window's procedure; false when it cannot.
    bool Attach(HWND menuWindow, TSkinData* skinData);
    // Gives the window its own procedure back and lets the picture go.
    void Restore();

    HWND Window() const noexcept { return FWindow; }
    // The menu shown, learned when its first item is drawn; none before.
    HMENU Menu() const noexcept { return FMenu; }
    void SetMenu(HMENU menu) noexcept { FMenu = menu; }
    // The window's background as last painted, window-sized; empty before the first paint.
    const TPixelBuffer& PopupBackground() const noexcept { return FBackground; }
    // Builds the picture now, for items drawn before the window's first paint; false while the
    // popup keeps the system's look.
    bool PrepareBackground();

private:
    void WndProc(TMessage& Message);
    // Builds the background when the skin has one; false leaves the system's look.
    bool BuildBackground();
    bool SkinAllowed() const;
    // The border strips, then the whole background, to dc in window coordinates.
    void PaintBackground(HDC dc) const;
    // The border strips alone: what the system's own painting of the client covers of ours
    // where the border lies inside the client.
    void PaintBorder(HDC dc) const;
    void CallOld(TMessage& Message) { FLink.CallPrevious(Message); }

    TMessageLink FLink;
    HWND FWindow = nullptr;
    TSkinData* FSkinData = nullptr;
    HMENU FMenu = nullptr;
    TPixelBuffer FBackground;
    bool FDecided = false; // the popup's source was looked at
    bool FSkinned = true;  // and allows the skin (until decided, assumed)
};
