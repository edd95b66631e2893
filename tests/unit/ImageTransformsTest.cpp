// Mirroring, flipping, quarter turns and magenta replacement on a 3 × 2 image.
#include "skin/pixels/ImageTransforms.h"
#include "tests/unit/PixelTestSupport.h"

#include <gtest/gtest.h>

TEST(ImageTransforms, MirrorAndFlipReverseOneAxisInPlace)
{
    TPixelBuffer image = Numbered(3, 2);
    MirrorImage(image.View());
    EXPECT_EQ(image.View().At(0, 0), Cell(2, 0));
    EXPECT_EQ(image.View().At(1, 0), Cell(1, 0));
    EXPECT_EQ(image.View().At(2, 1), Cell(0, 1));
    TPixelBuffer tall = Numbered(2, 3);
    FlipImage(tall.View());
    EXPECT_EQ(tall.View().At(0, 0), Cell(0, 2));
    EXPECT_EQ(tall.View().At(1, 1), Cell(1, 1));
    EXPECT_EQ(tall.View().At(1, 2), Cell(1, 0));
}

TEST(ImageTransforms, RotateLeftTurnsCounterClockwise)
{
    TPixelBuffer image = Numbered(3, 2);
    RotateLeft(image);
    ASSERT_EQ(image.Width(), 2);
    ASSERT_EQ(image.Height(), 3);
    const TPixelView v = image.View();
    EXPECT_EQ(v.At(0, 0), Cell(2, 0)) << "the top-right corner goes to the top-left";
    EXPECT_EQ(v.At(1, 0), Cell(2, 1));
    EXPECT_EQ(v.At(0, 2), Cell(0, 0));
    EXPECT_EQ(v.At(1, 2), Cell(0, 1));
    EXPECT_EQ(v.At(1, 1), Cell(1, 1));
}

TEST(ImageTransforms, RotateRightTurnsClockwiseAndUndoesRotateLeft)
{
    TPixelBuffer image = Numbered(3, 2);
    RotateRight(image);
    ASSERT_EQ(image.Width(), 2);
    const TPixelView v = image.View();
    EXPECT_EQ(v.At(0, 0), Cell(0, 1)) << "the bottom-left corner goes to the top-left";
    EXPECT_EQ(v.At(1, 0), Cell(0, 0));
    EXPECT_EQ(v.At(1, 2), Cell(2, 0));
    EXPECT_EQ(v.At(0, 2), Cell(2, 1));
    RotateLeft(image);
    ASSERT_EQ(image.Width(), 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.View().At(x, y), Cell(x, y));
}

TEST(ImageTransforms, ReplaceMagentaChangesOnlyPureMagenta)
{
    TPixelBuffer image = Numbered(3, 1);
    image.View().At(0, 0) = 0xFFFF00FF;
    image.View().At(1, 0) = 0xFFFF01FF;
    ReplaceMagenta(image.View(), 0xFFD4D0C8);
    EXPECT_EQ(image.View().At(0, 0), 0xFFD4D0C8u);
    EXPECT_EQ(image.View().At(1, 0), 0xFFFF01FFu);
    EXPECT_EQ(image.View().At(2, 0), Cell(2, 0));
}

TEST(PixelBuffer, ViewsFramesAsSubRectanglesOfTheSamePixels)
{
    TPixelBuffer image = Numbered(6, 2);
    const TPixelView frame = image.View().Sub({3, 0, 6, 2});
    EXPECT_EQ(frame.Width, 3);
    EXPECT_EQ(frame.At(0, 1), Cell(3, 1));
    frame.At(0, 0) = 7;
    EXPECT_EQ(image.View().At(3, 0), 7u) << "not a copy";
    const TPixelView clipped = image.View().Sub({4, -1, 9, 1});
    EXPECT_EQ(clipped.Width, 2);
    EXPECT_EQ(clipped.Height, 1);
    EXPECT_EQ(clipped.At(1, 0), Cell(5, 0));
    EXPECT_TRUE(image.View().Sub({7, 0, 9, 2}).IsEmpty());

    const TPixelBuffer copy = image.Clone();
    image.View().At(0, 0) = 9;
    EXPECT_EQ(copy.View().At(0, 0), Cell(0, 0)) << "a clone owns its pixels";
    EXPECT_EQ(copy.View().At(3, 0), 7u);
    EXPECT_THROW(TPixelBuffer(-1, 2), std::length_error);
    EXPECT_TRUE(TPixelBuffer(0, 5).IsEmpty());
}
