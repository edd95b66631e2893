// Skinned combo boxes, edits and up-downs on real windows under the rig: faces by state sampled
// against the test skin's images, and the controls' own behaviour under real mouse and keys.
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/pixels/PixelBuffer_win.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Panel.h"
#include "toolkit/SpinEdit.h"

#include <algorithm>
#include <cstdio>

namespace {

// Frame colours (0x00RRGGBB) of the test strips, frames 1 to 4 (normal, pressed, disabled, hot).
constexpr std::uint32_t kEdge[] = {0x208020, 0x802020, 0x707070, 0x202080};
constexpr std::uint32_t kButton[] = {0x40C040, 0xC04040, 0xA0A0A0, 0x4040C0};
constexpr std::uint32_t kArrow[] = {0x006000, 0x600000, 0x505050, 0x000060, 0x303030};
constexpr std::uint32_t kUpDown[] = {0x60E060, 0xE06060, 0xB0B0B0, 0x6060E0, 0x50D050, 0xD05050, 0xA0A0A8, 0x5050D0};
constexpr std::uint32_t kUpDownGlyph[] = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606, 0x070707, 0x080808};
constexpr std::uint32_t kShadow = 0x0A141E;

// Frames of frameWidth × frameHeight in the key colour, each with a solid centred square.
TBytes GlyphStrip(int frameWidth, int frameHeight, const std::vector<std::uint32_t>& colours, int square)
{
    TBmpSpec bmp;
    bmp.Width = frameWidth * static_cast<int>(colours.size());
    bmp.Height = frameHeight;
    const int x0 = (frameWidth - square) / 2, y0 = (frameHeight - square) / 2;
    for (int y = 0; y < bmp.Height; ++y) {
        TBytes row;
        for (int x = 0; x < bmp.Width; ++x) {
            const int fx = x % frameWidth;
            const bool in = fx >= x0 && fx < x0 + square && y >= y0 && y < y0 + square;
            const std::uint32_t c = in ? colours[static_cast<size_t>(x / frameWidth)] : kKey;
            row.insert(row.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
        }
        bmp.RowsTopFirst.push_back(row);
    }
    return MakeBmp(bmp);
}

// With a sunken edge the skin composes edge, button and arrow in one strip; without, the
// button and arrow are painted as pieces.
TBytes ComboSkin(bool withEdge)
{
    TTestSkin skin;
    skin.Buttons = "ButtonShadow=10,20,30\r\n" + skin.Buttons; // still in [Colours]
    skin.Extra = "[ComboButton]\r\nImage=combo.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
                 "Trans=1\r\n[ExtraImages]\r\nImage=extra.bmp\r\nTrans=1\r\n"
                 "[UpDown.Vert]\r\nImage=updownv.bmp\r\nGlyphImage=updownvg.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\n"
                 "TopHeight=3\r\nBottomHeight=3\r\n";
    skin.ExtraFiles = {{"combo.bmp", SolidBmp(18, 21, {std::begin(kButton), std::end(kButton)}, false)},
                       {"extra.bmp", GlyphStrip(16, 16, {std::begin(kArrow), std::end(kArrow)}, 6)},
                       {"updownv.bmp", SolidBmp(17, 11, {std::begin(kUpDown), std::end(kUpDown)}, false)},
                       {"updownvg.bmp", GlyphStrip(9, 9, {std::begin(kUpDownGlyph), std::end(kUpDownGlyph)}, 3)}};
    if (withEdge) {
        skin.Extra += "[SunkEdge]\r\nImage=sunkedge.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\n";
        skin.ExtraFiles.push_back({"sunkedge.bmp", SolidBmp(12, 12, {std::begin(kEdge), std::end(kEdge)}, false)});
    }
    return TestSkinArchive(skin);
}

POINT ScreenOf(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    return p;
}

SIZE WindowSize(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Click(POINT screen)
{
    MouseTo(screen);
    PumpFor(50);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(50);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
}

void Key(WORD vk, WORD modifier = 0)
{
    KeyStroke(vk, modifier);
    PumpFor(100);
}

} // namespace

class SkinComboEditTest : public TAppTest {
protected:
    void Build(bool withEdge = true)
    {
        Form = App.Make<TSkinnedForm>(ComboSkin(withEdge));
        Panel = Form->Make<TPanel>();
        Panel->SetParent(Form);
        Panel->SetBounds(0, 0, 280, 160);
        Combo = Form->Make<TComboBox>();
        Combo->SetParent(Panel);
        Combo->SetBounds(10, 10, 120, 21);
        Combo->SetItems({L"1200", L"2400", L"4800", L"9600"});
        Combo->SetItemIndex(0);
        Combo->OnChange = [this](TObject*) { ++Changes; };
        Edit = Form->Make<TEdit>();
        Edit->SetParent(Panel);
        Edit->SetBounds(150, 10, 100, 21);
        Spin = Form->Make<TSpinEdit>();
        Spin->SetParent(Panel);
        Spin->SetBounds(150, 60, 60, 34);
        Spin->SetRange(0, 10);
        Spin->SetValue(5);
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
        // Discovery comes separately; the wrappers are attached as it will attach them.
        for (TWinControl* c : std::initializer_list<TWinControl*>{Combo, Edit, Spin}) {
            THandlerPtr<TSkinControl> w = c == Combo ? THandlerPtr<TSkinControl>(MakeHandler<TSkinComBox>(c))
                                                     : THandlerPtr<TSkinControl>(MakeHandler<TSkinEdit>(c));
            ASSERT_TRUE(Frame->RegisterWrapper(std::move(w))->Attach(Frame, Form->SkinData, false));
        }
        ComboWrapper = dynamic_cast<TSkinComBox*>(Frame->FindWrapper(Combo->Handle()));
        ASSERT_NE(ComboWrapper, nullptr);
        ASSERT_TRUE(SkinGetComboBoxInfo(Combo->Handle(), &Info));
    }

    // The frame the box shows, read from its left edge; 0 when no edge colour is there.
    int EdgeFrame(HWND combo)
    {
        const std::uint32_t seen = ScreenPixel(combo, 0, WindowSize(combo).cy / 2);
        const auto at = std::find(std::begin(kEdge), std::end(kEdge), seen);
        return at == std::end(kEdge) ? 0 : static_cast<int>(at - std::begin(kEdge)) + 1;
    }

    // Waits for the edge of frame, then checks the button and its arrow in the same frame.
    void ExpectComboFrame(int frame, const char* what)
    {
        const HWND h = Combo->Handle();
        PumpUntil([&] { return EdgeFrame(h) == frame; }, 1500);
        EXPECT_EQ(EdgeFrame(h), frame) << what;
        const SIZE size = WindowSize(h);
        EXPECT_EQ(ScreenPixel(h, size.cx - 2, 1), kButton[frame - 1]) << what;
        const TWindowPixels shot = GrabWindow(h);
        bool arrow = false;
        for (int x = Info.rcButton.left; x < size.cx; ++x)
            for (int y = 0; y < size.cy; ++y)
                arrow = arrow || shot.At(x, y) == kArrow[frame - 1];
        EXPECT_TRUE(arrow) << what;
    }

    POINT ButtonCentre() const
    {
        return ScreenOf(Combo->Handle(), (Info.rcButton.left + Info.rcButton.right) / 2,
                        (Info.rcButton.top + Info.rcButton.bottom) / 2);
    }

    bool Dropped() const { return ::SendMessageW(Combo->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

    TSkinnedForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TComboBox* Combo = nullptr;
    TEdit* Edit = nullptr;
    TSpinEdit* Spin = nullptr;
    TWinSkinForm* Frame = nullptr;
    TSkinComBox* ComboWrapper = nullptr;
    COMBOBOXINFO Info{};
    int Changes = 0;
};

TEST_F(SkinComboEditTest, ComboFacesFollowRealMouseAndAClickedItemReachesTheBoxOnce)
{
    Build();
    const RECT& b = Info.rcButton;
    const RECT& i = Info.rcItem;
    std::printf("GetComboBoxInfo: window %ldx%ld, button (%ld,%ld)-(%ld,%ld) state %#lx, item (%ld,%ld)-(%ld,%ld)\n",
                WindowSize(Combo->Handle()).cx, WindowSize(Combo->Handle()).cy, b.left, b.top, b.right, b.bottom,
                Info.stateButton, i.left, i.top, i.right, i.bottom);
    EXPECT_NE(dynamic_cast<TComboxScrollBar*>(Frame->FindWrapper(Info.hwndList)), nullptr);
    // A drop-down box's list lies outside it: no panel is laid over the box itself.
    EXPECT_FALSE(std::any_of(Frame->WrapperList().begin(), Frame->WrapperList().end(),
                             [&](const auto& w) { return dynamic_cast<TSkinScrollbarH*>(w.get()) != nullptr; }));

    ExpectComboFrame(1, "normal");
    EXPECT_NE(ScreenPixel(Combo->Handle(), (i.left + i.right) / 2, (i.top + i.bottom) / 2), kEdge[0]) << "the edit shows";
    MouseTo(ScreenOf(Combo->Handle(), i.left + 5, (i.top + i.bottom) / 2));
    ExpectComboFrame(4, "hot over the edit part");
    MouseTo(ButtonCentre());
    ExpectComboFrame(4, "hot over the button");
    MouseTo({5, 700});
    ExpectComboFrame(1, "the mouse left");

    MouseTo(ButtonCentre());
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return Dropped(); }, 1500));
    ExpectComboFrame(2, "dropped down");
    RECT item{};
    ::SendMessageW(Info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    Click(ScreenOf(Info.hwndList, item.left + 5, (item.top + item.bottom) / 2));
    EXPECT_TRUE(PumpUntil([&] { return !Dropped(); }, 1500));
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Combo->Text(), L"4800");
    EXPECT_EQ(Changes, 1);
    MouseTo({5, 700});
    ExpectComboFrame(4, "focused once chosen");

    Edit->SetFocus();
    ExpectComboFrame(1, "focus elsewhere");
    ::EnableWindow(Combo->Handle(), FALSE);
    ExpectComboFrame(3, "disabled");
    MouseTo(ButtonCentre());
    PumpFor(200);
    ExpectComboFrame(3, "disabled whatever the mouse does");
    ::EnableWindow(Combo->Handle(), TRUE);
    ExpectComboFrame(4, "hot again");
    MouseTo({5, 700});

    // Switched off, the box paints itself; switched on, the skin comes back.
    ::SendMessageW(Combo->Handle(), SKM_SETACTIVE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return EdgeFrame(Combo->Handle()) == 0; }, 1500));
    ::SendMessageW(Combo->Handle(), SKM_SETACTIVE, 1, 0);
    ExpectComboFrame(1, "skin on again");
}

