// Skin buttons: the shading and blend arithmetic, "FLAT_" names and caption sides, label placement and turns,
// the landscape turn of face, label and caption box, and hit tests.
#include "app/panel/face_button.h"

#include <gtest/gtest.h>

#include "tests/panel/fake_artwork.h"

namespace {

using panel_test::Face;
using panel_test::FakeArtwork;
using panel_test::RecordingTextPainter;
using panel_test::Rgb;
using panel_test::Solid;

FaceButton MakeButton(const FakeArtwork& artwork, std::u16string_view skin, int x, int y, std::uint32_t color) {
    FaceButton button;
    button.Create(&artwork, nullptr, u"B", x, y, STATE_NORMAL, skin, true);
    button.Measure();
    button.SetColor(color);
    return button;
}

TEST(FaceButtonShading, ChannelArithmeticTruncatesEachQuotient) {
    EXPECT_EQ(ShadeChannel(170, 77), 77);    // the exact colour
    EXPECT_EQ(ShadeChannel(255, 0), 255);    // white whatever the colour
    EXPECT_EQ(ShadeChannel(0, 200), 0);      // black
    EXPECT_EQ(ShadeChannel(169, 170), 169);  // just below the exact shade darkens
    EXPECT_EQ(ShadeChannel(200, 100), 154);  // 30 * 255 / 85 + 55 * 100 / 85 = 90 + 64
    EXPECT_EQ(BlendChannel(0, 33, 200), 33);
    EXPECT_EQ(BlendChannel(255, 33, 200), 200);
    EXPECT_EQ(BlendChannel(128, 100, 200), 149);  // 49 + 100, not the rounded sum 150
}

TEST(FaceButtonDrawing, FaceIsShadedAndBlendedPixelByPixel) {
    FakeArtwork artwork;
    Bitmap24 face = Face(4, 2, 255, 170, 170);
    face.Pixel(0, 0)[0] = 0;  // uncovered
    face.Pixel(2, 0)[2] = 255;
    face.Pixel(3, 0)[2] = 0;
    face.Pixel(0, 1)[0] = 128;
    face.Pixel(1, 1)[1] = 0;  // pressed shading black here
    artwork.bitmaps[u"SKIN"] = face;
    const std::uint32_t color = Rgb(100, 50, 255);
    const FaceButton button = MakeButton(artwork, u"SKIN", 5, 6, color);
    ASSERT_EQ(button.width, 4);
    ASSERT_EQ(button.height, 2);

    const std::uint32_t background = Rgb(10, 20, 30);
    Bitmap24 target = Solid(20, 20, background);
    DeviceContext dc{target, kOrientationPortrait};
    DrawFaceButton(button, dc, 0, {background}, true, 0);
    EXPECT_EQ(target.ColorAt(5, 6), background);
    EXPECT_EQ(target.ColorAt(6, 6), color);
    EXPECT_EQ(target.ColorAt(7, 6), Rgb(255, 255, 255));
    EXPECT_EQ(target.ColorAt(8, 6), Rgb(0, 0, 0));
    EXPECT_EQ(target.ColorAt(5, 7),
              Rgb(127 * 10 / 255 + 128 * 100 / 255, 127 * 20 / 255 + 128 * 50 / 255, 127 * 30 / 255 + 128 * 255 / 255));
    EXPECT_EQ(target.ColorAt(4, 6), background);  // nothing outside the button

    // Pressed reads the green channel.
    Bitmap24 pressed = Solid(20, 20, background);
    DeviceContext pressedDc{pressed, kOrientationPortrait};
    DrawFaceButton(button, pressedDc, STATE_PRESSED, {background}, true, 0);
    EXPECT_EQ(pressed.ColorAt(6, 7), Rgb(0, 0, 0));
    EXPECT_EQ(pressed.ColorAt(7, 6), color);  // green 170 there, though red is 255
}

TEST(FaceButtonNames, FlatPrefixAndCaptionSides) {
    FakeArtwork artwork;
    FaceButton button;
    const struct {
        std::u16string_view skin;
        std::u16string_view shape;
        int side;
    } cases[] = {{u"FLAT_CHANAL", u"CHANAL", 0}, {u"F_LEFT", u"F_LEFT", -1},           {u"FLAT_F_LEFT", u"F_LEFT", -1},
                 {u"F_RIGHT", u"F_RIGHT", 1},    {u"FLAT_F_RIGHT", u"F_RIGHT", 1},     {u"F_LEFTX", u"F_LEFTX", 0},
                 {u"f_left", u"f_left", 0},      {u"XFLAT_F_LEFT", u"XFLAT_F_LEFT", 0}};
    for (const auto& c : cases) {
        button.Create(&artwork, nullptr, u"N", 1, 2, STATE_NORMAL, c.skin, true);
        EXPECT_EQ(button.skinName, c.skin);
        EXPECT_EQ(button.shapeName, c.shape);
        EXPECT_EQ(button.captionSide, c.side) << std::string(c.skin.begin(), c.skin.end());
    }
}

TEST(FaceButtonNames, FlatSkinDrawsItsOwnFaceButTakesTheShapesLabelPoint) {
    FakeArtwork artwork;
    artwork.bitmaps[u"FLAT_CHANAL"] = Face(10, 8, 255, 170, 170);
    artwork.bitmaps[u"CHANAL"] = Face(20, 20, 255, 255, 255);
    artwork.points[u"CHANAL"] = {5, 4, 0, 0};
    artwork.points[u"FLAT_CHANAL"] = {1, 1, 0, 0};
    artwork.bitmaps[u"L"] = Solid(1, 1, Rgb(0, 0, 255));
    artwork.bitmaps[u"L_MASK"] = Solid(1, 1, 0);
    FaceButton button = MakeButton(artwork, u"FLAT_CHANAL", 0, 0, Rgb(9, 9, 9));
    button.SetLabel(u"L");
    EXPECT_EQ(button.width, 10);
    EXPECT_EQ(button.height, 8);
    EXPECT_EQ((button.labelOffset), (std::array<std::int32_t, 2>{5, 4}));

    Bitmap24 target = Solid(30, 30, 0);
    DeviceContext dc{target, kOrientationPortrait};
    DrawFaceButton(button, dc, 0, {0}, true, 0);
    EXPECT_EQ(target.ColorAt(0, 0), Rgb(9, 9, 9));
    EXPECT_EQ(target.ColorAt(12, 12), 0u);  // not the 20 x 20 white face
    EXPECT_EQ(target.ColorAt(5, 4), Rgb(0, 0, 255));
}

TEST(FaceButtonMeasure, MissingFaceOrPointsLeaveZeros) {
    FakeArtwork artwork;
    FaceButton button = MakeButton(artwork, u"NONE", 3, 4, 0);
    EXPECT_EQ(button.width, 0);
    EXPECT_EQ(button.height, 0);
    EXPECT_EQ((button.labelOffset), (std::array<std::int32_t, 2>{0, 0}));
    artwork.bitmaps[u"NONE"] = Face(7, 9, 255, 170, 170);
    button.Create(&artwork, nullptr, u"B", 3, 4, STATE_NORMAL, u"NONE", false);  // size not from the bitmap
    button.Measure();
    EXPECT_EQ(button.width, 0);
    EXPECT_EQ(button.GetRect().x, 3);
    button.SetPosition(8, 9);
    EXPECT_EQ(button.GetRect().y, 9);
}

// A 3 x 2 label whose pixels are all different, with a mask that lets all of it show.
void AddNumberedLabel(FakeArtwork& artwork) {
    Bitmap24 label(3, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) label.SetColor(c, r, Rgb(10 + 40 * c, 10 + 40 * r, 7));
    artwork.bitmaps[u"NUM"] = label;
    artwork.bitmaps[u"NUM_MASK"] = Solid(3, 2, 0);
}

TEST(FaceButtonLabel, EachRotationAndThePressedShift) {
    FakeArtwork artwork;
    AddNumberedLabel(artwork);
    artwork.points[u"SHAPE"] = {4, 6, 0, 0};
    FaceButton button = MakeButton(artwork, u"SHAPE", 10, 10, 0);
    button.SetLabel(u"NUM");
    const Bitmap24& label = artwork.bitmaps[u"NUM"];
    const Bitmap24 turns[] = {label, TurnClockwise(label), TurnHalf(label), TurnCounterClockwise(label)};
    for (int rotation = 0; rotation < 4; ++rotation) {
        for (int state : {STATE_NORMAL, STATE_PRESSED}) {
            Bitmap24 target = Solid(40, 40, Rgb(200, 200, 200));
            DeviceContext dc{target, kOrientationPortrait};
            DrawFaceButton(button, dc, state, {Rgb(200, 200, 200)}, true, rotation);
            const Bitmap24& drawn = turns[rotation];
            const int shift = state == STATE_PRESSED ? 1 : 0;
            const int left = 10 + 4 - drawn.Width() / 2 + shift;
            const int top = 10 + 6 - drawn.Height() / 2 + shift;
            for (int r = 0; r < drawn.Height(); ++r)
                for (int c = 0; c < drawn.Width(); ++c)
                    EXPECT_EQ(target.ColorAt(left + c, top + r), drawn.ColorAt(c, r)) << rotation << " " << state;
            EXPECT_EQ(target.ColorAt(left - 1, top), Rgb(200, 200, 200));
        }
    }
}

TEST(FaceButtonLabel, MaskIsAndedThenPictureXored) {
    FakeArtwork artwork;
    Bitmap24 mask = Solid(2, 1, Rgb(255, 255, 255));
    mask.SetColor(1, 0, 0);
    Bitmap24 picture = Solid(2, 1, 0);
    picture.SetColor(1, 0, Rgb(255, 0, 0));
    artwork.bitmaps[u"L"] = picture;
    artwork.bitmaps[u"L_MASK"] = mask;
    FaceButton button = MakeButton(artwork, u"NOFACE", 5, 5, 0);
    button.SetLabel(u"L");
    Bitmap24 target = Solid(10, 10, Rgb(200, 200, 200));
    DeviceContext dc{target, kOrientationPortrait};
    DrawFaceButton(button, dc, 0, {0}, true, 0);
    // No POINTS: the label's centre sits on the button's corner.
    EXPECT_EQ(target.ColorAt(4, 5), Rgb(200, 200, 200));
    EXPECT_EQ(target.ColorAt(5, 5), Rgb(255, 0, 0));

    // Without its mask only the XOR pass runs.
    artwork.bitmaps.erase(u"L_MASK");
    Bitmap24 unmasked = Solid(10, 10, Rgb(200, 200, 200));
    DeviceContext unmaskedDc{unmasked, kOrientationPortrait};
    DrawFaceButton(button, unmaskedDc, 0, {0}, true, 0);
    EXPECT_EQ(unmasked.ColorAt(5, 5), Rgb(200 ^ 255, 200, 200));
}

TEST(FaceButtonLandscape, FaceAndLabelTurnOntoTheSamePlace) {
    FakeArtwork artwork;
    Bitmap24 face = Face(3, 2, 255, 0, 0);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) face.Pixel(c, r)[2] = std::uint8_t(10 + 10 * (3 * r + c));
    artwork.bitmaps[u"SKIN"] = face;
    artwork.bitmaps[u"DOT"] = Solid(1, 1, Rgb(0, 0, 255));
    artwork.bitmaps[u"DOT_MASK"] = Solid(1, 1, 0);
    artwork.points[u"SKIN"] = {0, 0, 0, 0};
    FaceButton button = MakeButton(artwork, u"SKIN", 10, 20, Rgb(170, 170, 170));

