// Renders the dialogs as the handheld shows them, in both orientations. Every picture must fill the screen
// with the title line drawn; with ORVANE_SCREENSHOT_DIR set the pictures are also written there.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/filechooser/file_chooser.h"
#include "app/model/gui/create_device_dialog.h"
#include "app/model/gui/device_manager_dialog.h"
#include "app/shell/app_state.h"
#include "handheld/shell/qt_message_box.h"
#include "handheld/shell/screen.h"
#include "tests/dialogs/device_home.h"

namespace {

using handheld::Orientation;

void CheckAndKeep(handheld::HandheldScreen& screen, const char* name) {
    const QImage image = screen.grab().toImage();
    const QSize expected = handheld::ScreenSize(screen.orientation());
    EXPECT_EQ(image.size(), expected) << name;
    EXPECT_EQ(image.pixelColor(2, handheld::kDialogTitleLineY), QColor(Qt::black)) << name;
    EXPECT_EQ(image.pixelColor(expected.width() - 2, handheld::kDialogTitleLineY), QColor(Qt::black)) << name;
    if (const char* folder = std::getenv("ORVANE_SCREENSHOT_DIR")) {
        const QString orientation = screen.orientation() == Orientation::Portrait ? "portrait" : "landscape";
        EXPECT_TRUE(image.save(QStringLiteral("%1/%2-%3.png").arg(folder, name, orientation)));
    }
}

TEST(Screenshots, ChooserCreateDialogAndManagerInBothOrientations) {
    dialogs_test::DeviceHome devices;
    devices.AddDevice(u"Living room TV", DT_RECEIVER);
    devices.AddDevice(u"DVD player", DT_PLAYER, true);
    devices.AddDevice(u"Amplifier", DT_CUSTOM);
    devices.AddFile(u"Home theatre.ccf", orvane_test::Bytes("CCF"));
    devices.home.WriteFile(u"\\Program Files\\Orvane\\Devices\\Old\\x.kdr", orvane_test::Bytes("x"));
    AppState state;
    state.shownDevices = dialogs_test::Shown({u"Living room TV", u"Home theatre"});
    state.currentDevice = u"Living room TV";

    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        handheld::HandheldScreen screen(orientation, nullptr);
        screen.show();
        {
            FileChooserDialog chooser(nullptr, (devices.Folder()).c_str(), u"Remote devices(*.kdr)\0*.kdr\0\0",
                                      {"Name", "Type", "Path", "Open", "Cancel", "Size", "Date"});
            chooser.show();
            CheckAndKeep(screen, "file-chooser");
            chooser.ShowFolderTree();
            CheckAndKeep(screen, "file-chooser-tree");
        }
        {
            CreateDeviceDialog create(nullptr);
            create.Control<QLineEdit>(CreateDeviceDialog::kNameEdit)->setText("Bedroom TV");
            create.Control<QComboBox>(CreateDeviceDialog::kTypeList)->setCurrentIndex(2);
            create.show();
            CheckAndKeep(screen, "create-device");
        }
        {
            DeviceManagerDialog manager(nullptr, state);
            manager.show();
            CheckAndKeep(screen, "device-manager");
            // The item menu of a name, opened where the stylus was held; Escape closes it again.
            QTimer::singleShot(0, [&screen] {
                CheckAndKeep(screen, "device-item-menu");
                auto* menu = screen.findChild<QMenu*>();
                ASSERT_NE(menu, nullptr);
                QTest::keyClick(menu, Qt::Key_Escape);
            });
            manager.OpenItemMenu(manager.Item(u"DVD player"), {60, 30});
            handheld::ScreenMessageBox question(&screen, {nullptr, u"Delete device \"Amplifier\"?", u"Warning",
                                                          handheld::MB_YESNO | handheld::MB_ICONEXCLAMATION});
            question.show();
            CheckAndKeep(screen, "message-box");
        }
    }
}

}  // namespace
