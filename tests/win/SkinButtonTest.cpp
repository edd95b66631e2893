// Skinned buttons on real windows under the rig: which controls the frame wraps, and the push
// button's faces, text and clicks under real mouse and keyboard input.
#include "skin/controls/SkinBitButton.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/Panel.h"

#include <algorithm>

namespace {

// The Buttons strip's frames (normal, pressed, disabled, hot, focused), each with a key-coloured
// 3 × 3 top-left corner that the transparent copy leaves out.
constexpr std::uint32_t kFaces[] = {0x10A010, 0xA01010, 0x808080, 0xA0A010, 0x1010A0};
constexpr int kFrameSide = 20;
constexpr std::uint32_t kPanel = 0x3050D0;     // the parent's colour, 0x00RRGGBB
constexpr std::uint32_t kSkinFace = 0xF0F0F0;  // the test skin's ButtonFace
constexpr std::uint32_t kHotText = 0xC80000;   // MouseOverColour2
constexpr std::uint32_t kNormalText = 0x0000C8; // NormalColour2

std::uint32_t Face(int frame) { return kFaces[frame - 1]; }

TBytes ButtonStrip()
{
    TBmpSpec bmp;
    bmp.Width = kFrameSide * 5;
    bmp.Height = kFrameSide;
    for (int y = 0; y < bmp.Height; ++y) {
        TBytes row;
        for (int x = 0; x < bmp.Width; ++x) {
            const bool corner = x % kFrameSide < 3 && y < 3;
            const std::uint32_t c = corner ? kKey : kFaces[x / kFrameSide];
            row.insert(row.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
        }
        bmp.RowsTopFirst.push_back(row);
    }
    return MakeBmp(bmp);
}

TBytes ButtonSkin()
{
    TTestSkin skin;
    skin.Extra = "[Buttons]\r\nBitmap=buttons.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\n"
                 "BottomHeight=4\r\nTrans=1\r\nTile=0\r\nNormalColour2=0,0,200\r\nMouseOverColour2=200,0,0\r\n";
    skin.ExtraFiles = {{"buttons.bmp", ButtonStrip()}};
    return TestSkinArchive(skin);
}

// A wrapper of the application's own, handed back from OnSkinControl.
class TAppButtonSkin : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
};

std::uint32_t Shadow()
{
    const COLORREF c = ::GetSysColor(COLOR_BTNSHADOW);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

POINT Centre(TWinControl* control)
{
    RECT r{};
    ::GetWindowRect(control->Handle(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

class SkinButtonTest : public TAppTest {
protected:
    // A framed form whose client is a coloured panel holding a push button and a bitmap button.
    void Build(const std::function<void(TSkinnedForm*)>& before = {})
    {
        Form = App.Make<TSkinnedForm>(ButtonSkin());
        Panel = Form->Make<TPanel>();
        Panel->SetParent(Form);
        Panel->SetBounds(0, 0, 280, 160);
        Panel->SetColor(RGB(kPanel >> 16, (kPanel >> 8) & 0xFF, kPanel & 0xFF));
        Button = Add<TButton>(L"Go", 10, 10);
        Button->OnClick = [this](TObject*) { ++Clicks; };
        BitBtn = Add<TBitBtn>(L"Bit", 10, 60);
        if (before)
            before(Form);
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
    }

    template <class T>
    T* Add(const wchar_t* caption, int x, int y, int w = 100, int h = 40)
    {
        auto* control = Form->Make<T>();
        control->SetParent(Panel);
        control->SetBounds(x, y, w, h);
        control->SetCaption(caption);
        return control;
    }

    TSkinButton* WrapperOf(TWinControl* control) const
    {
        return dynamic_cast<TSkinButton*>(Frame->FindWrapper(control->Handle()));
    }

    // The face colour of the button as it shows, once it is `colour` or the bound passed.
    std::uint32_t AwaitFace(TWinControl* control, int frame)
    {
        return AwaitPixel(control->Handle(), 8, 8, Face(frame));
    }

    // Pixels of the button's inside that are not the face colour: its text and focus rectangle.
    std::vector<POINT> InkOf(TWinControl* control, std::uint32_t face)
    {
        const TWindowPixels shot = GrabWindow(control->Handle());
        std::vector<POINT> ink;
        for (int y = 4; y < shot.Height - 4; ++y)
            for (int x = 4; x < shot.Width - 4; ++x)
                if (shot.At(x, y) != face)
                    ink.push_back({x, y});
        return ink;
    }

    bool HasColour(TWinControl* control, std::uint32_t colour)
    {
        const TWindowPixels shot = GrabWindow(control->Handle());
        return std::any_of(shot.Bits.begin(), shot.Bits.end(), [&](std::uint32_t p) { return (p & 0xFFFFFF) == colour; });
    }

    void Pump(int ms = 100) { PumpFor(ms); }

    // The panel under the buttons has a wrapper of its own.
    size_t ButtonWrappers() const
    {
        const auto& list = Frame->WrapperList();
        return static_cast<size_t>(std::count_if(list.begin(), list.end(), [](const auto& w) { return As<TSkinButton>(w.get()) != nullptr; }));
    }

    TSkinnedForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TButton* Button = nullptr;
    TBitBtn* BitBtn = nullptr;
    TWinSkinForm* Frame = nullptr;
    int Clicks = 0;
};

TEST_F(SkinButtonTest, TheFrameWrapsButtonsByTheirRulesAndFollowsControlsThatComeAndGo)
{
    TButton* off = nullptr;
    TButton* own = nullptr;
    std::vector<std::wstring> asked;
    Build([&](TSkinnedForm* form) {
        off = Add<TButton>(L"Off", 150, 10);
        off->SetTag(form->SkinData->DisableTag());
        own = Add<TButton>(L"Own", 150, 60);
        form->SkinData->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control,
                                            const std::wstring& className, TComponent*& skinned) {
            asked.push_back(className);
            if (control == own)
                skinned = MakeHandler<TAppButtonSkin>(own).release();
        };
    });
    struct TCase { TWinControl* Control; const wchar_t* Wrapper; };
    const TCase cases[] = {{Button, L"TSkinButton"}, {BitBtn, L"TSkinBitButton"}, {off, nullptr}, {own, L"TSkinButton"}};
    for (const TCase& c : cases) {
        TSkinControl* wrapper = Frame->FindWrapper(c.Control->Handle());
        EXPECT_EQ(wrapper ? wrapper->ClassName() : L"", c.Wrapper ? c.Wrapper : L"") << Narrow(c.Control->Caption());
        EXPECT_EQ(::SendMessageW(c.Control->Handle(), SKM_QUERYSKINNED, 0, 0), c.Wrapper ? 1 : 0);
    }
    EXPECT_NE(dynamic_cast<TAppButtonSkin*>(Frame->FindWrapper(own->Handle())), nullptr);
    EXPECT_NE(std::find(asked.begin(), asked.end(), L"TBITBTN"), asked.end());
    ASSERT_EQ(ButtonWrappers(), 3u);

    // A control made after the walk is wrapped at the next; a destroyed one's wrapper is dropped.
    TButton* late = Add<TButton>(L"Late", 150, 110);
    ::PostMessageW(Form->Handle(), SKM_FINISHSKIN, 0, 1000);
    EXPECT_TRUE(PumpUntil([&] { return ButtonWrappers() == 4; }, 2000));
    EXPECT_NE(WrapperOf(late), nullptr);
    Form->FreeComponent(BitBtn);
    BitBtn = nullptr;
    ::PostMessageW(Form->Handle(), SKM_FINISHSKIN, 0, 1000);
    EXPECT_TRUE(PumpUntil([&] { return ButtonWrappers() == 3; }, 2000));
    for (const auto& w : Frame->WrapperList())
        EXPECT_EQ(w->WrapperState(), TWrapperState::Attached);
}

TEST_F(SkinButtonTest, FacesFollowTheStatesUnderRealInputAndAClickFiresOnceOnRelease)
{
    Build();
    BitBtn->SetFocus();
    EXPECT_EQ(AwaitFace(Button, 1), Face(1)) << "normal";
    EXPECT_EQ(ScreenPixel(Button->Handle(), 1, 1), kSkinFace) << "key-coloured corner over the face colour";
    EXPECT_EQ(AwaitFace(BitBtn, 5), Face(5)) << "focused";
    EXPECT_TRUE(HasColour(Button, kNormalText));
    Button->SetDefault(true);
    EXPECT_EQ(AwaitFace(Button, 5), Face(5)) << "default";
    Button->SetDefault(false);

    MouseTo(Centre(Button));
    EXPECT_EQ(AwaitFace(Button, 4), Face(4)) << "hot";
    EXPECT_TRUE(HasColour(Button, kHotText));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitFace(Button, 2), Face(2)) << "pressed";
    EXPECT_EQ(Clicks, 0);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return Clicks == 1; }, 1500));
    EXPECT_EQ(AwaitFace(Button, 4), Face(4)) << "hot again after the click";
    Pump(200);
    EXPECT_EQ(Clicks, 1);

