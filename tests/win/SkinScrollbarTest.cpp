// Skinned scroll bars and status bars on real windows under the rig: the panels over a list
// box's own bar show the skin's frames part by part, scroll the list under real mouse input
// through the system, and follow the list; status bar panels by bevel, with their texts.
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/WScrollbar.h"
#include "tests/win/SkinWindowFixture.h"
#include "toolkit/ListBox.h"
#include "toolkit/StatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kCell = 17;
// Frame k (1-based) of every test strip has its own colour, 0x00RRGGBB.
std::uint32_t BarColour(int k) { return 0x0A0000u * static_cast<std::uint32_t>(k) + 0x00C040u; }
std::uint32_t TrackColour(int k) { return 0x2020E0u + 0x200000u * static_cast<std::uint32_t>(k); }
std::uint32_t ThumbColour(int k) { return 0x00E000u + 0x300000u * static_cast<std::uint32_t>(k) + 0x11u; }
std::uint32_t EdgeColour(int k) { return 0x404000u + 0x000040u * static_cast<std::uint32_t>(k); }
constexpr std::uint32_t kStatusText = 0xFFFF00; // NormalColour2

std::vector<std::uint32_t> Colours(int count, std::uint32_t (*colour)(int))
{
    std::vector<std::uint32_t> out;
    for (int k = 1; k <= count; ++k)
        out.push_back(colour(k));
    return out;
}

TBytes ScrollSkin()
{
    TTestSkin skin;
    skin.Extra = "[Scrollbar]\r\nImage=bar.bmp\r\n[VertScroll]\r\nImage=vtrack.bmp\r\n[VertScrollThumb]\r\n"
                 "Image=vthumb.bmp\r\nTopHeight=3\r\nBottomHeight=3\r\n[StatusBarEdges]\r\nImage=edges.bmp\r\n"
                 "LeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\nNormalColour2=255,255,0\r\n";
    skin.ExtraFiles = {{"bar.bmp", SolidBmp(kCell, kCell, Colours(23, BarColour), false)},
                       {"vtrack.bmp", SolidBmp(kCell, kCell, Colours(4, TrackColour), false)},
                       {"vthumb.bmp", SolidBmp(kCell, 20, Colours(3, ThumbColour), false)},
                       {"edges.bmp", SolidBmp(12, 12, Colours(3, EdgeColour), false)}};
    return TestSkinArchive(skin);
}

SCROLLBARINFO NativeBar(HWND hwnd)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ::GetScrollBarInfo(hwnd, OBJID_VSCROLL, &info);
    return info;
}

// Steps run by a thread timer one after another, also while the system's scroll loop holds the
// thread (it dispatches timers): the only way to look at a bar while its button is down.
std::vector<std::function<void()>>* gSteps = nullptr;
size_t gNextStep = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!gSteps || gNextStep >= gSteps->size()) {
        ::KillTimer(nullptr, id);
        return;
    }
    (*gSteps)[gNextStep++]();
}

