// The skinned menu bar on a real form under the rig, driven by real mouse and keys from another
// thread while the GUI thread runs the application's loop and the popups' own loops: the band
// from the skin's menu bar image or its flat colour, the items' places and states, popups opened
// under their items and moved between by mouse and arrows, accelerators, the form's menu
// changing under the bar, the window's own menu given back, right-to-left bars and the MDI
// buttons that sit in the band.
#include "skin/menus/WinSkinMenu.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

#include <atomic>
#include <functional>
#include <thread>

namespace {

// Menu bar image columns: left end, middle, right end; active frame above the inactive one.
constexpr std::uint32_t kBarLeft = 0x2060A0, kBarMiddle = 0xA0C0E0, kBarRight = 0x603020;
constexpr std::uint32_t kBarLeftOff = 0x505050, kBarMiddleOff = 0xB0B0B0, kBarRightOff = 0x303030;
constexpr std::uint32_t kMenubar = 0xC8DC28, kHilight = 0xFF0000, kShadow = 0x0000FF;
constexpr int kBarEnd = 3; // TileLeftMenu and TileRightMenu
constexpr std::uint32_t kMdiNormal = 0x00A000, kMdiPressed = 0x0000A0, kMdiHot = 0xA0A000;

TBytes BarImage()
{
    TBmpSpec bmp;
    bmp.Width = 12;
    bmp.Height = 40;
    for (int y = 0; y < bmp.Height; ++y) {
        TBytes row;
        for (int x = 0; x < bmp.Width; ++x) {
            const bool active = y < 20;
            const std::uint32_t c = x < kBarEnd ? (active ? kBarLeft : kBarLeftOff)
                : x >= 12 - kBarEnd             ? (active ? kBarRight : kBarRightOff)
                                                : (active ? kBarMiddle : kBarMiddleOff);
            row.insert(row.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
        }
        bmp.RowsTopFirst.push_back(row);
    }
    return MakeBmp(bmp);
}

// A [Colours] section ahead of the fixture's, so these keys win.
const std::string kColours = "[Colours]\r\nButtonFace=240,240,240\r\nTitleTextActive=255,255,255\r\n"
                             "TitleTextNoActive=0,0,0\r\nMenubar=200,220,40\r\nMenuBarText=10,10,10\r\n"
                             "ButtonHilight=255,0,0\r\nButtonShadow=0,0,255\r\n";

TBytes BarSkin(bool withImage, int tile = 1, bool mdiButton = false)
{
    TTestSkin skin;
    if (withImage) {
        skin.Personality = "menuBar=menubar.bmp\r\nTileMenu=" + std::to_string(tile) + "\r\nTileLeftMenu=3\r\nTileRightMenu=3\r\n";
        skin.ExtraFiles.push_back({"menubar.bmp", BarImage()});
    }
    skin.Personality += kColours;
    if (mdiButton) {
        // Shown while the window says so, placed in the menu bar like the MDI child's buttons.
        skin.Buttons += "[BUTTON2]\r\nAction=61\r\nAlign=100\r\nXcoord=30\r\nVisibility=1000\r\nVisibility1=100\r\n"
                        "ButtonImage=mdi.bmp\r\nframe=3\r\n";
        skin.ExtraFiles.push_back({"mdi.bmp", SolidBmp(16, 14, {kMdiNormal, kMdiPressed, kMdiHot}, false)});
    }
    return TestSkinArchive(skin);
}

class TBarForm : public TSkinnedForm {
public:
    TBarForm(TComponent* owner, const TBytes& archive, DWORD exStyle) : TSkinnedForm(owner, archive), FExStyle(exStyle) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TSkinnedForm::CreateParams(Params);
        Params.ExStyle |= FExStyle;
    }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == SKM_SYSBUTTONVISIBLE) {
            Message.Result = 1;
            return;
        }
        TSkinnedForm::WndProc(Message);
    }

private:
    DWORD FExStyle;
};

using TStep = std::function<void()>;

// The popup menu window on screen; one that just closed may still exist, hidden.
HWND ShownPopup()
{
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w; w = ::FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (::IsWindowVisible(w))
            return w;
    return nullptr;
}

struct TSeenPopup {
    HMENU Menu = nullptr;
    RECT Rect{};
};

