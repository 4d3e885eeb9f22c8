// Renders the hardware-buttons, settings, colour and hint dialogs and the picture pop-up as the handheld
// shows them, in both orientations; with ORVANE_SCREENSHOT_DIR set the pictures are also written there.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QTreeWidget>
#include <cstdlib>

#include "app/dialogs/hint_dialog.h"
#include "app/dialogs/picture_popup.h"
#include "app/dialogs/settings_dialog.h"
#include "app/hwkeys/gui/hardware_buttons_dialog.h"
#include "handheld/hotkeys.h"
#include "handheld/registry.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

namespace {

using handheld::Orientation;

QImage Keep(handheld::HandheldScreen& screen, const char* name) {
    const QImage image = screen.grab().toImage();
    EXPECT_EQ(image.size(), handheld::ScreenSize(screen.orientation())) << name;
    if (const char* folder = std::getenv("ORVANE_SCREENSHOT_DIR")) {
        const QString orientation = screen.orientation() == Orientation::Portrait ? "portrait" : "landscape";
        EXPECT_TRUE(image.save(QStringLiteral("%1/%2-%3.png").arg(folder, name, orientation)));
    }
    return image;
}

TEST(Screenshots, SettingsHardwareButtonsHintAndPictureInBothOrientations) {
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    handheld::ReloadRegistry();
    handheld::ClearHotKeys();
    AppState state;
    DeviceSettings tv;
    tv.deviceName = u"TV";
    tv.flags = DeviceSettings::kBackgroundPicture;
    tv.backgroundPicture = u"\\My Documents\\VUDirazu back\\sky.jpg";
    tv.backgroundColor = 0x00C08040;
    state.shownDevices = {tv};
    state.currentDevice = u"TV";
    for (const char16_t* command : {u"Power", u"Volume +", u"Volume -", u"Mute"}) {
        ButtonRecord record;
        record.name = record.commandName = command;
        state.device.AppendRecord(record);
    }
    state.device.records[0].hardwareKey = 0xC2;
    state.device.records[3].hardwareKey = 13;
    DevicePanels panels;

    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        handheld::HandheldScreen screen(orientation, nullptr);
        QWidget mainWindow(&screen);
        screen.show();
        HardwareButtons buttons;
        StartHardwareButtons(buttons, &mainWindow, state.device);
        {
            HardwareButtonsDialog dialog(&mainWindow, state, buttons);
            dialog.KeyList()->setCurrentItem(dialog.KeyList()->topLevelItem(1));
            dialog.show();
            Keep(screen, "hardware-buttons");
        }
        {
            SettingsDialog dialog(&mainWindow, state, panels, {});
            dialog.show();
            const QImage image = Keep(screen, "settings");
            // The swatch behind "Set background color" shows the pending colour.
            EXPECT_EQ(image.pixelColor(12, 40), QColor(0x40, 0x80, 0xC0));
        }
        {
            handheld::ColorChooserDialog chooser(&mainWindow, 0x00C08040, handheld::RunCustomColors().data());
            chooser.show();
            Keep(screen, "colour-chooser");
        }
        {
            SettingsDialog settings(&mainWindow, state, panels, {});
            settings.show();
            HintDialog hint(&settings, state,
                            u"Set the background colour or picture, transparent buttons, a sound for every tap and "
                            u"the turn of the labels. Show hints switches these tips on and off.");
            hint.show();
            const QImage image = Keep(screen, "hint");
            EXPECT_EQ(image.pixelColor(hint.x() + 2, hint.y() + hint.height() - 3), QColor(255, 255, 150));
        }
        {
            PicturePopup popup(&mainWindow, DecodeStoredPicture());
            popup.show();
            const QImage image = Keep(screen, "picture-popup");
            EXPECT_EQ(image.pixelColor(popup.x(), popup.y()), QColor(Qt::black));
        }
        handheld::ClearHotKeys();
    }
}

}  // namespace
