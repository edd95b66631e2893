// Caption buttons: every visibility code in both columns, the Action rules, layout by alignment, hit tests, frames, hints.
#include "skin/window/CaptionButtons.h"
#include "tests/unit/PixelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace caption_box;

TDataSkinSysButton Data(int action, int visibility, int visibility1 = 0)
{
    TDataSkinSysButton b{"BUTTON"};
    b.Action = action;
    b.Visibility = visibility;
    b.Visibility1 = visibility1;
    return b;
}

// A sizeable, active, normal window with every box.
TCaptionWindow Window(std::uint32_t boxes = kMaximize | kMinimize | kSysMenu)
{
    TCaptionWindow w;
    w.Boxes = boxes;
    return w;
}

TCaptionWindow With(TCaptionWindow w, TShowState show) { w.Show = show; return w; }
TCaptionWindow With(TCaptionWindow w, TActivation a) { w.Activation = a; return w; }
TCaptionWindow With(TCaptionWindow w, TBorderKind k, bool dialogClass = false)
{
    w.Kind = k;
    w.DialogClass = dialogClass;
    return w;
}

// The skin's buttons the frame keeps borrowed; an image of `frames` frames each w × h.
struct TButtons {
    std::vector<std::unique_ptr<TDataSkinSysButton>> Data;
    std::vector<TCaptionButton> Buttons;

    TDataSkinSysButton& Add(int action, int align, int x, int y, int w, int h, int frames)
    {
        auto d = std::make_unique<TDataSkinSysButton>("BUTTON" + std::to_string(Data.size()));
        d->Action = action;
        d->Align = align;
        d->Xcoord = x;
        d->Ycoord = y;
        d->Frame = frames;
        if (w > 0)
            d->Bitmap = Numbered(w * frames, h);
        Buttons.push_back({d.get(), true, true, {}, TButtonState::Normal});
        Data.push_back(std::move(d));
        return *Data.back();
    }
};

} // namespace

TEST(SysButtonVisible, EveryCodeInBothColumns)
{
    struct TCase {
        int Code;
        TCaptionWindow Window;
        bool First, Second; // as Visibility, as Visibility1
    };
    const TCaptionWindow plain = Window();
    const TCase cases[] = {
        {0, plain, true, true},
        {1, With(plain, TShowState::Maximized), true, true},
        {1, plain, false, false},
        {2, plain, true, true},
        {2, With(plain, TShowState::Maximized), false, false},
        {2, With(plain, TShowState::Minimized), true, true},
        {3, plain, true, true},
        {3, With(plain, TActivation::Inactive), false, false},
        {4, With(plain, TActivation::Inactive), true, true},
        {4, plain, false, false},
        {6, Window(kMinimize | kSysMenu), true, true},
        {6, Window(kMaximize), false, true},
        {6, Window(kSysMenu | kHelp), false, false},
        {8, Window(kMaximize | kSysMenu), true, true},
        {8, Window(kMinimize), false, true},
        {7, Window(kMinimize | kSysMenu), true, true},
        {7, plain, false, false},
        {9, Window(kMaximize | kSysMenu), true, true},
        {9, plain, false, false},
        {10, Window(kHelp | kSysMenu), true, true},
        {10, Window(kHelp | kMinimize | kSysMenu), false, true},
        {10, Window(kSysMenu), false, false},
        {200, With(plain, TBorderKind::DialogFrame), true, true},
        {200, With(plain, TBorderKind::DialogFrame, true), false, false},
        {200, plain, false, false},
        {201, plain, true, true},
        {999, plain, true, true},
        {-1, plain, false, false},
        {5, plain, false, false},
        {150, plain, false, false},
        {2001, plain, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.Code << " boxes " << c.Window.Boxes);
        // Action 5 has no rule of its own; the other column is 0, which always holds.
        EXPECT_EQ(SysButtonVisible(Data(5, c.Code, 0), c.Window, {}).Visible, c.First);
        EXPECT_EQ(SysButtonVisible(Data(5, 0, c.Code), c.Window, {}).Visible, c.Second);
    }
}

