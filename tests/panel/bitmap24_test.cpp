// Pixel buffers: the handheld's byte order and row padding, clipped block copies, and the landscape turn.
#include "app/panel/bitmap24.h"

#include <gtest/gtest.h>

namespace {

Bitmap24 Numbered(int width, int height) {
    Bitmap24 bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetColor(x, y, std::uint32_t(1 + x + 10 * y));
    return bitmap;
}

TEST(Bitmap24, RowsArePaddedAndPixelsHeldBlueGreenRed) {
    Bitmap24 bitmap(5, 2);
    EXPECT_EQ(bitmap.Stride(), 16);
    EXPECT_EQ(bitmap.Bytes().size(), 32u);
    bitmap.SetColor(1, 1, 0x00112233);  // blue 0x11, green 0x22, red 0x33
    const std::uint8_t* p = bitmap.Bytes().data() + 16 + 3;
    EXPECT_EQ(p[0], 0x11);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33);
    EXPECT_EQ(bitmap.ColorAt(1, 1), 0x00112233u);
    bitmap.Fill(0x00ABCDEF);
    EXPECT_EQ(bitmap.ColorAt(4, 1), 0x00ABCDEFu);
    EXPECT_TRUE(Bitmap24(-1, 4).Empty());
}

TEST(Bitmap24, BlitsClipAgainstBothSidesAndApplyTheRasterOperation) {
    Bitmap24 target(4, 4);
    target.Fill(0x00F0F0F0);
    const Bitmap24 source = Numbered(3, 3);
    BlitBitmap(target, -1, -1, source, RasterOp::Copy);  // only the source's lower right 2 x 2 lands
    EXPECT_EQ(target.ColorAt(0, 0), source.ColorAt(1, 1));
    EXPECT_EQ(target.ColorAt(1, 1), source.ColorAt(2, 2));
    EXPECT_EQ(target.ColorAt(2, 0), 0x00F0F0F0u);
    BlitBitmap(target, 3, 3, source, RasterOp::Copy);  // one pixel at the far corner
    EXPECT_EQ(target.ColorAt(3, 3), source.ColorAt(0, 0));

    Bitmap24 mask(1, 1);
    mask.Fill(0x000F00FF);
    BlitBitmap(target, 2, 0, mask, RasterOp::And);
    EXPECT_EQ(target.ColorAt(2, 0), 0x00F0F0F0u & 0x000F00FFu);
    BlitBitmap(target, 2, 0, mask, RasterOp::Invert);
    EXPECT_EQ(target.ColorAt(2, 0), (0x00F0F0F0u & 0x000F00FFu) ^ 0x000F00FFu);
}

TEST(Bitmap24, QuarterTurnsMoveEveryPixelWhereItBelongs) {
    const Bitmap24 source = Numbered(3, 2);
    const Bitmap24 ccw = TurnCounterClockwise(source);
    const Bitmap24 cw = TurnClockwise(source);
    const Bitmap24 half = TurnHalf(source);
    ASSERT_EQ(ccw.Width(), 2);
    ASSERT_EQ(ccw.Height(), 3);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(ccw.ColorAt(r, 2 - c), source.ColorAt(c, r));
            EXPECT_EQ(cw.ColorAt(1 - r, c), source.ColorAt(c, r));
            EXPECT_EQ(half.ColorAt(2 - c, 1 - r), source.ColorAt(c, r));
        }
    }
    EXPECT_EQ(TurnClockwise(ccw), source);
}

TEST(Bitmap24, RotatedBltTurnsTheSourceRectangleCounterClockwise) {
    const Bitmap24 source = Numbered(3, 2);  // h = 3 wide, w = 2 tall
    Bitmap24 target(6, 6);
    RotatedBlt(target, 1, 2, 2, 3, source, RasterOp::Copy);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(target.ColorAt(1 + r, 2 + (3 - 1 - c)), source.ColorAt(c, r));
    EXPECT_EQ(target.ColorAt(0, 2), 0u);

    // A rectangle larger than the source reads black beyond it; the target clips the rest.
    Bitmap24 wide(6, 6);
    wide.Fill(0x00FFFFFF);
    RotatedBlt(wide, 4, 0, 3, 4, source, RasterOp::Copy);
    EXPECT_EQ(wide.ColorAt(4, 0), 0u);  // source column 3 does not exist
    EXPECT_EQ(wide.ColorAt(4, 1), source.ColorAt(2, 0));
    EXPECT_EQ(wide.ColorAt(5, 3), source.ColorAt(0, 1));
}

TEST(PixelRect, IntersectionExcludesTouchingEdges) {
    const PixelRect a{0, 0, 10, 10};
    EXPECT_TRUE(a.Intersects({9, 9, 5, 5}));
    EXPECT_FALSE(a.Intersects({10, 0, 5, 5}));
    EXPECT_FALSE(a.Intersects({0, 10, 5, 5}));
    EXPECT_FALSE(a.Intersects({3, 3, 0, 0}));
}

}  // namespace