POINT Middle(const TPixelRect& r, const RECT& window)
{
    return {window.left + (r.Left + r.Right) / 2, window.top + (r.Top + r.Bottom) / 2};
}

} // namespace

class SkinMenuBarTest : public TAppTest {
protected:
    void TearDown() override { Free(); }

    void Build(const TBytes& archive, DWORD exStyle = 0, int clientWidth = 320)
    {
        Free();
        Form = App.Make<TBarForm>(archive, exStyle);
        Form->SetClientSize(clientWidth, 160);
        Images = Form->Make<TImageList>();
        Main = Form->Make<TMainMenu>();
        Main->SetImages(Images);
        File = Add(Main->Items(), L"&File");
        Add(File, L"&New")->SetShortCut(ShortCut('N', scCtrl));
        Add(File, L"&Open")->SetImageIndex(0);
        Add(File, L"-");
        Add(File, L"&Autosave")->SetChecked(true);
        Add(File, L"&Print")->SetEnabled(false);
        Exit = Add(File, L"E&xit");
        Edit = Add(Main->Items(), L"&Edit");
        Add(Edit, L"Cu&t");
        Add(Edit, L"&Copy");
        More = Add(Edit, L"&More");
        Add(More, L"&Deep");
        Run = Add(Main->Items(), L"&Run");
        Help = Add(Main->Items(), L"&Help");
        Add(Help, L"&About");
        Form->SetMenu(Main);
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
        ASSERT_NE(Frame->MenuBar(), nullptr);
        // A late focus change from the display would take the first key.
        int steady = 0;
        PumpUntil([&] {
            steady = ::GetForegroundWindow() == Form->Handle() && ::GetFocus() == Form->Handle() ? steady + 1 : 0;
            return steady >= 30;
        }, 3000);
        Clicked.clear();
    }

    void Free()
    {
        if (Form) {
            App.FreeComponent(Form);
            Form = nullptr;
            Frame = nullptr;
            PumpFor(50);
        }
    }

    TMenuItem* Add(TMenuItem* parent, const wchar_t* caption)
    {
        TMenuItem* item = parent->Add(caption);
        item->OnClick = [this](TObject* sender) { Clicked.push_back(sender); };
        return item;
    }

    TWinSkinMenu& Bar() { return *Frame->MenuBar(); }
    RECT Window() const
    {
        RECT r{};
        ::GetWindowRect(Form->Handle(), &r);
        return r;
    }
    POINT ItemPoint(size_t index) { return Middle(Bar().Item(index)->Bounds(), Window()); }
    // Where the item's popup goes: its bottom-left corner on the screen (bottom-right mirrored).
    POINT PopupCorner(size_t index, bool rightToLeft = false)
    {
        const TPixelRect& r = Bar().Item(index)->Bounds();
        return {Window().left + (rightToLeft ? r.Right : r.Left), Window().top + r.Bottom};
    }

