#include "app/model/gui/create_device_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/filechooser/file_chooser.h"
#include "app/model/device_library.h"
#include "app/model/gui/hint_request.h"
#include "app/shell/app_state.h"
#include "handheld/shell/screen.h"
#include "tests/dialogs/device_home.h"

namespace {

using dialogs_test::DeviceHome;
using D = CreateDeviceDialog;

class CreateDeviceTest : public testing::Test {
protected:
    CreateDeviceTest() {
        previousHints_ = SetHintHandler([this](QWidget*, int hint, int) { hints.push_back(hint); });
    }
    ~CreateDeviceTest() override { SetHintHandler(previousHints_); }

    // Fills the dialog as a user would and presses OK.
    void Fill(D& dialog, const QString& name, int typeIndex) {
        dialog.Control<QLineEdit>(D::kNameEdit)->setText(name);
        dialog.Control<QComboBox>(D::kTypeList)->setCurrentIndex(typeIndex);
    }
    void UseTemplate(D& dialog, const std::u16string& path, bool withoutCodes) {
        dialog.Control<QCheckBox>(D::kUseTemplate)->setChecked(true);
        dialog.Control<QLineEdit>(D::kTemplatePath)->setText(QString::fromStdU16String(path));
        dialog.Control<QCheckBox>(D::kWithoutIrCodes)->setChecked(withoutCodes);
    }
    std::u16string LastBoxText() const {
        return devices.boxes.Shown().empty() ? u"" : devices.boxes.Shown().back().text;
    }

