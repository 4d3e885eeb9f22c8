// Opening a device: both panels filled from the templates or the device's own records, with the records'
// colours, labels and captions, the device's settings applied, and the ".kdr", ".ccf", nothing cases.
#include "app/panel/device_opening.h"

#include <gtest/gtest.h>

#include "tests/panel/fake_artwork.h"
#include "tests/support/test_home.h"

namespace {

using panel_test::Face;
using panel_test::FakeArtwork;
using panel_test::Rgb;

ButtonRecord Record(std::u16string_view name, std::u16string_view skin, int panel, std::u16string_view command = u"") {
    ButtonRecord record;
    record.name = name;
    record.skin = skin;
    record.panel = std::uint16_t(panel);
    record.commandName = command;
    return record;
}

struct OpeningFixture : testing::Test {
    OpeningFixture() {
        artwork.bitmaps[u"CHANAL"] = Face(46, 42, 255, 170, 170);
        artwork.bitmaps[u"F_LEFT"] = Face(118, 42, 255, 170, 170);
        artwork.points[u"CHANAL"] = {23, 21, 21, 23};
        opening.library = &artwork;
        opening.loadPicture = [this](SkinPanel& panel, std::u16string_view path) {
            picturePaths.emplace_back(path);
            panel.pictureBits = Bitmap24(kPictureWidthPx, kPictureHeightPx);
            return true;
        };
    }
    FakeArtwork artwork;
    DeviceOpening opening;
    DevicePanels panels;
    std::vector<std::u16string> picturePaths;
};

TEST_F(OpeningFixture, ReceiverTakesColourAndLabelFromItsRecordsAndCaptionsOnlyOnTheFunctionPanel) {
    Device tv;
    tv.deviceType = DT_RECEIVER;
    ButtonRecord ch1 = Record(u"CH1", u"IGNORED", 0, u"One");
    ch1.color = Rgb(1, 2, 3);
    ch1.label = u"LBL";
    ButtonRecord func1 = Record(u"FUNC1", u"IGNORED", 1, u"Input");
    func1.color = Rgb(4, 5, 6);
    func1.label = u"LF";
    tv.records = {ch1, func1};
    ASSERT_TRUE(FillDevicePanels(tv, nullptr, 3, panels, opening));

    ASSERT_EQ(panels.mainPanel.buttons.size(), 23u);
    const FaceButton& first = panels.mainPanel.buttons[0];
    EXPECT_EQ(first.name, u"CH1");
    EXPECT_EQ(first.skinName, u"CHANAL");  // the template's shape, not the record's
    EXPECT_EQ(first.color, Rgb(1, 2, 3));
    EXPECT_EQ(first.label, u"LBL");
    EXPECT_EQ(first.caption, u"");
    EXPECT_EQ(first.width, 46);
    EXPECT_EQ((first.labelOffset), (std::array<std::int32_t, 2>{23, 21}));
    const FaceButton& second = panels.mainPanel.buttons[1];
    EXPECT_EQ(second.color, Rgb(100, 50, 255));
    EXPECT_EQ(second.label, u"LABEL2");
    EXPECT_EQ(panels.mainPanel.labelRotation, 3);
    EXPECT_EQ(panels.functionPanel.labelRotation, 0);

    ASSERT_EQ(panels.functionPanel.buttons.size(), 12u);
    const FaceButton& f1 = panels.functionPanel.buttons[0];
    EXPECT_EQ(f1.caption, u"Input");
    EXPECT_EQ(f1.color, Rgb(4, 5, 6));
    EXPECT_EQ(f1.label, u"LF");
    EXPECT_EQ(f1.captionSide, -1);
    EXPECT_EQ(panels.functionPanel.buttons[6].captionSide, 1);
    EXPECT_EQ(panels.functionPanel.buttons[1].label, u"LABELF2");
    EXPECT_EQ(panels.mainPanel.backgroundColor, kDefaultPanelColor);
}

TEST_F(OpeningFixture, PlayerUsesItsOwnTable) {
    Device player;
    player.deviceType = DT_PLAYER;
    ASSERT_TRUE(FillDevicePanels(player, nullptr, 0, panels, opening));
    ASSERT_EQ(panels.mainPanel.buttons.size(), 20u);
    EXPECT_EQ(panels.mainPanel.buttons[6].name, u"PAUSE");
    EXPECT_EQ(panels.mainPanel.buttons[6].skinName, u"CHANALPLUS");
}

TEST_F(OpeningFixture, CustomDeviceShowsItsMainPanelRecordsInFileOrder) {
    Device amp;
    amp.deviceType = DT_CUSTOM;
    ButtonRecord power = Record(u"P", u"CHANAL", 0, u"Power");
    power.x = 7;
    power.y = 250;
    power.color = Rgb(9, 8, 7);
    power.label = u"LABELPW";
    amp.records = {power, Record(u"M", u"F_LEFT", 0, u"Movie"), Record(u"FUNC1", u"F_LEFT", 1, u"Menu"),
                   Record(u"Q", u"CHANAL", 0, u"Quiet")};
    ASSERT_TRUE(FillDevicePanels(amp, nullptr, 0, panels, opening));
    ASSERT_EQ(panels.mainPanel.buttons.size(), 3u);
    const FaceButton& p = panels.mainPanel.buttons[0];
    EXPECT_EQ(p.name, u"P");
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 250);
    EXPECT_EQ(p.color, Rgb(9, 8, 7));
    EXPECT_EQ(p.label, u"LABELPW");
    EXPECT_EQ(p.caption, u"");  // no caption box, no caption
    EXPECT_EQ(panels.mainPanel.buttons[1].caption, u"Movie");
    EXPECT_EQ(panels.mainPanel.buttons[2].name, u"Q");
    EXPECT_EQ(panels.functionPanel.buttons[0].caption, u"Menu");
}

