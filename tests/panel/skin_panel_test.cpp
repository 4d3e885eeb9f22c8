// Panels: list operations, painting in normal and edit mode over a colour or a picture, single-button
// redraws, and the picture stretched onto the panel.
#include "app/panel/skin_panel.h"

#include <gtest/gtest.h>

#include "tests/panel/fake_artwork.h"

namespace {

using panel_test::Face;
using panel_test::FakeArtwork;
using panel_test::Rgb;
using panel_test::Solid;

FaceButton Button(const FakeArtwork& artwork, std::u16string_view name, std::u16string_view skin, int x, int y,
                  std::uint32_t color = 0) {
    FaceButton button;
    button.Create(&artwork, nullptr, name, x, y, STATE_NORMAL, skin, true);
    button.Measure();
    button.SetColor(color);
    return button;
}

struct PanelFixture : testing::Test {
    PanelFixture() {
        artwork.bitmaps[u"SQ"] = Face(10, 10, 255, 170, 0);
        Bitmap24 round = Face(10, 10, 255, 170, 0);
        round.Pixel(0, 0)[0] = 0;
        artwork.bitmaps[u"RND"] = round;
    }
    FakeArtwork artwork;
    SkinPanel panel;
};

TEST_F(PanelFixture, UniqueNamesTakeTheSmallestFreeNumber) {
    panel.AddButton(Button(artwork, u"X", u"SQ", 0, 0), true);
    EXPECT_EQ(panel.buttons.back().name, u"CUSTOM$0");
    panel.AddButton(Button(artwork, u"CUSTOM$2", u"SQ", 0, 0), false);
    panel.AddButton(Button(artwork, u"X", u"SQ", 0, 0), true);
    EXPECT_EQ(panel.buttons.back().name, u"CUSTOM$1");
    panel.AddButton(Button(artwork, u"X", u"SQ", 0, 0), true);
    EXPECT_EQ(panel.buttons.back().name, u"CUSTOM$3");
    panel.AddButton(Button(artwork, u"Keep", u"SQ", 0, 0), false);
    EXPECT_EQ(panel.buttons.back().name, u"Keep");
    panel.Clear();
    EXPECT_TRUE(panel.buttons.empty());
}

TEST_F(PanelFixture, NamesAlikeActOnTheFirstAndTapsOnTheTopmost) {
    panel.AddButton(Button(artwork, u"A", u"SQ", 0, 0, 1), false);
    panel.AddButton(Button(artwork, u"B", u"SQ", 5, 5, 2), false);
    panel.AddButton(Button(artwork, u"A", u"SQ", 8, 8, 3), false);
    EXPECT_EQ(panel.FindButton(u"A")->color, 1u);
    EXPECT_EQ(panel.FindButton(u"a"), nullptr);  // exact, case-sensitive
    panel.SetButtonCaption(u"A", u"first");
    EXPECT_EQ(panel.buttons[0].caption, u"first");
    EXPECT_EQ(panel.buttons[2].caption, u"");
    EXPECT_EQ(panel.ButtonNameAt(6, 6), u"B");  // B lies above the first A
    EXPECT_EQ(panel.ButtonNameAt(9, 9), u"A");  // the last A above B
    EXPECT_EQ(panel.ButtonNameAt(3, 3), u"A");
    EXPECT_EQ(panel.ButtonNameAt(30, 30), u"");
    EXPECT_TRUE(panel.RemoveButton(u"A"));
    ASSERT_EQ(panel.buttons.size(), 2u);
    EXPECT_EQ(panel.buttons[1].color, 3u);
    EXPECT_FALSE(panel.RemoveButton(u"Z"));
}

TEST_F(PanelFixture, BringToFrontMovesTheButtonToTheTopAndMarksItMoving) {
    panel.AddButton(Button(artwork, u"Only", u"SQ", 0, 0), false);
    EXPECT_TRUE(panel.BringToFront(u"Only"));
    ASSERT_EQ(panel.buttons.size(), 1u);
    EXPECT_TRUE(panel.buttons[0].moving);

    panel.AddButton(Button(artwork, u"Over", u"SQ", 0, 0), false);
    EXPECT_EQ(panel.ButtonNameAt(2, 2), u"Over");
    panel.buttons[0].moving = false;
    EXPECT_TRUE(panel.BringToFront(u"Only"));
    EXPECT_EQ(panel.buttons.back().name, u"Only");
    EXPECT_TRUE(panel.buttons.back().moving);
    EXPECT_FALSE(panel.buttons.front().moving);
    EXPECT_EQ(panel.ButtonNameAt(2, 2), u"Only");
    EXPECT_FALSE(panel.BringToFront(u"None"));
}

TEST_F(PanelFixture, TapsOnTransparentCornersFallThrough) {
    panel.AddButton(Button(artwork, u"Below", u"SQ", 0, 0), false);
    panel.AddButton(Button(artwork, u"Round", u"RND", 0, 0), false);
    EXPECT_EQ(panel.ButtonNameAt(0, 0), u"Below");
    EXPECT_EQ(panel.ButtonNameAt(1, 1), u"Round");
    EXPECT_EQ(panel.ButtonNameAt(10, 5), u"");  // right edge of both
}

TEST_F(PanelFixture, PaintShowsColourNormallyAndWhiteInEditMode) {
    panel.SetBackgroundColor(Rgb(10, 20, 30));
    panel.pictureBits = Solid(kPictureWidthPx, kPictureHeightPx, Rgb(0, 0, 200));
    artwork.bitmaps[u"HALF"] = Face(4, 4, 128, 170, 170);
    panel.AddButton(Button(artwork, u"H", u"HALF", 20, 20, Rgb(0, 255, 0)), false);

    Bitmap24 edit(240, 270);
    DeviceContext editDc{edit, kOrientationPortrait};
    PaintPanel(panel, editDc, false);
    EXPECT_EQ(edit.ColorAt(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(edit.ColorAt(21, 21), Rgb(127, 127 + 128, 127));  // blended against the white

    panel.FreePicture();
    Bitmap24 normal(240, 270);
    DeviceContext normalDc{normal, kOrientationPortrait};
    PaintPanel(panel, normalDc, true);
    EXPECT_EQ(normal.ColorAt(239, 269), Rgb(10, 20, 30));
    EXPECT_EQ(normal.ColorAt(21, 21), Rgb(127 * 10 / 255, 127 * 20 / 255 + 128, 127 * 30 / 255));
}

TEST_F(PanelFixture, PictureModeWithTransparentButtons) {
    Bitmap24 picture(kPictureWidthPx, kPictureHeightPx);
    for (int r = 0; r < kPictureHeightPx; ++r)
        for (int c = 0; c < kPictureWidthPx; ++c) picture.SetColor(c, r, Rgb(c, r % 256, 50));
    panel.pictureBits = picture;
    panel.SetTransparentButtons(true);
    panel.AddButton(Button(artwork, u"S", u"SQ", 30, 40, Rgb(255, 0, 0)), false);

    Bitmap24 portrait(240, 270);
    DeviceContext portraitDc{portrait, kOrientationPortrait};
    PaintPanel(panel, portraitDc, true);
    EXPECT_EQ(portrait.ColorAt(5, 6), picture.ColorAt(5, 6));
    EXPECT_EQ(portrait.ColorAt(35, 45), picture.ColorAt(35, 45));  // shaded at 170: the picture's own colour

    // Landscape shows the picture turned, the buttons with it.
    Bitmap24 landscape(270, 240);
    DeviceContext landscapeDc{landscape, kOrientationLandscape};
    PaintPanel(panel, landscapeDc, true);
    EXPECT_EQ(landscape.ColorAt(6, 239 - 5), picture.ColorAt(5, 6));
    EXPECT_EQ(landscape.ColorAt(45, 239 - 35), picture.ColorAt(35, 45));

    panel.SetTransparentButtons(false);
    PaintPanel(panel, portraitDc, true);
    EXPECT_EQ(portrait.ColorAt(35, 45), Rgb(255, 0, 0));
}

TEST_F(PanelFixture, LandscapePaintsButtonsThatOnlyShowThere) {
    panel.SetBackgroundColor(0);
    panel.AddButton(Button(artwork, u"Low", u"SQ", 100, 255, Rgb(0, 0, 255)), false);
    Bitmap24 landscape(270, 240);
    DeviceContext dc{landscape, kOrientationLandscape};
    PaintPanel(panel, dc, true);
    EXPECT_EQ(landscape.ColorAt(260, 240 - 100 - 5), Rgb(0, 0, 255));
    // A button wholly outside the client area is left out.
    panel.buttons[0].SetPosition(100, 400);
    PaintPanel(panel, dc, true);
    EXPECT_EQ(landscape.ColorAt(260, 135), 0u);
}

TEST_F(PanelFixture, RedrawDrawsTheFirstOfTheNamePressedOverTheNormalBackground) {
    panel.SetBackgroundColor(Rgb(50, 50, 50));
    panel.AddButton(Button(artwork, u"K", u"SQ", 0, 0, Rgb(0, 0, 255)), false);
    panel.AddButton(Button(artwork, u"K", u"SQ", 20, 0, Rgb(0, 0, 255)), false);
    Bitmap24 window(240, 270);
    DeviceContext dc{window, kOrientationPortrait};
    PaintPanel(panel, dc, false);  // edit mode shows white
    RedrawButton(panel, dc, STATE_PRESSED, u"K");
    EXPECT_EQ(window.ColorAt(5, 5), 0u);               // green shading 0 in the pressed state
    EXPECT_EQ(window.ColorAt(25, 5), Rgb(0, 0, 255));  // the second K untouched
    const Bitmap24 before = window;
    RedrawButton(panel, dc, STATE_PRESSED, u"Missing");
    EXPECT_EQ(window, before);
    RedrawButton(panel, dc, STATE_NORMAL, u"K");
    EXPECT_EQ(window.ColorAt(5, 5), Rgb(0, 0, 255));
}

TEST(PanelPicture, StretchedFromRowOneWithRowZeroBlack) {
    Bitmap24 decoded(2, 2);
    decoded.SetColor(0, 0, Rgb(255, 0, 0));
    decoded.SetColor(1, 0, Rgb(0, 255, 0));
    decoded.SetColor(0, 1, Rgb(0, 0, 255));
    decoded.SetColor(1, 1, Rgb(9, 9, 9));
    const Bitmap24 picture = StretchIntoPicture(decoded);
    ASSERT_EQ(picture.Width(), 240);
    ASSERT_EQ(picture.Height(), 270);
    EXPECT_EQ(picture.ColorAt(0, 0), 0u);
    EXPECT_EQ(picture.ColorAt(239, 0), 0u);
    EXPECT_EQ(picture.ColorAt(0, 1), Rgb(255, 0, 0));
    EXPECT_EQ(picture.ColorAt(119, 135), Rgb(255, 0, 0));
    EXPECT_EQ(picture.ColorAt(120, 135), Rgb(0, 255, 0));
    EXPECT_EQ(picture.ColorAt(0, 136), Rgb(0, 0, 255));
    EXPECT_EQ(picture.ColorAt(239, 269), Rgb(9, 9, 9));
    EXPECT_EQ(StretchIntoPicture(Bitmap24()).ColorAt(5, 5), 0u);
}

}  // namespace