    // Steps given from another thread, each waiting what it must; the GUI thread meanwhile runs
    // the application's loop (and inside it the popups' loops) until the steps are done.
    void Play(std::vector<TStep> steps)
    {
        Seen.clear();
        std::atomic<bool> done{false};
        std::thread player([&] {
            for (const TStep& step : steps) {
                step();
                ::Sleep(100);
            }
            done = true;
        });
        const DWORD until = ::GetTickCount() + 15000;
        while (!done && ::GetTickCount() < until) {
            App.ProcessMessages();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        player.join();
        PumpUntil([] { return !ShownPopup(); }, 1000);
        const DWORD settle = ::GetTickCount() + 300;
        while (::GetTickCount() < settle) {
            App.ProcessMessages();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    // Steps.
    // The display's own pointer is moved (xdotool, real X input), as a person's mouse moves it:
    // under the rig a SendInput move changes only Wine's idea of the cursor, and the display
    // puts that back where its pointer is when the next popup window shows.
    static void DisplayMouseTo(POINT p)
    {
        std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(p.x) + L" " + std::to_wstring(p.y);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, 3000);
            ::CloseHandle(process.hProcess);
            ::CloseHandle(process.hThread);
        }
        MouseTo(p); // without the display, as before
    }
    static TStep MoveTo(POINT p) { return [p] { DisplayMouseTo(p); }; }
    static TStep ClickAt(POINT p)
    {
        return [p] {
            DisplayMouseTo(p);
            ::Sleep(50);
            MouseButton(MOUSEEVENTF_LEFTDOWN);
            MouseButton(MOUSEEVENTF_LEFTUP);
        };
    }
    static TStep Key(WORD vk, WORD modifier = 0)
    {
        return [vk, modifier] { KeyStroke(vk, modifier); };
    }
    // Waits until the popup showing is the one of `menu` and notes it, with its place.
    TStep Await(HMENU menu)
    {
        return [this, menu] {
            for (int waited = 0; waited < 3000; waited += 10) {
                const HWND w = ShownPopup();
                const auto shown = w ? reinterpret_cast<HMENU>(::SendMessageW(w, MN_GETHMENU, 0, 0)) : nullptr;
                if (shown == menu) {
                    TSeenPopup seen{shown, {}};
                    ::GetWindowRect(w, &seen.Rect);
                    Seen.push_back(seen);
                    return;
                }
                ::Sleep(10);
            }
            Seen.push_back({}); // a popup that never came
        };
    }
    // Notes the pixel at a window point as it shows on the screen now.
    TStep Look(POINT windowPoint)
    {
        return [this, windowPoint] { Looked.push_back(ScreenPixel(Form->Handle(), windowPoint.x, windowPoint.y)); };
    }

    TBarForm* Form = nullptr;
    TWinSkinForm* Frame = nullptr;
    TImageList* Images = nullptr;
    TMainMenu* Main = nullptr;
    TMenuItem *File = nullptr, *Exit = nullptr, *Edit = nullptr, *More = nullptr, *Run = nullptr, *Help = nullptr;
    std::vector<TObject*> Clicked;
    std::vector<TSeenPopup> Seen;
    std::vector<std::uint32_t> Looked;
};

TEST_F(SkinMenuBarTest, TheBandIsPaintedFromTheMenuBarImageOrInTheFlatColour)
{
    struct TCase {
        const char* What;
        TBytes Archive;
        std::uint32_t Left, Middle, Right, LeftOff, MiddleOff, RightOff;
        int FirstItem; // offset of the first item from the band's left
    };
    const TCase cases[] = {
        {"nine-slice image", BarSkin(true, 1), kBarLeft, kBarMiddle, kBarRight, kBarLeftOff, kBarMiddleOff, kBarRightOff,
         kBarEnd + 4},
        {"three-slice image", BarSkin(true, 0), kBarLeft, kBarMiddle, kBarRight, kBarLeftOff, kBarMiddleOff, kBarRightOff,
         kBarEnd + 4},
        {"no image: flat colour", BarSkin(false), kMenubar, kMenubar, kMenubar, kMenubar, kMenubar, kMenubar, 6},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Build(c.Archive);
        const HWND hwnd = Form->Handle();
        const TFrameBorders& b = Frame->Borders();
        const int width = Window().right - Window().left;
        const TPixelRect band{b.Left, b.Top, width - b.Right, b.Top + Frame->MenuBarHeight()};
        EXPECT_EQ(Frame->MenuBarHeight(), ::GetSystemMetrics(SM_CYMENU));
        EXPECT_EQ(::GetMenu(hwnd), nullptr) << "the window's own bar is taken off";

        // The items: the toolkit's captions, laid end to end from the start offset.
        ASSERT_EQ(Bar().ItemCount(), 4u);
        const wchar_t* captions[] = {L"&File", L"&Edit", L"&Run", L"&Help"};
        int x = band.Left + c.FirstItem;
        for (size_t i = 0; i < 4; ++i) {
            const TMenuBtn& item = *Bar().Item(i);
            EXPECT_EQ(item.Caption, captions[i]);
            EXPECT_EQ(item.Bounds().Left, x) << i;
            EXPECT_EQ(item.Bounds().Top, band.Top) << i;
            EXPECT_EQ(item.Bounds().Bottom, band.Bottom - 1) << i;
            EXPECT_GT(item.Bounds().Width(), 10) << i;
            x = item.Bounds().Right;
        }
        EXPECT_EQ(Bar().Item(0)->Popup, File->Handle());
        EXPECT_EQ(Bar().Item(2)->Popup, nullptr);
        EXPECT_EQ(Bar().Item(2)->Command, Run->Command());

        const int y = (band.Top + band.Bottom) / 2;
        const int free = (x + band.Right) / 2; // between the last item and the band's end
        const TWindowPixels shot = GrabWindow(hwnd);
        EXPECT_EQ(shot.At(band.Left, y), c.Left);
        EXPECT_EQ(shot.At(band.Left + kBarEnd - 1, y), c.Left);
        EXPECT_EQ(shot.At(free, y), c.Middle);
        EXPECT_EQ(shot.At(band.Right - 1, y), c.Right);
        // Each caption shows in its item in the dark MenuBarText; none outside them.
        auto dark = [&](int from, int to) {
            int count = 0;
            for (int py = band.Top; py < band.Bottom; ++py)
                for (int px = from; px < to; ++px)
                    count += (shot.At(px, py) & 0xC0C0C0) == 0;
            return count;
        };
        for (size_t i = 0; i < 4; ++i)
            EXPECT_GT(dark(Bar().Item(i)->Bounds().Left, Bar().Item(i)->Bounds().Right), 5) << i;
        EXPECT_EQ(dark(x, band.Right), 0);

        // The inactive window's band is the image's second frame.
        ::SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
        EXPECT_EQ(AwaitPixel(hwnd, band.Left, y, c.LeftOff), c.LeftOff);
        EXPECT_EQ(ScreenPixel(hwnd, free, y), c.MiddleOff);
        EXPECT_EQ(ScreenPixel(hwnd, band.Right - 1, y), c.RightOff);
        ::SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
        EXPECT_EQ(AwaitPixel(hwnd, free, y, c.Middle), c.Middle);

        // A disabled item's caption is greyed.
        Run->SetEnabled(false);
        PumpFor(100);
        EXPECT_FALSE(Bar().Item(2)->Enabled);
        const TPixelRect run = Bar().Item(2)->Bounds();
        const TWindowPixels greyed = GrabWindow(hwnd);
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
        const std::uint32_t grey = GetRValue(shadow) << 16 | GetGValue(shadow) << 8 | GetBValue(shadow);
        int greyPixels = 0, darkPixels = 0;
        for (int py = run.Top; py < run.Bottom; ++py)
            for (int px = run.Left; px < run.Right; ++px) {
                greyPixels += greyed.At(px, py) == grey;
                darkPixels += (greyed.At(px, py) & 0xC0C0C0) == 0;
            }
        EXPECT_GT(greyPixels, 5);
        EXPECT_EQ(darkPixels, 0);
    }
}

TEST_F(SkinMenuBarTest, HotAndPressedItemsAreFramedAndAClickOpensThePopupUnderTheItem)
{
    Build(BarSkin(true));
    const TPixelRect edit = Bar().Item(1)->Bounds();
    const POINT corner{edit.Left, edit.Top}, opposite{edit.Right - 1, edit.Bottom - 1};
    const POINT away{Window().left + 150, Window().bottom + 60};

    MouseTo(ItemPoint(1));
    EXPECT_EQ(AwaitPixel(Form->Handle(), corner.x, corner.y, kHilight), kHilight) << "hot: raised";
    EXPECT_EQ(ScreenPixel(Form->Handle(), opposite.x, opposite.y), kShadow);
    EXPECT_EQ(Bar().Item(1)->State(), 3);
    EXPECT_EQ(Frame->HotObject, Bar().Item(1));
    MouseTo(away);
    EXPECT_EQ(AwaitPixel(Form->Handle(), corner.x, corner.y, kBarMiddle), kBarMiddle) << "left again";

    Looked.clear();
    bool trackingSeen = false;
    Play({ClickAt(ItemPoint(1)), Await(Edit->Handle()), Look(corner), Look(opposite),
          [&] { trackingSeen = Frame->MenuTracking() && SkinManager->MenuBarTracking && SkinManager->PopupSource == 1; },
          Key(VK_ESCAPE), MoveTo(away)});
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0].Menu, Edit->Handle());
    EXPECT_EQ(Seen[0].Rect.left, PopupCorner(1).x);
    EXPECT_EQ(Seen[0].Rect.top, PopupCorner(1).y);
    ASSERT_EQ(Looked.size(), 2u);
    EXPECT_EQ(Looked[0], kShadow) << "pressed in while open";
    EXPECT_EQ(Looked[1], kHilight);
    EXPECT_TRUE(trackingSeen);
    // Drawn by the window at every depth.
    for (HMENU menu : {Edit->Handle(), More->Handle()})
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            EXPECT_TRUE(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_OWNERDRAW) << i;
    // Escape closed it with nothing run but the opening item's own click.
    EXPECT_EQ(ShownPopup(), nullptr);
    EXPECT_EQ(Clicked, std::vector<TObject*>{Edit});
    EXPECT_FALSE(Frame->MenuTracking());
    EXPECT_FALSE(SkinManager->MenuBarTracking);
    EXPECT_TRUE(SkinManager->PopupList.empty());
    EXPECT_EQ(::GetMenu(Form->Handle()), nullptr);
    EXPECT_EQ(AwaitPixel(Form->Handle(), corner.x, corner.y, kBarMiddle), kBarMiddle);
}

