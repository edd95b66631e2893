// The combo box's and up-down's frames by state and their geometry.
#include "skin/controls/EditFaces.h"

#include <gtest/gtest.h>

TEST(EditFacesTest, ComboFrameByStateWithDisabledAndPressedWinning)
{
    struct TCase { TComboFaceState State; int Frame; };
    const TCase cases[] = {
        {{}, combo_frame::kNormal},
        {{true, false, true, false}, combo_frame::kHot},
        {{true, false, false, true}, combo_frame::kHot},
        {{true, true, true, true}, combo_frame::kPressed},
        {{false, true, true, true}, combo_frame::kDisabled},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ComboFaceFrame(c.State), c.Frame) << &c - cases;
}

TEST(EditFacesTest, ButtonPartSitsTwoPixelsInOnTheButtonsSide)
{
    EXPECT_EQ(ComboButtonPart(120, 24, 17, false), (TPixelRect{99, 2, 118, 22}));
    EXPECT_EQ(ComboButtonPart(120, 24, 17, true), (TPixelRect{2, 2, 21, 22}));
}

TEST(EditFacesTest, UpDownHalvesAndTheSecondHalfsFramesFollowTheFirstFour)
{
    const TUpDownHalves v = UpDownHalves(15, 21, false);
    EXPECT_EQ(v.First, (TPixelRect{0, 0, 15, 10}));
    EXPECT_EQ(v.Second, (TPixelRect{0, 10, 15, 21}));
    const TUpDownHalves h = UpDownHalves(21, 15, true);
    EXPECT_EQ(h.First, (TPixelRect{0, 0, 10, 15}));
    EXPECT_EQ(h.Second, (TPixelRect{10, 0, 21, 15}));
    struct TCase { TUpDownHalfState State; int First; };
    const TCase cases[] = {{{}, 1}, {{true, true, true}, 2}, {{false, true, true}, 3}, {{true, false, true}, 4}};
    for (const TCase& c : cases) {
        EXPECT_EQ(UpDownFrame(false, c.State), c.First);
        EXPECT_EQ(UpDownFrame(true, c.State), c.First + 4);
    }
}