POINT Centre(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

class SkinScrollbarTest : public TAppTest {
protected:
    void Build(size_t lines)
    {
        Form = App.Make<TSkinnedForm>(ScrollSkin());
        List = Form->Make<TListBox>();
        List->SetParent(Form);
        List->SetBounds(10, 10, 150, 110);
        AddLines(lines);
        Status = Form->Make<TStatusBar>();
        Status->SetParent(Form);
        Status->SetBounds(0, 139, 280, 21);
        Status->SetSizeGrip(false);
        Status->AddPanel(70, L"Port");
        Status->AddPanel(70);
        Status->AddPanel(70, L"\tMid");
        Frame = ShowSkinned(Form);
        ASSERT_NE(Frame, nullptr);
        Wrapper = dynamic_cast<TSkinScrollbar*>(Frame->FindWrapper(List->Handle()));
        ASSERT_NE(Wrapper, nullptr);
        Bar = Wrapper->VerticalBar();
        ASSERT_NE(Bar, nullptr);
    }

    void AddLines(size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            List->AddItem(L"line " + std::to_wstring(List->Count()));
    }

    // The panel lies exactly over the list's own bar and shows its thumb where the system has it.
    void ExpectPanelOverNativeBar()
    {
        const SCROLLBARINFO info = NativeBar(List->Handle());
        RECT panel{};
        ::GetWindowRect(Bar->Handle(), &panel);
        EXPECT_TRUE(::IsWindowVisible(Bar->Handle()));
        EXPECT_TRUE(::EqualRect(&panel, &info.rcScrollBar))
            << panel.left << "," << panel.top << " " << panel.right << "," << panel.bottom;
        EXPECT_EQ(Bar->Layout().Thumb.Top, info.xyThumbTop);
        EXPECT_EQ(Bar->Layout().Thumb.Bottom, info.xyThumbBottom);
    }

    POINT BarPoint(int y) const
    {
        RECT r{};
        ::GetWindowRect(Bar->Handle(), &r);
        return {r.left + kCell / 2, r.top + y};
    }

    // Presses at a point of the bar and runs the steps every 40 ms while the button is down;
    // the last step must let go.
    void PressAndRun(POINT at, std::vector<std::function<void()>> steps)
    {
        MouseTo(at);
        PumpFor(100);
        gSteps = &steps;
        gNextStep = 0;
        ::SetTimer(nullptr, 0, 40, RunStep);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(PumpUntil([&] { return gNextStep == steps.size(); }, 4000));
        PumpFor(150);
        gSteps = nullptr;
    }

    TSkinnedForm* Form = nullptr;
    TListBox* List = nullptr;
    TStatusBar* Status = nullptr;
    TWinSkinForm* Frame = nullptr;
    TSkinScrollbar* Wrapper = nullptr;
    TWScrollbar* Bar = nullptr;
};

TEST_F(SkinScrollbarTest, PanelPartsShowTheSkinFramesExactly)
{
    Build(20);
    ExpectPanelOverNativeBar();
    const TScrollBarLayout& l = Bar->Layout();
    const int height = l.SecondArrow.Bottom;
    ASSERT_GT(l.Thumb.Height(), kCell) << "a thumb long enough to carry the grip";
    struct TSample { const char* Part; int Y; std::uint32_t Colour; };
    const TSample normal[] = {
        {"up arrow", 2, BarColour(scroll_frame::kUp)},
        {"down arrow", height - 2, BarColour(scroll_frame::kDown)},
        {"track below the thumb", l.Thumb.Bottom + 2, TrackColour(1)},
        {"thumb end", l.Thumb.Top + 1, ThumbColour(1)},
        {"grip", (l.Thumb.Top + l.Thumb.Bottom) / 2, BarColour(scroll_frame::kGripVertical)},
    };
    for (const TSample& s : normal)
        EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, s.Y, s.Colour), s.Colour) << s.Part;

    // Under the mouse: the hot arrow, the hot thumb with its hot grip.
    MouseTo(BarPoint(height - 4));
    EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, height - 2, BarColour(scroll_frame::kDown + scroll_frame::kHot)),
              BarColour(scroll_frame::kDown + scroll_frame::kHot));
    EXPECT_EQ(ScreenPixel(Bar->Handle(), 8, 2), BarColour(scroll_frame::kUp));
    MouseTo(BarPoint(l.Thumb.Top + 1));
    EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, l.Thumb.Top + 1, ThumbColour(3)), ThumbColour(3));
    EXPECT_EQ(ScreenPixel(Bar->Handle(), 8, (l.Thumb.Top + l.Thumb.Bottom) / 2), BarColour(scroll_frame::kGripVertical + 2));
    MouseTo({50, 700});
    EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, l.Thumb.Top + 1, ThumbColour(1)), ThumbColour(1)) << "the mouse left";

    // A disabled list: disabled arrows and track, no thumb.
    List->SetEnabled(false);
    EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, 2, BarColour(scroll_frame::kUp + scroll_frame::kDisabled)),
              BarColour(scroll_frame::kUp + scroll_frame::kDisabled));
    EXPECT_EQ(ScreenPixel(Bar->Handle(), 8, height / 2), TrackColour(3));
    List->SetEnabled(true);
    EXPECT_EQ(AwaitPixel(Bar->Handle(), 8, 2, BarColour(scroll_frame::kUp)), BarColour(scroll_frame::kUp));
}

TEST_F(SkinScrollbarTest, RealClicksScrollThroughTheSystemAndThePressedPartsShow)
{
    Build(200);
    const int itemHeight = List->ItemHeight();
    const int height = Bar->Layout().SecondArrow.Bottom;
    ASSERT_EQ(List->TopIndex(), 0);

    // An arrow: pressed face while held, one line on a short click.
    std::uint32_t held = 0;
    PressAndRun(BarPoint(height - 4), {[&] { held = ScreenPixel(Bar->Handle(), 8, height - 2); },
                                       [&] { MouseButton(MOUSEEVENTF_LEFTUP); }});
    EXPECT_EQ(held, BarColour(scroll_frame::kDown + scroll_frame::kPressed));
    EXPECT_EQ(List->TopIndex(), 1);
    EXPECT_EQ(Bar->PressedPart(), TScrollPart::None);
    ExpectPanelOverNativeBar();

    // The track below the thumb: a page, pressed track while held.
    RECT client{};
    ::GetClientRect(List->Handle(), &client);
    const int page = client.bottom / itemHeight;
    const int below = Bar->Layout().Thumb.Bottom + 10;
    PressAndRun(BarPoint(below), {[&] { held = ScreenPixel(Bar->Handle(), 8, below); },
                                  [&] { MouseButton(MOUSEEVENTF_LEFTUP); }});
    EXPECT_EQ(held, TrackColour(2));
    EXPECT_EQ(List->TopIndex(), 1 + page);
    ExpectPanelOverNativeBar();

    // The thumb dragged 30 pixels down: it follows the cursor while held, the list follows it.
    const TPixelRect thumb = Bar->Layout().Thumb;
    const POINT grab = BarPoint(thumb.Top + 2);
    int dragged = 0;
    PressAndRun(grab, {[&] { MouseTo({grab.x, grab.y + 15}); },
                       [&] { MouseTo({grab.x, grab.y + 30}); },
                       [&] {
                           dragged = Bar->Layout().Thumb.Top;
                           held = ScreenPixel(Bar->Handle(), 8, dragged + 1);
                       },
                       [&] { MouseButton(MOUSEEVENTF_LEFTUP); }});
    EXPECT_EQ(dragged, thumb.Top + 30);
    EXPECT_EQ(held, ThumbColour(2));
    EXPECT_GT(List->TopIndex(), 1 + page + 10);
    ExpectPanelOverNativeBar();
}