TEST_F(SkinMenuBarTest, ItemsRunTheirCommandsOnce)
{
    Build(BarSkin(true));
    struct TCase {
        const char* What;
        std::vector<TStep> Steps;
        std::vector<TObject*> Runs;
        bool PopupSeen;
    };
    std::atomic<bool> popupSeen{false};
    auto watch = [&] {
        for (int waited = 0; waited < 400; waited += 10, ::Sleep(10))
            if (ShownPopup())
                popupSeen = true;
    };
    const TCase cases[] = {
        {"a click on an item without submenu", {ClickAt(ItemPoint(2)), watch}, {Run}, false},
        {"its accelerator", {Key('R', VK_MENU), watch}, {Run}, false},
        // Two clicks, not a caption's double click that would maximize the window.
        {"a double click", {ClickAt(ItemPoint(2)), [] {
              MouseButton(MOUSEEVENTF_LEFTDOWN);
              MouseButton(MOUSEEVENTF_LEFTUP);
          }, watch}, {Run, Run}, false},
        // Exit is the sixth entry; the popup's items are found by the system's own rectangles.
        {"a click on a popup's item",
         {ClickAt(ItemPoint(0)), Await(File->Handle()),
          [&] {
              const HWND w = ShownPopup();
              RECT r{};
              ::GetMenuItemRect(nullptr, reinterpret_cast<HMENU>(::SendMessageW(w, MN_GETHMENU, 0, 0)), 5, &r);
              DisplayMouseTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
              ::Sleep(80);
              MouseButton(MOUSEEVENTF_LEFTDOWN);
              MouseButton(MOUSEEVENTF_LEFTUP);
          }},
         {File, Exit}, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Clicked.clear();
        popupSeen = false;
        Play(c.Steps);
        EXPECT_EQ(Clicked, c.Runs);
        EXPECT_EQ(popupSeen || !Seen.empty(), c.PopupSeen);
        EXPECT_EQ(ShownPopup(), nullptr);
        EXPECT_FALSE(::IsZoomed(Form->Handle()));
    }
}

TEST_F(SkinMenuBarTest, MouseAndArrowsMoveBetweenTheItemsPopups)
{
    Build(BarSkin(true));
    struct TCase {
        const char* What;
        std::vector<TStep> Steps;
        std::vector<size_t> Opened; // bar items whose popups showed, in order
    };
    const TCase cases[] = {
        {"the mouse over another item", {ClickAt(ItemPoint(0)), Await(File->Handle()), MoveTo(ItemPoint(1)),
                                         Await(Edit->Handle()), Key(VK_ESCAPE)}, {0, 1}},
        // The first entry is selected on opening; Right from an entry without submenu goes to
        // the next item that has a popup, past Run, and from the last to the first.
        {"Right", {ClickAt(ItemPoint(0)), Await(File->Handle()), Key(VK_RIGHT), Await(Edit->Handle()), Key(VK_RIGHT),
                   Await(Help->Handle()), Key(VK_RIGHT), Await(File->Handle()), Key(VK_ESCAPE)}, {0, 1, 3, 0}},
        {"Left", {ClickAt(ItemPoint(0)), Await(File->Handle()), Key(VK_LEFT), Await(Help->Handle()), Key(VK_LEFT),
                  Await(Edit->Handle()), Key(VK_ESCAPE)}, {0, 3, 1}},
        {"Alt and an accelerator", {Key('E', VK_MENU), Await(Edit->Handle()), Key(VK_ESCAPE)}, {1}},
        {"Alt alone opens the first item", {Key(VK_MENU), Await(File->Handle()), Key(VK_ESCAPE)}, {0}},
        {"a click announced by message", {[hwnd = Form->Handle(), p = ItemPoint(3)] {
              ::PostMessageW(hwnd, SKM_MENUBARCLICK, 0, MAKELPARAM(p.x, p.y));
          }, Await(Help->Handle()), Key(VK_ESCAPE)}, {3}},
    };
    const std::vector<HMENU> menus{File->Handle(), Edit->Handle(), nullptr, Help->Handle()};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Play(c.Steps);
        ASSERT_EQ(Seen.size(), c.Opened.size());
        for (size_t i = 0; i < Seen.size(); ++i) {
            EXPECT_EQ(Seen[i].Menu, menus[c.Opened[i]]) << i;
            EXPECT_EQ(Seen[i].Rect.left, PopupCorner(c.Opened[i]).x) << i;
            EXPECT_EQ(Seen[i].Rect.top, PopupCorner(c.Opened[i]).y) << i;
        }
        EXPECT_EQ(ShownPopup(), nullptr);
        EXPECT_FALSE(Frame->MenuTracking());
        EXPECT_TRUE(std::find(Clicked.begin(), Clicked.end(), Run) == Clicked.end()) << "passing Run runs nothing";
        Clicked.clear();
    }

    // Right on an entry with a submenu opens that submenu, not the next item.
    Play({ClickAt(ItemPoint(1)), Await(Edit->Handle()), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT),
          Await(More->Handle()), Key(VK_ESCAPE), Key(VK_ESCAPE), Key(VK_ESCAPE)});
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[1].Menu, More->Handle());

    // The key the system gives a window without a toolkit loop opens its item too.
    Play({[&] { ::PostMessageW(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'h'); }, Await(Help->Handle()), Key(VK_ESCAPE)});
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0].Menu, Help->Handle());
}

