// Shortcut names and caption accelerators of menu items.
#include "toolkit/MenuText.h"

#include "toolkit/SysUtils.h"

#include <array>
#include <cwctype>

namespace {

// Win32's virtual key codes for the keys a shortcut may name; declared here so this file
// stays free of the platform's headers.
struct TKeyName {
    std::uint8_t Key;
    const wchar_t* Name;
};
constexpr std::array<TKeyName, 15> kNamedKeys{{
    {0x08, L"BkSp"}, {0x09, L"Tab"}, {0x0D, L"Enter"}, {0x1B, L"Esc"}, {0x20, L"Space"},
    {0x21, L"PgUp"}, {0x22, L"PgDn"}, {0x23, L"End"}, {0x24, L"Home"}, {0x25, L"Left"},
    {0x26, L"Up"}, {0x27, L"Right"}, {0x28, L"Down"}, {0x2D, L"Ins"}, {0x2E, L"Del"},
}};
constexpr std::uint8_t kF1 = 0x70;
constexpr int kFunctionKeys = 12;

struct TModifier {
    TShortCut Bit;
    const wchar_t* Prefix;
};
constexpr std::array<TModifier, 3> kModifiers{{{scShift, L"Shift+"}, {scCtrl, L"Ctrl+"}, {scAlt, L"Alt+"}}};

std::wstring KeyName(std::uint8_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= kF1 && key < kF1 + kFunctionKeys)
        return L"F" + std::to_wstring(key - kF1 + 1);
    for (const TKeyName& k : kNamedKeys)
        if (k.Key == key)
            return k.Name;
    return {};
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) noexcept
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::wstring ShortCutToText(TShortCut shortCut)
{
    const std::wstring key = KeyName(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (key.empty())
        return {};
    std::wstring text;
    for (const TModifier& m : kModifiers)
        if (shortCut & m.Bit)
            text += m.Prefix;
    return text + key;
}

TShortCut TextToShortCut(std::wstring_view text)
{
    TShortCut modifiers = scNone;
    for (bool found = true; found;) {
        found = false;
        for (const TModifier& m : kModifiers)
            if (!(modifiers & m.Bit) && StartsWithText(text, m.Prefix)) {
                modifiers |= m.Bit;
                text.remove_prefix(std::wstring_view(m.Prefix).size());
                found = true;
            }
    }
    if (text.empty())
        return scNone;
    // Every key with a name is tried, so text and names meet through one spelling.
    for (int key = 1; key < 0x100; ++key) {
        const std::wstring name = KeyName(static_cast<std::uint8_t>(key));
        if (!name.empty() && SameText(name, text))
            return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

wchar_t AcceleratorOf(std::wstring_view caption) noexcept
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return static_cast<wchar_t>(std::towupper(caption[i + 1]));
        ++i; // "&&" shows one ampersand and marks nothing
    }
    return 0;
}

bool IsAccelerator(wchar_t typed, std::wstring_view caption) noexcept
{
    const wchar_t accelerator = AcceleratorOf(caption);
    return accelerator != 0 && accelerator == static_cast<wchar_t>(std::towupper(typed));
}

std::wstring MenuItemText(std::wstring_view caption, TShortCut shortCut)
{
    std::wstring text(caption);
    if (const std::wstring key = ShortCutToText(shortCut); !key.empty())
        text += L'\t' + key;
    return text;
}