TEST_F(SkinScrollbarTest, PanelsFollowLinesResizingWheelAndSwitchingOff)
{
    Build(3);
    EXPECT_FALSE(::IsWindowVisible(Bar->Handle())) << "nothing to scroll: the panel steps aside";
    AddLines(50);
    PumpFor(50);
    ExpectPanelOverNativeBar();
    // The log adds at the end and selects the new line, which scrolls.
    for (int i = 0; i < 30; ++i) {
        AddLines(1);
        List->SetItemIndex(static_cast<int>(List->Count()) - 1);
    }
    ExpectPanelOverNativeBar();
    EXPECT_EQ(Bar->Layout().Thumb.Bottom, Bar->Layout().SecondArrow.Top) << "thumb at the end";

    List->SetBounds(10, 10, 200, 130);
    PumpFor(50);
    ExpectPanelOverNativeBar();
    const int top = List->TopIndex();
    MouseTo(Centre(List->Handle()));
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(WHEEL_DELTA);
    ::SendInput(1, &wheel, sizeof(wheel));
    EXPECT_TRUE(PumpUntil([&] { return List->TopIndex() < top; }, 1500));
    ExpectPanelOverNativeBar();

    // Skin off: the list's own bar shows; on again: the panel is back over it.
    ::SendMessageW(List->Handle(), SKM_SETACTIVE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(Bar->Handle()));
    ::SendMessageW(List->Handle(), SKM_SETACTIVE, 1, 0);
    ExpectPanelOverNativeBar();

    List->Clear();
    PumpFor(50);
    EXPECT_FALSE(::IsWindowVisible(Bar->Handle())) << "no longer overflowing";
    EXPECT_EQ(::SendMessageW(Bar->Handle(), SKM_QUERYSKINNED, 0, 0), 1) << "no frame wraps the panel itself";
}

TEST_F(SkinScrollbarTest, StatusBarPanelsByBevelWithTextsAndSimpleText)
{
    Build(3);
    auto* wrapper = dynamic_cast<TSkinStatusBar*>(Frame->FindWrapper(Status->Handle()));
    ASSERT_NE(wrapper, nullptr);
    const HWND bar = Status->Handle();
    ::SendMessageW(bar, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"Up"));
    ::SendMessageW(bar, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"\tMid"));
    PumpFor(100);
    const int frames[] = {status_frame::kLowered, status_frame::kRaised, status_frame::kNone};
    for (int i = 0; i < 3; ++i) {
        RECT r{};
        ::SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(AwaitPixel(bar, r.left + 3, r.top + 1, EdgeColour(frames[i])), EdgeColour(frames[i])) << i;
    }
    ASSERT_EQ(wrapper->Panels().size(), 3u);
    EXPECT_EQ(wrapper->Panels()[2].Alignment, TPanelAlignment::Centre);
    EXPECT_EQ(wrapper->Panels()[2].Text, L"Mid");

    // The texts show in the skin's colour and stay readable from the bar as before.
    auto textPixels = [&](int from, int to) {
        const TWindowPixels shot = GrabWindow(bar);
        int count = 0;
        for (int y = 0; y < shot.Height; ++y)
            for (int x = from; x < std::min(to, shot.Width); ++x)
                count += shot.At(x, y) == kStatusText;
        return count;
    };
    EXPECT_GT(textPixels(0, 70), 0) << "\"Port\"";
    Status->Panels(0).SetText(L"");
    PumpFor(100);
    EXPECT_EQ(textPixels(0, 68), 0) << "an empty panel";
    Status->Panels(0).SetText(L"Read 12");
    PumpFor(100);
    EXPECT_GT(textPixels(0, 70), 0);
    wchar_t text[32]{};
    ::SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Read 12");

    // A simple bar: one lowered frame over the whole bar with its one text.
    ::SendMessageW(bar, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"Simple"));
    PumpFor(100);
    RECT client{};
    ::GetClientRect(bar, &client);
    EXPECT_EQ(AwaitPixel(bar, 180, 1, EdgeColour(status_frame::kLowered)), EdgeColour(status_frame::kLowered));
    EXPECT_GT(textPixels(0, client.right), 0);
    ASSERT_EQ(wrapper->Panels().size(), 1u);
    EXPECT_EQ(wrapper->Panels()[0].Text, L"Simple");
}
