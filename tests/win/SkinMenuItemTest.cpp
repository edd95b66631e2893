// Skinned menu items under the rig: which of a form's menus the skin draws, what their items
// look like on screen (normal, selected by a real key, separator, check mark, shortcut, mirrored),
// giving the menus back on detach, and the skinned system menu opened by a right-click on the
// caption, Alt+Space and the icon button.
#include "skin/menus/MenuItemPainter.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/MenuInput.h"
#include "tests/win/SkinWindowFixture.h"

#include "toolkit/Canvas.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menu.h"

#include <atomic>
#include <climits>
#include <functional>
#include <thread>

namespace {

constexpr std::uint32_t kMenuBackground = 0x30C060;
constexpr std::uint32_t kItemNormal = 0xD0E0F0, kItemSelected = 0x4060E0;
constexpr std::uint32_t kGlyph = 0xFF0000;
constexpr std::uint32_t kIconButton = 0x2080FF;

TBytes MenuSkin()
{
    TTestSkin skin;
    skin.Personality = "TextAlignment=1\r\n"; // centred, clear of the icon button
    skin.Buttons += "[BUTTON2]\r\nAction=3\r\nAlign=0\r\nXcoord=6\r\nYcoord=7\r\nVisibility=0\r\n"
                    "ButtonImage=icon.bmp\r\nframe=1\r\n";
    skin.Extra = "[MenuBackground]\r\nImage=menubg.bmp\r\n"
                 "[MenuItem]\r\nImage=menuitem.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\nBottomHeight=4\r\n";
    skin.ExtraFiles = {
        {"menubg.bmp", SolidBmp(12, 12, {kMenuBackground}, false)},
        {"menuitem.bmp", SolidBmp(20, 20, {kItemNormal, 0x101010, 0x202020, kItemSelected, 0x303030}, false)},
        {"icon.bmp", SolidBmp(16, 16, {kIconButton}, false)},
    };
    return TestSkinArchive(skin);
}

// The popup's paint and each key's redraw reach the screen before the next step is given.
constexpr TMenuPace kLookAndType{.SettleMs = 250, .AfterMs = 0, .CloseLeftover = true};

std::uint32_t Pixel(int x, int y) // of the screen, 0x00RRGGBB
{
    const HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

RECT ItemRect(HMENU menu, int position)
{
    RECT r{};
    ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r);
    return r;
}

// Pixels of a screen rectangle that differ from the colour.
struct TInk {
    int Count = 0, Left = INT_MAX, Right = INT_MIN;
};
TInk InkIn(const RECT& r, std::uint32_t besides)
{
    TInk ink;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Pixel(x, y) != besides) {
                ++ink.Count;
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
            }
    return ink;
}

UINT EntryType(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info.fType;
}

} // namespace

class SkinMenuItemTest : public TAppTest {
protected:
    // The form with its menus, skinned; a right-to-left one reads its menus from the right.
    void Build(bool rightToLeft = false)
    {
        Form = App.Make<TSkinnedForm>(MenuSkin());
        if (rightToLeft)
            ::SetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE,
                                ::GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
        Images = Form->Make<TImageList>();
        const std::vector<std::uint32_t> glyph(16 * 16, kGlyph);
        const win::GdiObject<HBITMAP> bitmap{::CreateBitmap(16, 16, 1, 32, glyph.data())};
        ::ImageList_AddMasked(Images->Handle(), bitmap.get(), RGB(255, 0, 255));
        Popup = Form->Make<TPopupMenu>();
        Popup->SetImages(Images);
        TMenuItem* top = Popup->Items();
        top->Add(L"&Open")->SetShortCut(ShortCut('O', scCtrl));
        top->Add(L"-");
        top->Add(L"&Checked")->SetChecked(true);
        top->Add(L"&Disabled")->SetEnabled(false);
        top->Add(L"&Image")->SetImageIndex(0);
        top->Add(L"&Sub")->Add(L"Inner");
        Own = top->Add(L"Own");
        Own->OnDrawItem = [this](TObject*, TCanvas&, const TRect&, bool) { ++OwnDraws; };
        Own->OnMeasureItem = [](TObject*, TCanvas&, int&, int& height) { height = 18; };
        Disabled = Form->Make<TPopupMenu>();
        Disabled->SetTag(TSkinData::kDefaultDisableTag);
        Disabled->Items()->Add(L"Plain");
        Mirrored = Form->Make<TPopupMenu>();
        Mirrored->Items()->Add(L"Right")->SetChecked(true);
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
    }

