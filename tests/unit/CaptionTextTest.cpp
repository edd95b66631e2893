// Caption text placement: alignments, right-to-left reading, the popup and title clips, the dialog shift.
#include "skin/window/CaptionText.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* Name;
    int Alignment;
    TCaptionTextInput Input;
    int LeftWidth;   // TextShift
    TPixelRect Background, Text;
    int ClipRight;
};

} // namespace

TEST(CaptionText, PlacementByAlignmentReadingAndWindowKind)
{
    // Caption 300 × 30; text 100 × 14, widened by the background ends 4 and 6 to 110; TextRightClip
    // 10; TextShiftVert 4 lowers it by 2 below the centre row 8.
    const TPixelRect caption{0, 0, 300, 30};
    const auto in = [&](int width, TReading reading, bool popup, bool dialog, int area) {
        return TCaptionTextInput{caption, width, 14, reading, popup, dialog, area};
    };
    const TReading ltr = TReading::LeftToRight, rtl = TReading::RightToLeft;
    const TCase cases[] = {
        {"left", 0, in(100, ltr, false, false, 60), 20, {20, 0, 130, 30}, {24, 10, 124, 24}, 290},
        {"centre", 1, in(100, ltr, false, false, 60), 20, {95, 0, 205, 30}, {99, 10, 199, 24}, 290},
        {"right", 2, in(100, ltr, false, false, 60), 20, {180, 0, 290, 30}, {184, 10, 284, 24}, 290},
        {"long text stops at the title clip", 0, in(400, ltr, false, false, 0), 20, {20, 0, 290, 30},
            {24, 10, 284, 24}, 290},
        {"rtl 0 keeps clear of the buttons", 0, in(100, rtl, false, false, 60), 20, {140, 0, 250, 30},
            {144, 10, 244, 24}, 300},
        {"rtl 1", 1, in(100, rtl, false, false, 60), 20, {75, 0, 185, 30}, {79, 10, 179, 24}, 300},
        {"rtl 2", 2, in(100, rtl, false, false, 60), 20, {30, 0, 140, 30}, {34, 10, 134, 24}, 300},
        {"rtl too wide starts at TextShift", 0, in(250, rtl, false, false, 60), 20, {30, 0, 290, 30},
            {34, 10, 284, 24}, 300},
        {"popup clips before the buttons", 2, in(100, ltr, true, false, 60), 20, {180, 0, 235, 30},
            {184, 10, 229, 24}, 235},
        {"popup without a button area", 2, in(100, ltr, true, false, 5), 20, {180, 0, 290, 30},
            {184, 10, 284, 24}, 300},
        {"dialog starts 16 further left", 0, in(100, ltr, false, true, 0), 20, {4, 0, 114, 30}, {8, 10, 108, 24},
            290},
        {"dialog never left of the caption", 0, in(100, ltr, false, true, 0), 10, {0, 0, 110, 30},
            {4, 10, 104, 24}, 290},
        {"dialog centred is not shifted", 1, in(100, ltr, false, true, 0), 20, {95, 0, 205, 30},
            {99, 10, 199, 24}, 290},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDataSkinTitle title{"Title"};
        title.TextAlignment = c.Alignment;
        title.LeftWidth = c.LeftWidth;
        title.RightWidth = 10;
        title.TopHeight = 4;
        title.TXTBackleft = 4;
        title.TXTBackRight = 6;
        const TCaptionTextPlacement p = PlaceCaptionText(c.Input, title);
        EXPECT_EQ(p.Background, c.Background);
        EXPECT_EQ(p.Text, c.Text);
        EXPECT_EQ(p.Clip, (TPixelRect{0, 0, c.ClipRight, 30}));
    }
}

TEST(CaptionText, ExtremeSkinNumbersStayOnTheCaption)
{
    TDataSkinTitle title{"Title"};
    const TPixelRect caption{10, 0, 210, 24};
    for (const int v : {INT32_MIN, -50, INT32_MAX}) {
        SCOPED_TRACE(v);
        title.LeftWidth = title.RightWidth = title.TopHeight = title.TXTBackleft = title.TXTBackRight = v;
        for (const int alignment : {0, 1, 2, 7}) {
            title.TextAlignment = alignment;
            for (const TReading reading : {TReading::LeftToRight, TReading::RightToLeft}) {
                const TCaptionTextPlacement p =
                    PlaceCaptionText({caption, 120, 14, reading, false, true, 40}, title);
                EXPECT_GE(p.Background.Left, caption.Left);
                EXPECT_LE(p.Background.Right, p.Clip.Right);
                EXPECT_LE(p.Clip.Right, caption.Right);
                EXPECT_FALSE(p.Text.IsInverted());
                EXPECT_GE(p.Text.Left, p.Background.Left);
                EXPECT_LE(p.Text.Right, p.Background.Right);
            }
        }
    }
}
