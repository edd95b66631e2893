// What the GUI thread knows while a menu bar item's popup is open, and the message filter hook
// of that popup's loop that moves to the neighbouring item on the arrow keys and to the item
// under the mouse. One menu loop runs at a time on the GUI thread.
#pragma once

#include "toolkit/WinHandle.h"

#include <windows.h>

class TWinSkinMenu;

struct TMenuTracking {
    TWinSkinMenu* Menu = nullptr; // whose item is open
    int OpenIndex = -1;
    HMENU OpenPopup = nullptr;
    POINT LastCursor{};
    bool FirstKeySent = false;
    bool Switching = false; // a neighbour opens once this loop has ended
};

TMenuTracking& MenuTracking() noexcept;

// WH_MSGFILTER for the thread while it lives.
class TMenuLoopHook {
public:
    TMenuLoopHook() noexcept;
    TMenuLoopHook(const TMenuLoopHook&) = delete;
    TMenuLoopHook& operator=(const TMenuLoopHook&) = delete;

private:
    win::Hook FHook;
};

LRESULT CALLBACK MenuLoopHook(int code, WPARAM wParam, LPARAM lParam) noexcept;

// What the open popup has selected: how deep the selection is (1 in the popup of the bar
// item) and whether the selected item opens a submenu of its own.
struct TMenuSelection {
    int Depth = 1;
    bool Selected = false;
    bool HasSubMenu = false;
};
TMenuSelection ReadMenuSelection(HMENU popup);