    // Shows the menu at a point of the form and plays the steps while it is open.
    void Play(TPopupMenu* menu, std::vector<std::function<void()>> steps)
    {
        Play([&](POINT at) { menu->Popup(at.x, at.y); }, std::move(steps));
    }
    void Play(const std::function<void(POINT)>& open, std::vector<std::function<void()>> steps)
    {
        RECT r{};
        ::GetWindowRect(Form->Handle(), &r);
        TMenuInputPlayer player(::GetCurrentThreadId(), std::move(steps), kLookAndType);
        open({r.left + 40, r.top + 50});
        player.Join();
        PumpFor(50);
    }

    TSkinnedForm* Form = nullptr;
    TWinSkinForm* Frame = nullptr;
    TImageList* Images = nullptr;
    TPopupMenu* Popup = nullptr;
    TPopupMenu* Disabled = nullptr;
    TPopupMenu* Mirrored = nullptr;
    TMenuItem* Own = nullptr;
    int OwnDraws = 0;
};

TEST_F(SkinMenuItemTest, PopupMenusAreDrawnFromTheSkinUntilTheFrameLetsGo)
{
    Build();
    // Discovery made the form's popup menus owner-drawn, except the one tagged to stay plain;
    // an item that draws itself keeps its own handlers.
    const HMENU menu = Popup->Handle();
    EXPECT_TRUE(Popup->OwnerDraw());
    EXPECT_NE(EntryType(menu, 0) & MFT_OWNERDRAW, 0u);
    EXPECT_NE(Popup->Items()->Items(0)->OnDrawItem.target<TMenuItemDrawer>(), nullptr);
    EXPECT_NE(Popup->Items()->Items(0)->OnMeasureItem.target<TMenuItemMeasurer>(), nullptr);
    EXPECT_EQ(Own->OnDrawItem.target<TMenuItemDrawer>(), nullptr);
    EXPECT_EQ(Own->OnMeasureItem.target<TMenuItemMeasurer>(), nullptr);
    EXPECT_FALSE(Disabled->OwnerDraw());
    EXPECT_EQ(EntryType(Disabled->Handle(), 0) & MFT_OWNERDRAW, 0u);

    RECT open{}, line{}, checked{}, image{};
    std::uint32_t openNormal = 0, openSelected = 0, lineTop = 0, lineMiddle = 0, imageCentre = 0;
    TInk check, shortCut;
    Play(Popup, {
        [&] {
            open = ItemRect(menu, 0), line = ItemRect(menu, 1), checked = ItemRect(menu, 2), image = ItemRect(menu, 4);
            openNormal = Pixel(open.right - 4, open.top + 2);
            lineTop = Pixel(line.left + 1, line.top + 1);
            lineMiddle = Pixel(line.left + 12, line.top + (line.bottom - line.top) / 2 - 1);
            // The glyph box lies past the item's left edge and is 16 wide.
            check = InkIn({checked.left + 5, checked.top + 1, checked.left + 21, checked.top + 17}, kItemNormal);
            imageCentre = Pixel(image.left + 13, image.top + 9);
            shortCut = InkIn({open.right - 60, open.top + 4, open.right - 4, open.bottom - 4}, kItemNormal);
            KeyStroke(VK_DOWN);
        },
        [&] {
            openSelected = Pixel(open.right - 4, open.top + 2);
            KeyStroke(VK_ESCAPE);
        },
    });
    EXPECT_EQ(openNormal, kItemNormal) << std::hex << openNormal;
    EXPECT_EQ(openSelected, kItemSelected) << std::hex << openSelected;
    EXPECT_EQ(lineTop, kMenuBackground) << std::hex << lineTop;
    EXPECT_NE(lineMiddle, kMenuBackground) << "the separator's line";
    EXPECT_GT(check.Count, 4) << "a check mark without an image";
    EXPECT_EQ(imageCentre, kGlyph) << std::hex << imageCentre;
    // The shortcut ends 10 pixels before the item's right edge.
    EXPECT_LT(shortCut.Right, open.right - 10);
    EXPECT_GE(shortCut.Right, open.right - 14);
    EXPECT_GT(OwnDraws, 0);

    // The tagged menu keeps the system's look: no skinned border, not answered for.
    std::uint32_t plainBorder = 0;
    LRESULT plainAnswer = -1;
    Play(Disabled, {[&] {
        const HWND window = VisibleMenuWindow();
        plainBorder = ScreenPixel(window, 1, 1);
        plainAnswer = ::SendMessageW(window, SKM_QUERYSKINNED, 0, 0);
        KeyStroke(VK_ESCAPE);
    }});
    EXPECT_NE(plainBorder, kMenuBackground);
    EXPECT_EQ(plainAnswer, 0);

    // Letting go turns owner drawing off and clears exactly the skin's handlers.
    SkinManager->RemoveFrame(Form->Handle());
    EXPECT_FALSE(Popup->OwnerDraw());
    EXPECT_EQ(EntryType(Popup->Handle(), 0) & MFT_OWNERDRAW, 0u);
    EXPECT_FALSE(Popup->Items()->Items(0)->OnDrawItem);
    EXPECT_FALSE(Popup->Items()->Items(0)->OnMeasureItem);
    EXPECT_TRUE(Own->OnDrawItem);
    EXPECT_TRUE(Own->OnMeasureItem);
}

