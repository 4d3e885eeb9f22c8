#include "app/model/gui/device_manager_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/model/gui/create_device_dialog.h"
#include "app/model/gui/hint_request.h"
#include "app/shell/app_state.h"
#include "handheld/files.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/popup_menu.h"
#include "handheld/shell/screen.h"
#include "handheld/shell/tap_and_hold.h"
#include "tests/dialogs/device_home.h"

namespace {

using dialogs_test::DeviceHome;
using dialogs_test::NamesOf;
using dialogs_test::Shown;
using M = DeviceManagerDialog;
using Names = std::vector<std::u16string>;

class DeviceManagerTest : public testing::Test {
protected:
    DeviceManagerTest() {
        devices.AddDevice(u"TV", DT_RECEIVER);
        devices.AddDevice(u"DVD", DT_PLAYER);
        devices.AddDevice(u"Amp", DT_CUSTOM);
        devices.AddFile(u"Hall.ccf", orvane_test::Bytes("CCF"));
        state.shownDevices = Shown({u"TV", u"Hall"});
        state.currentDevice = u"TV";
        previousOpener_ = SetDeviceOpener([this](handheld::HWND parent, std::u16string_view name, MenuStateCallback) {
            opened.emplace_back(name);
            openedParents.push_back(parent);
            return true;
        });
        previousHints_ = SetHintHandler([this](QWidget*, int hint, int) { hints.push_back(hint); });
    }
    ~DeviceManagerTest() override {
        SetDeviceOpener(previousOpener_);
        SetHintHandler(previousHints_);
    }

    static Names Rows(const M& manager) {
        Names rows;
        for (int i = 0; i < manager.List()->count(); ++i)
            rows.push_back(manager.List()->item(i)->text().toStdU16String());
        return rows;
    }
    static bool Ticked(const M& manager, std::u16string_view name) {
        return manager.Item(name)->checkState() == Qt::Checked;
    }
    // Where a row's text starts in the list's viewport.
    static QPoint OnText(const M& manager, std::u16string_view name) {
        const QRect row = manager.List()->visualItemRect(manager.Item(name));
        for (int x = row.left(); x < row.right(); ++x) {
            const QPoint p(x + 2, row.center().y());
            if (manager.OnItemText(p)) return p;
        }
        ADD_FAILURE() << "no text found on the row";
        return {};
    }

