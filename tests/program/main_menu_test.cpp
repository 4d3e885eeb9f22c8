// The main window's menu and modes: texts by key, the "Ir Port" submenu, edit mode only in portrait and left
// (saving) when the screen turns, hot keys and the device-name list ignored while busy, hints, and no save
// after an opening that did not show an own device.
#include <QListWidget>
#include <QMenu>

#include "app/panel/program_menu.h"
#include "app/shell/gui/device_name_list.h"
#include "app/shell/hint_request.h"
#include "handheld/registry.h"
#include "handheld/shell/handheld_dialog.h"
#include "tests/program/program_fixture.h"

namespace {

using orvane_test::ProgramTest;

constexpr std::string_view kRegistry = R"reg(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Drivers\Active\01]
"Name"="COM3:"
"Key"="Drivers\\BuiltIn\\Ir"

[HKEY_LOCAL_MACHINE\Drivers\Active\02]
"Name"="COM10:"
"Key"="Drivers\\BuiltIn\\Ten"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Ir]
"FriendlyName"="Infrared Port"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Ten]
"FriendlyName"="Ten"
)reg";

class MainMenuTest : public ProgramTest {
protected:
    QAction* Item(int command) { return MenuItem(window_->Menu(), command); }
    std::vector<unsigned char> DeviceFile(std::u16string_view name) const {
        return home_.ReadFile(GetProgramFolder() + u"\\Devices\\" + std::u16string(name) + u".kdr");
    }
};