    // Disabled wins over the mouse: the disabled frame and the shadow text colour.
    Button->SetEnabled(false);
    EXPECT_EQ(AwaitFace(Button, 3), Face(3)) << "disabled under the mouse";
    MouseTo({Centre(Button).x, Centre(Button).y + 5});
    Pump();
    EXPECT_EQ(ScreenPixel(Button->Handle(), 8, 8), Face(3));
    EXPECT_TRUE(HasColour(Button, Shadow()));
    EXPECT_FALSE(HasColour(Button, kHotText));
    EXPECT_FALSE(HasColour(Button, kNormalText));
}

TEST_F(SkinButtonTest, PressLeaveAndReleaseOutsideDoesNotClick)
{
    Build();
    MouseTo(Centre(Button));
    EXPECT_EQ(AwaitFace(Button, 4), Face(4));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitFace(Button, 2), Face(2));
    MouseTo({Centre(Button).x + 150, Centre(Button).y + 100});
    EXPECT_TRUE(PumpUntil([&] { return !WrapperOf(Button)->Pressed(); }, 1500));
    MouseButton(MOUSEEVENTF_LEFTUP);
    Pump(300);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(AwaitFace(Button, 5), Face(5)) << "focused by the press, neither pressed nor hot";
}

TEST_F(SkinButtonTest, SpaceShowsThePressedFaceAndClicksOnRelease)
{
    Build();
    Button->SetFocus();
    EXPECT_EQ(AwaitFace(Button, 5), Face(5));
    KeyPress(VK_SPACE, false);
    EXPECT_EQ(AwaitFace(Button, 2), Face(2));
    EXPECT_EQ(Clicks, 0);
    KeyPress(VK_SPACE, true);
    EXPECT_TRUE(PumpUntil([&] { return Clicks == 1; }, 1500));
    EXPECT_EQ(AwaitFace(Button, 5), Face(5));
}

