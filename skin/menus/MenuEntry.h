// One entry of a menu handle as the system keeps it: its text, type, state, id and submenu.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct TMenuEntry {
    std::wstring Text; // the whole text, a shortcut after a tab included
    UINT Type = 0;     // MFT_ bits
    UINT State = 0;    // MFS_ bits
    UINT Id = 0;
    HMENU SubMenu = nullptr;

    bool Enabled() const noexcept { return (State & (MFS_GRAYED | MFS_DISABLED)) == 0; }
};

// The entry at a position (byPosition) or with a command id; its text cut at maxText characters.
// None when the menu has no such entry.
std::optional<TMenuEntry> ReadMenuEntry(HMENU menu, UINT item, bool byPosition, size_t maxText = 255);
