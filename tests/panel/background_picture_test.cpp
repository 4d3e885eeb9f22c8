// Background pictures: BMP, JPEG and GIF decoded within 240 x 242 and stretched onto the panel from row 1;
// anything that cannot be opened or decoded leaves no picture.
#include "app/panel/background_picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "tests/support/test_home.h"

namespace {

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

std::vector<unsigned char> Bytes(const QByteArray& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(BackgroundPicture, LargeBmpIsScaledDownThenStretched) {
    const Bitmap24 picture = DecodeBackgroundPicture(Encoded(Halves(480, 484), "BMP"));
    ASSERT_EQ(picture.Width(), 240);
    ASSERT_EQ(picture.Height(), 270);
    EXPECT_EQ(picture.ColorAt(100, 0), 0u);          // row 0 stays black
    EXPECT_EQ(picture.ColorAt(10, 1), 0x000000FFu);  // red
    EXPECT_EQ(picture.ColorAt(230, 269), 0x00FF0000u);
}

TEST(BackgroundPicture, SmallGifIsStretchedUp) {
    // A 1 x 1 GIF whose one pixel is colour 0 of its table (red).
    const unsigned char gif[] = {'G',  'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0,    0, 0,   0,
                                 0xFF, 0x2C, 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 0x01, 0, 0x3B};
    const Bitmap24 picture = DecodeBackgroundPicture(QByteArray(reinterpret_cast<const char*>(gif), sizeof gif));
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.ColorAt(0, 0), 0u);
    EXPECT_EQ(picture.ColorAt(0, 1), 0x000000FFu);
    EXPECT_EQ(picture.ColorAt(239, 269), 0x000000FFu);
}

TEST(BackgroundPicture, JpegDecodes) {
    QImage green(300, 100, QImage::Format_RGB888);
    green.fill(QColor(0, 200, 0));
    const Bitmap24 picture = DecodeBackgroundPicture(Encoded(green, "JPEG"));
    ASSERT_FALSE(picture.Empty());
    const std::uint8_t* p = picture.Pixel(120, 130);
    EXPECT_LT(p[2], 40);   // red
    EXPECT_GT(p[1], 160);  // green
}

TEST(BackgroundPicture, OtherFormatsAndDamagedFilesGiveNoPicture) {
    EXPECT_TRUE(DecodeBackgroundPicture(Encoded(Halves(10, 10), "PNG")).Empty());
    EXPECT_TRUE(DecodeBackgroundPicture(QByteArray("BM not a bitmap at all")).Empty());
    EXPECT_TRUE(DecodeBackgroundPicture(QByteArray()).Empty());
    const QByteArray bmp = Encoded(Halves(64, 64), "BMP");
    DecodeBackgroundPicture(bmp.left(40));  // cut inside its header: whatever comes, nothing crashes
}

TEST(BackgroundPicture, LoadingFromTheHandheldReplacesOrFreesThePicture) {
    orvane_test::TestHome home;
    home.WriteFile(u"\\My Documents\\halves.bmp", Bytes(Encoded(Halves(20, 20), "BMP")));
    SkinPanel panel;
    int window = 0;
    const auto hwnd = reinterpret_cast<handheld::HWND>(&window);
    EXPECT_TRUE(LoadBackgroundPicture(panel, hwnd, u"\\My Documents\\halves.bmp"));
    ASSERT_TRUE(panel.pictureBits.has_value());
    EXPECT_EQ(panel.pictureBits->ColorAt(0, 5), 0x000000FFu);

    EXPECT_FALSE(LoadBackgroundPicture(panel, hwnd, u"\\My Documents\\missing.bmp"));
    EXPECT_FALSE(panel.pictureBits.has_value());
    ASSERT_TRUE(LoadBackgroundPicture(panel, hwnd, u"\\My Documents\\halves.bmp"));
    EXPECT_FALSE(LoadBackgroundPicture(panel, nullptr, u"\\My Documents\\halves.bmp"));
    EXPECT_FALSE(panel.pictureBits.has_value());
    EXPECT_FALSE(LoadBackgroundPicture(panel, hwnd, u""));
}

}  // namespace
