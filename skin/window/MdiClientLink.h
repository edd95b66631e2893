// TMdiClientLink: the MDI main form's client window, taken over for the main form's frame while
// it paints. The client decides its scroll bars, makes and destroys the children and arranges
// them; the link keeps the skin's view of all that in step: which child is maximized, whether
// menu changes may rebuild the skinned menu bar, and scroll bars only where the skin wants them.
#pragma once

#include "toolkit/MessageLink.h"
#include "toolkit/WindowHandler.h"

#include <windows.h>

class TSkinData;
class TWinSkinForm;

class TMdiClientLink : public TWindowHandler {
public:
    // menuUpdate: the skin data's MenuUpdate as it was when the main form was framed; making a
    // child clears it, and it comes back when the last child goes.
    TMdiClientLink(TWinSkinForm& frame, TSkinData& skinData, bool menuUpdate) noexcept
        : FFrame(frame), FSkinData(skinData), FMenuUpdate(menuUpdate)
    {
    }

    bool Attach(HWND client);
    // Gives the client its own procedure back (when it still has the window) and the skin data
    // its MenuUpdate.
    void Detach();
    HWND Handle() const noexcept { return FLink.Handle(); }
    bool Attached() const noexcept { return FLink.Attached(); }

    // The client's active child and whether it is maximized; none when the client has no child.
    HWND ActiveChild(bool* maximized = nullptr) const;

private:
    // The manager's maximized state after the client changed its children; the active child.
    HWND FollowActiveChild();
    void HoldMenuUpdate();
    void ClientWndProc(TMessage& Message);
    void WMNCCalcSize(TMessage& Message);
    void WMMdiDestroy(TMessage& Message);
    void WMMdiArrange(TMessage& Message);
    void WMMdiSetMenu(TMessage& Message);
    void SKMMdiRedraw(TMessage& Message);

    TWinSkinForm& FFrame;
    TSkinData& FSkinData;
    bool FMenuUpdate;
    bool FHoldingMenuUpdate = false; // children made since MenuUpdate was last given back
    TMessageLink FLink;
};
