// The skinned push button's face before any pixel: frame by state, caption line break, text place.
#include "skin/controls/ButtonFace.h"

#include <gtest/gtest.h>

TEST(ButtonFaceTest, FrameFollowsTheStateAndDisabledWinsOverEverything)
{
    struct TCase { TButtonFaceState State; int Frame; };
    const TCase cases[] = {
        {{true, false, false, false, false}, button_frame::kNormal},
        {{true, true, true, true, true}, button_frame::kPressed},
        {{true, false, true, true, true}, button_frame::kHot},
        {{true, false, false, true, false}, button_frame::kFocused},
        {{true, false, false, false, true}, button_frame::kFocused},
        {{false, false, false, false, false}, button_frame::kDisabled},
        {{false, true, true, true, true}, button_frame::kDisabled},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ButtonFaceFrame(c.State), c.Frame)
            << c.State.Enabled << c.State.Pressed << c.State.MouseOver << c.State.Focused << c.State.Default;
}

TEST(ButtonFaceTest, OnlyTheFirstDoubleBarBreaksTheLine)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Read||Now", L"Read\r\nNow"}, {L"a||b||c", L"a\r\nb||c"}, {L"|single|", L"|single|"},
        {L"||", L"\r\n"}, {L"", L""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ButtonCaptionText(in), out) << static_cast<const void*>(in);
}

TEST(ButtonFaceTest, TextIsCentredAcrossAndOnePixelAboveTheMiddle)
{
    EXPECT_EQ(PlaceButtonText(75, 25, 31, 13), (TPixelRect{22, 5, 53, 18}));
    EXPECT_EQ(PlaceButtonText(75, 40, 31, 26), (TPixelRect{22, 6, 53, 32}));
    // Wider than the face: the text overhangs both sides alike, as DrawText then clips.
    EXPECT_EQ(PlaceButtonText(20, 20, 30, 10), (TPixelRect{-5, 4, 25, 14}));
    EXPECT_EQ(ButtonFocusRect({22, 5, 53, 18}), (TPixelRect{20, 3, 55, 20}));
}