TEST_F(MainMenuTest, MainMenuTextsComeFromTheLanguageTableByKey) {
    Window();
    EXPECT_EQ(Item(40018)->text(), QStringLiteral("Manage devices..."));
    EXPECT_EQ(Item(40086)->text(), QStringLiteral("Help"));
    EXPECT_EQ(Item(kCommandExit)->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(Item(kCommandNormalMode)->isChecked());
    EXPECT_FALSE(Item(kCommandEditMode)->isChecked());
    const QList<QAction*> items = window_->Menu().actions();
    ASSERT_EQ(items.size(), 12);  // separators included
    EXPECT_EQ(items[4]->text(), QStringLiteral("Ir Port"));
    EXPECT_EQ(items[11]->objectName(), QStringLiteral("1"));
}

TEST_F(MainMenuTest, IrPortSubmenuTakesLongPortNamesWholeAndDoesNotResendTheSamePort) {
    handheld::LoadRegistryText(kRegistry);
    state_.portName = u"com10:";  // stored in another case: still that port
    Window();
    ASSERT_NE(Item(40067), nullptr);
    EXPECT_EQ(Item(40067)->text(), QStringLiteral("COM10:   Ten"));
    EXPECT_TRUE(Item(40067)->isChecked());
    EXPECT_FALSE(Item(40065)->isChecked());

    window_->RunCommand(40066);
    EXPECT_EQ(state_.portName, u"COM3:");
    EXPECT_EQ(std::u16string(CLumbra::Instance()->GetPort()), u"COM3:");
    window_->RunCommand(40067);
    EXPECT_EQ(state_.portName, u"COM10:");
    EXPECT_TRUE(Item(40067)->isChecked());
    EXPECT_FALSE(Item(40066)->isChecked());
    // The driver is not told again about the port it has: a port set behind the program's back stays.
    CLumbra::Instance()->SetPort(u"COM3:");
    window_->RunCommand(40067);
    EXPECT_EQ(std::u16string(CLumbra::Instance()->GetPort()), u"COM3:");
    window_->RunCommand(40065);
    EXPECT_EQ(state_.portName, u"");
    EXPECT_TRUE(Item(40065)->isChecked());
    EXPECT_FALSE(Item(40067)->isChecked());
}

TEST_F(MainMenuTest, UnknownStoredPortShowsAutoChecked) {
    handheld::LoadRegistryText(kRegistry);
    state_.portName = u"COM9:";
    Window();
    EXPECT_TRUE(Item(40065)->isChecked());
    EXPECT_FALSE(Item(40066)->isChecked());
    EXPECT_FALSE(Item(40067)->isChecked());
}

TEST_F(MainMenuTest, EditModeOnlyInPortraitAndATurnToLandscapeSavesAndEndsIt) {
    Window(handheld::Orientation::Landscape);
    ASSERT_TRUE(window_->Open(u"My Amp"));
    window_->RunCommand(kCommandEditMode);
    EXPECT_FALSE(state_.editMode);
    EXPECT_FALSE(Item(kCommandEditMode)->isChecked());

    window_->SetOrientation(handheld::Orientation::Portrait);
    window_->RunCommand(kCommandEditMode);
    ASSERT_TRUE(state_.editMode);
    EXPECT_FALSE(Item(kCommandManageDevices)->isEnabled());
    const auto before = DeviceFile(u"My Amp");
    handheld::QueueMenuAnswer(kCommandMove);
    Hold(&Panel(), CentreOf(u"CUSTOM$2"));
    panels_.mainPanel.FindButton(u"CUSTOM$2")->SetPosition(7, 9);

    window_->SetOrientation(handheld::Orientation::Landscape);
    EXPECT_FALSE(state_.editMode);
    EXPECT_TRUE(Item(kCommandNormalMode)->isChecked());
    EXPECT_TRUE(Item(kCommandManageDevices)->isEnabled());
    EXPECT_NE(DeviceFile(u"My Amp"), before);
    ASSERT_TRUE(window_->Open(u"My Amp"));
    const FaceButton* moved = panels_.mainPanel.FindButton(u"CUSTOM$2");
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(QPoint(moved->x, moved->y), QPoint(7, 9));
}

TEST_F(MainMenuTest, ExitInEditModeFirstLeavesItSavingTheDevice) {
    Window();
    ASSERT_TRUE(window_->Open(u"My Amp"));
    window_->RunCommand(kCommandEditMode);
    handheld::QueueMenuAnswer(kCommandDelete);
    Hold(&Panel(), CentreOf(u"CUSTOM$0"));
    QSignalSpy exits(window_.get(), &MainWindow::ExitRequested);
    window_->RunCommand(kCommandExit);
    EXPECT_FALSE(state_.editMode);
    QCoreApplication::processEvents();
    EXPECT_EQ(exits.count(), 1);
    Device saved;
    ASSERT_TRUE(LoadDevice(saved, GetProgramFolder() + u"\\Devices\\My Amp.kdr", false));
    EXPECT_EQ(saved.FindRecord(u"CUSTOM$0"), saved.records.end());
}

TEST_F(MainMenuTest, FailedOpeningLeavesNothingToSaveOverAnotherDevicesFile) {
    Window();
    ASSERT_TRUE(window_->Open(u"TV"));
    window_->RunCommand(kCommandEditMode);
    window_->RunCommand(kCommandNormalMode);
    const auto tv = DeviceFile(u"TV");
    EXPECT_FALSE(window_->Open(u"Nowhere"));
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, u"Can't load device KDR or CCF");
    EXPECT_TRUE(state_.device.path.empty());
    window_->RunCommand(kCommandEditMode);
    window_->RunCommand(kCommandNormalMode);
    EXPECT_EQ(DeviceFile(u"TV"), tv);
    EXPECT_EQ(state_.currentDevice, u"TV");  // what is shown did not change
}

TEST_F(MainMenuTest, CcfShownGraysTheOwnDeviceItemsAndMovesThePanelWindow) {
    Window();
    MainWindow::MenuStateCallback(1);
    EXPECT_FALSE(Item(kCommandSettings)->isEnabled());
    EXPECT_FALSE(Item(kCommandHardwareButtons)->isEnabled());
    EXPECT_FALSE(Item(kCommandEditMode)->isEnabled());
    EXPECT_EQ(Panel().geometry(), QRect(0, 50, 240, 240));
    window_->SetOrientation(handheld::Orientation::Landscape);
    EXPECT_EQ(Panel().geometry(), QRect(50, 0, 240, 240));
    MainWindow::MenuStateCallback(0);
    EXPECT_TRUE(Item(kCommandEditMode)->isEnabled());
    EXPECT_EQ(Panel().geometry(), QRect(25, 0, 270, 240));
}