TEST(SysButtonVisible, MdiAndWindowAskedCodes)
{
    TCaptionWindow shown = Window();
    shown.MdiChildButtonsShown = true;
    EXPECT_TRUE(SysButtonVisible(Data(7, 100, 100), shown, {}).Visible);
    EXPECT_FALSE(SysButtonVisible(Data(7, 100, 100), Window(), {}).Visible);
    EXPECT_TRUE(SysButtonVisible(Data(7, 0, 100), Window(), {}).Visible) << "Visibility1 100 follows Visibility";

    std::vector<std::pair<int, int>> asked;
    bool answer = true;
    const TAskButtonVisible ask = [&](int code, int action) {
        asked.emplace_back(code, action);
        return answer;
    };
    EXPECT_TRUE(SysButtonVisible(Data(17, 1000, 0), Window(), ask).Visible);
    answer = false;
    EXPECT_FALSE(SysButtonVisible(Data(17, 2000, 0), Window(), ask).Visible);
    EXPECT_TRUE(SysButtonVisible(Data(17, 0, 1500), Window(), ask).Visible) << "Visibility1 never asks";
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1000, 17}, {2000, 17}}));
    EXPECT_FALSE(SysButtonVisible(Data(17, 1000, 0), Window(), {}).Visible) << "nobody to ask";
}

TEST(SysButtonVisible, ActionRules)
{
    struct TCase {
        int Action;
        TCaptionWindow Window;
        bool Visible, Enabled;
    };
    const TCaptionWindow dialog = With(Window(), TBorderKind::DialogFrame);
    const TCase cases[] = {
        {0, Window(kSysMenu), true, true},
        {0, Window(kMaximize | kMinimize), false, true}, // no system menu, no close button
        {1, Window(kMaximize | kSysMenu), true, true},
        {1, Window(kMinimize | kSysMenu), true, false},
        {1, Window(kMaximize), true, false},
        {2, Window(kMinimize | kSysMenu), true, true},
        {2, Window(kMaximize | kSysMenu), true, false},
        {3, Window(), true, true},
        {3, dialog, false, true},
        {11, dialog, false, true},
        {12, dialog, false, true},
        {12, With(Window(), TBorderKind::FixedCaption), true, true},
        {4, dialog, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.Action << " boxes " << c.Window.Boxes);
        const TButtonShow show = SysButtonVisible(Data(c.Action, 0), c.Window, {});
        EXPECT_EQ(show.Visible, c.Visible);
        EXPECT_EQ(show.Enabled, c.Enabled);
    }
}

TEST(LayoutSysButtons, EachAlignmentAndTheRightButtonArea)
{
    TButtons s;
    s.Add(0, 1, 30, 2, 16, 14, 3);   // 0: 30 px left of the right edge
    s.Add(1, 1, 50, 2, 16, 14, 3);   // 1
    s.Add(3, 0, 6, 4, 16, 16, 1);    // 2: icon at its coordinates
    s.Add(17, 2, 3, 5, 10, 8, 2);    // 3: before the text
    s.Add(17, 8, 0, 5, 10, 8, 2);    // 4
    s.Add(17, 3, 4, 6, 12, 8, 2);    // 5: after the text
    s.Add(17, 9, 0, 6, 12, 8, 2);    // 6
    s.Add(7, 100, 20, 0, 9, 11, 4);  // 7: in the menu bar band
    s.Add(17, 5, 0, 0, 10, 8, 2);    // 8: an alignment no skin means
    s.Add(0, 1, 90, 2, 0, 0, 1);     // 9: no image
    s.Add(1, 1, 70, 2, 16, 14, 3);   // 10: hidden
    s.Buttons[10].Visible = false;

    EXPECT_EQ(RightButtonArea(s.Buttons), 50) << "hidden and imageless buttons leave no room";
    const TButtonLayoutFrame frame{400, {4, 30, 5, 6}, 19, {60, 8, 160, 22}, 3};
    LayoutSysButtons(s.Buttons, frame);
    const TPixelRect expected[] = {{370, 2, 386, 16}, {350, 2, 366, 16}, {6, 4, 22, 20}, {47, 5, 57, 13},
        {50, 5, 60, 13}, {164, 6, 176, 14}, {160, 6, 172, 14},
        {372, 34, 381, 45}, // 400 − 20 − 5 − 3; 30 + (19 − 11) / 2
        {}, {}, {}};
    for (size_t i = 0; i < s.Buttons.size(); ++i)
        EXPECT_EQ(s.Buttons[i].Bounds, expected[i]) << "button " << i;
}

