// The MDI paths of the frame on a plain Win32 MDI frame window (an "MDICLIENT" child, a window
// menu, DefFrameProcW) with children made through the client: the roles, the maximized state
// the main form carries, the children's regions, arranging, the last child going, the client's
// scroll bars and the MDI caption buttons' actions.
#include "skin/menus/MenuBtn.h"
#include "skin/menus/WinSkinMenu.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/SkinManagerFixture.h"

#include <cstdlib>
#include <functional>
#include <fstream>

namespace {

constexpr UINT kFirstChildId = 50000;
constexpr UINT kExitCommand = 100;

// Close (Action 0), maximize (1) and minimize (2) on the right of the caption; the MDI buttons
// cut from a strip of twelve 10-pixel columns (minimize, restore, close: Actions 7, 8, 9), and
// the skin's own buttons for the same commands (Actions 60, 61, 62) in the menu bar band.
TTestSkin MdiSkin(int topHeight = 30)
{
    TTestSkin skin;
    skin.TopHeight = topHeight;
    for (const auto& [number, action, x] : {std::tuple{2, 1, 55}, std::tuple{3, 2, 80}})
        skin.Buttons += "[BUTTON" + std::to_string(number) + "]\r\nAction=" + std::to_string(action) +
            "\r\nAlign=1\r\nXcoord=" + std::to_string(x) +
            "\r\nYcoord=5\r\nVisibility=0\r\nButtonImage=close.bmp\r\nframe=4\r\n";
    for (const int action : {60, 61, 62})
        skin.Buttons += "[BUTTON" + std::to_string(action - 56) + "]\r\nAction=" + std::to_string(action) +
            "\r\nAlign=100\r\nXcoord=" + std::to_string(70 + 22 * (62 - action)) +
            "\r\nYcoord=0\r\nVisibility=100\r\nButtonImage=close.bmp\r\nframe=4\r\n";
    skin.Extra = "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
    std::vector<std::uint32_t> columns;
    for (const std::uint32_t colour : {0x00A0A0u, 0xA0A000u, 0xA000A0u})
        for (int frame = 0; frame < 4; ++frame)
            columns.push_back(colour + static_cast<std::uint32_t>(frame) * 0x10);
    skin.ExtraFiles.push_back({"mdi.bmp", SolidBmp(10, 10, columns, false)});
    return skin;
}

LRESULT CALLBACK MdiChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(hwnd, msg, wParam, lParam);
}

int FramePaints = 0; // WM_PAINT reaching the MDI frame window's own procedure

// The frame window's procedure keeps its client in the window's user data.
LRESULT CALLBACK MdiFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT)
        ++FramePaints;
    auto client = reinterpret_cast<HWND>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_CREATE) {
        const HMENU menu = ::GetMenu(hwnd);
        CLIENTCREATESTRUCT create{menu ? ::GetSubMenu(menu, 1) : nullptr, kFirstChildId};
        client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                                   0, 0, 0, 0,
                                   hwnd, nullptr, ::GetModuleHandleW(nullptr), &create);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
        return client ? 0 : -1;
    }
    return ::DefFrameProcW(hwnd, client, msg, wParam, lParam);
}

