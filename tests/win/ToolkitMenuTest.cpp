// Toolkit menus on a real form: the menu handles built from the items and kept up to date, the
// form told of changes, items run by real keys and clicks on the menu bar and on popups, owner
// drawing routed to the right item, and every menu handle freed with its form.
#include "tests/win/GuiObjects.h"
#include "tests/win/MenuInput.h"
#include "tests/win/TestSupport.h"

#include "toolkit/Canvas.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>
#include <thread>
#include <vector>

namespace {

using TStep = std::function<void()>; // one piece of real input, given from another thread

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) // key, released
{
    for (const auto& [vk, up] : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &in, sizeof(in));
    }
}
// A key pressed and released, with Alt or Ctrl held around it.
TStep Tap(WORD key, WORD modifier = 0)
{
    return [key, modifier] {
        if (modifier)
            SendKeys({{modifier, false}, {key, false}, {key, true}, {modifier, true}});
        else
            SendKeys({{key, false}, {key, true}});
    };
}
// A left click at a point found when the step runs.
TStep Click(std::function<POINT()> at)
{
    return [at] {
        const POINT p = at();
        INPUT in[3]{};
        for (INPUT& i : in)
            i.type = INPUT_MOUSE;
        in[0].mi = {::MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1),
                    ::MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1), 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(3, in, sizeof(INPUT));
    };
}

POINT Middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The middle of an entry of the popup menu showing now.
POINT PopupItemPoint(int position)
{
    RECT r{};
    const auto hmenu = reinterpret_cast<HMENU>(::SendMessageW(VisibleMenuWindow(), MN_GETHMENU, 0, 0));
    ::GetMenuItemRect(nullptr, hmenu, static_cast<UINT>(position), &r);
    return Middle(r);
}

struct TInputCase {
    const char* Name;
    std::vector<TStep> Steps;
    std::vector<TObject*> Runs; // the Sender of each OnClick, in order
};

struct TEntry {
    std::wstring Text;
    UINT Type = 0;  // MFT_SEPARATOR and MFT_OWNERDRAW bits
    UINT State = 0; // MFS_GRAYED and MFS_CHECKED bits
    ULONG_PTR Data = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    HBITMAP Bitmap = nullptr;
};

TEntry ReadEntry(HMENU menu, int position)
{
    wchar_t text[128]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_SUBMENU | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = 127;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        return {L"<none>"};
    return {text, info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW), info.fState & (MFS_GRAYED | MFS_CHECKED),
            info.dwItemData, info.wID, info.hSubMenu, info.hbmpItem};
}

void CollectHandles(const TMenuItem* item, std::vector<HMENU>& out)
{
    if (item->Handle())
        out.push_back(item->Handle());
    for (size_t i = 0; i < item->Count(); ++i)
        CollectHandles(item->Items(i), out);
}

constexpr COLORREF kDrawnColour = RGB(0, 160, 80); // a colour no menu of the system paints

} // namespace

class ToolkitMenuTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        Form = App.CreateForm<TForm>();
        Form->SetClientSize(320, 200);
        Images = Form->Make<TImageList>();
        const std::vector<std::uint32_t> red(16 * 16, 0x00FF0000);
        const win::GdiObject<HBITMAP> glyph{::CreateBitmap(16, 16, 1, 32, red.data())};
        ::ImageList_AddMasked(Images->Handle(), glyph.get(), RGB(255, 0, 255));
        Main = Form->Make<TMainMenu>();
        Main->SetImages(Images);
        File = Add(Main->Items(), L"&File");
        (New = Add(File, L"&New"))->SetShortCut(ShortCut('N', scCtrl));
        (Open = Add(File, L"&Open"))->SetImageIndex(0);
        Line = Add(File, L"-");
        (Autosave = Add(File, L"&Autosave"))->SetChecked(true);
        (Print = Add(File, L"&Print"))->SetEnabled(false);
        (Hidden = Add(File, L"Hidden"))->SetVisible(false);
        Exit = Add(File, L"E&xit");
        Edit = Add(Main->Items(), L"&Edit");
        Cut = Add(Edit, L"Cu&t");
        Copy = Add(Edit, L"&Copy");
        More = Add(Edit, L"&More");
        Deep = Add(More, L"&Deep");
        Help = Add(Main->Items(), L"&Help");
        Form->SetMenu(Main);
    }

    TMenuItem* Add(TMenuItem* parent, const wchar_t* caption)
    {
        TMenuItem* item = parent->Add(caption);
        item->OnClick = [this](TObject* sender) { Clicked.push_back(sender); };
        return item;
    }

    // Shows the form active and focused, and keeps it so for a moment, since a late focus
    // change from the display would take the first key.
    void ShowFocused()
    {
        Form->Show();
        const HWND hwnd = Form->Handle();
        int steady = 0;
        PumpUntil([&] {
            steady = ::GetForegroundWindow() == hwnd && ::GetFocus() == hwnd ? steady + 1 : 0;
            return steady >= 30;
        }, 3000);
    }

    // Plays the steps and runs the application's messages until the expected clicks came and no
    // menu is open any more, then a little longer, so a second run of an item would show. A
    // popup is shown by `popup`, which returns when it closed. The popup's rectangle comes back.
    RECT Play(std::vector<TStep> steps, size_t expectedClicks, const std::function<void()>& popup = nullptr)
    {
        Clicked.clear();
        TMenuInputPlayer player(::GetCurrentThreadId(), std::move(steps), {.Popup = popup != nullptr});
        if (popup)
            popup(); // the menu's own loop runs in here
        RunMessages([&] { return Clicked.size() >= expectedClicks && !InMenu(::GetCurrentThreadId()); }, 4000);
        player.Join();
        RunMessages([] { return false; }, 250);
        return player.PopupRect;
    }

    // Through the application's loop, which also takes menu shortcuts.
    bool RunMessages(const std::function<bool()>& done, int timeoutMs)
    {
        const DWORD until = ::GetTickCount() + static_cast<DWORD>(timeoutMs);
        while (!done()) {
            if (::GetTickCount() > until)
                return false;
            App.ProcessMessages();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }

    TForm* Form = nullptr;
    TImageList* Images = nullptr;
    TMainMenu* Main = nullptr;
    TMenuItem *File, *New, *Open, *Line, *Autosave, *Print, *Hidden, *Exit;
    TMenuItem *Edit, *Cut, *Copy, *More, *Deep, *Help;
    std::vector<TObject*> Clicked; // the Sender of every OnClick, in order
};

TEST_F(ToolkitMenuTest, MenuHandleMatchesTheItems)
{
    const HWND hwnd = Form->Handle();
    ASSERT_EQ(::GetMenu(hwnd), Main->Handle());
    ASSERT_EQ(::GetMenuItemCount(Main->Handle()), 3);
    const auto check = [this](HMENU menu, const std::vector<TEntry>& expected, const std::vector<TMenuItem*>& items) {
        ASSERT_EQ(::GetMenuItemCount(menu), static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(Narrow(expected[i].Text) + " at " + std::to_string(i));
            const TEntry e = ReadEntry(menu, static_cast<int>(i));
            if (!(expected[i].Type & MFT_SEPARATOR))
                EXPECT_EQ(Narrow(e.Text), Narrow(expected[i].Text));
            EXPECT_EQ(e.Type, expected[i].Type);
            EXPECT_EQ(e.State, expected[i].State);
            EXPECT_EQ(e.Id, items[i]->Command());
            EXPECT_EQ(e.Data, reinterpret_cast<ULONG_PTR>(items[i]));
            EXPECT_EQ(e.SubMenu, items[i]->Handle());
            EXPECT_EQ(e.Bitmap, items[i] == Open ? HBMMENU_CALLBACK : nullptr);
        }
    };
    check(Main->Handle(), {{L"&File"}, {L"&Edit"}, {L"&Help"}}, {File, Edit, Help});
    EXPECT_NE(File->Handle(), nullptr);
    EXPECT_NE(More->Handle(), nullptr);
    EXPECT_EQ(Help->Handle(), nullptr);
    // The hidden item takes no place; the shortcut's name follows a tab.
    check(File->Handle(),
          {{L"&New\tCtrl+N"}, {L"&Open"}, {L"", MFT_SEPARATOR}, {L"&Autosave", 0, MFS_CHECKED},
           {L"&Print", 0, MFS_GRAYED}, {L"E&xit"}},
          {New, Open, Line, Autosave, Print, Exit});
    check(More->Handle(), {{L"&Deep"}}, {Deep});

    std::set<UINT> commands;
    for (TMenuItem* item : {File, New, Open, Line, Autosave, Print, Hidden, Exit, Edit, Cut, Copy, More, Deep, Help})
        commands.insert(item->Command());
    EXPECT_EQ(commands.size(), 14u);
    EXPECT_EQ(commands.count(0), 0u);

    // Owner drawing marks every entry, separators too, and leaves the text to the items.
    Main->SetOwnerDraw(true);
    EXPECT_EQ(::GetMenu(hwnd), Main->Handle());
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(ReadEntry(File->Handle(), i).Type & MFT_OWNERDRAW) << i;
    EXPECT_EQ(ReadEntry(File->Handle(), 0).Text, L"");
    EXPECT_EQ(ReadEntry(File->Handle(), 1).Bitmap, nullptr); // the owner draws the image itself
}

