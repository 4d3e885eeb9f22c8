#include "app/dialogs/settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/dialogs/picture_popup.h"
#include "app/filechooser/file_chooser.h"
#include "app/model/gui/hint_request.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

namespace {

using S = SettingsDialog;
using handheld::ColorChooserDialog;

class SettingsDialogTest : public testing::Test {
protected:
    SettingsDialogTest() {
        DeviceSettings tv;
        tv.deviceName = u"TV";
        tv.flags = DeviceSettings::kBackgroundPicture | DeviceSettings::kTransparentButtons;
        tv.backgroundPicture = u"\\Pictures\\sky.jpg";
        tv.buttonSound = u"click.wav";
        tv.backgroundColor = 0x00112233;
        state.shownDevices = {tv};
        state.currentDevice = u"TV";
        state.buttonRotation = 1;
        panels.mainPanel.pictureBits = Bitmap24(kPictureWidthPx, kPictureHeightPx);
        screen.show();  // the hint is asked for once the dialog is up
        previousHints_ = SetHintHandler([this](QWidget*, int hint, int) { hints.push_back(hint); });
    }
    ~SettingsDialogTest() override { SetHintHandler(previousHints_); }

    DeviceSettings& Tv() { return state.shownDevices.front(); }

    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    orvane_test::MessageBoxRecorder boxes;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    QWidget mainWindow{&screen};
    AppState state;
    DevicePanels panels;
    std::vector<int> hints;
    int repaints = 0;

private:
    HintHandler previousHints_;
};

TEST_F(SettingsDialogTest, OpensWithTheDeviceSettingsAndAsksForItsHint) {
    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        auto& dialog = static_cast<S&>(shown);
        EXPECT_TRUE(dialog.Control<QCheckBox>(S::kPictureEnabled)->isChecked());
        EXPECT_TRUE(dialog.Control<QCheckBox>(S::kTransparentButtons)->isChecked());
        EXPECT_TRUE(dialog.Control(S::kBrowsePicture)->isEnabled());
        EXPECT_EQ(dialog.Control<QLineEdit>(S::kPicturePath)->text(), "\\Pictures\\sky.jpg");
        EXPECT_FALSE(dialog.Control<QCheckBox>(S::kSoundEnabled)->isChecked());
        EXPECT_FALSE(dialog.Control(S::kSoundPath)->isEnabled());
        EXPECT_FALSE(dialog.Control(S::kBrowseSound)->isEnabled());
        EXPECT_EQ(dialog.Control<QLineEdit>(S::kSoundPath)->text(), "click.wav");
        EXPECT_TRUE(dialog.Control<QCheckBox>(S::kShowHints)->isChecked());
        EXPECT_EQ(dialog.Control<QComboBox>(S::kRotation)->currentText(), "90");
        EXPECT_EQ(dialog.PendingColor(), 0x00112233u);
        EXPECT_EQ(dialog.Control(S::kRotation)->geometry(), QRect(180, 236, 52, 20));
        dialog.reject();
    });
    RunSettingsDialog(&mainWindow, state, panels);
    EXPECT_EQ(hints, std::vector<int>{S::kHint});
}

TEST_F(SettingsDialogTest, WithoutSettingsForTheOpenDeviceItEndsAtOnce) {
    state.currentDevice = u"Radio";
    handheld::QueueDialogScript([](handheld::HandheldDialog&) { ADD_FAILURE() << "the dialog was shown"; });
    EXPECT_EQ(RunSettingsDialog(&mainWindow, state, panels), QDialog::Rejected);
    EXPECT_EQ(handheld::PendingDialogScripts(), 1u);
    handheld::ClearDialogScripts();
    EXPECT_TRUE(hints.empty());
}

