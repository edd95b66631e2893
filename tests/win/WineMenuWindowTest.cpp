// What the system sends a popup menu window ("#32768") under the rig, seen by a procedure put
// in place from a CBT hook as the window is made: the facts skinned popup menus are built on.
#include "tests/support/MessagePump.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// What the menu window's procedure and its owner saw, for one popup at a time.
struct TMenuRecord {
    HWND Menu = nullptr;
    WNDPROC Previous = nullptr;
    std::vector<UINT> Messages;      // at the menu window, from creation until the keys
    std::vector<UINT> AfterKeys;     // at the menu window, once the keys started
    std::vector<UINT> NcPaintParams; // wParam of each WM_NCPAINT
    SIZE Client{}, Window{};         // at the first WM_PAINT
    int Measures = 0;
    std::vector<UINT> DrawActions;   // itemAction of each WM_DRAWITEM
    std::vector<bool> DrawSelected;
    bool Destroyed = false;          // HCBT_DESTROYWND for the menu window
};
TMenuRecord Record;
// Set by the thread that presses the keys; the record itself is the GUI thread's alone.
std::atomic<bool> KeysStarted{false};

LRESULT CALLBACK MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (KeysStarted ? Record.AfterKeys : Record.Messages).push_back(msg);
    if (msg == WM_NCPAINT)
        Record.NcPaintParams.push_back(static_cast<UINT>(wParam));
    if (msg == WM_PAINT && Record.Client.cx == 0) {
        RECT client{}, window{};
        ::GetClientRect(hwnd, &client);
        ::GetWindowRect(hwnd, &window);
        Record.Client = {client.right, client.bottom};
        Record.Window = {window.right - window.left, window.bottom - window.top};
    }
    return ::CallWindowProcW(Record.Previous, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto hwnd = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = L"";
    if (code == HCBT_CREATEWND && ::GetClassNameW(hwnd, name, 16) && wcscmp(name, L"#32768") == 0) {
        Record.Menu = hwnd;
        Record.Previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuProc)));
    }
    if (code == HCBT_DESTROYWND && hwnd == Record.Menu)
        Record.Destroyed = true;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item->itemWidth = 80;
        item->itemHeight = 20;
        ++Record.Measures;
        return TRUE;
    }
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        Record.DrawActions.push_back(item->itemAction);
        Record.DrawSelected.push_back((item->itemState & ODS_SELECTED) != 0);
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return TRUE;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Key(WORD vk)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

size_t Count(const std::vector<UINT>& list, UINT value)
{
    return static_cast<size_t>(std::count(list.begin(), list.end(), value));
}

class WineMenuWindowTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        Record = {};
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = L"QmMenuOwner";
        ::RegisterClassW(&wc);
        Owner = ::CreateWindowW(L"QmMenuOwner", L"Menu owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
        ::SetForegroundWindow(Owner);
        Hook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
        PumpFor(100);
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(Hook);
        ::DestroyWindow(Owner);
    }

    HWND Owner = nullptr;
    HHOOK Hook = nullptr;
};

} // namespace

// Three items, string or owner-drawn; the highlight moved twice with the keys, then Escape.
TEST_P(WineMenuWindowTest, APopupIsPaintedInItsClientAndItsHighlightOutsideItsProcedure)
{
    const bool ownerDrawn = GetParam();
    const HMENU menu = ::CreatePopupMenu();
    for (UINT_PTR id = 1; id <= 3; ++id)
        ::AppendMenuW(menu, ownerDrawn ? MF_OWNERDRAW : MF_STRING, id,
                      ownerDrawn ? reinterpret_cast<LPCWSTR>(id) : L"Item");
    KeysStarted = false;
    std::thread keys([] {
        ::Sleep(600);
        KeysStarted = true;
        Key(VK_DOWN);
        ::Sleep(100);
        Key(VK_DOWN);
        ::Sleep(400);
        Key(VK_ESCAPE);
    });
    const BOOL chosen = ::TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, Owner, nullptr);
    keys.join();
    ::DestroyMenu(menu);

    EXPECT_EQ(chosen, 0) << "Escape chooses nothing";
    ASSERT_NE(Record.Menu, nullptr);
    EXPECT_TRUE(Record.Destroyed);
    // No non-client area: the border is drawn inside the client.
    EXPECT_EQ(Record.Client.cx, Record.Window.cx);
    EXPECT_EQ(Record.Client.cy, Record.Window.cy);
    EXPECT_EQ(Record.NcPaintParams, std::vector<UINT>{1});
    EXPECT_NE(Count(Record.Messages, WM_SHOWWINDOW) + Count(Record.Messages, WM_WINDOWPOSCHANGED), 0u);
    EXPECT_EQ(Count(Record.Messages, WM_PAINT), 1u);
    EXPECT_EQ(Count(Record.Messages, WM_PRINT) + Count(Record.Messages, WM_PRINTCLIENT), 0u);
    // While the highlight moved, the procedure heard nothing but the end of the menu.
    const std::vector<UINT>& after = Record.AfterKeys;
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front(), static_cast<UINT>(WM_CAPTURECHANGED));
    EXPECT_EQ(Count(after, WM_PAINT) + Count(after, WM_NCPAINT) + Count(after, WM_ERASEBKGND), 0u);

    if (ownerDrawn) {
        EXPECT_EQ(Record.Measures, 3);
        const std::vector<UINT> actions{ODA_DRAWENTIRE, ODA_DRAWENTIRE, ODA_DRAWENTIRE, ODA_SELECT, ODA_SELECT, ODA_SELECT};
        EXPECT_EQ(Record.DrawActions, actions);
        const std::vector<bool> selected{false, false, false, true, false, true};
        EXPECT_EQ(Record.DrawSelected, selected);
    } else {
        EXPECT_TRUE(Record.DrawActions.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(StringAndOwnerDrawn, WineMenuWindowTest, testing::Bool());