TEST_F(SkinMenuItemTest, TheMenusOfARightToLeftFormAreMirrored)
{
    Build(true);
    const HMENU menu = Mirrored->Handle();
    TInk left, right;
    Play(Mirrored, {[&] {
        const RECT r = ItemRect(menu, 0);
        left = InkIn({r.left + 5, r.top + 1, r.left + 21, r.top + 17}, kItemNormal);
        right = InkIn({r.right - 21, r.top + 1, r.right - 5, r.top + 17}, kItemNormal);
        KeyStroke(VK_ESCAPE);
    }});
    EXPECT_GT(right.Count, 4) << "the check mark on the right";
    // The caption reads from the right too, so the left end holds neither.
    EXPECT_EQ(left.Count, 0);
}

TEST_F(SkinMenuItemTest, TheWindowMenusOwnerDrawnEntriesAreDrawnByTheFrame)
{
    Build();
    auto* main = Form->Make<TMainMenu>();
    TMenuItem* file = main->Items()->Add(L"&File");
    file->Add(L"&New")->SetShortCut(ShortCut('N', scCtrl));
    Form->SetMenu(main);
    // An entry the toolkit does not know, and every entry owner-drawn as the menu bar makes them.
    const HMENU sub = file->Handle();
    ASSERT_TRUE(::AppendMenuW(sub, MF_STRING, 5000, L"E&xtra\tCtrl+E"));
    for (int position = 0; position < 2; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(sub, static_cast<UINT>(position), TRUE, &info);
        info.fType |= MFT_OWNERDRAW;
        ::SetMenuItemInfoW(sub, static_cast<UINT>(position), TRUE, &info);
    }
    std::uint32_t known = 0, foreign = 0;
    TInk keys[2];
    LONG right = 0;
    Play([&](POINT at) { ::TrackPopupMenuEx(sub, TPM_RETURNCMD, at.x, at.y, Form->Handle(), nullptr); },
         {[&] {
             for (int position = 0; position < 2; ++position) {
                 const RECT r = ItemRect(sub, position);
                 right = r.right;
                 (position == 0 ? known : foreign) = Pixel(r.right - 4, r.top + 2);
                 keys[position] = InkIn({r.right - 60, r.top + 4, r.right - 4, r.bottom - 4}, kItemNormal);
             }
             KeyStroke(VK_ESCAPE);
         }});
    EXPECT_EQ(known, kItemNormal) << std::hex << known;
    EXPECT_EQ(foreign, kItemNormal) << std::hex << foreign;
    for (const TInk& key : keys) {
        EXPECT_GT(key.Count, 0) << "the shortcut, from the item or after the entry's tab";
        EXPECT_LT(key.Right, right - 10);
        EXPECT_GE(key.Right, right - 14);
    }
    Form->SetMenu(nullptr);
}

TEST_F(SkinMenuItemTest, MainMenusAreDrawnFromTheSkinWithTheMenuItemKind)
{
    Form = App.Make<TSkinnedForm>(MenuSkin());
    TSkinControlTypes kinds = Form->SkinData->SkinControls();
    kinds.Include(TSkinControlType::xcMenuItem);
    Form->SkinData->SetSkinControls(kinds);
    auto* main = Form->Make<TMainMenu>();
    TMenuItem* file = main->Items()->Add(L"&File");
    TMenuItem* item = file->Add(L"&New");
    item->OnMeasureItem = [](TObject*, TCanvas&, int& width, int& height) {
        width = 100;
        height = 30;
    };
    Form->SetMenu(main);
    ASSERT_NE(Frame = ShowSkinned(Form), nullptr);
    // Below the top level only; the item's own measuring runs first, then the skin's room.
    EXPECT_TRUE(main->OwnerDraw());
    EXPECT_FALSE(file->OnDrawItem);
    EXPECT_NE(item->OnDrawItem.target<TMenuItemDrawer>(), nullptr);
    const win::WindowDC screen{nullptr};
    TCanvas canvas{screen.get()};
    int width = 0, height = 0;
    item->OnMeasureItem(item, canvas, width, height);
    EXPECT_EQ(width, 100 + 4 + 10 + 25) << "the MenuItem object's LeftWidth, 10, and 25 without images";
    EXPECT_EQ(height, 30);

    SkinManager->RemoveFrame(Form->Handle());
    EXPECT_FALSE(main->OwnerDraw());
    EXPECT_FALSE(item->OnDrawItem);
    ASSERT_TRUE(item->OnMeasureItem);
    EXPECT_EQ(item->OnMeasureItem.target<TMainMenuItemMeasurer>(), nullptr) << "the item's own is back";
    item->OnMeasureItem(item, canvas, width, height);
    EXPECT_EQ(width, 100);
    Form->SetMenu(nullptr);
}

