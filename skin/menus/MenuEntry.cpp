#include "skin/menus/MenuEntry.h"

#include <vector>

std::optional<TMenuEntry> ReadMenuEntry(HMENU menu, UINT item, bool byPosition, size_t maxText)
{
    std::vector<wchar_t> text(maxText + 1, L'\0');
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(maxText);
    if (!::GetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info))
        return std::nullopt;
    return TMenuEntry{text.data(), info.fType, info.fState, info.wID, info.hSubMenu};
}