TEST_F(SettingsDialogTest, PictureOffKeepsPathAndTransparencyButFreesThePicture) {
    S dialog(&mainWindow, state, panels, [this] { ++repaints; });
    dialog.Control<QCheckBox>(S::kPictureEnabled)->click();
    for (int id : {S::kPicturePath, S::kBrowsePicture, S::kTransparentButtons}) {
        EXPECT_FALSE(dialog.Control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(dialog.Control<QLineEdit>(S::kPicturePath)->text(), "\\Pictures\\sky.jpg");
    dialog.Control<QCheckBox>(S::kSoundEnabled)->click();
    EXPECT_TRUE(dialog.Control(S::kSoundPath)->isEnabled());
    dialog.Control<QComboBox>(S::kRotation)->setCurrentIndex(2);
    dialog.Control<QPushButton>(S::kOk)->click();

    EXPECT_EQ(Tv().flags, DeviceSettings::kTransparentButtons | DeviceSettings::kButtonSounds);
    EXPECT_EQ(Tv().backgroundPicture, u"\\Pictures\\sky.jpg");
    EXPECT_FALSE(panels.mainPanel.pictureBits.has_value());
    EXPECT_EQ(state.buttonRotation, 2u);
    EXPECT_EQ(panels.mainPanel.labelRotation, 2);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsDialogTest, ChosenColourIsAppliedOnCloseAndCustomColoursLastTheRun) {
    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        auto& chooser = static_cast<ColorChooserDialog&>(shown);
        EXPECT_EQ(chooser.Color(), 0x00112233u);  // the device's colour first
        chooser.Control<QSpinBox>(ColorChooserDialog::kRed)->setValue(0x40);
        chooser.Control<QSpinBox>(ColorChooserDialog::kBlue)->setValue(0x80);
        chooser.AddToCustomColors();
        chooser.Control<QPushButton>(ColorChooserDialog::kOk)->click();
    });
    S dialog(&mainWindow, state, panels, {});
    dialog.ChooseColor();
    EXPECT_EQ(dialog.PendingColor(), 0x00802240u);
    EXPECT_EQ(Tv().backgroundColor, 0x00112233u);  // nothing applied before OK
    EXPECT_EQ(handheld::RunCustomColors()[0], 0x00802240u);

    handheld::QueueDialogScript(
        [](handheld::HandheldDialog& shown) { shown.Control<QPushButton>(ColorChooserDialog::kCancel)->click(); });
    dialog.ChooseColor();
    EXPECT_EQ(dialog.PendingColor(), 0x00802240u);
    dialog.Confirm();
    EXPECT_EQ(Tv().backgroundColor, 0x00802240u);
    EXPECT_EQ(panels.mainPanel.backgroundColor, 0x00802240u);
    ColorChooserDialog next(&mainWindow, 0, handheld::RunCustomColors().data());
    EXPECT_EQ(next.Control<handheld::SwatchGrid>(ColorChooserDialog::kCustomColors)->ColorAt(0), 0x00802240u);
}

TEST_F(SettingsDialogTest, BrowseStartsInTheFieldsFolderElseTheDocumentsSubfolder) {
    EXPECT_EQ(S::StartFolder(u"", u"\\My Documents\\VUDirazu back"), u"\\My Documents\\VUDirazu back");
    EXPECT_EQ(S::StartFolder(u"sky.jpg", u"\\D"), u"\\D");
    EXPECT_EQ(S::StartFolder(u"\\sky.jpg", u"\\D"), u"\\D");  // the backslash must come after the first character
    EXPECT_EQ(S::StartFolder(u"\\Pictures\\sky.jpg", u"\\D"), u"\\Pictures\\");

    Tv().backgroundPicture.clear();
    std::vector<std::u16string> folders;
    auto chooseInFolder = [&folders](std::u16string name) {
        return [&folders, name](handheld::HandheldDialog& shown) {
            auto& chooser = static_cast<FileChooserDialog&>(shown);
            folders.push_back(chooser.Folder());
            chooser.Control<QLineEdit>(kChooserNameEdit)->setText(QString::fromStdU16String(name));
            chooser.Open();
        };
    };
    handheld::QueueDialogScript(chooseInFolder(u"sky.jpg"));
    handheld::QueueDialogScript(chooseInFolder(u"ding.wav"));
    S dialog(&mainWindow, state, panels, {});
    dialog.Control<QLineEdit>(S::kSoundPath)->clear();
    dialog.BrowsePicture();
    dialog.BrowseSound();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0], u"\\My Documents\\VUDirazu back");
    EXPECT_EQ(folders[1], u"\\My Documents\\VUDirazu sounds");
    auto* picture = dialog.Control<QLineEdit>(S::kPicturePath);
    EXPECT_EQ(picture->text(), "\\My Documents\\VUDirazu back\\sky.jpg");
    EXPECT_EQ(picture->selectedText(), picture->text());
    EXPECT_EQ(dialog.Control<QLineEdit>(S::kSoundPath)->text(), "\\My Documents\\VUDirazu sounds\\ding.wav");
}

TEST_F(SettingsDialogTest, PictureTurnedOnIsLoadedOntoTheMainPanelAndLongPathsAreCut) {
    home.WriteFile(u"\\My Documents\\VUDirazu back\\remote.jpg",
                   std::vector<unsigned char>(kPopupPictureBytes, kPopupPictureBytes + kPopupPictureSize));
    Tv().flags = 0;
    panels.mainPanel.pictureBits.reset();
    S dialog(&mainWindow, state, panels, {});
    dialog.Control<QCheckBox>(S::kPictureEnabled)->click();
    dialog.Control<QCheckBox>(S::kTransparentButtons)->click();
    dialog.Control<QLineEdit>(S::kPicturePath)->setText("\\My Documents\\VUDirazu back\\remote.jpg");
    dialog.Control<QLineEdit>(S::kSoundPath)->setText(QString(300, QLatin1Char('s')));
    dialog.Confirm();
    EXPECT_EQ(Tv().flags, DeviceSettings::kBackgroundPicture | DeviceSettings::kTransparentButtons);
    ASSERT_TRUE(panels.mainPanel.pictureBits.has_value());
    EXPECT_FALSE(panels.mainPanel.opaqueButtons);
    EXPECT_EQ(Tv().buttonSound.size(), S::kMaxPathChars);
}

}  // namespace
