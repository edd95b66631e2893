// Skinned check boxes, radio buttons, group boxes, panels, nested dialogs and size grips on real
// windows under the rig: the strip cell each state shows, clicks and keys that still toggle
// exactly once, and colours given back when the wrappers let go.
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinSizer.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/CheckBox.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kCell = 13;
// The check strip's 12 cells (unchecked, checked, mixed; each normal, hot, pressed, disabled),
// the radio strip's 4 (unchecked, checked, both disabled) and the grip glyph, 0x00RRGGBB; the
// top-left pixel of every cell is key-coloured.
constexpr std::uint32_t kCheckCells[12] = {0x102030, 0x203040, 0x304050, 0x405060, 0x10C010, 0x20C020,
                                           0x30C030, 0x40C040, 0xC01010, 0xC02020, 0xC03030, 0xC04040};
constexpr std::uint32_t kRadioCells[4] = {0x0000A0, 0x00A0A0, 0xA000A0, 0xA0A000};
constexpr std::uint32_t kGrip = 0x2060E0;
constexpr std::uint32_t kSkinFace = 0xF0F0F0;

TBytes Strip(const std::uint32_t* colours, int count, int side)
{
    TBmpSpec bmp;
    bmp.Width = side * count;
    bmp.Height = side;
    for (int y = 0; y < side; ++y) {
        TBytes row;
        for (int x = 0; x < bmp.Width; ++x) {
            const std::uint32_t c = x % side == 0 && y == 0 ? kKey : colours[x / side];
            row.insert(row.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
        }
        bmp.RowsTopFirst.push_back(row);
    }
    return MakeBmp(bmp);
}

TBytes CheckSkin(bool withGrip = true)
{
    TTestSkin skin;
    skin.Extra = "[Buttons]\r\nCheckButton=check.bmp\r\nCheckButtonFrame=12\r\nRadioButton=radio.bmp\r\nRadioButtonFrame=4\r\n";
    skin.ExtraFiles = {{"check.bmp", Strip(kCheckCells, 12, kCell)}, {"radio.bmp", Strip(kRadioCells, 4, kCell)}};
    if (withGrip) {
        const std::uint32_t extra[5] = {0x111111, 0x222222, 0x333333, 0x444444, kGrip};
        skin.Extra += "[ExtraImages]\r\nImage=extra.bmp\r\nTrans=1\r\n";
        skin.ExtraFiles.push_back({"extra.bmp", Strip(extra, 5, 16)});
    }
    return TestSkinArchive(skin);
}

std::uint32_t Rgb(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

POINT Centre(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The middle of the strip cell as the button shows it, and its key-coloured corner.
POINT CellMiddle(HWND hwnd) { return {kCell / 2, ClientSize(hwnd).cy / 2}; }
POINT CellCorner(HWND hwnd) { return {0, (ClientSize(hwnd).cy - kCell) / 2}; }

bool HasColour(HWND hwnd, std::uint32_t colour)
{
    const TWindowPixels shot = GrabWindow(hwnd);
    return std::any_of(shot.Bits.begin(), shot.Bits.end(), [&](std::uint32_t p) { return (p & 0xFFFFFF) == colour; });
}

// A dialog made from a template in memory: two auto radio buttons, an auto check box and a
// static text, as a system dialog nested in a framed window holds them.
class TDialogTemplate {
public:
    TDialogTemplate(DWORD style, short x, short y, short cx, short cy)
    {
        Dword(style);
        Dword(0);
        Word(0); // item count, counted below
        for (const short v : {x, y, cx, cy})
            Word(static_cast<WORD>(v));
        Word(0), Word(0), Word(0); // no menu, the dialog class, no title
    }
    void Item(WORD classAtom, const wchar_t* text, WORD id, DWORD style, short x, short y, short cx, short cy)
    {
        while (FWords.size() % 2)
            Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (const short v : {x, y, cx, cy})
            Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF), Word(classAtom);
        for (const wchar_t* p = text; *p; ++p)
            Word(*p);
        Word(0), Word(0);
        ++FWords[4];
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

private:
    void Word(WORD w) { FWords.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    std::vector<WORD> FWords;
};

constexpr WORD kButtonAtom = 0x0080, kStaticAtom = 0x0082;
constexpr WORD kRadioOne = 101, kRadioTwo = 102, kAutoCheck = 103;
std::map<WORD, int> DialogClicks;

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wParam, LPARAM) noexcept
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        ++DialogClicks[LOWORD(wParam)];
    return msg == WM_INITDIALOG;
}

} // namespace

class SkinCheckBoxTest : public TAppTest {
protected:
    void Build(bool withGrip = true)
    {
        Form = App.Make<TSkinnedForm>(CheckSkin(withGrip));
        Check = Form->Make<TCheckBox>();
        Check->SetParent(Form);
        Check->SetBounds(10, 10, 120, 17);
        Check->SetCaption(L"Check me");
        Check->OnClick = [this](TObject*) { ++Clicks; };
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
    }

    // The frame's wrapper of the window, attached here when the frame's own walk gave it none.
    template <class T>
    T* Wrap(TWinControl* control, bool useSkinColour = false)
    {
        if (auto* found = dynamic_cast<T*>(Frame->FindWrapper(control->Handle())))
            return found;
        TSkinControl* w = Frame->RegisterWrapper(MakeHandler<T>(control));
        EXPECT_TRUE(w->Attach(Frame, Form->SkinData, useSkinColour));
        return static_cast<T*>(w);
    }
    template <class T>
    T* WrapHandle(HWND hwnd)
    {
        if (auto* found = dynamic_cast<T*>(Frame->FindWrapper(hwnd)))
            return found;
        TSkinControl* w = Frame->RegisterWrapper(MakeHandler<T>());
        EXPECT_TRUE(w->AttachHandle(hwnd, Form->SkinData, Frame));
        return static_cast<T*>(w);
    }

    // The cell colour of the button on screen, once it is the expected one or the bound passed.
    std::uint32_t AwaitCell(HWND hwnd, std::uint32_t colour)
    {
        const POINT p = CellMiddle(hwnd);
        return AwaitPixel(hwnd, p.x, p.y, colour);
    }

    TSkinnedForm* Form = nullptr;
    TCheckBox* Check = nullptr;
    TWinSkinForm* Frame = nullptr;
    int Clicks = 0;
};

TEST_F(SkinCheckBoxTest, CellsOfTheTwelveStripFollowRealMouseAndKeysAndEachToggleClicksOnce)
{
    Build();
    const TSkinCheckBox* wrapper = Wrap<TSkinCheckBox>(Check);
    const HWND hwnd = Check->Handle();
    const auto cell = [](int n) { return kCheckCells[n - 1]; };
    EXPECT_EQ(AwaitCell(hwnd, cell(1)), cell(1)) << "unchecked";
    const POINT corner = CellCorner(hwnd);
    EXPECT_EQ(ScreenPixel(hwnd, corner.x, corner.y), kSkinFace) << "the key shows the face behind the cell";
    EXPECT_EQ(::SendMessageW(hwnd, SKM_QUERYSKINNED, 0, 0), 1);

    MouseTo(Centre(hwnd));
    EXPECT_EQ(AwaitCell(hwnd, cell(2)), cell(2)) << "hot";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitCell(hwnd, cell(3)), cell(3)) << "pressed";
    EXPECT_EQ(Clicks, 0);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return Clicks == 1; }, 1500));
    EXPECT_TRUE(Check->Checked());
    EXPECT_EQ(AwaitCell(hwnd, cell(6)), cell(6)) << "checked, still under the mouse";
    ASSERT_FALSE(wrapper->LastFocusRect().IsEmpty()) << "focused by the click";

    // Pressed, dragged off and let go outside: the system's own rule, no toggle.
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitCell(hwnd, cell(7)), cell(7)) << "checked, pressed";
    MouseTo({Centre(hwnd).x + 200, Centre(hwnd).y + 120});
    EXPECT_EQ(AwaitCell(hwnd, cell(5)), cell(5)) << "left while pressed";
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpFor(200);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Check->Checked());

    // Space down shows the pressed cell, up toggles once.
    KeyPress(VK_SPACE, false);
    EXPECT_EQ(AwaitCell(hwnd, cell(7)), cell(7)) << "space down";
    KeyPress(VK_SPACE, true);
    EXPECT_TRUE(PumpUntil([&] { return Clicks == 2; }, 1500));
    EXPECT_FALSE(Check->Checked());
    EXPECT_EQ(AwaitCell(hwnd, cell(1)), cell(1));

    // Mixed and disabled, set through the control as the program sets them.
    Check->SetState(TCheckBoxState::Grayed);
    EXPECT_EQ(AwaitCell(hwnd, cell(9)), cell(9)) << "mixed";
    Check->SetEnabled(false);
    EXPECT_EQ(AwaitCell(hwnd, cell(12)), cell(12)) << "mixed, disabled";
    Check->SetChecked(true);
    EXPECT_EQ(AwaitCell(hwnd, cell(8)), cell(8)) << "checked, disabled";
    Check->SetChecked(false);
    EXPECT_EQ(AwaitCell(hwnd, cell(4)), cell(4)) << "unchecked, disabled";
    EXPECT_TRUE(HasColour(hwnd, Rgb(::GetSysColor(COLOR_BTNSHADOW)))) << "disabled caption";
    MouseTo(Centre(hwnd));
    PumpFor(200);
    EXPECT_EQ(AwaitCell(hwnd, cell(4)), cell(4)) << "disabled ignores the mouse";
}