    Bitmap24 target = Solid(270, 240, 0x00FFFFFF);
    DeviceContext dc{target, kOrientationLandscape};
    DrawFaceButton(button, dc, 0, {0x00FFFFFF}, true, 0);
    // x' = y, y' = 240 - x - width; the face turned counter-clockwise.
    const int X = 20, Y = 240 - 10 - 3;
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int gray = 10 + 10 * (3 * r + c);
            EXPECT_EQ(target.ColorAt(X + r, Y + (3 - 1 - c)), Rgb(gray, gray, gray));
        }
    }
    EXPECT_EQ(target.ColorAt(X, Y + 3), 0x00FFFFFFu);

    // The label's anchor is the face's own corner.
    button.SetLabel(u"DOT");
    DrawFaceButton(button, dc, 0, {0x00FFFFFF}, true, 0);
    EXPECT_EQ(target.ColorAt(X, Y), Rgb(0, 0, 255));
    const PixelRect turned = OrientedRect(button.GetRect(), kOrientationLandscape);
    EXPECT_EQ(turned.x, X);
    EXPECT_EQ(turned.y, Y);
    EXPECT_EQ(turned.width, 2);
    EXPECT_EQ(turned.height, 3);
}

TEST(FaceButtonLandscape, LabelUsesTheLandscapePoint) {
    FakeArtwork artwork;
    artwork.bitmaps[u"DOT"] = Solid(1, 1, Rgb(0, 0, 255));
    artwork.bitmaps[u"DOT_MASK"] = Solid(1, 1, 0);
    artwork.bitmaps[u"SKIN"] = Face(30, 20, 0, 0, 0);
    artwork.points[u"SKIN"] = {3, 4, 7, 9};
    FaceButton button = MakeButton(artwork, u"SKIN", 50, 60, 0);
    button.SetLabel(u"DOT");
    Bitmap24 target = Solid(270, 240, 0);
    DeviceContext dc{target, kOrientationLandscape};
    DrawFaceButton(button, dc, STATE_PRESSED, {0}, true, 0);
    EXPECT_EQ(target.ColorAt(60 + 7 + 1, 240 - 50 - 30 + 9 + 1), Rgb(0, 0, 255));

    // An unknown orientation draws no face and anchors the label at the origin.
    artwork.bitmaps[u"SKIN"] = Face(30, 20, 255, 255, 255);
    Bitmap24 unknown = Solid(100, 100, 0);
    DeviceContext unknownDc{unknown, kOrientationUnknown};
    DrawFaceButton(button, unknownDc, 0, {0}, true, 0);
    EXPECT_EQ(unknown.ColorAt(3, 4), Rgb(0, 0, 255));
    EXPECT_EQ(unknown.ColorAt(55, 65), 0u);
}