TEST_F(SkinComboEditTest, KeysOpenChooseAndCloseTheListAndTypingReachesTheBox)
{
    Build();
    Combo->SetFocus();
    ExpectComboFrame(4, "focused");
    Key(VK_DOWN, VK_MENU);
    EXPECT_TRUE(PumpUntil([&] { return Dropped(); }, 1500)) << "Alt+Down";
    ExpectComboFrame(2, "opened by keys");
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !Dropped(); }, 1500)) << "Enter";
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Changes, 1);
    ExpectComboFrame(4, "closed, focused");

    Key(VK_F4);
    EXPECT_TRUE(PumpUntil([&] { return Dropped(); }, 1500)) << "F4";
    Key(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !Dropped(); }, 1500)) << "Escape";
    EXPECT_EQ(Combo->ItemIndex(), 1);

    Key(VK_END);
    Key('7');
    EXPECT_EQ(Combo->Text(), L"24007");
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_GE(Changes, 2);
}

TEST_F(SkinComboEditTest, BareBoxesGetTheButtonPiecesAndABoxWithoutButtonStaysItsOwn)
{
    Build(false);
    auto make = [&](DWORD style, int y) {
        const HWND h = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | style, 10, y, 100, 120,
                                         Panel->Handle(), nullptr, nullptr, nullptr);
        ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
        ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"two"));
        ::SendMessageW(h, CB_SETCURSEL, 0, 0);
        TSkinControl* w = Frame->RegisterWrapper(MakeHandler<TSkinComBox>());
        EXPECT_TRUE(w->AttachHandle(h, Form->SkinData, Frame));
        return h;
    };
    const HWND list = make(CBS_DROPDOWNLIST, 60);
    const HWND simple = make(CBS_SIMPLE, 100);
    PumpFor(200);
    COMBOBOXINFO info{};
    ASSERT_TRUE(SkinGetComboBoxInfo(list, &info));
    const SIZE size = WindowSize(list);
    const int part = ::GetSystemMetrics(SM_CXHSCROLL) + 2;
    EXPECT_EQ(AwaitPixel(list, size.cx - 3, 3, kButton[0]), kButton[0]) << "the button part";
    EXPECT_EQ(ScreenPixel(list, size.cx - 2 - part, size.cy / 2), kButton[0]) << "as wide as an arrow and 2";
    EXPECT_NE(ScreenPixel(list, size.cx - 3 - part, size.cy / 2), kButton[0]);
    EXPECT_NE(ScreenPixel(list, 1, size.cy / 2), kButton[0]) << "no edge without SunkEdge";
    const TWindowPixels shot = GrabWindow(simple);
    EXPECT_TRUE(std::none_of(shot.Bits.begin(), shot.Bits.end(), [](std::uint32_t p) {
        return std::find(std::begin(kButton), std::end(kButton), p & 0xFFFFFF) != std::end(kButton);
    })) << "a simple box has no button to paint";

    // A drop-down list opens from a real click anywhere and takes an item by keys.
    Click(ScreenOf(list, 10, size.cy / 2));
    EXPECT_TRUE(PumpUntil([&] { return ::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 1500));
    EXPECT_EQ(AwaitPixel(list, size.cx - 3, 3, kButton[1]), kButton[1]) << "pressed while open";
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0), 0);
    ::DestroyWindow(list);
    ::DestroyWindow(simple);
}

