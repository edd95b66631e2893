// Caption buttons on real windows under the rig, driven by real mouse input: placement by
// alignment, the hot, pressed and disabled looks, what a click does, and the hint.
#include "tests/win/SkinWindowFixture.h"

namespace {

// The close.bmp frames: normal, pressed, hot, disabled.
constexpr std::uint32_t kNormal = 0x00C000, kPressed = 0xC00000, kHot = 0xC0C000, kDisabled = 0x404040;

std::string Button(int n, int action, int align, int x, int y = 5)
{
    return "[BUTTON" + std::to_string(n) + "]\r\nAction=" + std::to_string(action) + "\r\nAlign=" +
        std::to_string(align) + "\r\nXcoord=" + std::to_string(x) + "\r\nYcoord=" + std::to_string(y) +
        "\r\nVisibility=0\r\nButtonImage=close.bmp\r\nframe=4\r\n";
}

std::uint32_t PixelAt(TWinSkinForm* frame, size_t index)
{
    const TPixelRect& b = frame->CaptionButtons()[index].Bounds;
    return ScreenPixel(frame->WindowHandle(), b.Left + 3, b.Top + 3);
}

std::uint32_t AwaitButton(TWinSkinForm* frame, size_t index, std::uint32_t colour)
{
    std::uint32_t seen = 0;
    PumpUntil([&] { return (seen = PixelAt(frame, index)) == colour; }, 1500);
    return seen;
}

void Click(POINT at)
{
    MouseTo(at);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

} // namespace

class CaptionButtonTest : public TAppTest {
protected:
    TSkinnedForm* Skinned(const std::string& buttons, TBorderIcon icons = TBorderIcon::SystemMenu |
                                                          TBorderIcon::Minimize | TBorderIcon::Maximize)
    {
        TTestSkin skin;
        skin.Buttons = buttons;
        skin.Personality = "TextAlignment=1\r\n"; // centred, so buttons fit before and after it
        auto* form = App.Make<TSkinnedForm>(TestSkinArchive(skin));
        form->SetBorderIcons(icons);
        form->SetIcon(Icon.get());
        Frame = ShowSkinned(form);
        return form;
    }

    win::Icon Icon = SolidIcon(0x00C0C0);
    TWinSkinForm* Frame = nullptr;
};

TEST_F(CaptionButtonTest, ButtonsArePlacedByTheirAlignment)
{
    TSkinnedForm* form = Skinned(Button(1, 17, 0, 6) + Button(2, 18, 1, 30) + Button(3, 19, 2, 4) + Button(4, 20, 3, 4));
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const int width = window.right - window.left;
    const auto& b = Frame->CaptionButtons();
    EXPECT_EQ(b[0].Bounds, (TPixelRect{6, 5, 26, 21}));
    EXPECT_EQ(b[1].Bounds, (TPixelRect{width - 30, 5, width - 10, 21})) << "30 pixels left of the right edge";
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(PixelAt(Frame, i), kNormal) << "button " << i << " shows its first frame";
    // The caption text lies between the buttons placed before and after it.
    const TWindowPixels shot = GrabWindow(hwnd);
    int first = width, last = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = b[0].Bounds.Right; x < b[1].Bounds.Left; ++x)
            if (const std::uint32_t p = shot.At(x, y); p != kActiveTop && p != kNormal) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_LT(first, last) << "caption text is on screen";
    const int gapBefore = first - (b[2].Bounds.Right + 4), gapAfter = (b[3].Bounds.Left - 4) - last;
    EXPECT_GE(gapBefore, 0);
    EXPECT_LE(gapBefore, 8) << "Align 2 ends 4 pixels before the text's leading blank";
    EXPECT_GE(gapAfter, 0);
    EXPECT_LE(gapAfter, 16) << "Align 3 starts 4 pixels after the text's two trailing blanks";
}

TEST_F(CaptionButtonTest, CloseGoesHotPressedAndClosesOnRelease)
{
    TSkinnedForm* form = Skinned(Button(1, 0, 1, 30));
    ASSERT_NE(Frame, nullptr);
    const POINT at = ButtonPoint(Frame, 0);
    MouseTo(at);
    EXPECT_EQ(AwaitButton(Frame, 0, kHot), kHot) << "hot on hover";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitButton(Frame, 0, kPressed), kPressed) << "pressed on press";
    EXPECT_EQ(form->CloseRequests, 0) << "nothing happens before the release";
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return form->CloseRequests > 0; }, 1500));
    EXPECT_EQ(form->SysCommands, std::vector<WPARAM>{SC_CLOSE});
}

TEST_F(CaptionButtonTest, PressLeaveAndReleaseOutsideDoesNothingAndTheButtonTurnsNormal)
{
    TSkinnedForm* form = Skinned(Button(1, 0, 1, 30));
    ASSERT_NE(Frame, nullptr);
    MouseTo(ButtonPoint(Frame, 0));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(AwaitButton(Frame, 0, kPressed), kPressed);
    RECT window{};
    ::GetWindowRect(form->Handle(), &window);
    MouseTo({window.left + 100, window.top + 100}); // the client area
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(AwaitButton(Frame, 0, kNormal), kNormal) << "the hover timer sees the mouse gone";
    PumpFor(100);
    EXPECT_EQ(form->CloseRequests, 0);
    EXPECT_TRUE(form->SysCommands.empty());
    EXPECT_EQ(Frame->HotObject, nullptr);
}