void RegisterMdiClasses()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpfnWndProc = &MdiFrameProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        wc.lpszClassName = L"TSkinTestMdiFrame";
        ::RegisterClassExW(&wc);
        wc.lpfnWndProc = &MdiChildProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TSkinTestMdiDocument";
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// The window as a person would see it, written as a bitmap file when QM27K_SHOT_DIR names a
// folder; for looking at the states by eye, not a check.
void SaveShot(HWND hwnd, const char* name)
{
    const char* dir = std::getenv("QM27K_SHOT_DIR");
    if (!dir)
        return;
    PumpFor(150);
    const TWindowPixels shot = GrabWindow(hwnd);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{sizeof(info), shot.Width, -shot.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(shot.Bits.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    std::ofstream out(std::string(dir) + "/" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(shot.Bits.data()), bytes);
}

bool HasRegion(HWND hwnd)
{
    const RECT box = RegionBox(hwnd);
    return !::IsRectEmpty(&box);
}

} // namespace

class SkinMdiTest : public SkinManagerTestBase {
protected:
    void TearDown() override
    {
        if (Frame && ::IsWindow(Frame))
            ::DestroyWindow(Frame);
        if (SkinManager)
            SkinManager->MdiMaximized = false;
        SkinManagerTestBase::TearDown();
        EXPECT_EQ(SkinManager->MdiClient, nullptr) << "the manager still names a gone MDI client";
    }

    // Frames a new MDI frame window with the skin through the hook, as the program's activation
    // would; the test's skin data (made at the first call) gets the options first. beforeShow
    // runs while the window is made but not yet shown.
    TWinSkinForm* MakeFramed(TSkinOptions options = {}, const TTestSkin& skin = MdiSkin(),
                             const std::function<void()>& beforeShow = {})
    {
        RegisterMdiClasses();
        if (!SkinData)
            SkinData = MakeSkinData(&*App, TSkinFormType::sfMainform, false, TestSkinArchive(skin));
        SkinData->SetOptions(options);
        SkinManager->SkinningEnabled = true;
        const HMENU bar = ::CreateMenu();
        const HMENU file = ::CreatePopupMenu();
        ::AppendMenuW(file, MF_STRING, kExitCommand, L"E&xit");
        const HMENU window = ::CreatePopupMenu();
        ::AppendMenuW(window, MF_STRING, 101, L"&Tile");
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"&Window");
        ::SetCursorPos(50, 700);
        Frame = ::CreateWindowExW(0, L"TSkinTestMdiFrame", L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60,
                                  60, 520, 380, nullptr, bar, ::GetModuleHandleW(nullptr), nullptr);
        if (!Frame)
            return nullptr;
        Client = reinterpret_cast<HWND>(::GetWindowLongPtrW(Frame, GWLP_USERDATA));
        if (beforeShow)
            beforeShow();
        ::ShowWindow(Frame, SW_SHOW);
        ::SetActiveWindow(Frame);
        return WaitFramed(Frame);
    }

    HWND MakeChild(const wchar_t* title, int x = 10, int y = 10, DWORD style = WS_OVERLAPPEDWINDOW)
    {
        MDICREATESTRUCTW create{L"TSkinTestMdiDocument", title, ::GetModuleHandleW(nullptr), x, y, 200, 130, style, 0};
        const auto child = reinterpret_cast<HWND>(::SendMessageW(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
        if (child)
            WaitFramed(child);
        return child;
    }

    TWinSkinForm* FrameOf(HWND hwnd) const { return SkinManager->FindFrame(hwnd); }

    // The main form's caption button with this Action.
    size_t ButtonWithAction(TWinSkinForm* frame, int action) const
    {
        const auto& buttons = frame->CaptionButtons();
        for (size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i].Data->Action == action)
                return i;
        ADD_FAILURE() << "no caption button with Action " << action;
        return 0;
    }

    HWND ActiveChild(bool* maximized = nullptr) const
    {
        BOOL zoomed = FALSE;
        const auto child =
            reinterpret_cast<HWND>(::SendMessageW(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
        if (maximized)
            *maximized = zoomed != FALSE;
        return child;
    }

    void Maximize(HWND child)
    {
        ::SendMessageW(Client, WM_MDIMAXIMIZE, WPARAM(child), 0);
        PumpUntil([&] { return ::IsZoomed(child) != FALSE; }, 1000);
    }

    TSkinData* SkinData = nullptr;
    HWND Frame = nullptr;
    HWND Client = nullptr;
};

TEST_F(SkinMdiTest, MainFormAndChildrenTakeTheirRolesAndTheManagerKnowsTheClient)
{
    TWinSkinForm* main = MakeFramed();
    ASSERT_NE(main, nullptr) << "the MDI frame window is framed when it is activated";
    EXPECT_EQ(main->MdiRole(), TMdiRole::MainForm);
    EXPECT_EQ(main->MdiClientWindow(), Client);
    EXPECT_EQ(SkinManager->MdiClient, Client);
    EXPECT_EQ(SkinManager->MdiMainForm, nullptr) << "a window the toolkit did not make has no form";

    const HWND child = MakeChild(L"Document 1");
    ASSERT_NE(child, nullptr);
    TWinSkinForm* childFrame = FrameOf(child);
    ASSERT_NE(childFrame, nullptr) << "the hook frames an MDI child as it is made";
    EXPECT_EQ(childFrame->MdiRole(), TMdiRole::Child);
    EXPECT_TRUE(childFrame->FramePainting());
    EXPECT_TRUE(HasRegion(child)) << "a normal child has its shaped region";

    // The client fills the main form's client area inside the skinned borders.
    RECT area{}, clientWindow{};
    ::GetClientRect(Frame, &area);
    ::GetWindowRect(Client, &clientWindow);
    EXPECT_EQ(clientWindow.right - clientWindow.left, area.right);
    EXPECT_EQ(clientWindow.bottom - clientWindow.top, area.bottom);
    SaveShot(Frame, "mdi-normal");

    // The skin switched off: the client has its own procedure back, the manager forgets it,
    // and the windows keep their client areas inside the system's frames.
    EXPECT_NE(::GetWindowLongPtrW(Client, GWLP_WNDPROC), static_cast<LONG_PTR>(::GetClassLongPtrW(Client, GCLP_WNDPROC)));
    const SIZE mainClient = ClientSize(Frame), childClient = ClientSize(child);
    SkinManager->PendingSkinData = SkinData;
    SkinManager->RequestAction(TSkinAction::Deactivate, 1);
    PumpUntil([&] { return SkinManager->PendingSkinData == nullptr; }, 2000);
    EXPECT_EQ(FrameOf(Frame), nullptr);
    EXPECT_EQ(FrameOf(child), nullptr);
    EXPECT_EQ(SkinManager->MdiClient, nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(Client, GWLP_WNDPROC), static_cast<LONG_PTR>(::GetClassLongPtrW(Client, GCLP_WNDPROC)));
    EXPECT_FALSE(HasRegion(child));
    EXPECT_EQ(ClientSize(child).cx, childClient.cx);
    EXPECT_EQ(ClientSize(child).cy, childClient.cy);
    EXPECT_EQ(ClientSize(Frame).cx, mainClient.cx);
}

TEST_F(SkinMdiTest, AMaximizedChildIsCarriedByTheMainFormWithoutRegionsAndComesBack)
{
    ASSERT_NE(MakeFramed(), nullptr);
    const HWND first = MakeChild(L"Document 1");
    const HWND second = MakeChild(L"Document 2", 60, 50);
    ASSERT_TRUE(first && second);
    const SIZE normalClient = ClientSize(second);

    Maximize(second);
    EXPECT_TRUE(SkinManager->MdiMaximized) << "maximized through the client, not our buttons";
    EXPECT_EQ(FrameOf(second)->ShowState(), TShowState::Maximized);
    EXPECT_FALSE(HasRegion(second)) << "the maximized child fills the client without a region";
    EXPECT_FALSE(HasRegion(first)) << "every child's region goes while one is maximized";
    // A child made maximized is framed so from the start (Wine's client makes a child made
    // meanwhile without the style a normal one, and restores the maximized one).
    const HWND third = MakeChild(L"Document 3", 10, 10, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(::IsZoomed(third));
    EXPECT_EQ(FrameOf(third)->ShowState(), TShowState::Maximized);
    EXPECT_FALSE(HasRegion(third));
    EXPECT_TRUE(SkinManager->MdiMaximized);
    ::SendMessageW(Client, WM_MDIDESTROY, WPARAM(third), 0);
    Maximize(second);
    // The maximized child's caption is the main form's, which stays skinned as the text
    // changes, and is redrawn when its children ask the client for it.
    ::SetWindowTextW(second, L"Renamed");
    EXPECT_EQ(AwaitPixel(Frame, 400, 3, kActiveTop), kActiveTop);
    FramePaints = 0;
    ::SendMessageW(Client, SKM_MDIREDRAW, 0, 0);
    EXPECT_GT(FramePaints, 0) << "the main form was redrawn at once";
    SaveShot(Frame, "mdi-maximized");

    ::SendMessageW(Client, WM_MDIRESTORE, WPARAM(second), 0);
    PumpUntil([&] { return !SkinManager->MdiMaximized; }, 1000);
    EXPECT_FALSE(SkinManager->MdiMaximized);
    EXPECT_EQ(FrameOf(second)->ShowState(), TShowState::Normal);
    PumpFor(50);
    EXPECT_TRUE(HasRegion(first));
    EXPECT_TRUE(HasRegion(second));
    EXPECT_EQ(ClientSize(second).cx, normalClient.cx) << "restored inside the skinned frame";
    EXPECT_EQ(ClientSize(second).cy, normalClient.cy);

    // The skinned maximize button, clicked as a person clicks it, maximizes the child too.
    TWinSkinForm* secondFrame = FrameOf(second);
    const size_t maximize = ButtonWithAction(secondFrame, 1);
    const POINT at = ButtonPoint(secondFrame, maximize);
    MouseTo(at);
    PumpFor(30);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(30);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return ::IsZoomed(second) != FALSE; }, 1500);
    EXPECT_TRUE(::IsZoomed(second));
    EXPECT_TRUE(SkinManager->MdiMaximized);
    MouseTo({50, 700});
}

TEST_F(SkinMdiTest, TheMdiButtonsShowInTheBandWhileAChildIsMaximizedAndActOnItWhenClicked)
{
    TWinSkinForm* main = MakeFramed();
    ASSERT_NE(main, nullptr);
    ASSERT_GT(main->MenuBarHeight(), 0) << "the main form's menu is its skinned menu bar";
    const HWND other = MakeChild(L"Document 1");
    const HWND child = MakeChild(L"Document 2", 40, 40);
    ASSERT_TRUE(other && child);
    EXPECT_FALSE(main->MdiChildButtonsShown());

    // The MDI buttons (7, 8, 9) and the skin's own (60, 61, 62), clicked as a person clicks.
    auto shown = [&](size_t index) { return main->CaptionButtons()[index].Visible; };
    auto click = [&](size_t index) {
        MouseTo(ButtonPoint(main, index));
        PumpFor(30);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        PumpFor(30);
        MouseButton(MOUSEEVENTF_LEFTUP);
    };
    struct TCase {
        int Action;
        bool Minimized;
    };
    for (const TCase c : {TCase{7, true}, TCase{8, false}, TCase{60, true}, TCase{61, false}}) {
        SCOPED_TRACE(c.Action);
        Maximize(child);
        ASSERT_EQ(ActiveChild(), child);
        EXPECT_TRUE(main->MdiChildButtonsShown());
        const size_t index = ButtonWithAction(main, c.Action);
        PumpUntil([&] { return shown(index); }, 1000);
        ASSERT_TRUE(shown(index)) << "the main form was redrawn with the child's buttons";
        const TPixelRect& bounds = main->CaptionButtons()[index].Bounds;
        EXPECT_GE(bounds.Top, main->Borders().Top);
        EXPECT_LE(bounds.Bottom, main->Borders().Top + main->MenuBarHeight()) << "in the menu bar band";
        if (c.Action == 8) {
            MouseTo(ButtonPoint(main, index));
            PumpFor(300);
            SaveShot(Frame, "mdi-maximized-restore-hot");
        }
        click(index);
        auto done = [&] { return c.Minimized ? ::IsIconic(child) != FALSE : !::IsZoomed(child) && !::IsIconic(child); };
        PumpUntil(done, 1000);
        EXPECT_TRUE(done());
        EXPECT_FALSE(SkinManager->MdiMaximized) << "no child is maximized any more";
        EXPECT_FALSE(::IsIconic(other) || ::IsZoomed(other)) << "only the active child is acted on";
        if (c.Minimized) {
            // The minimized child shows the skin's caption, active or not.
            EXPECT_EQ(FrameOf(child)->ShowState(), TShowState::Minimized);
            const std::uint32_t top = ScreenPixel(child, 20, 2);
            EXPECT_TRUE(top == kActiveTop || top == kInactiveTop) << std::hex << top;
            SaveShot(Frame, "mdi-minimized");
        }
        PumpUntil([&] { return !shown(index); }, 1000);
        EXPECT_FALSE(shown(index)) << "the band lets the buttons go with the maximized child";
    }

    for (const int close : {9, 62}) {
        SCOPED_TRACE(close);
        const HWND active = ActiveChild();
        ASSERT_NE(active, nullptr);
        Maximize(active);
        const size_t index = ButtonWithAction(main, close);
        PumpUntil([&] { return shown(index); }, 1000);
        click(index);
        PumpUntil([&] { return !::IsWindow(active); }, 1000);
        EXPECT_FALSE(::IsWindow(active)) << "the button closes the active child";
    }
    MouseTo({50, 700});
    EXPECT_EQ(ActiveChild(), nullptr);
    EXPECT_TRUE(SkinData->MenuUpdate()) << "the last child gone, the menu bar follows menu changes again";
}

TEST_F(SkinMdiTest, ArrangingSwitchesTheMaximizedStateOffAndRegionsComeBack)
{
    ASSERT_NE(MakeFramed(), nullptr);
    const HWND first = MakeChild(L"Document 1");
    const HWND second = MakeChild(L"Document 2", 60, 50);
    ASSERT_TRUE(first && second);
    for (const UINT arrange : {UINT(WM_MDITILE), UINT(WM_MDICASCADE)}) {
        SCOPED_TRACE(arrange);
        Maximize(second);
        ASSERT_TRUE(SkinManager->MdiMaximized);
        ::SendMessageW(Client, arrange, 0, 0);
        EXPECT_FALSE(SkinManager->MdiMaximized);
        PumpFor(50);
        for (const HWND child : {first, second}) {
            EXPECT_FALSE(::IsZoomed(child));
            EXPECT_EQ(FrameOf(child)->ShowState(), TShowState::Normal);
            EXPECT_TRUE(HasRegion(child));
        }
    }
    // Arranging icons leaves a maximized child as it is, and so the state.
    Maximize(second);
    ::SendMessageW(Client, WM_MDIICONARRANGE, 0, 0);
    EXPECT_TRUE(::IsZoomed(second));
    EXPECT_TRUE(SkinManager->MdiMaximized);
}

TEST_F(SkinMdiTest, MakingChildrenHoldsMenuUpdatesUntilTheLastChildGoes)
{
    TWinSkinForm* main = MakeFramed();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SkinData->MenuUpdate());
    const HWND first = MakeChild(L"Document 1");
    const HWND second = MakeChild(L"Document 2", 60, 50);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(SkinData->MenuUpdate()) << "making a child holds the menu bar's updates";
    Maximize(second);

    ::SendMessageW(Client, WM_MDIDESTROY, WPARAM(second), 0);
    EXPECT_FALSE(SkinData->MenuUpdate()) << "one child is left";
    bool maximized = true;
    ActiveChild(&maximized);
    EXPECT_EQ(SkinManager->MdiMaximized, maximized) << "the state follows the child that is active now";

    // The menu changed behind the bar meanwhile shows once the last child is gone.
    ASSERT_NE(main->MenuBar(), nullptr);
    MENUITEMINFOW renamed{sizeof(renamed)};
    renamed.fMask = MIIM_STRING;
    renamed.dwTypeData = const_cast<wchar_t*>(L"&Project");
    ::SetMenuItemInfoW(main->MenuBar()->WindowMenu(), 0, TRUE, &renamed);
    ::SendMessageW(Client, WM_MDIDESTROY, WPARAM(first), 0);
    EXPECT_TRUE(SkinData->MenuUpdate()) << "the last child gone, the menu bar follows menu changes again";
    EXPECT_FALSE(SkinManager->MdiMaximized);
    ASSERT_FALSE(main->MenuBar()->MenuBarItems().empty());
    EXPECT_EQ(main->MenuBar()->MenuBarItems().front()->Caption, L"&Project") << "the bar was rebuilt";

    // A menu the client sets becomes the skinned bar's, and the window shows none of its own.
    const HMENU documentMenu = ::CreateMenu();
    ::AppendMenuW(documentMenu, MF_STRING, 200, L"&Document");
    ::AppendMenuW(documentMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"&Window");
    const auto oldMenu = reinterpret_cast<HMENU>(::SendMessageW(Client, WM_MDISETMENU, WPARAM(documentMenu), 0));
    ASSERT_NE(main->MenuBar(), nullptr);
    ASSERT_FALSE(main->MenuBar()->MenuBarItems().empty());
    EXPECT_EQ(main->MenuBar()->MenuBarItems().front()->Caption, L"&Document");
    EXPECT_EQ(::GetMenu(Frame), nullptr);
    ::DestroyMenu(oldMenu);

    // Letting the main form go while children hold the updates gives the component its value
    // back.
    MakeChild(L"Document 3");
    ASSERT_FALSE(SkinData->MenuUpdate());
    SkinManager->RemoveFrame(Frame);
    EXPECT_TRUE(SkinData->MenuUpdate());
}

TEST_F(SkinMdiTest, TheClientShowsScrollBarsOnlyWithTheOption)
{
    struct TCase {
        bool Option;
        bool Bars;
    };
    for (const TCase c : {TCase{false, false}, TCase{true, true}}) {
        SCOPED_TRACE(c.Option);
        TSkinOptions options;
        if (c.Option)
            options.Include(TSkinOption::xoMDIScrollbar);
        // A child half outside the client's bottom-right corner: the client wants both bars. It
        // is made before the main form is shown, since Wine's client hides its bars while every
        // child fits and never brings them back afterwards.
        ASSERT_NE(MakeFramed(options, MdiSkin(), [&] { ASSERT_NE(MakeChild(L"Far away", 400, 300), nullptr); }),
                  nullptr);
        PumpFor(100);
        const LONG_PTR style = ::GetWindowLongPtrW(Client, GWL_STYLE);
        RECT window{}, inner{};
        ::GetWindowRect(Client, &window);
        ::GetClientRect(Client, &inner);
        const bool roomForBars = inner.right < window.right - window.left && inner.bottom < window.bottom - window.top;
        EXPECT_EQ((style & WS_HSCROLL) != 0 && (style & WS_VSCROLL) != 0, c.Bars);
        EXPECT_EQ(roomForBars, c.Bars);
        SaveShot(Frame, c.Option ? "mdi-scrollbars" : "mdi-no-scrollbars");
        ASSERT_FALSE(SkinData->MenuUpdate());
        ::DestroyWindow(Frame);
        EXPECT_TRUE(SkinData->MenuUpdate()) << "a main form destroyed with its children gives it back";
        PumpFor(20);
        SkinManager->PurgeFrames();
    }
}

TEST_F(SkinMdiTest, ChildrenUnderAThinCaptionKeepTheSystemsHeightOrAreLeftToTheSystem)
{
    // A skin caption thinner than the system's caption and frame: the child keeps the system's
    // height with a band below the skin's caption, or, with the option, keeps the system's
    // frame altogether, and maximizing and restoring leave it so.
    const int systemTop = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
    for (const bool systemBorders : {false, true}) {
        SCOPED_TRACE(systemBorders);
        TSkinOptions options;
        if (systemBorders)
            options.Include(TSkinOption::xoMDIChildBorder);
        ASSERT_NE(MakeFramed(options, MdiSkin(8)), nullptr);
        const HWND child = MakeChild(L"Thin caption");
        ASSERT_NE(child, nullptr);
        TWinSkinForm* frame = FrameOf(child);
        RECT window{}, inner{};
        ::GetWindowRect(child, &window);
        ::GetClientRect(child, &inner);
        EXPECT_EQ(frame->FramePainting(), !systemBorders);
        EXPECT_EQ(HasRegion(child), !systemBorders);
        if (systemBorders) {
            EXPECT_EQ(window.bottom - window.top - inner.bottom,
                      ::GetSystemMetrics(SM_CYCAPTION) + 2 * ::GetSystemMetrics(SM_CYFRAME));
        } else {
            EXPECT_EQ(frame->MenuBarHeight(), systemTop - frame->Borders().Top);
            EXPECT_EQ(window.bottom - window.top - inner.bottom, systemTop + frame->Borders().Bottom);
            // The band below the skin's caption is the face colour, not the system's caption.
            EXPECT_EQ(ScreenPixel(child, 60, frame->Borders().Top + 1), 0xF0F0F0u);
        }
        SaveShot(Frame, systemBorders ? "mdi-child-system-borders" : "mdi-child-thin-caption");
        Maximize(child);
        EXPECT_FALSE(HasRegion(child));
        ::SendMessageW(Client, WM_MDIRESTORE, WPARAM(child), 0);
        PumpFor(50);
        EXPECT_EQ(HasRegion(child), !systemBorders);
        ::DestroyWindow(Frame);
        PumpFor(20);
        SkinManager->PurgeFrames();
    }
}

TEST_F(SkinMdiTest, ChildCaptionsFollowActivationByTheMainFormAndByClicks)
{
    ASSERT_NE(MakeFramed(), nullptr);
    const HWND first = MakeChild(L"Document 1");
    const HWND second = MakeChild(L"Document 2", 120, 60);
    ASSERT_TRUE(first && second);
    TWinSkinForm* firstFrame = FrameOf(first);
    TWinSkinForm* secondFrame = FrameOf(second);
    ASSERT_TRUE(secondFrame->IsActive());
    EXPECT_FALSE(firstFrame->IsActive());

    // A press and release on the inactive child's skinned caption activates it. The press
    // starts the system's move loop, which runs until the release: both are queued at once.
    RECT r{};
    ::GetWindowRect(first, &r);
    MouseTo({r.left + 30, r.top + 10});
    PumpFor(30);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return ActiveChild() == first; }, 1000);
    EXPECT_EQ(ActiveChild(), first);
    EXPECT_TRUE(firstFrame->IsActive());
    EXPECT_FALSE(secondFrame->IsActive());
    MouseTo({50, 700});

    TPlainWindowParams params;
    params.ClassName = L"TSkinTestOtherWindow";
    TPlainWindow other(params);
    ::ShowWindow(other.Handle(), SW_SHOW);
    ::SetActiveWindow(other.Handle());
    PumpFor(50);
    EXPECT_FALSE(firstFrame->IsActive()) << "the main form's deactivation reaches its active child";
    SaveShot(Frame, "mdi-inactive");
    ::SetActiveWindow(Frame);
    PumpFor(50);
    EXPECT_TRUE(firstFrame->IsActive());
    other.Destroy();
}

