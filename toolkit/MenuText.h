// Menu item text without the platform: the "&" accelerator of a caption and the shortcut
// key codes with their names, as menus show them after a tab.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A virtual key in the low byte and modifier bits above it, as form files store shortcuts.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

constexpr TShortCut ShortCut(std::uint8_t key, TShortCut modifiers = scNone) noexcept
{
    return static_cast<TShortCut>(key | modifiers);
}

// "Ctrl+S", "Alt+F4", "Shift+Del"; empty for no shortcut or a key without a name.
std::wstring ShortCutToText(TShortCut shortCut);
// The reverse, modifiers and key names compared case-insensitively; 0 for text it does not
// know, so a typo never becomes some other key.
TShortCut TextToShortCut(std::wstring_view text);

// The upper-case character a lone "&" marks in a caption ("&&" is a literal ampersand), or 0.
wchar_t AcceleratorOf(std::wstring_view caption) noexcept;
// Whether a typed character picks the caption's accelerator, in either case.
bool IsAccelerator(wchar_t typed, std::wstring_view caption) noexcept;

// The text a menu item shows: the caption, then a tab and the shortcut's name when it has one.
std::wstring MenuItemText(std::wstring_view caption, TShortCut shortCut);