TEST_F(SkinButtonTest, ADoubleBarCaptionShowsTwoCentredLines)
{
    Build([this](TSkinnedForm*) { Button->SetBounds(10, 10, 120, 60); Button->SetCaption(L"AB||CDEFG"); });
    BitBtn->SetFocus();
    ASSERT_EQ(AwaitFace(Button, 1), Face(1));
    const std::vector<POINT> ink = InkOf(Button, Face(1));
    ASSERT_FALSE(ink.empty());
    // Rows with ink fall into bands separated by empty rows: one per line.
    std::vector<std::pair<int, int>> lines; // left, right of each band
    int lastRow = -10;
    for (const POINT& p : ink) {
        if (p.y > lastRow + 1)
            lines.push_back({p.x, p.x});
        lastRow = p.y;
        lines.back().first = std::min(lines.back().first, int(p.x));
        lines.back().second = std::max(lines.back().second, int(p.x));
    }
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& [left, right] : lines)
        EXPECT_NEAR((left + right) / 2.0, 60, 2.0) << left << ".." << right;
    EXPECT_LT(lines[0].second - lines[0].first, lines[1].second - lines[1].first) << "\"AB\" above \"CDEFG\"";
}

TEST_F(SkinButtonTest, Tag5555ShowsTheParentThroughTheKeyColouredParts)
{
    Build([this](TSkinnedForm*) { Button->SetTag(kTransparentTag); });
    EXPECT_EQ(AwaitPixel(Button->Handle(), 1, 1, kPanel), kPanel);
    EXPECT_NE(ScreenPixel(Button->Handle(), 8, 8), kPanel);
    EXPECT_EQ(ScreenPixel(BitBtn->Handle(), 1, 1), kSkinFace);
}