    DeviceHome devices;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    QWidget mainWindow{&screen};
    AppState state;
    Names opened;
    std::vector<handheld::HWND> openedParents;
    std::vector<int> hints;

private:
    DeviceOpener previousOpener_;
    HintHandler previousHints_;
};

TEST_F(DeviceManagerTest, ListsTheFolderWithTicksIconsAndTexts) {
    devices.AddFile(u"Damaged.kdr", orvane_test::Bytes("this is no device file, whatever its name says......"));
    M manager(&mainWindow, state);
    EXPECT_EQ(manager.Title(), "Select device");
    EXPECT_EQ(Rows(manager), (Names{u"Amp", u"DVD", u"TV", u"Hall"}));  // the damaged file is left out
    EXPECT_EQ(devices.boxes.Shown().size(), 1u);                        // after saying so
    EXPECT_TRUE(Ticked(manager, u"TV"));
    EXPECT_TRUE(Ticked(manager, u"Hall"));
    EXPECT_FALSE(Ticked(manager, u"Amp"));
    EXPECT_EQ(manager.List()->iconSize(), QSize(22, 22));
    EXPECT_FALSE(manager.Item(u"TV")->icon().isNull());
    EXPECT_EQ(M::TypeIcon(DT_RECEIVER).pixmap(22, 22).size(), QSize(22, 22));
    // One picture per type; CCF devices share the custom one.
    const auto image = [](DeviceType t) { return M::TypeIcon(t).pixmap(22, 22).toImage(); };
    EXPECT_NE(image(DT_RECEIVER), image(DT_PLAYER));
    EXPECT_NE(image(DT_PLAYER), image(DT_CUSTOM));
    EXPECT_EQ(image(DT_CCF), image(DT_CUSTOM));
    EXPECT_EQ(manager.Control<QPushButton>(M::kCreate)->text(), "Create...");
    EXPECT_EQ(manager.Control<QPushButton>(M::kOk)->text(), "OK");
    EXPECT_EQ(manager.Control(M::kDeviceList)->geometry(), QRect(0, 26, 240, 207));
    EXPECT_EQ(hints, std::vector<int>{M::kHint});
}

TEST_F(DeviceManagerTest, ScanDropsARemovedShownDeviceAndTheCurrentNameFollows) {
    handheld::DeleteFileW(devices.PathOf(u"TV").c_str());
    M manager(&mainWindow, state);
    EXPECT_EQ(NamesOf(state.shownDevices), Names{u"Hall"});
    EXPECT_EQ(state.currentDevice, u"Hall");
    EXPECT_EQ(manager.Item(u"TV"), nullptr);
}

TEST_F(DeviceManagerTest, OkTakesTheTicksAndOpensTheCurrentDevice) {
    M manager(&mainWindow, state);
    manager.Item(u"TV")->setCheckState(Qt::Unchecked);
    manager.Item(u"Amp")->setCheckState(Qt::Checked);
    EXPECT_EQ(NamesOf(state.shownDevices), (Names{u"TV", u"Hall"}));  // nothing applied before OK
    manager.Control<QPushButton>(M::kOk)->click();
    EXPECT_EQ(manager.result(), QDialog::Accepted);
    EXPECT_EQ(NamesOf(state.shownDevices), (Names{u"Hall", u"Amp"}));
    EXPECT_EQ(state.currentDevice, u"Hall");
    EXPECT_EQ(opened, Names{u"Hall"});
    EXPECT_EQ(openedParents, std::vector<handheld::HWND>{handheld::ToHwnd(&mainWindow)});
}

TEST_F(DeviceManagerTest, UntickingEverythingLeavesNothingShown) {
    M manager(&mainWindow, state);
    for (int i = 0; i < manager.List()->count(); ++i) manager.List()->item(i)->setCheckState(Qt::Unchecked);
    manager.Confirm();
    EXPECT_TRUE(state.shownDevices.empty());
    EXPECT_TRUE(state.currentDevice.empty());
}

TEST_F(DeviceManagerTest, CancelAppliesNothing) {
    M manager(&mainWindow, state);
    manager.Item(u"Amp")->setCheckState(Qt::Checked);
    manager.Control<QPushButton>(M::kCancel)->click();
    EXPECT_EQ(manager.result(), QDialog::Rejected);
    EXPECT_EQ(NamesOf(state.shownDevices), (Names{u"TV", u"Hall"}));
    EXPECT_TRUE(opened.empty());
}

TEST_F(DeviceManagerTest, TapAndHoldOnANameOpensTheItemMenu) {
    M manager(&mainWindow, state);
    manager.show();
    QWidget* viewport = manager.List()->viewport();
    const QPoint text = OnText(manager, u"DVD");
    // Beside the text (on the tick box, or right of the name) the gesture is not recognised.
    const QRect row = manager.List()->visualItemRect(manager.Item(u"DVD"));
    EXPECT_FALSE(manager.OnItemText({row.left() + 2, row.center().y()}));
    EXPECT_FALSE(manager.OnItemText({row.right() - 2, row.center().y()}));

    handheld::QueueMenuAnswer(0);
    QTest::mouseClick(viewport, Qt::RightButton, {}, text);
    const auto& menu = handheld::LastScriptedMenu();
    ASSERT_EQ(menu.items.size(), 2);
    EXPECT_EQ(menu.items[0].text, "Rename");
    EXPECT_EQ(menu.items[0].command, "40050");
    EXPECT_EQ(menu.items[1].text, "Delete");
    EXPECT_EQ(menu.items[1].command, "40051");
    EXPECT_TRUE(menu.items[0].enabled);
    EXPECT_TRUE(menu.items[1].enabled);
    EXPECT_EQ(menu.screenPoint, viewport->mapTo(&screen, text));

    // A press held still on the text does the same once the hold time has passed.
    handheld::QueueMenuAnswer(M::kRename);
    QTest::mousePress(viewport, Qt::LeftButton, {}, text);
    ASSERT_TRUE(manager.Gesture()->Holding());
    manager.Gesture()->CompleteHold();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, text);
    EXPECT_TRUE(manager.Renaming());
}