TEST_F(SkinComboEditTest, EditBorderPrintingAndPaintingIntoAGivenContext)
{
    Build();
    const HWND h = Edit->Handle();
    const SIZE size = WindowSize(h);
    EXPECT_EQ(AwaitPixel(h, 0, 0, kShadow), kShadow);
    for (const POINT p : {POINT{size.cx - 1, size.cy / 2}, POINT{size.cx / 2, size.cy - 1}})
        EXPECT_EQ(ScreenPixel(h, p.x, p.y), kShadow);
    for (const POINT p : {POINT{1, 1}, POINT{2, size.cy / 2}, POINT{size.cx - 3, size.cy - 3}})
        EXPECT_EQ(ScreenPixel(h, p.x, p.y), 0xFFFFFFu);

    Edit->SetFocus();
    for (const WORD vk : {WORD('A'), WORD('B')})
        Key(vk);
    EXPECT_EQ(Edit->Text(), L"ab");
    EXPECT_EQ(ScreenPixel(h, 0, 0), kShadow) << "typing keeps the border";

    // Printed into a context of another colour: the border only with the frame asked for.
    TPixelBuffer print = CreateDibBuffer(size.cx, size.cy);
    const win::BitmapDC dc(DibHandle(print));
    // Without the frame the client sits at the context's origin, with no border over it.
    struct TCase { UINT Msg; LPARAM Flags; std::uint32_t Corner; bool Painted; LRESULT Result; };
    const TCase cases[] = {{WM_PRINT, PRF_NONCLIENT | PRF_CLIENT, kShadow, true, 0},
                           {WM_PRINT, PRF_CLIENT, 0xFFFFFF, true, 0},
                           {SKM_PAINTCONTROLTO, kSkinSignature, 0xFFFFFF, true, kSkinSignature},
                           {SKM_PAINTCONTROLTO, 0x1234, 0x123456, false, 0}};
    for (const TCase& c : cases) {
        print.Fill(0xFF123456);
        EXPECT_EQ(::SendMessageW(h, c.Msg, reinterpret_cast<WPARAM>(dc.get()), c.Flags), c.Result) << c.Flags;
        ::GdiFlush();
        const TPixelView v = print.View();
        EXPECT_EQ(v.At(0, 0) & 0xFFFFFF, c.Corner) << c.Msg << " " << c.Flags;
        EXPECT_EQ(std::any_of(v.Bits, v.Bits + v.Width * v.Height, [](std::uint32_t p) { return (p & 0xFFFFFF) != 0x123456; }),
                  c.Painted) << c.Msg << " " << c.Flags;
    }
}

