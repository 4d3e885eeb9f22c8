// The main window on a handheld with the demo devices: the panel window at its place in both orientations,
// taps on the frame's widgets, and taps on the panel.
#include "app/shell/gui/main_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "app/shell/gui/program.h"
#include "app/shell/language_table.h"
#include "app/shell/stored_files.h"
#include "tests/support/test_home.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest()
        : library_(handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll")), artwork_(library_.get()) {
        ApplicationSettings settings;
        ReadConfigurationAtStart(settings, nullptr);
        TakeSettings(state_, settings);
    }

    void Tap(QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    void TapWidget(MainWindow& window, const BitmapWidget& widget) { Tap(&window, widget.Rect().center()); }

    orvane_test::TestHome home_;
    std::unique_ptr<handheld::ResourceLibrary> library_;
    LibraryArtwork artwork_;
    AppState state_;
    DevicePanels panels_;
};

TEST_F(MainWindowTest, DemoHandheldShowsItsDevicesInOrder) {
    ASSERT_TRUE(library_);
    ASSERT_EQ(state_.shownDevices.size(), 3u);
    MainWindow window(state_, panels_, artwork_, handheld::Orientation::Portrait);
    ASSERT_TRUE(window.Open(u"TV"));
    EXPECT_EQ(window.Widgets().deviceName.Text(), u"TV");
    EXPECT_EQ(window.size(), QSize(240, 320));
    EXPECT_EQ(window.Panel()->geometry(), QRect(0, 25, 240, 270));
    EXPECT_EQ(window.Panel()->objectName(), QStringLiteral("DeviceWindow"));

    TapWidget(window, window.Widgets().nextDevice);
    EXPECT_EQ(state_.currentDevice, u"Player");
    EXPECT_EQ(panels_.mainPanel.buttons.size(), 20u);
    EXPECT_FALSE(window.Widgets().nextDevice.Pressed());
    TapWidget(window, window.Widgets().previousDevice);
    TapWidget(window, window.Widgets().previousDevice);  // no wrap-around: the first stays
    EXPECT_EQ(state_.currentDevice, state_.shownDevices.front().deviceName);
    for (std::size_t i = 0; i <= state_.shownDevices.size(); ++i) TapWidget(window, window.Widgets().nextDevice);
    EXPECT_EQ(state_.currentDevice, state_.shownDevices.back().deviceName);  // nor at the last
    EXPECT_EQ(window.Widgets().deviceName.Text(), state_.shownDevices.back().deviceName);

    state_.editMode = true;
    TapWidget(window, window.Widgets().previousDevice);
    TapWidget(window, window.Widgets().function);
    EXPECT_EQ(state_.currentDevice, state_.shownDevices.back().deviceName);
    EXPECT_FALSE(state_.functionPanelShown);
}

TEST_F(MainWindowTest, TogglesSwitchThePanelAndTheButtonSounds) {
    MainWindow window(state_, panels_, artwork_, handheld::Orientation::Portrait);
    ASSERT_TRUE(window.Open(u"TV"));
    DeviceSettings* settings = state_.CurrentDeviceSettings();
    ASSERT_NE(settings, nullptr);
    const bool soundsBefore = settings->flags & DeviceSettings::kButtonSounds;
    EXPECT_EQ(window.Widgets().sound.On(), soundsBefore ? 1 : 0);
    TapWidget(window, window.Widgets().sound);
    EXPECT_NE(bool(settings->flags & DeviceSettings::kButtonSounds), soundsBefore);
    EXPECT_EQ(window.Widgets().sound.On(), soundsBefore ? 0 : 1);

    TapWidget(window, window.Widgets().function);
    EXPECT_TRUE(state_.functionPanelShown);
    EXPECT_EQ(window.Widgets().function.On(), 1);
    EXPECT_EQ(&window.Panel()->ShownPanel(), &panels_.functionPanel);
    TapWidget(window, window.Widgets().function);
    EXPECT_EQ(&window.Panel()->ShownPanel(), &panels_.mainPanel);
}