TEST_F(DeviceManagerTest, CcfRowsCannotBeRenamedOrDeleted) {
    devices.AddDevice(u"Hall", DT_RECEIVER);  // another device with the CCF file's name
    M manager(&mainWindow, state);
    QListWidgetItem* ccf = nullptr;
    for (int i = 0; i < manager.List()->count(); ++i) {
        if (manager.List()->item(i)->text() == "Hall" && manager.List()->item(i)->data(Qt::UserRole) == DT_CCF)
            ccf = manager.List()->item(i);
    }
    ASSERT_NE(ccf, nullptr);
    handheld::QueueMenuAnswer(M::kDelete);
    manager.OpenItemMenu(ccf, {5, 5});
    EXPECT_FALSE(handheld::LastScriptedMenu().items[0].enabled);
    EXPECT_FALSE(handheld::LastScriptedMenu().items[1].enabled);
    manager.AskDelete(ccf);
    manager.StartRename(ccf);
    EXPECT_FALSE(manager.Renaming());
    EXPECT_TRUE(devices.boxes.Shown().empty());
    EXPECT_TRUE(devices.Exists(devices.PathOf(u"Hall")));  // the receiver of that name is untouched
}

TEST_F(DeviceManagerTest, DeleteAsksFirst) {
    M manager(&mainWindow, state);
    devices.boxes.QueueAnswer(handheld::IDNO);
    manager.AskDelete(manager.Item(u"TV"));
    ASSERT_EQ(devices.boxes.Shown().size(), 1u);
    const auto& question = devices.boxes.Shown()[0];
    EXPECT_EQ(question.text, u"Delete device \"TV\"?");
    EXPECT_EQ(question.caption, u"Warning");
    EXPECT_EQ(question.flags, handheld::MB_YESNO | handheld::MB_ICONEXCLAMATION);
    EXPECT_NE(manager.Item(u"TV"), nullptr);
    EXPECT_TRUE(devices.Exists(devices.PathOf(u"TV")));

    state.device.path = devices.PathOf(u"TV");
    devices.boxes.QueueAnswer(handheld::IDYES);
    manager.AskDelete(manager.Item(u"TV"));
    EXPECT_EQ(manager.Item(u"TV"), nullptr);
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"TV")));
    EXPECT_EQ(NamesOf(state.shownDevices), Names{u"Hall"});
    EXPECT_TRUE(state.device.path.empty());
}

TEST_F(DeviceManagerTest, ADeleteThatFailsSaysSoAndKeepsTheRow) {
    M manager(&mainWindow, state);
    const std::u16string path = devices.PathOf(u"DVD");
    handheld::HANDLE held =
        handheld::CreateFileW(path.c_str(), handheld::GENERIC_READ, 0, nullptr, handheld::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, handheld::INVALID_HANDLE_VALUE);
    devices.boxes.QueueAnswer(handheld::IDYES);
    manager.AskDelete(manager.Item(u"DVD"));
    handheld::CloseHandle(held);
    ASSERT_EQ(devices.boxes.Shown().size(), 2u);
    EXPECT_EQ(devices.boxes.Shown()[1].text, u"Can't delete this device.");
    EXPECT_EQ(devices.boxes.Shown()[1].caption, u"Error");
    EXPECT_NE(manager.Item(u"DVD"), nullptr);
    EXPECT_TRUE(devices.Exists(path));
}

TEST_F(DeviceManagerTest, RenameFollowsTheCurrentDeviceAndEnterOnlyEndsTheEditing) {
    M manager(&mainWindow, state);
    manager.show();
    state.device.path = devices.PathOf(u"TV");
    manager.StartRename(manager.Item(u"TV"));
    ASSERT_TRUE(manager.Renaming());
    auto* editor = manager.List()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Kitchen TV");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::sendEvent(&manager, &enter);  // what reaches the dialog while the edit closes
    QApplication::processEvents();
    EXPECT_NE(manager.result(), QDialog::Accepted);  // Enter did not press OK
    EXPECT_NE(manager.Item(u"Kitchen TV"), nullptr);
    EXPECT_TRUE(devices.Exists(devices.PathOf(u"Kitchen TV")));
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"TV")));
    EXPECT_EQ(NamesOf(state.shownDevices), (Names{u"Kitchen TV", u"Hall"}));
    EXPECT_EQ(state.currentDevice, u"Kitchen TV");
    EXPECT_EQ(state.device.path, devices.PathOf(u"Kitchen TV"));
    EXPECT_FALSE(manager.Renaming());
    EXPECT_TRUE(devices.boxes.Shown().empty());
}