TEST_F(CaptionButtonTest, ActionsTheFrameDoesNotCarryOutArePostedToTheWindow)
{
    TSkinnedForm* form = Skinned(Button(1, 17, 1, 30) + Button(2, 1500, 1, 60));
    ASSERT_NE(Frame, nullptr);
    Click(ButtonPoint(Frame, 0));
    Click(ButtonPoint(Frame, 1));
    EXPECT_TRUE(PumpUntil([&] { return form->ButtonActions.size() == 2; }, 1500));
    EXPECT_EQ(form->ButtonActions, (std::vector<WPARAM>{17, 1500}));
    EXPECT_EQ(form->CloseRequests, 0);
}

TEST_F(CaptionButtonTest, DoubleClickOnTheIconButtonCloses)
{
    TSkinnedForm* form = Skinned(Button(1, 0, 1, 30) +
                                 "[BUTTON2]\r\nAction=3\r\nAlign=0\r\nXcoord=6\r\nYcoord=7\r\nVisibility=0\r\n");
    ASSERT_NE(Frame, nullptr);
    ASSERT_TRUE(Frame->CaptionButtons()[1].Visible);
    // The first click opens the system menu; the second, within the double-click time, closes.
    Click(ButtonPoint(Frame, 1));
    Click(ButtonPoint(Frame, 1));
    EXPECT_TRUE(PumpUntil([&] { return form->CloseRequests > 0; }, 3000));
    const HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (menu && ::IsWindowVisible(menu)) {
        ADD_FAILURE() << "the system menu stayed open";
        KeyPress(VK_ESCAPE, false);
        KeyPress(VK_ESCAPE, true);
        PumpFor(100);
    }
}

TEST_F(CaptionButtonTest, BoxesTheWindowLacksHideOrDisableTheirButtons)
{
    {
        SCOPED_TRACE("no system menu");
        TSkinnedForm* form = Skinned(Button(1, 0, 1, 30), TBorderIcon(0));
        ASSERT_NE(Frame, nullptr);
        EXPECT_FALSE(Frame->CaptionButtons()[0].Visible);
        EXPECT_EQ(ScreenPixel(form->Handle(), Frame->Borders().Left + 0, 2), kActiveTop);
        RECT window{};
        ::GetWindowRect(form->Handle(), &window);
        EXPECT_EQ(ScreenPixel(form->Handle(), (window.right - window.left) - 30 + 3, 8), kActiveTop)
            << "no close button where it would be";
        form->SetVisible(false);
    }
    {
        SCOPED_TRACE("no maximize box");
        TSkinnedForm* form = Skinned(Button(1, 1, 1, 30), TBorderIcon::SystemMenu | TBorderIcon::Minimize);
        ASSERT_NE(Frame, nullptr);
        EXPECT_TRUE(Frame->CaptionButtons()[0].Visible);
        EXPECT_FALSE(Frame->CaptionButtons()[0].Enabled);
        EXPECT_EQ(PixelAt(Frame, 0), kDisabled);
        MouseTo(ButtonPoint(Frame, 0));
        PumpFor(100);
        EXPECT_EQ(PixelAt(Frame, 0), kDisabled) << "a disabled button does not go hot";
        Click(ButtonPoint(Frame, 0));
        PumpFor(300);
        EXPECT_FALSE(::IsZoomed(form->Handle()));
        EXPECT_TRUE(form->SysCommands.empty());
    }
}

TEST_F(CaptionButtonTest, MinimizeButtonMinimizes)
{
    TSkinnedForm* form = Skinned(Button(1, 2, 1, 30));
    ASSERT_NE(Frame, nullptr);
    EXPECT_TRUE(Frame->CaptionButtons()[0].Enabled);
    Click(ButtonPoint(Frame, 0));
    EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(form->Handle()) != FALSE; }, 1500));
    EXPECT_EQ(form->SysCommands, std::vector<WPARAM>{SC_MINIMIZE});
    ::ShowWindow(form->Handle(), SW_RESTORE);
}

TEST_F(CaptionButtonTest, TheHintShowsAfterTwiceTheHintPauseAndGoesAfterTheHidePause)
{
    App.SetHintPause(300);     // shown from 600 ms of rest, at the hover timer's next tick
    App.SetHintHidePause(250); // hidden once the rest passes 850 ms
    TSkinnedForm* form = Skinned(Button(1, 0, 1, 30));
    ASSERT_NE(Frame, nullptr);
    auto hintShown = [&] {
        const HWND hint = ::FindWindowW(L"THintWindow", nullptr);
        return form->SkinData->CaptionHintShown() && hint && ::IsWindowVisible(hint);
    };
    MouseTo(ButtonPoint(Frame, 0));
    const DWORD start = ::GetTickCount();
    PumpFor(400);
    EXPECT_FALSE(hintShown()) << "not before twice the hint pause";
    EXPECT_TRUE(PumpUntil(hintShown, 1500));
    EXPECT_GE(::GetTickCount() - start, 600u);
    EXPECT_TRUE(PumpUntil([&] { return !hintShown(); }, 1500)) << "gone after the hide pause";
    EXPECT_EQ(form->CloseRequests, 0);
}