TEST(FaceButtonCaption, BoxAndTextByCaptionSideInBothOrientations) {
    FakeArtwork artwork;
    artwork.bitmaps[u"F_LEFT"] = Face(118, 42, 0, 0, 0);
    artwork.bitmaps[u"F_RIGHT"] = Face(118, 42, 0, 0, 0);
    artwork.bitmaps[u"IDB_BTNFACE"] = Solid(6, 4, Rgb(9, 9, 9));
    RecordingTextPainter text;
    for (int side : {-1, 1}) {
        FaceButton button = MakeButton(artwork, side < 0 ? u"F_LEFT" : u"F_RIGHT", 0, 0, 0);
        button.caption = u"Menu";
        Bitmap24 portrait = Solid(240, 270, 0);
        DeviceContext dc{portrait, kOrientationPortrait, &text};
        text.calls.clear();
        DrawFaceButton(button, dc, 0, {0}, true, 0);
        const int dx = side < 0 ? 39 : 12;
        EXPECT_EQ(portrait.ColorAt(dx + 5, 12 + 3), Rgb(9, 9, 9));
        EXPECT_EQ(portrait.ColorAt(dx - 1, 12), 0u);
        ASSERT_EQ(text.calls.size(), 1u);
        EXPECT_EQ(text.calls[0].first.x, dx + 2);
        EXPECT_EQ(text.calls[0].first.y, 14);
        EXPECT_EQ(text.calls[0].first.width, 3);
        EXPECT_EQ(text.calls[0].first.height, 1);
        EXPECT_EQ(text.calls[0].second, u"Menu");

        // Landscape: the box turned at (X + 12, Y + 12) or (X + 12, Y + 40), the text written on it first.
        Bitmap24 landscape = Solid(270, 240, 0);
        DeviceContext turnedDc{landscape, kOrientationLandscape, &text};
        DrawFaceButton(button, turnedDc, 0, {0}, true, 0);
        const int X = 0, Y = 240 - 118;
        const int boxY = Y + (side < 0 ? 12 : 40);
        EXPECT_EQ(landscape.ColorAt(X + 12, boxY), Rgb(9, 9, 9));
        EXPECT_EQ(landscape.ColorAt(X + 15, boxY + 5), Rgb(9, 9, 9));
        EXPECT_EQ(landscape.ColorAt(X + 16, boxY), 0u);
        EXPECT_EQ(landscape.ColorAt(X + 12 + 2, boxY + 6 - 1 - 2), Rgb(1, 2, 3));  // box pixel (2, 2) turned
    }
    // No box, no caption; no caption box without a caption side.
    FaceButton plain = MakeButton(artwork, u"F_LEFTX", 0, 0, 0);
    plain.caption = u"Menu";
    Bitmap24 target = Solid(240, 270, 0);
    DeviceContext dc{target, kOrientationPortrait, &text};
    text.calls.clear();
    DrawFaceButton(plain, dc, 0, {0}, true, 0);
    EXPECT_TRUE(text.calls.empty());
    EXPECT_EQ(target.ColorAt(39, 12), 0u);
}