TEST_F(ToolkitMenuTest, ChangesUpdateTheMenuInPlaceAndTellTheForm)
{
    struct TCounter {
        TWndMethod Old;
        int Count = 0;
        void Hook(TMessage& m)
        {
            Count += m.Msg == CM_MENUCHANGED;
            Old(m);
        }
    } counter{Form->WindowProc};
    Form->WindowProc = TWndMethod::Bind<&TCounter::Hook>(&counter);
    const HWND hwnd = Form->Handle();

    struct TCase {
        const char* Name;
        std::function<void()> Change;
        std::function<bool()> Shows;
        bool SameFileMenu; // an open File menu stays valid
    };
    const TCase cases[] = {
        {"enable", [&] { Print->SetEnabled(true); }, [&] { return ReadEntry(File->Handle(), 4).State == 0; }, true},
        {"uncheck", [&] { Autosave->SetChecked(false); }, [&] { return ReadEntry(File->Handle(), 3).State == 0; }, true},
        {"caption", [&] { New->SetCaption(L"&Create"); }, [&] { return ReadEntry(File->Handle(), 0).Text == L"&Create\tCtrl+N"; }, true},
        {"shortcut", [&] { New->SetShortCut(ShortCut(0x71)); }, [&] { return ReadEntry(File->Handle(), 0).Text == L"&Create\tF2"; }, true},
        {"image", [&] { Open->SetImageIndex(-1); }, [&] { return ReadEntry(File->Handle(), 1).Bitmap == nullptr; }, true},
        {"show", [&] { Hidden->SetVisible(true); },
         [&] { return ::GetMenuItemCount(File->Handle()) == 7 && ReadEntry(File->Handle(), 5).Text == L"Hidden"; }, true},
        {"to line", [&] { Exit->SetCaption(L"-"); }, [&] { return ReadEntry(File->Handle(), 6).Type == MFT_SEPARATOR; }, true},
        // By name, as the skin engine sets them.
        {"disable by name", [&] { Cut->SetPropValue(L"Enabled", L"False"); },
         [&] { return ReadEntry(Edit->Handle(), 0).State == MFS_GRAYED; }, true},
        {"shortcut by name", [&] { Cut->SetPropValue(L"ShortCut", L"Ctrl+X"); },
         [&] { return ReadEntry(Edit->Handle(), 0).Text == L"Cu&t\tCtrl+X" && Cut->GetPropValue(L"ShortCut") == L"Ctrl+X"; }, true},
        {"first sub-item", [&] { Help->Add(L"&About"); },
         [&] { return Help->Handle() && ReadEntry(Main->Handle(), 2).SubMenu == Help->Handle(); }, false},
        {"last sub-item gone", [&] { Help->Delete(0); }, [&] { return ReadEntry(Main->Handle(), 2).SubMenu == nullptr; }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const int before = counter.Count;
        const HMENU fileBefore = File->Handle();
        c.Change();
        EXPECT_TRUE(c.Shows());
        EXPECT_EQ(counter.Count, before + 1);
        EXPECT_EQ(::GetMenu(hwnd), Main->Handle());
        if (c.SameFileMenu)
            EXPECT_EQ(File->Handle(), fileBefore);
    }
    EXPECT_THROW(Cut->SetPropValue(L"ShortCut", L"Ctrl+Nothing"), EConvertError);
    EXPECT_EQ(Cut->ShortCut(), ShortCut('X', scCtrl));

    // Taking the menu off the form and giving it back goes through the same message.
    const int before = counter.Count;
    Form->SetMenu(nullptr);
    EXPECT_EQ(::GetMenu(hwnd), nullptr);
    Form->SetMenu(Main);
    EXPECT_EQ(::GetMenu(hwnd), Main->Handle());
    EXPECT_EQ(counter.Count, before + 2);
    Form->WindowProc = counter.Old;
}

TEST_F(ToolkitMenuTest, RealKeysAndClicksOnTheMenuBarRunTheChosenItemOnce)
{
    ShowFocused();
    const HWND hwnd = Form->Handle();
    // Without a window manager Wine shows the non-client area, menu bar included, only for a
    // window with a region.
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    ::SetWindowRgn(hwnd, ::CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top), TRUE);
    ShowFocused();
    const auto barItem = [hwnd, this](int position) {
        return Click([hwnd, position, this] {
            RECT r{};
            ::GetMenuItemRect(hwnd, Main->Handle(), static_cast<UINT>(position), &r);
            return Middle(r);
        });
    };
    // A submenu's item runs as the submenu opens.
    const TInputCase cases[] = {
        {"Alt, Down, Enter", {Tap(VK_MENU), Tap(VK_DOWN), Tap(VK_RETURN)}, {File, New}},
        {"Alt, Right, Down, Down, Enter", {Tap(VK_MENU), Tap(VK_RIGHT), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)}, {Edit, Copy}},
        {"Alt+F, X", {Tap('F', VK_MENU), Tap('X')}, {File, Exit}},
        {"Alt+E, M, D", {Tap('E', VK_MENU), Tap('M'), Tap('D')}, {Edit, More, Deep}},
        {"disabled Print, Escape", {Tap('F', VK_MENU), Tap('P'), Tap(VK_ESCAPE), Tap(VK_ESCAPE)}, {File}},
        {"Ctrl+N", {Tap('N', VK_CONTROL)}, {New}},
        {"click on a leaf of the bar", {barItem(2)}, {Help}},
        {"click on File, then Autosave", {barItem(0), Click([] { return PopupItemPoint(3); })}, {File, Autosave}},
    };
    for (const TInputCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ShowFocused();
        Play(c.Steps, c.Runs.size());
        EXPECT_EQ(Clicked, c.Runs);
    }
}