TEST_F(DeviceManagerTest, AFailedRenameRestoresEverything) {
    M manager(&mainWindow, state);
    manager.show();
    for (const QString& name : {QString("DVD"), QString("Bad/Name"), QString("")}) {
        devices.boxes.Clear();
        QListWidgetItem* tv = manager.Item(u"TV");
        manager.StartRename(tv);
        tv->setText(name);  // the edit ends with this text
        EXPECT_EQ(tv->text(), "TV") << name.toStdString();
        EXPECT_EQ(state.currentDevice, u"TV");
        EXPECT_EQ(NamesOf(state.shownDevices), (Names{u"TV", u"Hall"}));
        EXPECT_TRUE(devices.Exists(devices.PathOf(u"TV")));
        if (name.isEmpty()) {
            EXPECT_TRUE(devices.boxes.Shown().empty());  // an edit without text changes nothing
        } else {
            ASSERT_EQ(devices.boxes.Shown().size(), 1u) << name.toStdString();
            EXPECT_EQ(devices.boxes.Shown()[0].text, u"Can't rename this device.");
            EXPECT_EQ(devices.boxes.Shown()[0].flags & handheld::MB_ICONMASK, handheld::MB_ICONERROR);
        }
    }
    EXPECT_EQ(devices.Load(u"DVD").deviceType, DT_PLAYER);
}

TEST_F(DeviceManagerTest, CreateRunsTheCreateDialogAndScansAgain) {
    M manager(&mainWindow, state);
    manager.Item(u"Amp")->setCheckState(Qt::Checked);  // a tick given before Create... is kept
    handheld::QueueDialogScript([](handheld::HandheldDialog& dialog) {
        EXPECT_EQ(dialog.ResourceId(), CreateDeviceDialog::kResourceId);
        dialog.Control<QLineEdit>(CreateDeviceDialog::kNameEdit)->setText("Radio");
        dialog.Control<QComboBox>(CreateDeviceDialog::kTypeList)->setCurrentIndex(0);
        dialog.Control<QPushButton>(CreateDeviceDialog::kOk)->click();
    });
    manager.Control<QPushButton>(M::kCreate)->click();
    EXPECT_EQ(Rows(manager), (Names{u"Amp", u"DVD", u"Radio", u"TV", u"Hall"}));
    EXPECT_EQ(manager.Item(u"Radio")->data(Qt::UserRole).toInt(), DT_RECEIVER);
    EXPECT_TRUE(Ticked(manager, u"Amp"));
    EXPECT_FALSE(Ticked(manager, u"Radio"));
}

TEST_F(DeviceManagerTest, TurningTheScreenLaysItOutAgain) {
    M manager(&mainWindow, state);
    screen.Rotate();
    EXPECT_EQ(manager.geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(manager.Control(M::kDeviceList)->geometry(), QRect(0, 26, 320, 122));
    EXPECT_EQ(manager.Control(M::kCreate)->geometry(), QRect(13, 158, 60, 20));
    EXPECT_EQ(manager.Control(M::kOk)->geometry(), QRect(182, 158, 60, 20));
    EXPECT_EQ(manager.Control(M::kCancel)->geometry(), QRect(246, 158, 60, 20));
    screen.Rotate();
    EXPECT_EQ(manager.Control(M::kOk)->geometry(), QRect(102, 238, 60, 20));
}

TEST_F(DeviceManagerTest, TheFirstStartOnAnEmptyHandheldShowsTheManager) {
    state.shownDevices.clear();
    ScanDeviceFolder(devices.Folder(), state.shownDevices, state.currentDevice);
    int shownManagers = 0;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        shownManagers += dynamic_cast<M*>(&dialog) != nullptr;
        dialog.reject();
    });
    EXPECT_TRUE(RunDeviceManagerWhenNothingShown(&mainWindow, state));
    EXPECT_EQ(shownManagers, 1);
    state.shownDevices = Shown({u"TV"});
    EXPECT_FALSE(RunDeviceManagerWhenNothingShown(&mainWindow, state));
    EXPECT_EQ(handheld::PendingDialogScripts(), 0u);
}

}  // namespace
