// The menu bar popup's loop filter: arrow keys and the mouse move to the neighbouring item by
// ending this loop and posting a press on that item, which the frame opens afterwards.
#include "skin/menus/MenuBarTracking.h"

#include "skin/menus/WinSkinMenu.h"
#include "skin/window/WinSkinForm.h"

#include <algorithm>
#include <vector>

namespace {

// The menus shown in popup windows right now.
std::vector<HMENU> ShownMenus()
{
    std::vector<HMENU> menus;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
         w = ::FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (::IsWindowVisible(w))
            menus.push_back(reinterpret_cast<HMENU>(::SendMessageW(w, MN_GETHMENU, 0, 0)));
    return menus;
}

// The next item from `from` in direction `step` that can show a popup, wrapping round; -1
// when there is none but the one open. Items without submenu are passed over: moving across
// the bar must not run their commands.
int Neighbour(const TWinSkinMenu& bar, int from, int step)
{
    const int count = static_cast<int>(bar.ItemCount());
    for (int n = 1; n < count; ++n) {
        const int i = ((from + step * n) % count + count) % count;
        const TMenuBtn* item = bar.Item(static_cast<size_t>(i));
        if (item->Visible() && !item->Caption.empty() && item->Popup && item->Enabled && !item->Bounds().IsEmpty())
            return i;
    }
    return -1;
}

void SwitchTo(TWinSkinMenu& bar, int target)
{
    TMenuTracking& tracking = MenuTracking();
    const TMenuBtn* item = bar.Item(static_cast<size_t>(target));
    if (!item || target == tracking.OpenIndex)
        return;
    tracking.Switching = true;
    ::EndMenu();
    bar.PostItemPress(static_cast<size_t>(target));
}

} // namespace

TMenuTracking& MenuTracking() noexcept
{
    static TMenuTracking tracking;
    return tracking;
}

TMenuLoopHook::TMenuLoopHook() noexcept
    : FHook(::SetWindowsHookExW(WH_MSGFILTER, MenuLoopHook, nullptr, ::GetCurrentThreadId()))
{
}

TMenuSelection ReadMenuSelection(HMENU popup)
{
    TMenuSelection selection;
    const std::vector<HMENU> shown = ShownMenus();
    HMENU menu = popup;
    for (int guard = 0; menu && guard < 32; ++guard) {
        const int count = ::GetMenuItemCount(menu);
        HMENU next = nullptr;
        for (int i = 0; i < count; ++i) {
            if (!(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE))
                continue;
            selection.Selected = true;
            next = ::GetSubMenu(menu, i);
            selection.HasSubMenu = next != nullptr;
            break;
        }
        // Deeper only while the selected item's submenu is on screen.
        if (!next || std::find(shown.begin(), shown.end(), next) == shown.end())
            break;
        ++selection.Depth;
        selection = {selection.Depth, false, false};
        menu = next;
    }
    return selection;
}

LRESULT CALLBACK MenuLoopHook(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    TMenuTracking& tracking = MenuTracking();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    TWinSkinMenu* bar = tracking.Menu;
    try {
        if (code == MSGF_MENU && msg && bar && bar->RightToLeft() && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
            msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
        const LRESULT next = ::CallNextHookEx(nullptr, code, wParam, lParam);
        if (next != 0 || code != MSGF_MENU || !msg || !bar)
            return next;
        if (!tracking.FirstKeySent) {
            // The first item is selected, so the arrow keys start from it.
            tracking.FirstKeySent = true;
            ::PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        int target = -1;
        switch (msg->message) {
        case WM_KEYDOWN:
            switch (msg->wParam) {
            case VK_RETURN:
            case VK_ESCAPE:
                tracking.Switching = false;
                break;
            case VK_LEFT:
                if (ReadMenuSelection(tracking.OpenPopup).Depth == 1)
                    target = Neighbour(*bar, tracking.OpenIndex, -1);
                break;
            case VK_RIGHT: {
                const TMenuSelection selection = ReadMenuSelection(tracking.OpenPopup);
                if (!selection.Selected || !selection.HasSubMenu)
                    target = Neighbour(*bar, tracking.OpenIndex, +1);
                break;
            }
            default:
                break;
            }
            break;
        case WM_SYSKEYDOWN:
            if (msg->wParam == VK_MENU)
                bar->Frame().SetMenuTracking(false);
            break;
        case WM_MOUSEMOVE: {
            // The cursor itself, not the message's point: the system makes up a move at an old
            // point when a popup takes the mouse.
            POINT cursor{};
            ::GetCursorPos(&cursor);
            if (cursor.x != tracking.LastCursor.x || cursor.y != tracking.LastCursor.y) {
                tracking.LastCursor = cursor;
                if (const auto hit = bar->MenuBarHitTest(bar->Frame().ToFrameCoords(cursor))) {
                    const TMenuBtn* item = bar->Item(*hit);
                    if (item->Popup && item->Enabled)
                        target = static_cast<int>(*hit);
                }
            }
            break;
        }
        default:
            break;
        }
        if (target >= 0 && target != tracking.OpenIndex && !tracking.Switching) {
            SwitchTo(*bar, target);
            return 1; // the loop ends; this message is spent
        }
        return 0;
    } catch (...) {
        return 0;
    }
}