TEST(FaceButtonPicture, TransparentButtonsShadeThePictureItself) {
    FakeArtwork artwork;
    artwork.bitmaps[u"SKIN"] = Face(2, 2, 255, 170, 170);
    Bitmap24 picture(240, 270);
    for (int r = 0; r < 270; ++r)
        for (int c = 0; c < 240; ++c) picture.SetColor(c, r, Rgb(c, r % 256, 99));
    const FaceButton button = MakeButton(artwork, u"SKIN", 100, 50, Rgb(1, 2, 3));

    Bitmap24 opaque = Solid(240, 270, 0);
    DeviceContext opaqueDc{opaque, kOrientationPortrait};
    DrawFaceButton(button, opaqueDc, 0, {0, &picture}, true, 0);
    EXPECT_EQ(opaque.ColorAt(101, 51), Rgb(1, 2, 3));

    Bitmap24 seeThrough = Solid(240, 270, 0);
    DeviceContext seeThroughDc{seeThrough, kOrientationPortrait};
    DrawFaceButton(button, seeThroughDc, 0, {0, &picture}, false, 0);
    EXPECT_EQ(seeThrough.ColorAt(101, 51), Rgb(101, 51, 99));

    // In landscape the button shades the same picture pixels, as the picture is turned with it.
    Bitmap24 landscape = Solid(270, 240, 0);
    DeviceContext landscapeDc{landscape, kOrientationLandscape};
    DrawFaceButton(button, landscapeDc, 0, {0, &picture}, false, 0);
    EXPECT_EQ(landscape.ColorAt(50, 240 - 100 - 2), Rgb(101, 50, 99));
    EXPECT_EQ(landscape.ColorAt(51, 240 - 100 - 1), Rgb(100, 51, 99));
}