TEST_F(MainMenuTest, HintsOffPostNothingAndHintsOnReachTheHookWithBothNumbers) {
    Window();
    std::vector<QPoint> shown;
    TheProgramHooks().showHint = [&](handheld::HWND, int hint, int second) { shown.emplace_back(hint, second); };
    state_.optionFlags = 0;
    EXPECT_FALSE(RequestHint(state_, nullptr, 35));
    QCoreApplication::processEvents();
    EXPECT_EQ(window_->HintRequests(), 0);
    state_.optionFlags = ApplicationSettings::kShowHints;
    EXPECT_TRUE(RequestHint(state_, nullptr, 12, 13));
    EXPECT_TRUE(shown.empty());  // posted, not run at once
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QPoint(12, 13));
}

TEST_F(MainMenuTest, NextDeviceHotKeyIsIgnoredInEditModeAndWhileADialogIsOpen) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    state_.editMode = true;
    window_->HotKey(kNextDeviceHotKey);
    EXPECT_EQ(state_.currentDevice, u"TV");
    state_.editMode = false;

    // Inside the device-name list: neither the hot key nor the list's own empty answer opens anything.
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        window_->HotKey(kNextDeviceHotKey);
        dialog.reject();
    });
    Tap(window_.get(), window_->Widgets().deviceName.Rect().center());
    EXPECT_EQ(state_.currentDevice, u"TV");
    EXPECT_EQ(panels_.mainPanel.buttons.empty(), false);

    window_->HotKey(kNextDeviceHotKey);
    EXPECT_EQ(state_.currentDevice, u"Player");
}

TEST_F(MainMenuTest, DeviceNameListIsCentredAndADoubleTapOpensTheChosenDevice) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    QRect placed;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& dialog) {
        auto& list = static_cast<DeviceNameList&>(dialog);
        placed = list.geometry();
        ASSERT_EQ(list.List()->count(), 3);
        emit list.List()->itemDoubleClicked(list.List()->item(2));
    });
    Tap(window_.get(), window_->Widgets().deviceName.Rect().center());
    EXPECT_EQ(placed, QRect(30, 70, 180, 180));
    EXPECT_EQ(state_.currentDevice, u"My Amp");
    EXPECT_EQ(window_->Widgets().deviceName.Text(), u"My Amp");
}

TEST_F(MainMenuTest, OtherHotKeysPressTheMappedButton) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    // The first application key is the next-device key itself; the second is free.
    state_.device.FindRecord(u"PW")->hardwareKey = 0xC2;
    window_->HotKey(0xC3);
    EXPECT_EQ(Rises(), 0u);
    window_->HotKey(0xC2);
    EXPECT_GT(Rises(), 0u);
    EXPECT_EQ(state_.pressedName, u"PW");
}

}  // namespace

namespace {

TEST_F(MainMenuTest, CornerTapOpensThePicturePopupAndTheMenuButtonOpensTheMainMenuAboveIt) {
    ShownWindow();
    int pictures = 0;
    TheProgramHooks().picturePopup = [&](handheld::HWND) { ++pictures; };
    Tap(window_.get(), QPoint(1, 1));
    Tap(window_.get(), QPoint(2, 1));
    EXPECT_EQ(pictures, 1);

    int settings = 0;
    TheProgramHooks().settingsDialog = [&](handheld::HWND) { ++settings; };
    handheld::QueueMenuAnswer(kCommandSettings);
    const QRect button = window_->Widgets().menu.Rect();
    Tap(window_.get(), button.center());
    EXPECT_EQ(settings, 1);
    EXPECT_FALSE(window_->Widgets().menu.Pressed());
    // Portrait: the menu's bottom-right corner on the button's top-right corner.
    const QSize size = window_->Menu().sizeHint();
    EXPECT_EQ(handheld::LastScriptedMenu().screenPoint,
              QPoint(button.right() + 1 - size.width(), button.top() - size.height()));
}

}  // namespace
