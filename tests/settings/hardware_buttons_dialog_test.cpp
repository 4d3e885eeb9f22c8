#include "app/hwkeys/gui/hardware_buttons_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "handheld/hotkeys.h"
#include "handheld/registry.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

namespace {

using Dialog = HardwareButtonsDialog;

ButtonRecord Record(std::u16string command, std::uint16_t key) {
    ButtonRecord record;
    record.name = command;
    record.commandName = std::move(command);
    record.hardwareKey = key;
    return record;
}

class HardwareButtonsDialogTest : public testing::Test {
protected:
    HardwareButtonsDialogTest() {
        handheld::ClearHotKeys();
        handheld::ReloadRegistry();
        state.device.name = u"TV";
        state.device.path = u"\\My Documents\\TV.kdr";
        state.device.AppendRecord(Record(u"Power", 0xC2));
        state.device.AppendRecord(Record(u"Mute", 0));
        state.device.AppendRecord(Record(u"", 0));
        state.device.AppendRecord(Record(u"Volume", 0));
        StartHardwareButtons(buttons, &mainWindow, state.device);
    }
    ~HardwareButtonsDialogTest() override { handheld::ClearHotKeys(); }

    static QTreeWidgetItem* Row(Dialog& dialog, const QString& name) {
        const auto found = dialog.KeyList()->findItems(name, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    }
    // Selects the key's row and the command, and presses "Set".
    static void SetKey(Dialog& dialog, const QString& key, const QString& command) {
        dialog.KeyList()->setCurrentItem(Row(dialog, key));
        auto* commands = dialog.Control<QComboBox>(Dialog::kCommandList);
        commands->setCurrentIndex(commands->findText(command));
        dialog.Set();
    }

    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    orvane_test::MessageBoxRecorder boxes;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    QWidget mainWindow{&screen};
    AppState state;
    HardwareButtons buttons;
};

TEST_F(HardwareButtonsDialogTest, RowsShowEveryKeyWithItsCommandAndTheDropDownTheNamedCommands) {
    Dialog dialog(&mainWindow, state, buttons);
    QTreeWidget* keys = dialog.KeyList();
    ASSERT_EQ(keys->topLevelItemCount(), 10);
    EXPECT_EQ(keys->topLevelItem(0)->text(0), "Button 1");
    EXPECT_EQ(keys->topLevelItem(0)->text(1), "<Next device>");
    EXPECT_EQ(keys->topLevelItem(1)->text(1), "Power");
    EXPECT_EQ(keys->topLevelItem(2)->text(1), "");
    EXPECT_EQ(keys->topLevelItem(5)->text(0), "Left arrow");
    EXPECT_EQ(keys->topLevelItem(9)->text(0), "Enter");
    EXPECT_FALSE(keys->topLevelItem(9)->icon(0).isNull());
    auto* commands = dialog.Control<QComboBox>(Dialog::kCommandList);
    QStringList items;
    for (int i = 0; i < commands->count(); ++i) items << commands->itemText(i);
    EXPECT_EQ(items, QStringList({"<Empty>", "Power", "Mute", "Volume"}));
    EXPECT_FALSE(dialog.Control(Dialog::kSet)->isEnabled());
    emit commands->activated(1);
    EXPECT_TRUE(dialog.Control(Dialog::kSet)->isEnabled());
    EXPECT_TRUE(dialog.Control<QCheckBox>(Dialog::kUnmapWhenMinimized)->isChecked());
    EXPECT_TRUE(dialog.Control(Dialog::kUseSystemButton)->isHidden());
}

TEST_F(HardwareButtonsDialogTest, NextDeviceRowIsReadOnlyAndSetWithoutSelectionAsksForOne) {
    Dialog dialog(&mainWindow, state, buttons);
    dialog.Set();
    SetKey(dialog, "Button 1", "Mute");
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, u"To set you should select the itemin the List View");
    EXPECT_EQ(boxes.Shown()[1].text, u"This item is read only");
    EXPECT_EQ(boxes.Shown()[1].caption, u"Warning");
    EXPECT_EQ(boxes.Shown()[1].owner, handheld::ToHwnd(&mainWindow));
    EXPECT_EQ(Row(dialog, "Button 1")->text(1), "<Next device>");
    EXPECT_EQ(state.device.FindRecord(u"Mute")->hardwareKey, 0);
    EXPECT_EQ(handheld::FindHotKey(kNextDeviceKey)->id, 193);
}

TEST_F(HardwareButtonsDialogTest, CommandWithAKeyIsRefusedUntilItsOldKeyIsEmptied) {
    Dialog dialog(&mainWindow, state, buttons);
    RegisterDeviceKeys(buttons.list, state.device, false, true);
    SetKey(dialog, "Button 3", "Power");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"This command is alreadyassigned to other hard button");
    EXPECT_EQ(boxes.Shown()[0].owner, handheld::ToHwnd(&dialog));
    EXPECT_EQ(state.device.FindRecord(u"Power")->hardwareKey, 0xC2);

    SetKey(dialog, "Button 2", "<Empty>");
    EXPECT_EQ(Row(dialog, "Button 2")->text(1), "");
    EXPECT_FALSE(handheld::FindHotKey(0xC2).has_value());
    SetKey(dialog, "Button 3", "Power");
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(Row(dialog, "Button 3")->text(1), "Power");
    EXPECT_EQ(state.device.FindRecord(u"Power")->hardwareKey, 0xC3);
    EXPECT_EQ(handheld::FindHotKey(0xC3)->owner, handheld::ToHwnd(&mainWindow));
}

TEST_F(HardwareButtonsDialogTest, ArrowsAreStoredButNotHotKeysAndOkSavesTheDevice) {
    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        auto& dialog = static_cast<Dialog&>(shown);
        SetKey(dialog, "Up arrow", "Mute");
        SetKey(dialog, "Button 4", "Volume");
        dialog.Control<QCheckBox>(Dialog::kUnmapWhenMinimized)->setChecked(false);
        dialog.Control<QPushButton>(Dialog::kOk)->click();
    });
    EXPECT_EQ(RunHardwareButtonsDialog(&mainWindow, state, buttons), QDialog::Accepted);
    EXPECT_FALSE(handheld::FindHotKey(38).has_value());
    EXPECT_EQ(handheld::FindHotKey(0xC4)->id, 0xC4);
    EXPECT_EQ(state.optionFlags & ApplicationSettings::kUnmapButtonsWhenMinimized, 0);
    EXPECT_TRUE(boxes.Shown().empty());

    Device saved;
    ASSERT_TRUE(saved.Load(u"\\My Documents\\TV.kdr", false));
    EXPECT_EQ(saved.FindRecord(u"Mute")->hardwareKey, 38);
    EXPECT_EQ(saved.FindRecord(u"Volume")->hardwareKey, 0xC4);
    EXPECT_EQ(saved.FindRecord(u"Power")->hardwareKey, 0xC2);
}

}  // namespace
