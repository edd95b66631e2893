// The skinned check box's face before any pixel: the strip cell for each state, and the layout.
#include "skin/controls/CheckFace.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* Name;
    TCheckFaceState State;
    int Short; // cell in a strip of 4
    int Full;  // cell in a strip of 12
};

TCheckFaceState S(bool checked, bool enabled = true) { TCheckFaceState s; s.Checked = checked; s.Enabled = enabled; return s; }

template <class F>
TCheckFaceState With(TCheckFaceState s, F change) { change(s); return s; }

} // namespace

TEST(CheckFaceTest, CellsFollowTheRulesInOrderInBothNumberings)
{
    const TCase cases[] = {
        {"window unchecked", S(false), 1, 1},
        {"window checked", S(true), 2, 5},
        {"disabled unchecked", S(false, false), 3, 4},
        {"disabled checked", S(true, false), 4, 8},
        {"mixed", With(S(false), [](auto& s) { s.Indeterminate = true; }), 4, 9},
        {"mixed disabled", With(S(false, false), [](auto& s) { s.Indeterminate = true; }), 4, 12},
        {"hot", With(S(false), [](auto& s) { s.MouseOver = true; }), 1, 2},
        {"pressed wins over hot", With(S(true), [](auto& s) { s.MouseOver = s.Pressed = true; }), 2, 7},
        {"mixed pressed", With(S(false), [](auto& s) { s.Indeterminate = s.Pressed = true; }), 4, 11},
        {"disabled ignores the mouse", With(S(true, false), [](auto& s) { s.MouseOver = s.Pressed = true; }), 4, 8},
        // The published State is read over the window's check, lower-cased, "uncheck" first.
        {"State unchecked", With(S(true), [](auto& s) { s.StateText = L"cbUnchecked"; }), 1, 1},
        {"State checked", With(S(false), [](auto& s) { s.StateText = L"CBCHECKED"; }), 2, 5},
        {"State grayed", With(S(false), [](auto& s) { s.StateText = L"cbGrayed"; }), 4, 8},
        {"State unknown keeps the window's", With(S(true), [](auto& s) { s.StateText = L"other"; }), 2, 5},
        // Without State, Checked decides; anything but "true" is unchecked, never the disabled cell.
        {"Checked true", With(S(false), [](auto& s) { s.CheckedText = L"True"; }), 2, 5},
        {"Checked false", With(S(true), [](auto& s) { s.CheckedText = L"false"; }), 1, 1},
        {"Checked empty", With(S(false), [](auto& s) { s.CheckedText = L""; }), 1, 1},
        {"State goes before Checked", With(S(false), [](auto& s) { s.StateText = L"cbChecked"; s.CheckedText = L"false"; }), 2, 5},
        // Data-aware controls: the last value set, mixed shown as such; bound ones unchecked.
        {"DataField set 1", With(S(false), [](auto& s) { s.DataField = true; s.LastSetCheck = 1; }), 2, 5},
        {"DataField set 2", With(S(false), [](auto& s) { s.DataField = true; s.LastSetCheck = 2; }), 4, 8},
        {"DataField never set", With(S(true), [](auto& s) { s.DataField = true; }), 2, 5},
        {"DataBinding", With(S(true), [](auto& s) { s.DataBinding = true; }), 1, 1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CheckFaceFrame(c.State, 4), c.Short) << c.Name;
        EXPECT_EQ(CheckFaceFrame(c.State, kCheckCellsWithStates), c.Full) << c.Name;
    }
}

TEST(CheckFaceTest, CellsNeverLeaveTheStrip)
{
    const TCheckFaceState mixedDisabled = With(S(false, false), [](auto& s) { s.StateText = L"cbGrayed"; });
    EXPECT_EQ(CheckFaceFrame(mixedDisabled, 4), 4);
    EXPECT_EQ(CheckFaceFrame(S(true, false), 2), 2);
    EXPECT_EQ(CheckFaceFrame(S(true), 0), 1);
}

TEST(CheckFaceTest, ImageAtTheTextlessEdgeAndTextRoomBeyondIt)
{
    const TCheckLayout right = CheckBoxLayout(81, 17, 13, 13, false);
    EXPECT_EQ(right.Image, (TPixelRect{0, 2, 13, 15}));
    EXPECT_EQ(right.Text, (TPixelRect{15, 0, 81, 17}));
    const TCheckLayout left = CheckBoxLayout(81, 18, 13, 13, true);
    EXPECT_EQ(left.Image, (TPixelRect{68, 2, 81, 15}));
    EXPECT_EQ(left.Text, (TPixelRect{0, 0, 66, 18}));
    // Narrower than its image: no room, never an inverted one.
    const TCheckLayout tiny = CheckBoxLayout(10, 10, 13, 13, true);
    EXPECT_EQ(tiny.Text.Right, 0);
    EXPECT_EQ(CheckBoxLayout(10, 10, 13, 13, false).Text.Left, 10);

    EXPECT_EQ(PlaceCheckText({15, 0, 81, 17}, 40, 13, false), (TPixelRect{15, 2, 55, 15}));
    EXPECT_EQ(PlaceCheckText({0, 0, 66, 18}, 40, 13, true), (TPixelRect{26, 2, 66, 15}));
}
