// The frame on real windows under the rig: borders from the skin's images, the client area kept.
#include "tests/win/SkinWindowFixture.h"

class SkinFrameTest : public TAppTest {};

TEST_F(SkinFrameTest, TopImageOfTwoFramesGivesHalfItsHeightAndTheClientKeepsItsSize)
{
    TTestSkin spec;
    spec.TopHeight = 30; // 60 high in 2 frames
    auto* form = App.Make<TSkinnedForm>(TestSkinArchive(spec));
    form->HandleNeeded();
    const SIZE before = ClientSize(form->Handle());
    TWinSkinForm* frame = ShowSkinned(form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Borders(), (TFrameBorders{4, 30, 4, 4}));
    const SIZE after = ClientSize(form->Handle());
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    RECT window{};
    ::GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.right - window.left, before.cx + 8);
    EXPECT_EQ(window.bottom - window.top, before.cy + 34);
    EXPECT_EQ(ScreenPixel(form->Handle(), 20, 2), kActiveTop) << "the caption band shows the active frame";
    EXPECT_EQ(ScreenPixel(form->Handle(), 1, 100), kActiveSide);
}