    DeviceHome devices;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    std::vector<int> hints;

private:
    HintHandler previousHints_;
};

TEST_F(CreateDeviceTest, OpensWithItsTextsTypesAndDisabledTemplateControls) {
    D dialog(nullptr);
    EXPECT_EQ(dialog.Title(), "Create device");
    EXPECT_EQ(dialog.Control<QLabel>(D::kNameLabel)->text(), "Device name:");
    EXPECT_EQ(dialog.Control<QLabel>(D::kTypeLabel)->text(), "Device type:");
    EXPECT_EQ(dialog.Control<QCheckBox>(D::kUseTemplate)->text(), "Use existing device as template");
    EXPECT_EQ(dialog.Control<QPushButton>(D::kCancel)->text(), "Cancel");
    auto* types = dialog.Control<QComboBox>(D::kTypeList);
    ASSERT_EQ(types->count(), 3);
    EXPECT_EQ(types->itemText(0), "Receiver");
    EXPECT_EQ(types->itemData(0).toInt(), DT_RECEIVER);
    EXPECT_EQ(types->itemText(1), "Player");
    EXPECT_EQ(types->itemData(1).toInt(), DT_PLAYER);
    EXPECT_EQ(types->itemText(2), "Custom");
    EXPECT_EQ(types->itemData(2).toInt(), DT_CUSTOM);
    EXPECT_EQ(types->currentIndex(), -1);
    for (int id : {D::kUseTemplate, D::kWithoutIrCodes, D::kTemplatePath, D::kBrowse}) {
        EXPECT_FALSE(dialog.Control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(dialog.Control(D::kOk)->geometry(), QRect(102, 193, 60, 20));
    EXPECT_EQ(hints, std::vector<int>{D::kHint});

    TheAppState().optionFlags &= ~ApplicationSettings::kShowHints;
    D quiet(nullptr);
    TheAppState().optionFlags |= ApplicationSettings::kShowHints;
    EXPECT_EQ(hints.size(), 1u);  // hints switched off: no request
}

TEST_F(CreateDeviceTest, TemplateOnlyForCustomAndItSwapsTheControls) {
    D dialog(nullptr);
    auto* types = dialog.Control<QComboBox>(D::kTypeList);
    auto* useTemplate = dialog.Control<QCheckBox>(D::kUseTemplate);
    for (int index : {0, 1}) {
        types->setCurrentIndex(index);
        EXPECT_FALSE(useTemplate->isEnabled()) << index;
    }
    types->setCurrentIndex(2);
    EXPECT_TRUE(useTemplate->isEnabled());
    useTemplate->setChecked(true);
    EXPECT_FALSE(types->isEnabled());
    for (int id : {D::kWithoutIrCodes, D::kTemplatePath, D::kBrowse}) EXPECT_TRUE(dialog.Control(id)->isEnabled());
    useTemplate->setChecked(false);
    EXPECT_TRUE(types->isEnabled());
    for (int id : {D::kWithoutIrCodes, D::kTemplatePath, D::kBrowse}) EXPECT_FALSE(dialog.Control(id)->isEnabled());
}

TEST_F(CreateDeviceTest, CreatesEachStandardType) {
    struct Case {
        QString name;
        int typeIndex;
        DeviceType type;
        std::size_t records;
    };
    for (const Case& c :
         {Case{"TV", 0, DT_RECEIVER, 35}, Case{"DVD", 1, DT_PLAYER, 32}, Case{"Amp", 2, DT_CUSTOM, 12}}) {
        D dialog(nullptr);
        Fill(dialog, c.name, c.typeIndex);
        dialog.Control<QPushButton>(D::kOk)->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.name.toStdString();
        const Device device = devices.Load(c.name.toStdU16String());
        EXPECT_EQ(device.deviceType, c.type);
        EXPECT_EQ(device.name, c.name.toStdU16String());
        EXPECT_EQ(device.records.size(), c.records);
    }
    EXPECT_TRUE(devices.boxes.Shown().empty());
}

TEST_F(CreateDeviceTest, RefusesMissingValuesAndBadNamesAndStaysOpen) {
    struct Case {
        QString name;
        int typeIndex;
        std::u16string message;
    };
    const QString tooLongPath(300, 'n');
    const Case cases[] = {
        {"", 0, u"Set all necessary values."},
        {"TV", -1, u"Set all necessary values."},
        {"A\\B", 0, u"This name can't be used for a device."},
        {"..\\..\\Windows\\evil", 0, u"This name can't be used for a device."},
        {"Tab\there", 2, u"This name can't be used for a device."},
        {"What?", 1, u"This name can't be used for a device."},
        {tooLongPath, 2, u"This name can't be used for a device."},
        {"A name of 21 letters.", 0, u"Too long device name"},
    };
    for (const Case& c : cases) {
        devices.boxes.Clear();
        D dialog(nullptr);
        Fill(dialog, c.name, c.typeIndex);
        dialog.Confirm();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.name.toStdString();
        ASSERT_EQ(devices.boxes.Shown().size(), 1u) << c.name.toStdString();
        EXPECT_EQ(devices.boxes.Shown()[0].text, c.message);
        EXPECT_EQ(devices.boxes.Shown()[0].caption, u"Warning");
        EXPECT_EQ(devices.boxes.Shown()[0].flags & handheld::MB_ICONMASK, handheld::MB_ICONEXCLAMATION);
    }
    EXPECT_FALSE(devices.Exists(u"\\Windows\\evil.kdr"));
    // Twenty characters still fit the file's header.
    D fits(nullptr);
    Fill(fits, "A name of twenty ch.", 0);
    fits.Confirm();
    EXPECT_EQ(fits.result(), QDialog::Accepted);
    EXPECT_TRUE(devices.Exists(devices.PathOf(u"A name of twenty ch.")));
}

TEST_F(CreateDeviceTest, AnExistingDeviceIsNotReplaced) {
    devices.AddDevice(u"TV", DT_PLAYER);
    D dialog(nullptr);
    Fill(dialog, "TV", 0);
    dialog.Confirm();
    ASSERT_EQ(devices.boxes.Shown().size(), 1u);
    EXPECT_EQ(LastBoxText(), u"Can't create or rewrite file \"" + devices.PathOf(u"TV") + u"\"");
    EXPECT_EQ(devices.Load(u"TV").deviceType, DT_PLAYER);
}

TEST_F(CreateDeviceTest, TemplatesWithAndWithoutCodesGiveCustomDevices) {
    devices.AddDevice(u"Player", DT_PLAYER, true);
    for (const bool withoutCodes : {false, true}) {
        D dialog(nullptr);
        Fill(dialog, withoutCodes ? "Bare copy" : "Copy", 2);
        UseTemplate(dialog, devices.PathOf(u"Player"), withoutCodes);
        dialog.Confirm();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        const Device copy = devices.Load(withoutCodes ? u"Bare copy" : u"Copy");
        EXPECT_EQ(copy.deviceType, DT_CUSTOM);
        EXPECT_EQ(copy.name, u"Player");
        EXPECT_EQ(copy.records.front().EntryCount(), withoutCodes ? 0u : 1u);
    }
    // A long name works with a template: the header keeps the template's name.
    D longName(nullptr);
    Fill(longName, "Player copied under a long name", 2);
    UseTemplate(longName, devices.PathOf(u"Player"), false);
    longName.Confirm();
    EXPECT_EQ(longName.result(), QDialog::Accepted);
    EXPECT_TRUE(devices.boxes.Shown().empty());
}

TEST_F(CreateDeviceTest, TemplateFailuresSaySoAndStayOpen) {
    devices.AddDevice(u"Player", DT_PLAYER);
    D missing(nullptr);
    Fill(missing, "Copy", 2);
    UseTemplate(missing, u"", false);
    missing.Confirm();
    EXPECT_EQ(LastBoxText(), u"Set all necessary values.");

    UseTemplate(missing, devices.PathOf(u"Player"), false);
    missing.Control<QLineEdit>(D::kNameEdit)->setText("Player");  // the copy would replace its own template
    devices.boxes.Clear();
    missing.Confirm();
    EXPECT_NE(missing.result(), QDialog::Accepted);
    ASSERT_EQ(devices.boxes.Shown().size(), 1u);
    EXPECT_EQ(LastBoxText(), u"Can't create or rewrite file \"" + devices.PathOf(u"Player") + u"\"");
    EXPECT_EQ(devices.boxes.Shown()[0].caption, u"Error");

    devices.home.WriteFile(u"\\My Documents\\damaged.kdr", orvane_test::Bytes("KCR and nothing else"));
    D damaged(nullptr);
    Fill(damaged, "From damaged", 2);
    UseTemplate(damaged, u"\\My Documents\\damaged.kdr", false);
    devices.boxes.Clear();
    damaged.Confirm();
    EXPECT_NE(damaged.result(), QDialog::Accepted);
    EXPECT_FALSE(devices.boxes.Shown().empty());
    EXPECT_FALSE(devices.Exists(devices.PathOf(u"From damaged")));
}

TEST_F(CreateDeviceTest, BrowseOpensTheChooserOnTheDeviceFolder) {
    devices.AddDevice(u"Player", DT_PLAYER);
    devices.AddFile(u"readme.txt", orvane_test::Bytes("not listed"));
    D dialog(nullptr);
    Fill(dialog, "Copy", 2);
    dialog.Control<QCheckBox>(D::kUseTemplate)->setChecked(true);
    std::vector<std::u16string> listed;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& shown) {
        auto& chooser = dynamic_cast<FileChooserDialog&>(shown);
        EXPECT_EQ(chooser.Folder() + u"\\", devices.Folder());
        for (const auto& e : chooser.Listing().Entries()) listed.push_back(e.name);
        chooser.ActivateRow(0);
    });
    dialog.Browse();
    EXPECT_EQ(listed, std::vector<std::u16string>{u"Player.kdr"});
    auto* path = dialog.Control<QLineEdit>(D::kTemplatePath);
    EXPECT_EQ(path->text().toStdU16String(), devices.PathOf(u"Player"));
    EXPECT_EQ(path->selectedText(), path->text());

    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) { shown.reject(); });
    dialog.Browse();  // cancelled: the path stays
    EXPECT_EQ(path->text().toStdU16String(), devices.PathOf(u"Player"));
}

TEST_F(CreateDeviceTest, TurningTheScreenMovesTheControls) {
    D dialog(nullptr);
    screen.Rotate();
    EXPECT_EQ(dialog.Control(D::kNameEdit)->geometry(), QRect(12, 50, 209, 20));
    EXPECT_EQ(dialog.Control(D::kBrowse)->geometry(), QRect(287, 124, 20, 20));
    EXPECT_EQ(dialog.Control(D::kCancel)->geometry(), QRect(243, 160, 60, 20));
    screen.Rotate();
    EXPECT_EQ(dialog.Control(D::kTemplatePath)->geometry(), QRect(34, 144, 173, 20));
}

}  // namespace