TEST_F(SkinMenuItemTest, DrawingAnItemKeepsNoGdiObject)
{
    Build();
    const win::WindowDC screen{nullptr};
    const win::MemoryDC dc{screen.get(), 200, 24};
    TMenuItem* checked = Popup->Items()->Items(2);
    TMenuItem* image = Popup->Items()->Items(4);
    for (TMenuItem* item : {checked, image}) // the first call makes what is kept for the process
        DrawSkinnedMenuItem(dc.get(), {0, 0, 200, 24}, *item, false, *Form->SkinData);
    const size_t before = GdiObjectCount();
    for (int i = 0; i < 200; ++i)
        for (TMenuItem* item : {checked, image})
            DrawSkinnedMenuItem(dc.get(), {0, 0, 200, 24}, *item, i % 2 == 0, *Form->SkinData);
    EXPECT_EQ(GdiObjectCount(), before);
}

// ---- The skinned system menu ---------------------------------------------------------------

class SkinSysMenuTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        Form = App.Make<TSkinnedForm>(MenuSkin());
        Form->SetBorderIcons(TBorderIcon::SystemMenu); // neither minimize nor maximize box
        Form->SetBorderStyle(TFormBorderStyle::Single);   // nor a size to change
        Form->SetIcon(Icon.get());
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
        PumpFor(300); // the late focus change of a fresh window would take the first input
    }

    struct TShown {
        std::atomic<bool> Seen = false;
        RECT Window{};
        int Source = -1;
        std::intptr_t Tag = 0;
        std::vector<TInk> Glyphs; // each entry's glyph box
    };

    // Opens the system menu by `open` (real input given on this thread's queue), looks at it
    // and plays the steps; what showed.
    void OpenBy(TShown& shown, std::function<void()> open, std::vector<std::function<void()>> steps,
                bool lookAtGlyphs = true)
    {
        steps.insert(steps.begin(), [&shown, lookAtGlyphs] {
            const HWND window = VisibleMenuWindow();
            shown.Seen = true;
            ::GetWindowRect(window, &shown.Window);
            shown.Source = SkinManager->PopupSource;
            const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
            for (int position = 0; lookAtGlyphs && position < ::GetMenuItemCount(menu); ++position) {
                const RECT r = ItemRect(menu, position);
                shown.Glyphs.push_back(InkIn({r.left + 5, r.top + 1, r.left + 21, r.top + 17}, kItemNormal));
            }
        });
        TMenuInputPlayer player(::GetCurrentThreadId(), std::move(steps),
                                {.SettleMs = lookAtGlyphs ? 250 : 20, .AfterMs = 0, .CloseLeftover = true});
        open();
        PumpUntil([&] { return shown.Seen && VisibleMenuWindow() == nullptr; }, 5000);
        player.Join();
        if (Frame->SysMenuPopup())
            shown.Tag = Frame->SysMenuPopup()->Tag();
        PumpFor(100);
    }

    // The entry's position in the skinned system menu last shown, or -1.
    int PositionOf(UINT command) const
    {
        TPopupMenu* menu = Frame->SysMenuPopup();
        for (size_t i = 0; menu && i < menu->Items()->Count(); ++i)
            if (static_cast<UINT>(menu->Items()->Items(i)->Tag() & 0xFFF0) == command)
                return static_cast<int>(i);
        return -1;
    }
    TMenuItem* ItemFor(UINT command) const
    {
        const int position = PositionOf(command);
        return position < 0 ? nullptr : Frame->SysMenuPopup()->Items()->Items(static_cast<size_t>(position));
    }

    POINT CaptionPoint() const
    {
        RECT r{};
        ::GetWindowRect(Form->Handle(), &r);
        return {r.left + 120, r.top + 12};
    }

    win::Icon Icon = SolidIcon(0x00C0C0);
    TSkinnedForm* Form = nullptr;
    TWinSkinForm* Frame = nullptr;
};

