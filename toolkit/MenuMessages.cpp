// Menu messages of an owner window: commands, submenus opening, owner drawing and accelerators.
#include "toolkit/MenuMessages.h"

#include "toolkit/Canvas.h"

namespace {

template <class Find>
TMenuItem* FindIn(std::span<TMenu* const> menus, Find find)
{
    for (TMenu* menu : menus)
        if (menu)
            if (TMenuItem* item = find(*menu->Items()))
                return item;
    return nullptr;
}

bool Command(std::span<TMenu* const> menus, TMessage& Message)
{
    // Controls and accelerator tables send WM_COMMAND too; a menu's has no window and code 0.
    if (HIWORD(Message.WParam) != 0 || Message.LParam != 0)
        return false;
    const UINT command = LOWORD(Message.WParam);
    TMenuItem* item = FindIn(menus, [command](TMenuItem& top) { return top.FindCommand(command); });
    if (!item)
        return false;
    // An item with sub-items runs its OnClick as its submenu opens, not a second time here.
    if (item->Count() == 0)
        item->Click();
    Message.Result = 0;
    return true;
}

bool InitMenuPopup(std::span<TMenu* const> menus, TMessage& Message)
{
    if (HIWORD(Message.LParam) != 0) // the window menu
        return false;
    const auto menu = reinterpret_cast<HMENU>(Message.WParam);
    TMenuItem* item = FindIn(menus, [menu](TMenuItem& top) { return top.FindHandle(menu); });
    if (!item)
        return false;
    // The moment to bring the sub-items' states up to date before they show.
    if (item->Parent())
        item->Click();
    Message.Result = 0;
    return true;
}

bool MeasureItem(std::span<TMenu* const> menus, TMessage& Message)
{
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (measure.CtlType != ODT_MENU)
        return false;
    const ULONG_PTR data = measure.itemData;
    TMenuItem* item = FindIn(menus, [data](TMenuItem& top) { return top.FindData(data); });
    if (!item)
        return false;
    const win::WindowDC screen{nullptr};
    TCanvas canvas{screen.get()};
    int width = static_cast<int>(measure.itemWidth);
    int height = static_cast<int>(measure.itemHeight);
    item->MeasureItem(canvas, width, height);
    measure.itemWidth = static_cast<UINT>(width < 0 ? 0 : width);
    measure.itemHeight = static_cast<UINT>(height < 0 ? 0 : height);
    Message.Result = TRUE;
    return true;
}

bool DrawItem(std::span<TMenu* const> menus, TMessage& Message)
{
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    if (draw.CtlType != ODT_MENU)
        return false;
    const ULONG_PTR data = draw.itemData;
    TMenuItem* item = FindIn(menus, [data](TMenuItem& top) { return top.FindData(data); });
    if (!item)
        return false;
    TCanvas canvas{draw.hDC};
    const TRect rect{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
    item->DrawItem(canvas, rect, (draw.itemState & ODS_SELECTED) != 0);
    Message.Result = TRUE;
    return true;
}

// The system matches typed characters against item text only for items it draws itself, so
// owner-drawn items are matched here the way it would: one match runs, several are cycled.
bool MenuChar(std::span<TMenu* const> menus, TMessage& Message)
{
    if (HIWORD(Message.WParam) & MF_SYSMENU)
        return false;
    const auto menu = reinterpret_cast<HMENU>(Message.LParam);
    TMenuItem* parent = FindIn(menus, [menu](TMenuItem& top) { return top.FindHandle(menu); });
    if (!parent)
        return false;
    const auto typed = static_cast<wchar_t>(LOWORD(Message.WParam));
    int highlighted = -1;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE)
            highlighted = position;
    int first = -1, next = -1, matches = 0;
    for (int position = 0; position < count; ++position) {
        const TMenuItem* item = parent->VisibleItem(position);
        if (!item || !IsAccelerator(typed, item->Caption()))
            continue;
        ++matches;
        if (first < 0)
            first = position;
        if (next < 0 && position > highlighted)
            next = position;
    }
    if (matches == 0)
        return false;
    const int chosen = next >= 0 ? next : first;
    Message.Result = MAKELRESULT(chosen, matches == 1 ? MNC_EXECUTE : MNC_SELECT);
    return true;
}

} // namespace

bool DispatchMenuMessage(std::span<TMenu* const> menus, TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMMAND: return Command(menus, Message);
    case WM_INITMENUPOPUP: return InitMenuPopup(menus, Message);
    case WM_MEASUREITEM: return MeasureItem(menus, Message);
    case WM_DRAWITEM: return DrawItem(menus, Message);
    case WM_MENUCHAR: return MenuChar(menus, Message);
    default: return false;
    }
}

TShortCut ShortCutFromKey(WPARAM key) noexcept
{
    TShortCut shortCut = static_cast<TShortCut>(key & 0xFF);
    if (::GetKeyState(VK_SHIFT) < 0)
        shortCut |= scShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        shortCut |= scCtrl;
    if (::GetKeyState(VK_MENU) < 0)
        shortCut |= scAlt;
    return shortCut;
}
