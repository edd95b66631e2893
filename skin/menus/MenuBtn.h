// TMenuBtn: one item of a skinned menu bar, a non-client object of its frame that the mouse
// makes hot and pressed like a caption button.
#pragma once

#include "skin/window/SysButtons.h"

#include <windows.h>

#include <string>

class TMenuItem;
class TWinSkinMenu;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& frame, TWinSkinMenu& menu, size_t index) noexcept
        : TNCObject(frame), FMenu(menu), FIndex(index)
    {
    }

    void Paint() override;
    TPixelRect Bounds() const override { return FBounds; }
    bool Visible() const override { return FVisible; }

    size_t Index() const noexcept { return FIndex; }
    int State() const noexcept { return FState; }
    // The toolkit item of the same command in the form's current main menu, looked up when
    // asked so that a menu freed since is never followed; null for a window without a form.
    TMenuItem* Item() const;

    std::wstring Caption;
    bool Enabled = true;
    HMENU Popup = nullptr; // none for an item without submenu
    UINT Command = 0;

private:
    friend class TWinSkinMenu;
    void SetState(int state) override { FState = state; }

    TWinSkinMenu& FMenu;
    size_t FIndex;
    bool FVisible = true;
    int FState = 1;
    TPixelRect FBounds;
};