TEST_F(ToolkitMenuTest, PopupAtAPointRunsTheChosenItemAndEscapeNothing)
{
    ShowFocused();
    auto* popup = Form->Make<TPopupMenu>();
    Add(popup->Items(), L"&Alpha");
    TMenuItem* beta = Add(popup->Items(), L"&Beta");
    Add(popup->Items(), L"-");
    TMenuItem* gamma = Add(popup->Items(), L"&Gamma");
    TMenuItem* inner = Add(gamma, L"&Inner");
    const TInputCase cases[] = {
        {"Down, Down, Enter", {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)}, {beta}},
        {"Escape", {Tap(VK_ESCAPE)}, {}},
        {"G, I", {Tap('G'), Tap('I')}, {gamma, inner}},
        {"click on Beta", {Click([] { return PopupItemPoint(1); })}, {beta}},
    };
    for (const TInputCase& c : cases) {
        SCOPED_TRACE(c.Name);
        bool returned = false;
        const RECT shown = Play(c.Steps, c.Runs.size(), [&] {
            popup->Popup(300, 260);
            returned = true;
        });
        EXPECT_TRUE(returned);
        EXPECT_EQ(Clicked, c.Runs);
        EXPECT_EQ(shown.left, 300);
        EXPECT_EQ(shown.top, 260);
        EXPECT_EQ(TPopupMenu::Tracking(), nullptr);
    }
}

