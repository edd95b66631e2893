// Skinned menus worked hard: hundreds of popups opened and closed and the menu bar rebuilt again
// and again must leave no GDI object, window, menu or wrapper behind.
#include "skin/menus/WinSkinPopMenu.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/Menu.h"

namespace {

TBytes MenuSkin()
{
    TTestSkin skin;
    skin.Extra = "[MenuBackground]\r\nImage=menubg.bmp\r\n"
                 "[MenuItem]\r\nImage=menuitem.bmp\r\nFrame=5\r\nLeftWidth=2\r\nRightWidth=2\r\n"
                 "TopHeight=2\r\nBottomHeight=2\r\n";
    skin.Personality = "menuBar=menubar.bmp\r\n";
    skin.ExtraFiles = {
        {"menubg.bmp", SolidBmp(12, 12, {0x30C060}, false)},
        {"menuitem.bmp", SolidBmp(12, 12, {0xE0E0E0, 0xD0D0D0, 0xC0C0C0, 0x6080C0, 0x909090}, false)},
        {"menubar.bmp", SolidBmp(16, 12, {0xF0F0F0, 0xC8C8C8}, true)},
    };
    return TestSkinArchive(skin);
}

// Closes a popup from inside its menu loop once it is on screen and its wrapper has painted.
int PopupsSeen = 0;
void CALLBACK CloseWhenPainted(HWND, UINT, UINT_PTR id, DWORD)
{
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    const TWinSkinPopMenu* popup = menu ? SkinManager->FindPopup(menu) : nullptr;
    if (popup && ::IsWindowVisible(menu) && !popup->PopupBackground().IsEmpty()) {
        ++PopupsSeen;
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }
}

struct TOwners {
    size_t Gdi, Windows, Menus, FreeProcs, Wrappers, Popups;
    bool operator==(const TOwners&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOwners& o)
{
    return out << "GDI " << o.Gdi << ", windows " << o.Windows << ", menus " << o.Menus << ", free procedure slots "
               << o.FreeProcs << ", control wrappers " << o.Wrappers << ", popup wrappers " << o.Popups;
}

} // namespace

class SkinMenuSoakTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        Form = App.Make<TSkinnedForm>(MenuSkin());
        auto* bar = Form->Make<TMainMenu>();
        FileMenu = bar->Items()->Add(L"&File");
        FileMenu->Add(L"&Open")->SetShortCut(scCtrl | TShortCut(L'O'));
        FileMenu->Add(L"-");
        FileMenu->Add(L"E&xit");
        bar->Items()->Add(L"&Help")->Add(L"&About");
        Form->SetMenu(bar);
        Popup = Form->Make<TPopupMenu>();
        Popup->Items()->Add(L"&Copy");
        Popup->Items()->Add(L"-");
        Popup->Items()->Add(L"&Wrap lines")->SetChecked(true);
        Frame = ShowSkinned(Form);
    }

    TOwners Owners() const
    {
        return {GdiObjectCount(), ThreadWindowCount(), MenuCount(), TMessageLink::FreeProcCount(),
                Frame->WrapperList().size(), SkinManager->PopupList.size()};
    }

    void OpenAndClosePopup()
    {
        RECT r{};
        ::GetWindowRect(Form->Handle(), &r);
        ::SetTimer(nullptr, 0, 1, CloseWhenPainted);
        Popup->Popup(r.left + 40, r.top + 60);
    }

    // A caption change reaches the frame as the form's menu having changed.
    void RebuildMenuBar(int round)
    {
        FileMenu->SetCaption(round % 2 ? L"&File" : L"&Files");
        ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }

    TSkinnedForm* Form = nullptr;
    TWinSkinForm* Frame = nullptr;
    TMenuItem* FileMenu = nullptr;
    TPopupMenu* Popup = nullptr;
};

TEST_F(SkinMenuSoakTest, PopupsAndMenuBarRebuildsLeaveNothingBehind)
{
    ASSERT_NE(Frame, nullptr);
    ASSERT_GT(MenuCount(), 0u) << "menus cannot be counted here";
    // Whatever is made once and kept (fonts, the band's picture) is made before counting.
    for (int i = 0; i < 5; ++i) {
        OpenAndClosePopup();
        RebuildMenuBar(i);
    }
    PumpFor(100);
    const TOwners before = Owners();
    PopupsSeen = 0;
    for (int i = 0; i < 500; ++i)
        OpenAndClosePopup();
    EXPECT_EQ(PopupsSeen, 500);
    for (int i = 0; i < 100; ++i)
        RebuildMenuBar(i);
    PumpFor(100);
    EXPECT_EQ(Owners(), before);
}