TEST(FaceButtonPicture, PastThePictureTheBackgroundColourShows) {
    FakeArtwork artwork;
    artwork.bitmaps[u"SKIN"] = Face(2, 40, 128, 170, 170);
    const Bitmap24 picture = Solid(240, 270, Rgb(0, 0, 255));
    const FaceButton button = MakeButton(artwork, u"SKIN", 0, 250, Rgb(0, 255, 0));
    const std::uint32_t background = Rgb(255, 0, 0);
    Bitmap24 target = Solid(240, 300, 0);
    DeviceContext dc{target, kOrientationPortrait};
    DrawFaceButton(button, dc, 0, {background, &picture}, true, 0);
    EXPECT_EQ(target.ColorAt(0, 260), Rgb(0, 128, 127));  // over the picture's blue
    EXPECT_EQ(target.ColorAt(0, 280), Rgb(127, 128, 0));  // below it, over the background red
    DrawFaceButton(button, dc, 0, {background, &picture}, false, 0);
    EXPECT_EQ(target.ColorAt(1, 289), Rgb(255, 0, 0));  // the red itself shaded at 170
}

TEST(FaceButtonHitTest, TransparentCornersAndEdgesMiss) {
    FakeArtwork artwork;
    Bitmap24 face = Face(10, 10, 255, 170, 170);
    face.Pixel(0, 0)[0] = 0;
    artwork.bitmaps[u"ROUND"] = face;
    const FaceButton button = MakeButton(artwork, u"ROUND", 20, 30, 0);
    EXPECT_TRUE(HitTestButton(button, 25, 35));
    EXPECT_TRUE(HitTestButton(button, 29, 39));
    EXPECT_FALSE(HitTestButton(button, 20, 30));  // transparent corner
    EXPECT_FALSE(HitTestButton(button, 30, 35));  // right edge: past the face bitmap
    EXPECT_FALSE(HitTestButton(button, 25, 40));  // bottom edge
    EXPECT_FALSE(HitTestButton(button, 19, 35));
    artwork.bitmaps.erase(u"ROUND");
    EXPECT_FALSE(HitTestButton(button, 25, 35));
}

TEST(ScreenOrientation, ByVerticalResolution) {
    EXPECT_EQ(ScreenOrientation(320), kOrientationPortrait);
    EXPECT_EQ(ScreenOrientation(240), kOrientationLandscape);
    EXPECT_EQ(ScreenOrientation(480), kOrientationUnknown);
}

}  // namespace
