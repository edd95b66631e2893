// Popup menu windows under the rig: which are painted from the skin (by where the popup comes
// from and the kinds of controls the skin paints), and that their wrappers go with them.
#include "skin/menus/WinSkinPopMenu.h"
#include "tests/win/SkinWindowFixture.h"

namespace {

constexpr std::uint32_t kMenuBackground = 0x30C060;

TBytes MenuSkin()
{
    TTestSkin skin;
    skin.Extra = "[MenuBackground]\r\nImage=menubg.bmp\r\n";
    skin.ExtraFiles = {{"menubg.bmp", SolidBmp(12, 12, {kMenuBackground}, false)}};
    return TestSkinArchive(skin);
}

// What the popup showed while it was open, seen from a timer inside its menu loop.
struct TOpenPopup {
    bool Seen = false;
    bool Listed = false;      // in the manager's list
    LRESULT Answer = 0;       // SKM_QUERYSKINNED
    std::uint32_t Border = 0; // the window's pixel (1, 1) on screen
    int Source = -1;          // the manager's PopupSource
};
TOpenPopup Open;

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (const HWND menu = ::FindWindowW(L"#32768", nullptr); menu && ::IsWindowVisible(menu)) {
        Open.Seen = true;
        Open.Listed = SkinManager->FindPopup(menu) != nullptr;
        Open.Answer = ::SendMessageW(menu, SKM_QUERYSKINNED, 0, 0);
        Open.Border = ScreenPixel(menu, 1, 1);
        Open.Source = SkinManager->PopupSource;
    }
    ::EndMenu();
}

enum class TOwner { Form, ChildOfForm, SystemMenu };

} // namespace

class SkinPopupMenuTest : public TAppTest {
protected:
    // Opens a three-item popup (or the form's system menu) owned as the case says and closes
    // it from inside its loop once it has been painted.
    void Popup(TOwner owner)
    {
        Open = {};
        const bool system = owner == TOwner::SystemMenu;
        const HMENU menu = system ? ::GetSystemMenu(Form->Handle(), FALSE) : ::CreatePopupMenu();
        if (!system)
            for (UINT_PTR id = 1; id <= 3; ++id)
                ::AppendMenuW(menu, MF_STRING, id, L"Item");
        const HWND ownerWindow = owner == TOwner::ChildOfForm ? Child.get() : Form->Handle();
        ::SetTimer(nullptr, 0, 400, LookAndClose);
        RECT r{};
        ::GetWindowRect(Form->Handle(), &r);
        ::TrackPopupMenuEx(menu, TPM_RETURNCMD, r.left + 40, r.top + 60, ownerWindow, nullptr);
        if (!system)
            ::DestroyMenu(menu);
        PumpFor(100);
    }

    void Build(TSkinControlTypes kinds)
    {
        Form = App.Make<TSkinnedForm>(MenuSkin());
        Form->SkinData->SetSkinControls(kinds);
        ASSERT_NE(ShowSkinned(Form), nullptr);
        Child.reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, Form->Handle(), nullptr,
                                      nullptr, nullptr));
    }

    TSkinnedForm* Form = nullptr;
    win::Window Child;
};

TEST_F(SkinPopupMenuTest, APopupIsSkinnedWhenItsSourceIsAmongTheSkinnedKinds)
{
    using K = TSkinControlType;
    struct TCase {
        const char* What;
        TOwner Owner;
        TSkinControlTypes Kinds;
        int Source;
        bool Skinned;
    };
    const TCase cases[] = {
        // A popup whose owner is the framed form counts as the form's menu.
        {"form, main menu kind", TOwner::Form, {K::xcMainMenu}, 1, true},
        {"form, menu item kind", TOwner::Form, {K::xcMenuItem}, 1, true},
        {"form, popup kind only", TOwner::Form, {K::xcPopupMenu}, 1, false},
        // A context popup of a window without a frame.
        {"child window, popup kind", TOwner::ChildOfForm, {K::xcPopupMenu}, 0, true},
        {"child window, menu kinds only", TOwner::ChildOfForm, {K::xcMainMenu, K::xcMenuItem}, 0, false},
        {"system menu, system menu kind", TOwner::SystemMenu, {K::xcSystemMenu}, 2, true},
        {"system menu, other kinds", TOwner::SystemMenu, {K::xcMainMenu, K::xcPopupMenu}, 2, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Build(c.Kinds);
        Popup(c.Owner);
        ASSERT_TRUE(Open.Seen);
        EXPECT_EQ(Open.Source, c.Source);
        // Every popup is followed while it is open; only an allowed source is painted.
        EXPECT_TRUE(Open.Listed);
        EXPECT_EQ(Open.Answer, c.Skinned ? 1 : 0);
        EXPECT_EQ(Open.Border == kMenuBackground, c.Skinned) << std::hex << Open.Border;
        // The wrapper went with its window, and the source is back to a context popup's.
        EXPECT_TRUE(SkinManager->PopupList.empty());
        EXPECT_EQ(SkinManager->PopupSource, 0);
        Child.reset();
        App.FreeComponent(Form);
        Form = nullptr;
        PumpFor(50);
    }
}