TEST_F(OpeningFixture, UnknownTypeGetsOnlyTheLabelRotation) {
    Device odd;
    odd.deviceType = DeviceType(7);
    DeviceSettings settings;
    settings.backgroundColor = Rgb(1, 1, 1);
    EXPECT_FALSE(FillDevicePanels(odd, &settings, 2, panels, opening));
    EXPECT_TRUE(panels.mainPanel.buttons.empty());
    EXPECT_EQ(panels.mainPanel.labelRotation, 2);
    EXPECT_EQ(panels.mainPanel.backgroundColor, kDefaultPanelColor);
}

TEST_F(OpeningFixture, SettingsGiveColourPictureAndTransparency) {
    Device tv;
    tv.deviceType = DT_RECEIVER;
    DeviceSettings settings;
    settings.flags = DeviceSettings::kBackgroundPicture | DeviceSettings::kTransparentButtons;
    settings.backgroundPicture = u"\\My Documents\\sky.jpg";
    settings.backgroundColor = Rgb(0, 0, 128);
    ASSERT_TRUE(FillDevicePanels(tv, &settings, 0, panels, opening));
    EXPECT_EQ(panels.mainPanel.backgroundColor, Rgb(0, 0, 128));
    EXPECT_EQ(panels.functionPanel.backgroundColor, Rgb(0, 0, 128));
    EXPECT_FALSE(panels.mainPanel.opaqueButtons);
    EXPECT_TRUE(panels.mainPanel.pictureBits.has_value());
    EXPECT_FALSE(panels.functionPanel.pictureBits.has_value());
    ASSERT_EQ(picturePaths.size(), 1u);
    EXPECT_EQ(picturePaths[0], u"\\My Documents\\sky.jpg");

    settings.flags = DeviceSettings::kBackgroundPicture;
    ASSERT_TRUE(FillDevicePanels(tv, &settings, 0, panels, opening));
    EXPECT_TRUE(panels.mainPanel.opaqueButtons);

    settings.flags = 0;
    ASSERT_TRUE(FillDevicePanels(tv, &settings, 0, panels, opening));
    EXPECT_FALSE(panels.mainPanel.pictureBits.has_value());

    // A device without settings does not keep what the previous one set.
    panels.mainPanel.pictureBits = Bitmap24(1, 1);
    ASSERT_TRUE(FillDevicePanels(tv, nullptr, 0, panels, opening));
    EXPECT_EQ(panels.mainPanel.backgroundColor, kDefaultPanelColor);
    EXPECT_FALSE(panels.mainPanel.pictureBits.has_value());
}

TEST_F(OpeningFixture, OpensTheStoredDeviceOrHandsOverItsCcfFileOrSaysNeither) {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    AppState state;
    std::vector<int> told;
    int repaints = 0;
    opening.callback = [&](int kind) { told.push_back(kind); };
    opening.repaint = [&] { ++repaints; };

    ASSERT_TRUE(OpenDevice(u"TV", state, panels, opening));
    EXPECT_EQ(panels.mainPanel.buttons.size(), 23u);
    EXPECT_EQ(panels.functionPanel.buttons.size(), 12u);
    EXPECT_EQ(told, std::vector<int>{0});
    EXPECT_GT(repaints, 0);
    EXPECT_TRUE(boxes.Shown().empty());

    // Only a CCF file: handed over when there is a parent window for it.
    home.WriteFile(u"\\Program Files\\Orvane\\Devices\\Show.ccf", orvane_test::Bytes("not really"));
    std::u16string handed;
    opening.showCcf = [&](std::u16string_view path, handheld::HWND) {
        handed = path;
        return true;
    };
    EXPECT_FALSE(OpenDevice(u"Show", state, panels, opening));  // no parent window
    EXPECT_TRUE(panels.mainPanel.buttons.empty());
    int parent = 0;
    opening.panelWindow = reinterpret_cast<handheld::HWND>(&parent);
    EXPECT_TRUE(OpenDevice(u"Show", state, panels, opening));
    EXPECT_EQ(handed, u"\\Program Files\\Orvane\\Devices\\Show.ccf");
    EXPECT_EQ(told.back(), 1);

    boxes.Clear();
    EXPECT_FALSE(OpenDevice(u"Nowhere", state, panels, opening));
    ASSERT_FALSE(boxes.Shown().empty());
    EXPECT_EQ(boxes.Shown().back().text, u"Can't load device KDR or CCF");
    EXPECT_EQ(boxes.Shown().back().caption, u"Error");

    repaints = 0;
    EXPECT_FALSE(OpenDevice(u"", state, panels, opening));
    EXPECT_EQ(repaints, 1);
}

}  // namespace