TEST_F(SkinMdiTest, ChildrenComingAndGoingLeaveNoObjectsBehind)
{
    ASSERT_NE(MakeFramed(), nullptr);
    const HWND keeper = MakeChild(L"Document 1");
    ASSERT_NE(keeper, nullptr);
    // Regions dropped and rebuilt, frames made and purged, links taken and given back.
    auto cycle = [&] {
        const HWND child = MakeChild(L"Passing", 40, 40);
        Maximize(child);
        ::SendMessageW(Client, WM_MDIRESTORE, WPARAM(child), 0);
        ::ShowWindow(child, SW_MINIMIZE);
        ::SendMessageW(Client, WM_MDITILE, 0, 0);
        ::SendMessageW(Client, WM_MDIDESTROY, WPARAM(child), 0);
        PumpFor(5);
        SkinManager->PurgeFrames();
    };
    cycle();
    const size_t gdi = GdiObjectCount(), windows = ThreadWindowCount(), procs = TMessageLink::FreeProcCount();
    const size_t frames = SkinManager->FrameList.size();
    for (int i = 0; i < 30; ++i)
        cycle();
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(TMessageLink::FreeProcCount(), procs);
    EXPECT_EQ(SkinManager->FrameList.size(), frames);
    EXPECT_FALSE(SkinManager->MdiMaximized);
}