TEST(HitObject, FirstVisibleButtonWithAnActionUnderThePoint)
{
    TButtons s;
    s.Add(-1, 0, 0, 0, 10, 10, 1);  // 0: decoration, never hit
    s.Add(2, 0, 5, 0, 10, 10, 1);   // 1: overlaps 2
    s.Add(0, 0, 10, 0, 10, 10, 1);  // 2
    s.Add(1, 0, 30, 0, 10, 10, 1);  // 3: hidden
    s.Buttons[3].Visible = false;
    TButtonLayoutFrame frame;
    frame.Width = 100;
    LayoutSysButtons(s.Buttons, frame);
    const std::pair<TFramePoint, std::optional<size_t>> cases[] = {{{2, 2}, std::nullopt}, {{5, 0}, 1},
        {{12, 9}, 1}, {{15, 9}, 2}, {{19, 9}, 2}, {{20, 9}, std::nullopt}, {{15, 10}, std::nullopt},
        {{35, 5}, std::nullopt}};
    for (const auto& [p, hit] : cases)
        EXPECT_EQ(HitObject(s.Buttons, p), hit) << p.X << "," << p.Y;
}

TEST(SysButtonFrames, FullPaintAndStateChange)
{
    TButtons s;
    s.Add(0, 1, 30, 2, 8, 8, 4);
    s.Add(0, 1, 30, 2, 8, 8, 3);
    s.Add(7, 100, 30, 2, 8, 8, 4).Visibility = 100;
    TCaptionButton& four = s.Buttons[0];
    TCaptionButton& three = s.Buttons[1];
    TCaptionButton& mdi = s.Buttons[2];

    EXPECT_EQ(FullPaintFrame(four, TActivation::Active), 1);
    EXPECT_EQ(FullPaintFrame(four, TActivation::Inactive), 4);
    EXPECT_EQ(FullPaintFrame(three, TActivation::Inactive), 1) << "no fourth frame to show";
    for (const TButtonState state : {TButtonState::Normal, TButtonState::Pressed, TButtonState::Hot}) {
        four.State = three.State = mdi.State = state;
        EXPECT_EQ(StatePaintFrame(four), static_cast<int>(state));
        EXPECT_EQ(StatePaintFrame(mdi), state == TButtonState::Hot ? 4 : static_cast<int>(state));
    }
    four.Enabled = three.Enabled = false;
    EXPECT_EQ(FullPaintFrame(four, TActivation::Active), 4);
    EXPECT_EQ(FullPaintFrame(three, TActivation::Active), 1);
    EXPECT_EQ(StatePaintFrame(four), 4);
    EXPECT_EQ(StatePaintFrame(three), 1);
}

TEST(SysButtonHintText, ByAction)
{
    const std::pair<int, const wchar_t*> cases[] = {{0, L"Close"}, {9, L"Close"}, {62, L"Close"},
        {1, L"Maximize"}, {22, L"Maximize"}, {2, L"Minimize"}, {7, L"Minimize"}, {23, L"Minimize"},
        {60, L"Minimize"}, {8, L"Restore"}, {61, L"Restore"}};
    for (const auto& [action, text] : cases)
        EXPECT_STREQ(SysButtonHintText(action), text) << action;
    for (const int action : {-1, 3, 4, 11, 17, 63})
        EXPECT_EQ(SysButtonHintText(action), nullptr) << action;
}