TEST_F(SkinCheckBoxTest, ADialogsRadioButtonsMoveTheCheckUnderRealClicksOnItsSkinnedFace)
{
    Build();
    Form->SetClientSize(400, 300);
    DialogClicks.clear();
    TDialogTemplate tmpl(WS_CHILD | WS_VISIBLE | DS_CONTROL, 0, 30, 100, 70);
    tmpl.Item(kButtonAtom, L"One", kRadioOne, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 5, 5, 60, 10);
    tmpl.Item(kButtonAtom, L"Two", kRadioTwo, BS_AUTORADIOBUTTON, 5, 20, 60, 10);
    tmpl.Item(kButtonAtom, L"Auto", kAutoCheck, BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_GROUP | WS_TABSTOP, 5, 35, 60, 10);
    tmpl.Item(kStaticAtom, L"Static text", 104, SS_LEFT, 5, 50, 60, 10);
    const HWND dialog = ::CreateDialogIndirectParamW(nullptr, tmpl.get(), Form->Handle(), DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    const HWND one = ::GetDlgItem(dialog, kRadioOne), two = ::GetDlgItem(dialog, kRadioTwo);
    const HWND autoCheck = ::GetDlgItem(dialog, kAutoCheck);
    WrapHandle<TSkinBoxH>(dialog);
    WrapHandle<TSkinRadioButton>(one);
    WrapHandle<TSkinRadioButton>(two);
    WrapHandle<TSkinCheckBox>(autoCheck);
    ::CheckRadioButton(dialog, kRadioOne, kRadioTwo, kRadioOne);

    // The short strip: unchecked 1, checked 2, without cells of their own for the mouse.
    EXPECT_EQ(AwaitCell(one, kRadioCells[1]), kRadioCells[1]);
    EXPECT_EQ(AwaitCell(two, kRadioCells[0]), kRadioCells[0]);
    EXPECT_EQ(AwaitPixel(dialog, ClientSize(dialog).cx - 3, ClientSize(dialog).cy - 3, kSkinFace), kSkinFace) << "dialog";
    const HWND text = ::GetDlgItem(dialog, 104);
    EXPECT_EQ(AwaitPixel(text, ClientSize(text).cx - 1, 0, kSkinFace), kSkinFace) << "static text background";

    for (const HWND target : {two, one, two}) {
        MouseTo(Centre(target));
        PumpFor(50);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        PumpFor(50);
        MouseButton(MOUSEEVENTF_LEFTUP);
        const HWND other = target == one ? two : one;
        EXPECT_EQ(AwaitCell(target, kRadioCells[1]), kRadioCells[1]);
        EXPECT_EQ(AwaitCell(other, kRadioCells[0]), kRadioCells[0]);
        EXPECT_EQ(::IsDlgButtonChecked(dialog, ::GetDlgCtrlID(target)), BST_CHECKED);
    }
    EXPECT_EQ(DialogClicks[kRadioTwo], 2);
    EXPECT_EQ(DialogClicks[kRadioOne], 1);

    // The check box with its text first: the cell at the right edge; Space toggles it once.
    ::SetFocus(autoCheck);
    KeyPress(VK_SPACE, false);
    KeyPress(VK_SPACE, true);
    EXPECT_TRUE(PumpUntil([&] { return DialogClicks[kAutoCheck] == 1; }, 1500));
    PumpFor(100);
    EXPECT_EQ(DialogClicks[kAutoCheck], 1);
    EXPECT_EQ(::IsDlgButtonChecked(dialog, kAutoCheck), BST_CHECKED);
    const int right = ClientSize(autoCheck).cx - kCell / 2 - 1;
    EXPECT_EQ(AwaitPixel(autoCheck, right, ClientSize(autoCheck).cy / 2, kCheckCells[4]), kCheckCells[4]);
    ::EnableWindow(two, FALSE);
    EXPECT_EQ(AwaitCell(two, kRadioCells[3]), kRadioCells[3]) << "checked, disabled";
    ::DestroyWindow(dialog);
}

TEST_F(SkinCheckBoxTest, GroupBoxEdgeAndCaptionInTheSkinsColoursWithItsLabelsOnTop)
{
    Build();
    auto* group = Form->Make<TGroupBox>();
    group->SetParent(Form);
    group->SetBounds(10, 40, 200, 100);
    group->SetCaption(L"Group");
    auto* label = Form->Make<TLabel>();
    label->SetParent(group);
    label->SetBounds(20, 50, 40, 14);
    label->SetCaption(L"Label");
    label->SetColor(RGB(0x30, 0x90, 0x30));
    Wrap<TSkinGroupBox>(group);
    const HWND hwnd = group->Handle();
    const TSkinObjects& skin = Form->SkinData->Skin();
    const std::uint32_t shadow = Rgb(ResolveColor(skin.SysColours[7], skin.SystemColors()));
    ASSERT_NE(shadow, kSkinFace);

    const SIZE size = ClientSize(hwnd);
    EXPECT_EQ(AwaitPixel(hwnd, size.cx / 2, size.cy - 2, shadow), shadow) << "bottom edge";
    EXPECT_EQ(ScreenPixel(hwnd, 1, size.cy / 2), shadow) << "left edge";
    EXPECT_EQ(ScreenPixel(hwnd, size.cx - 2, size.cy / 2), shadow) << "right edge";
    EXPECT_EQ(ScreenPixel(hwnd, 1, size.cy - 2), kSkinFace) << "the corner is rounded";
    EXPECT_EQ(ScreenPixel(hwnd, size.cx / 2, size.cy / 2), kSkinFace) << "inside";
    EXPECT_EQ(ScreenPixel(hwnd, 0, size.cy / 2), kSkinFace) << "outside the edge";
    EXPECT_EQ(ScreenPixel(hwnd, 45, 52), 0x309030u) << "the label on the box";
    // The caption interrupts the top edge: its row has the edge colour beyond the text only.
    const TWindowPixels shot = GrabWindow(hwnd);
    int top = -1;
    for (int y = 0; y < size.cy / 2 && top < 0; ++y)
        if (shot.At(size.cx - 20, y) == shadow)
            top = y;
    ASSERT_GT(top, 0);
    EXPECT_EQ(shot.At(9, top), kSkinFace) << "under the caption";
    int ink = 0;
    for (int y = 0; y < top * 2 + 2; ++y)
        for (int x = 8; x < 50; ++x)
            ink += shot.At(x, y) != kSkinFace && shot.At(x, y) != shadow;
    EXPECT_GT(ink, 10) << "caption text";
}

TEST_F(SkinCheckBoxTest, APanelTakesTheFaceColourWithoutItsMessagesAndGetsItsOwnBack)
{
    Build();
    auto* panel = Form->Make<TPanel>();
    panel->SetParent(Form);
    panel->SetBounds(150, 40, 100, 60);
    const TColor own = RGB(0x20, 0x40, 0x80);
    panel->SetColor(own);
    ASSERT_TRUE(panel->ParentBackground());
    auto* wrapper = Wrap<TSkinBox>(panel, true);
    EXPECT_EQ(panel->Color(), Form->SkinData->FaceColour());
    EXPECT_FALSE(panel->ParentBackground());
    EXPECT_EQ(::SendMessageW(panel->Handle(), SKM_QUERYSKINNED, 0, 0), 0) << "the panel answers itself";
    EXPECT_EQ(Frame->FindWrapper(panel->Handle()), wrapper);
    EXPECT_EQ(AwaitPixel(panel->Handle(), 50, 30, kSkinFace), kSkinFace);
    wrapper->DetachWrapper();
    EXPECT_EQ(panel->Color(), own);
    EXPECT_TRUE(panel->ParentBackground());
    EXPECT_EQ(AwaitPixel(panel->Handle(), 50, 30, 0x204080), 0x204080u);
}

TEST_F(SkinCheckBoxTest, SizeGripShowsTheSkinsGlyphOrTheSystemsWithoutOne)
{
    for (const bool withGrip : {true, false}) {
        SCOPED_TRACE(withGrip);
        Build(withGrip);
        const int side = ::GetSystemMetrics(SM_CXVSCROLL);
        const HWND grip = ::CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 200, 100,
                                            side, side, Form->Handle(), nullptr, nullptr, nullptr);
        ASSERT_NE(grip, nullptr);
        WrapHandle<TSkinSizer>(grip);
        ::InvalidateRect(grip, nullptr, TRUE);
        // The glyph's cell sits in the bottom-right corner; its key-coloured corner shows the face.
        const int x = side - 16, y = side - 16;
        if (withGrip) {
            EXPECT_EQ(AwaitPixel(grip, x + 8, y + 8, kGrip), kGrip);
            EXPECT_EQ(ScreenPixel(grip, x, y), kSkinFace);
        } else {
            PumpFor(200);
            EXPECT_NE(ScreenPixel(grip, 0, 0), kSkinFace) << "the system's own grip";
        }
        ::DestroyWindow(grip);
        App.FreeComponent(Form);
        PumpFor(100);
    }
}
