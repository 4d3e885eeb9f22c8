// A background picture set in Settings repaints the open device's panel with it, and the stored settings
// give orvanectl render the same picture.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>

#include "app/dialogs/picture_popup.h"
#include "app/dialogs/settings_dialog.h"
#include "app/model/program_folder.h"
#include "app/panel/panel_window.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/gui/program.h"
#include "app/shell/stored_files.h"
#include "handheld/shell/screen.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

TEST(SettingsEndToEnd, PictureSetInSettingsIsPaintedAndRenderedTheSame) {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    home.WriteFile(u"\\My Documents\\VUDirazu back\\remote.jpg",
                   std::vector<unsigned char>(kPopupPictureBytes, kPopupPictureBytes + kPopupPictureSize));
    const auto library = handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll");
    ASSERT_TRUE(library);
    const LibraryArtwork artwork(library.get());
    AppState state;
    ApplicationSettings settings;
    ReadConfigurationAtStart(settings, nullptr);
    TakeSettings(state, settings);
    DevicePanels panels;
    DeviceOpening opening;
    opening.library = &artwork;
    ASSERT_TRUE(OpenDevice(u"TV", state, panels, opening));
    state.currentDevice = u"TV";
    ASSERT_NE(state.CurrentDeviceSettings(), nullptr);

    const CaptionTextPainter text;
    const QImage before = ToRgbImage(PaintedPanel(panels.mainPanel, kOrientationPortrait, true, &text));
    QImage repainted;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    QWidget mainWindow(&screen);
    handheld::QueueDialogScript([](handheld::HandheldDialog& dialog) {
        auto* picture = dialog.Control<QCheckBox>(SettingsDialog::kPictureEnabled);
        if (!picture->isChecked()) picture->click();
        dialog.Control<QLineEdit>(SettingsDialog::kPicturePath)->setText("\\My Documents\\VUDirazu back\\remote.jpg");
        static_cast<SettingsDialog&>(dialog).Confirm();
    });
    RunSettingsDialog(&mainWindow, state, panels, [&] {
        repainted = ToRgbImage(PaintedPanel(panels.mainPanel, kOrientationPortrait, true, &text));
    });
    ASSERT_FALSE(repainted.isNull());
    EXPECT_NE(repainted, before);
    EXPECT_TRUE(boxes.Shown().empty());

    // The program writes its settings at the end of the run; render reads them as the next start would.
    ASSERT_TRUE(WriteConfiguration(SettingsOf(state)));
    const std::string png = (home.Directory() / "tv.png").string();
    const auto run =
        orvane_test::RunTool("orvanectl", {"--handheld", home.Directory().string(), "render", "TV", "--out", png});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB888), repainted);
}

}  // namespace