TEST_F(SkinMenuBarTest, AChangedMenuRebuildsTheBarOnlyWithMenuUpdate)
{
    for (const bool update : {true, false}) {
        SCOPED_TRACE(update ? "MenuUpdate" : "no MenuUpdate");
        Build(BarSkin(true));
        Form->SkinData->SetMenuUpdate(update);
        Help->SetCaption(L"&Info");
        Add(Main->Items(), L"&Window");
        EXPECT_EQ(::GetMenu(Form->Handle()), nullptr) << "taken off again";
        ASSERT_EQ(Bar().ItemCount(), update ? 5u : 4u);
        EXPECT_EQ(Bar().Item(3)->Caption, update ? L"&Info" : L"&Help");
        if (update) {
            EXPECT_GT(Bar().Item(4)->Bounds().Left, Bar().Item(3)->Bounds().Left);
            Form->SetMenu(nullptr);
            EXPECT_EQ(Bar().ItemCount(), 0u) << "a form without a menu shows none";
            Form->SetMenu(Main);
            EXPECT_EQ(Bar().ItemCount(), 5u);
        }
    }
}

TEST_F(SkinMenuBarTest, LettingGoGivesTheWindowItsMenuAroundTheSameClient)
{
    Build(BarSkin(true));
    const HWND hwnd = Form->Handle();
    // The client the form asked for, with the skinned band as with the system's bar.
    const SIZE skinned = ClientSize(hwnd);
    EXPECT_EQ(skinned.cx, 320);
    EXPECT_EQ(skinned.cy, 160);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Form->SkinData->SetActive(false);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager->FindFrame(hwnd) == nullptr; }, 2000));
        EXPECT_EQ(::GetMenu(hwnd), Main->Handle());
        EXPECT_EQ(ClientSize(hwnd).cx, skinned.cx);
        EXPECT_EQ(ClientSize(hwnd).cy, skinned.cy);

        Form->SkinData->SetActive(true);
        ASSERT_TRUE(PumpUntil([&] {
            Frame = SkinManager->FindFrame(hwnd);
            return Frame && Frame->FrameState() == TFrameState::Active;
        }, 3000));
        ASSERT_NE(Frame->MenuBar(), nullptr);
        EXPECT_EQ(Bar().ItemCount(), 4u);
        EXPECT_EQ(::GetMenu(hwnd), nullptr);
        EXPECT_EQ(ClientSize(hwnd).cx, skinned.cx);
        EXPECT_EQ(ClientSize(hwnd).cy, skinned.cy);
    }
}