TEST_F(SkinComboEditTest, UpDownFacesFollowEachHalfAndARealClickStepsOnce)
{
    Build();
    const HWND ud = Spin->UpDownHandle();
    auto* wrapper = dynamic_cast<TSkinUpDown*>(Frame->FindWrapper(ud));
    ASSERT_NE(wrapper, nullptr);
    const SIZE size = WindowSize(ud);
    const POINT first{size.cx / 2, size.cy / 4}, second{size.cx / 2, size.cy * 3 / 4};
    // Face pixels a little inside each half's corner, beside the glyph.
    auto faces = [&](int a, int b, const char* what) {
        EXPECT_EQ(AwaitPixel(ud, 1, 1, kUpDown[a - 1]), kUpDown[a - 1]) << what;
        EXPECT_EQ(AwaitPixel(ud, 1, size.cy - 2, kUpDown[b - 1]), kUpDown[b - 1]) << what;
    };
    faces(1, 5, "normal");
    EXPECT_EQ(ScreenPixel(ud, first.x, size.cy / 2 / 2), kUpDownGlyph[0]) << "glyph centred";
    MouseTo(ScreenOf(ud, second.x, second.y));
    faces(1, 8, "hot second");
    MouseTo(ScreenOf(ud, first.x, first.y));
    faces(4, 5, "hot first");
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    faces(2, 5, "pressed first");
    EXPECT_TRUE(PumpUntil([&] { return Spin->Value() == 6; }, 1000));
    MouseButton(MOUSEEVENTF_LEFTUP);
    faces(4, 5, "released");
    PumpFor(300);
    EXPECT_EQ(Spin->Value(), 6) << "one step per click";
    Click(ScreenOf(ud, second.x, second.y));
    EXPECT_TRUE(PumpUntil([&] { return Spin->Value() == 5; }, 1000));
    MouseTo({5, 700});
    ::EnableWindow(ud, FALSE);
    faces(3, 7, "disabled");
    ::EnableWindow(ud, TRUE);
    faces(1, 5, "enabled again");
}