TEST_F(ToolkitMenuTest, OwnerDrawnItemsGetTheirHandlersAndAccelerators)
{
    ShowFocused();
    auto* popup = Form->Make<TPopupMenu>();
    popup->SetOwnerDraw(true);
    popup->SetImages(Images);
    TMenuItem* alpha = Add(popup->Items(), L"&Alpha");
    TMenuItem* line = Add(popup->Items(), L"-");
    TMenuItem* beta = Add(popup->Items(), L"&Beta");
    TMenuItem* bravo = Add(popup->Items(), L"&Bravo");
    TMenuItem* plain = Add(popup->Items(), L"&Plain"); // no handlers: the system's look
    plain->SetImageIndex(0);

    std::set<TObject*> measured;
    std::vector<std::pair<TObject*, bool>> drawn;
    for (TMenuItem* item : {alpha, line, beta, bravo}) {
        item->OnMeasureItem = [&measured](TObject* sender, TCanvas&, int& width, int& height) {
            measured.insert(sender);
            width = 180;
            height = 24;
        };
        item->OnDrawItem = [&drawn](TObject* sender, TCanvas& canvas, const TRect& rect, bool selected) {
            drawn.emplace_back(sender, selected);
            canvas.SetBrushColor(kDrawnColour);
            canvas.FillRect(rect);
        };
    }
    COLORREF alphaPixel = 0;
    const TStep look = [&alphaPixel] {
        ::Sleep(200); // painting reaches the screen once the menu's loop waits
        const POINT p = PopupItemPoint(0);
        const HDC screen = ::GetDC(nullptr);
        alphaPixel = ::GetPixel(screen, p.x, p.y);
        ::ReleaseDC(nullptr, screen);
    };
    const TInputCase cases[] = {
        {"A runs its only match", {look, Tap('A')}, {alpha}},
        {"Down, Down, Enter", {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)}, {beta}},
        {"P on a plainly drawn item", {Tap('P')}, {plain}},
    };
    for (const TInputCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const RECT shown = Play(c.Steps, c.Runs.size(), [&] { popup->Popup(200, 200); });
        EXPECT_EQ(Clicked, c.Runs);
        EXPECT_GE(shown.right - shown.left, 180); // the measured width took effect
    }
    EXPECT_EQ(alphaPixel, kDrawnColour);
    // Each handler was asked for its own item, the separator's too; the keys highlighted Alpha,
    // then Beta, and each was drawn selected.
    EXPECT_EQ(measured, (std::set<TObject*>{alpha, line, beta, bravo}));
    for (const std::pair<TObject*, bool> seen : {std::pair<TObject*, bool>{line, false}, {alpha, true}, {beta, true}})
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), seen), drawn.end());

    // Entries made owner-drawn by whoever paints the menu (the menu itself is not) are measured
    // in full, by their handler, and not as images.
    MENUITEMINFOW ownerDrawn{};
    ownerDrawn.cbSize = sizeof(ownerDrawn);
    ownerDrawn.fMask = MIIM_FTYPE;
    ownerDrawn.fType = MFT_OWNERDRAW;
    ::SetMenuItemInfoW(File->Handle(), 0, TRUE, &ownerDrawn);
    const auto measure = [this](TMenuItem* item) {
        MEASUREITEMSTRUCT m{ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
        Form->Perform(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
        return m.itemWidth;
    };
    EXPECT_GT(measure(New), 40u);
    EXPECT_EQ(measure(Open), 16u); // plain entry: its image only
    New->OnMeasureItem = [](TObject*, TCanvas&, int& width, int&) { width = 77; };
    EXPECT_EQ(measure(New), 77u);

    // Drawing in the system's look (check mark, image, separator, disabled) leaves no object.
    Main->SetOwnerDraw(true);
    const win::WindowDC screen{nullptr};
    const win::MemoryDC target{screen.get(), 200, 24};
    const size_t objects = GdiObjectCount();
    for (int round = 0; round < 50; ++round)
        for (TMenuItem* item : {Open, Line, Autosave, Print}) {
            DRAWITEMSTRUCT d{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, UINT(round % 2 ? ODS_SELECTED : 0),
                             reinterpret_cast<HWND>(File->Handle()), target.get(), {0, 0, 200, 24},
                             reinterpret_cast<ULONG_PTR>(item)};
            EXPECT_EQ(Form->Perform(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d)), TRUE);
        }
    EXPECT_EQ(GdiObjectCount(), objects);
    for (const auto& [sender, selected] : drawn)
        EXPECT_NE(sender, static_cast<TObject*>(plain));
}