TEST_F(SkinMenuBarTest, ARightToLeftBarIsMirrored)
{
    Build(BarSkin(true), WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT | WS_EX_RTLREADING);
    const TFrameBorders& b = Frame->Borders();
    const int bandRight = (Window().right - Window().left) - b.Right;
    EXPECT_EQ(Bar().Item(0)->Bounds().Right, bandRight - (kBarEnd + 8));
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(Bar().Item(i)->Bounds().Right, Bar().Item(i - 1)->Bounds().Left) << i;
    // Left goes on to the next item, which lies to the left.
    Play({ClickAt(ItemPoint(0)), Await(File->Handle()), Key(VK_LEFT), Await(Edit->Handle()), Key(VK_ESCAPE)});
    ASSERT_EQ(Seen.size(), 2u);
    EXPECT_EQ(Seen[0].Rect.right, PopupCorner(0, true).x) << "aligned at the item's right edge";
    EXPECT_EQ(Seen[0].Rect.top, PopupCorner(0, true).y);
    EXPECT_EQ(Seen[1].Menu, Edit->Handle());
}

TEST_F(SkinMenuBarTest, ButtonsInTheBandArePaintedThereAndKeepTheItemsClear)
{
    // Narrow enough that the items would run under the button.
    Build(BarSkin(true, 1, true), 0, 150);
    const HWND hwnd = Form->Handle();
    const auto& buttons = Frame->CaptionButtons();
    const auto found = std::find_if(buttons.begin(), buttons.end(), [](const TCaptionButton& b) { return b.Data->Action == 61; });
    ASSERT_NE(found, buttons.end());
    const TCaptionButton& mdi = *found;
    ASSERT_TRUE(mdi.Visible);
    EXPECT_GE(mdi.Bounds.Top, Frame->Borders().Top) << "in the band";
    for (size_t i = 0; i < Bar().ItemCount(); ++i)
        EXPECT_LE(Bar().Item(i)->Bounds().Right, mdi.Bounds.Left - 2) << i;
    const int midX = (mdi.Bounds.Left + mdi.Bounds.Right) / 2, midY = (mdi.Bounds.Top + mdi.Bounds.Bottom) / 2;
    EXPECT_EQ(ScreenPixel(hwnd, midX, midY), kMdiNormal);
    // Hot, it is repainted over the band, not over the caption.
    RECT window = Window();
    MouseTo({window.left + midX, window.top + midY});
    EXPECT_EQ(AwaitPixel(hwnd, midX, midY, kMdiHot), kMdiHot);
    EXPECT_EQ(ScreenPixel(hwnd, mdi.Bounds.Left - 1, midY), kBarMiddle);
    MouseTo({window.left + 20, window.bottom + 60});
    EXPECT_EQ(AwaitPixel(hwnd, midX, midY, kMdiNormal), kMdiNormal);
}

TEST_F(SkinMenuBarTest, RebuildingTheBarLeavesNoObjectsBehind)
{
    Build(BarSkin(true));
    auto rebuild = [&](int i) {
        Help->SetCaption(i % 2 ? L"&Help" : L"&Info");
        Frame->PaintFrame();
    };
    for (int i = 0; i < 5; ++i)
        rebuild(i);
    const size_t gdi = GdiObjectCount(), windows = ThreadWindowCount();
    for (int i = 0; i < 100; ++i)
        rebuild(i);
    EXPECT_LE(GdiObjectCount(), gdi);
    EXPECT_EQ(ThreadWindowCount(), windows);
}