TEST_F(SkinButtonTest, SetActiveZeroLetsTheButtonPaintItselfUntilOne)
{
    Build();
    BitBtn->SetFocus();
    ASSERT_EQ(AwaitFace(Button, 1), Face(1));
    ::SendMessageW(Button->Handle(), SKM_SETACTIVE, 0, 0);
    Pump();
    Button->Invalidate();
    MouseTo(Centre(Button));
    Pump(300);
    const std::uint32_t own = ScreenPixel(Button->Handle(), 8, 8);
    EXPECT_EQ(std::count(std::begin(kFaces), std::end(kFaces), own), 0) << std::hex << own;
    EXPECT_EQ(::SendMessageW(Button->Handle(), SKM_QUERYSKINNED, 0, 0), 0) << "the control answers itself";
    // The moves it made meanwhile were the control's own: the skin shows it untouched again.
    ::SendMessageW(Button->Handle(), SKM_SETACTIVE, 1, 0);
    EXPECT_EQ(AwaitFace(Button, 1), Face(1));
}

TEST_F(SkinButtonTest, NoFocusRectOptionDrawsNoFocusRectangle)
{
    TPixelRect drawn;
    for (const bool noFocusRect : {false, true}) {
        SCOPED_TRACE(noFocusRect);
        Build([&](TSkinnedForm* form) {
            TSkinOptions options = form->SkinData->Options();
            if (noFocusRect)
                options.Include(TSkinOption::xoNoFocusRect);
            form->SkinData->SetOptions(options);
        });
        Button->SetFocus();
        ASSERT_EQ(AwaitFace(Button, 5), Face(5));
        if (!noFocusRect)
            drawn = WrapperOf(Button)->LastFocusRect();
        ASSERT_FALSE(drawn.IsEmpty());
        const TWindowPixels shot = GrabWindow(Button->Handle());
        int dotted = 0;
        for (int x = drawn.Left; x < drawn.Right; ++x)
            dotted += shot.At(x, drawn.Top) != Face(5);
        EXPECT_EQ(dotted > 0, !noFocusRect);
        App.FreeComponent(Form);
        Pump();
    }
}

TEST_F(SkinButtonTest, ManyPaintsAndHoverChangesKeepTheEngineOwnersAsTheyWere)
{
    Build();
    const size_t procs = TMessageLink::FreeProcCount();
    const size_t wrappers = Frame->WrapperList().size();
    const size_t gdi = GdiObjectCount();
    TSkinButton* wrapper = WrapperOf(Button);
    for (int round = 0; round < 10; ++round) {
        // A window the toolkit did not make, wrapped through its procedure, then destroyed.
        const HWND bare = ::CreateWindowExW(0, L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 10,
                                            100, 40, Panel->Handle(), nullptr, nullptr, nullptr);
        ASSERT_NE(bare, nullptr);
        TSkinControl* handled = Frame->RegisterWrapper(MakeHandler<TSkinButton>());
        ASSERT_TRUE(handled->AttachHandle(bare, Form->SkinData, Frame));
        EXPECT_EQ(TMessageLink::FreeProcCount(), procs - 1);
        EXPECT_EQ(::SendMessageW(bare, SKM_QUERYSKINNED, 0, 0), 1);
        EXPECT_EQ(AwaitPixel(bare, 8, 8, Face(1)), Face(1));
        for (int i = 0; i < 1000; ++i) {
            wrapper->PaintControl();
            ::SendMessageW(Button->Handle(), WM_PAINT, 0, 0);
        }
        for (int i = 0; i < 100; ++i) {
            ::SendMessageW(Button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            EXPECT_TRUE(wrapper->MouseOver());
            ::SendMessageW(Button->Handle(), CM_MOUSELEAVE, 0, 0);
        }
        ::DestroyWindow(bare);
        EXPECT_EQ(handled->WrapperState(), TWrapperState::WindowDestroyed);
        Frame->PurgeWrappers();
        EXPECT_EQ(Frame->WrapperList().size(), wrappers);
    }
    EXPECT_EQ(TMessageLink::FreeProcCount(), procs);
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_FALSE(wrapper->MouseOver());
}