TEST_F(SkinSysMenuTest, ARightClickOnTheCaptionShowsItAtThePointAndEscapeDoesNothing)
{
    const POINT at = CaptionPoint();
    TShown shown;
    OpenBy(shown,
        [&] {
            MouseTo(at);
            MouseButton(MOUSEEVENTF_RIGHTDOWN);
            MouseButton(MOUSEEVENTF_RIGHTUP);
        },
        {[] { KeyStroke(VK_ESCAPE); }});
    EXPECT_EQ(shown.Window.left, at.x);
    EXPECT_EQ(shown.Window.top, at.y);
    EXPECT_EQ(shown.Source, 2);
    EXPECT_EQ(shown.Tag, 33333);
    ASSERT_EQ(shown.Glyphs.size(), Frame->SysMenuPopup()->Items()->Count());
    EXPECT_GT(shown.Glyphs[static_cast<size_t>(PositionOf(SC_CLOSE))].Count, 4) << "Close shows its glyph";
    EXPECT_EQ(shown.Glyphs[static_cast<size_t>(PositionOf(SC_MOVE))].Count, 0) << "Move has none";
    EXPECT_TRUE(Form->SysCommands.empty());
    EXPECT_EQ(Form->CloseRequests, 0);

    // The items follow the window's system menu and state: a window without the boxes cannot
    // be minimized or maximized, nor restored while it is normal, nor sized with a fixed border.
    struct TRule {
        UINT Command;
        int Glyph;
        bool Enabled;
    };
    for (const TRule& rule : {TRule{SC_RESTORE, 0, false}, TRule{SC_MAXIMIZE, 1, false}, TRule{SC_MINIMIZE, 2, false},
                              TRule{SC_MOVE, -1, true}, TRule{SC_SIZE, -1, false}, TRule{SC_CLOSE, 3, true}}) {
        SCOPED_TRACE(rule.Command);
        const TMenuItem* item = ItemFor(rule.Command);
        if (!item) {
            EXPECT_NE(rule.Command, SC_CLOSE) << "only the boxes' entries may be absent";
            continue;
        }
        EXPECT_EQ(item->ImageIndex(), rule.Glyph);
        EXPECT_EQ(item->Enabled(), rule.Enabled);
    }
    ASSERT_NE(ItemFor(SC_CLOSE), nullptr);
    EXPECT_EQ(ItemFor(SC_CLOSE)->ShortCut(), ShortCut(VK_F4, scAlt));
}

TEST_F(SkinSysMenuTest, AltSpaceShowsItAtTheClientOriginAndCloseClosesTheWindow)
{
    POINT origin{0, 0};
    ::ClientToScreen(Form->Handle(), &origin);
    TShown shown;
    OpenBy(shown,
        [] {
            KeyPress(VK_MENU, false);
            KeyStroke(VK_SPACE);
            KeyPress(VK_MENU, true);
        },
        {[] { KeyStroke('C'); }});
    EXPECT_EQ(shown.Window.left, origin.x);
    EXPECT_EQ(shown.Window.top, origin.y);
    PumpUntil([&] { return Form->CloseRequests > 0; }, 1000);
    EXPECT_EQ(Form->CloseRequests, 1);
    ASSERT_FALSE(Form->SysCommands.empty());
    EXPECT_EQ(Form->SysCommands.back(), WPARAM(SC_CLOSE));
}

TEST_F(SkinSysMenuTest, TheIconButtonShowsItAndASecondClickClosesTheWindow)
{
    const size_t icon = 1; // BUTTON2
    ASSERT_EQ(Frame->CaptionButtons()[icon].Data->Action, 3);
    const POINT at = ButtonPoint(Frame, icon);
    auto click = [at] {
        MouseTo(at);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
    };
    TShown shown;
    OpenBy(shown, [&] {
        MouseTo(at);
        PumpFor(100); // hot first, as a person's pointer arrives before the press
        click();
    }, {[&] { click(); }}, false); // quickly, within the double-click time
    EXPECT_EQ(shown.Window.left, at.x + 1);
    EXPECT_EQ(shown.Window.top, at.y + 1);
    PumpUntil([&] { return Form->CloseRequests > 0; }, 1000);
    EXPECT_EQ(Form->CloseRequests, 1);
}