// Several items sharing a character are cycled through, one match runs; Wine takes only the
// running answer, so the cycling is checked on the answers themselves.
TEST_F(ToolkitMenuTest, MenuCharAnswersAsTheSystemWould)
{
    auto* popup = Form->Make<TPopupMenu>();
    popup->SetOwnerDraw(true);
    for (const wchar_t* caption : {L"&Alpha", L"-", L"&Beta", L"&Bravo", L"Hidden &B", L"&Charlie"})
        Add(popup->Items(), caption);
    popup->Items()->Items(4)->SetVisible(false);
    const HMENU menu = popup->Handle();
    const auto highlight = [menu](int position, bool on) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        info.fState = on ? MFS_HILITE : 0;
        ::SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    };
    struct TCase {
        wchar_t Typed;
        int Highlighted; // -1: none
        LRESULT Answer;
    };
    const TCase cases[] = {
        {L'a', -1, MAKELRESULT(0, MNC_EXECUTE)}, {L'C', 2, MAKELRESULT(4, MNC_EXECUTE)},
        {L'b', -1, MAKELRESULT(2, MNC_SELECT)},  {L'B', 2, MAKELRESULT(3, MNC_SELECT)},
        {L'b', 3, MAKELRESULT(2, MNC_SELECT)},   {L'z', -1, MNC_IGNORE},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.Typed)) + " over " + std::to_string(c.Highlighted));
        if (c.Highlighted >= 0)
            highlight(c.Highlighted, true);
        EXPECT_EQ(Form->Perform(WM_MENUCHAR, MAKEWPARAM(c.Typed, MF_POPUP), reinterpret_cast<LPARAM>(menu)), c.Answer);
        if (c.Highlighted >= 0)
            highlight(c.Highlighted, false);
    }
    // The window menu's characters are the system's.
    EXPECT_EQ(Form->Perform(WM_MENUCHAR, MAKEWPARAM(L'a', MF_SYSMENU), reinterpret_cast<LPARAM>(menu)), MNC_IGNORE);
    EXPECT_TRUE(Clicked.empty());
}

TEST_F(ToolkitMenuTest, EveryMenuHandleGoesWithItsComponent)
{
    auto* popup = Form->Make<TPopupMenu>();
    Add(Add(popup->Items(), L"&Outer"), L"&Inner");
    (void)popup->Handle();
    (void)Form->Handle();
    std::vector<HMENU> handles;
    CollectHandles(Main->Items(), handles);
    CollectHandles(popup->Items(), handles);
    ASSERT_EQ(handles.size(), 6u); // bar, File, Edit, More; popup, Outer
    for (HMENU h : handles)
        EXPECT_TRUE(::IsMenu(h));

    // The image list going takes the images off the items.
    Form->FreeComponent(Images);
    EXPECT_EQ(Main->Images(), nullptr);
    EXPECT_EQ(ReadEntry(File->Handle(), 1).Bitmap, nullptr);

    // A main menu freed before its form leaves the window without a menu, not with a dead one.
    const HWND hwnd = Form->Handle();
    std::vector<HMENU> mainHandles;
    CollectHandles(Main->Items(), mainHandles);
    Form->FreeComponent(Main);
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(::GetMenu(hwnd), nullptr);
    for (HMENU h : mainHandles)
        EXPECT_FALSE(::IsMenu(h));

    // A window destroys the menu it shows, so the form's window lets go of its menu bar as it
    // goes: the component still owns it. The form going then takes every menu it owns.
    auto* second = App.Make<TForm>();
    auto* bar = second->Make<TMainMenu>();
    Add(Add(bar->Items(), L"&Top"), L"&Sub");
    second->SetMenu(bar);
    EXPECT_EQ(::GetMenu(second->Handle()), bar->Handle());
    second->DestroyHandle();
    EXPECT_TRUE(::IsMenu(bar->Handle()));
    std::vector<HMENU> secondHandles;
    CollectHandles(bar->Items(), secondHandles);
    CollectHandles(popup->Items(), secondHandles);
    App.FreeComponent(second);
    App.FreeComponent(Form);
    for (HMENU h : secondHandles)
        EXPECT_FALSE(::IsMenu(h));
}