TEST_F(MainWindowTest, TopButtonEndsTheProgramOnlyWhenReleasedOverIt) {
    MainWindow window(state_, panels_, artwork_, handheld::Orientation::Portrait);
    QSignalSpy exits(&window, &MainWindow::ExitRequested);
    const QPoint top = window.Widgets().top.Rect().center();
    QTest::mousePress(&window, Qt::LeftButton, {}, top);
    EXPECT_TRUE(window.Widgets().top.Pressed());
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(exits.count(), 0);
    EXPECT_FALSE(window.Widgets().top.Pressed());
    Tap(&window, top);
    // Posted: the window is not closed inside its own pen-up handler.
    EXPECT_EQ(exits.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(MainWindowTest, PanelTapsFindTheButtonInBothOrientations) {
    MainWindow window(state_, panels_, artwork_, handheld::Orientation::Portrait);
    ASSERT_TRUE(window.Open(u"TV"));
    const FaceButton* ch1 = panels_.mainPanel.FindButton(u"CH1");
    ASSERT_NE(ch1, nullptr);
    const QPoint centre(ch1->x + ch1->width / 2, ch1->y + ch1->height / 2);
    QTest::mousePress(window.Panel(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window.Panel()->PressedButton(), u"CH1");
    EXPECT_EQ(state_.pressedName, u"CH1");
    QTest::mouseRelease(window.Panel(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window.Panel()->PressedButton(), u"");

    window.SetOrientation(handheld::Orientation::Landscape);
    EXPECT_EQ(window.size(), QSize(320, 240));
    EXPECT_EQ(window.Panel()->geometry(), QRect(25, 0, 270, 240));
    EXPECT_EQ(window.Widgets().menu.Rect(), QRect(295, 30, 25, 25));
    const QPoint turned(centre.y(), 239 - centre.x());
    EXPECT_EQ(window.Panel()->ToPortrait(turned), centre);
    QTest::mousePress(window.Panel(), Qt::LeftButton, {}, turned);
    EXPECT_EQ(window.Panel()->PressedButton(), u"CH1");
    QTest::mouseRelease(window.Panel(), Qt::LeftButton, {}, turned);
}

TEST_F(MainWindowTest, PanelWindowShowsThePanelAsPainted) {
    for (auto orientation : {handheld::Orientation::Portrait, handheld::Orientation::Landscape}) {
        MainWindow window(state_, panels_, artwork_, orientation);
        ASSERT_TRUE(window.Open(u"Player"));
        const QImage screen = window.grab().toImage().convertToFormat(QImage::Format_RGB888);
        const bool portrait = orientation == handheld::Orientation::Portrait;
        const CaptionTextPainter text;
        const QImage panel = ToRgbImage(
            PaintedPanel(panels_.mainPanel, portrait ? kOrientationPortrait : kOrientationLandscape, true, &text));
        EXPECT_EQ(screen.copy(window.Panel()->geometry()), panel);
        EXPECT_EQ(screen.pixelColor(portrait ? 150 : 5, portrait ? 10 : 5), QColor(198, 198, 198));
        if (!portrait) continue;

        // Held down, the button shows pressed over the painted panel.
        QTest::mousePress(window.Panel(), Qt::LeftButton, {}, QPoint(24, 22));
        ASSERT_EQ(window.Panel()->PressedButton(), u"F1");
        Bitmap24 pressed = PaintedPanel(panels_.mainPanel, kOrientationPortrait, true, &text);
        DeviceContext dc{pressed, kOrientationPortrait, &text};
        RedrawButton(panels_.mainPanel, dc, STATE_PRESSED, u"F1");
        const QImage held = window.grab().toImage().convertToFormat(QImage::Format_RGB888);
        EXPECT_EQ(held.copy(window.Panel()->geometry()), ToRgbImage(pressed));
        EXPECT_NE(held, screen);
    }
}

}  // namespace
