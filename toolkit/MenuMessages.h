// Routing the owner window's menu messages to the toolkit's menu items.
#pragma once

#include "toolkit/Menu.h"
#include "toolkit/Message.h"

#include <span>

// WM_COMMAND from a menu, WM_INITMENUPOPUP, WM_MEASUREITEM and WM_DRAWITEM of ODT_MENU, and
// WM_MENUCHAR, for items of the given menus (null entries skipped). Items are found by their
// command id, their submenu handle or their item data, which is compared, never followed.
// True, with Message.Result set, when one of them took the message.
bool DispatchMenuMessage(std::span<TMenu* const> menus, TMessage& Message);

// The shortcut a key press makes with the modifier keys held now.
TShortCut ShortCutFromKey(WPARAM key) noexcept;
