#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/dialogs/hint_dialog.h"
#include "app/dialogs/picture_popup.h"
#include "app/dialogs/settings_dialog.h"
#include "app/model/gui/hint_request.h"
#include "app/shell/language_table.h"
#include "handheld/files.h"
#include "handheld/shell/screen.h"
#include "tests/support/test_home.h"

namespace {

void LoadLanguage(std::u16string_view text) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    LanguageTable::Instance().LoadLanguageBytes(bytes.data(), bytes.size());
}

QString Lines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("line %1").arg(i);
    return lines.join(QLatin1Char('\n'));
}

class HintTest : public testing::Test {
protected:
    ~HintTest() override {
        LanguageTable::Instance().Clear();
        SetHintHandler({});
    }
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    QWidget mainWindow{&screen};
    AppState state;
};

TEST_F(HintTest, TextJoinsBothNumbersWithinTheBufferAndMissingKeysGiveNothing) {
    const std::u16string longText(1500, u'x');
    LoadLanguage(u"30\tFirst part.\r\n31\tSecond part.\r\n40\t" + longText + u"\r\n");
    EXPECT_EQ(ComposeHintText(30, 31), u"First part.Second part.");
    EXPECT_EQ(ComposeHintText(30, 0), u"First part.");
    EXPECT_EQ(ComposeHintText(99, 0), u"");
    EXPECT_EQ(ComposeHintText(99, 31), u"Second part.");
    const std::u16string bounded = ComposeHintText(30, 40);
    EXPECT_EQ(bounded.size(), kHintTextChars - 1);
    EXPECT_EQ(bounded.substr(0, 12), u"First part.x");
}

TEST_F(HintTest, TwentyLinesShowFourteenWithAScrollBarAndOneLineShowsTwo) {
    HintDialog many(&mainWindow, state, Lines(20).toStdU16String());
    EXPECT_EQ(many.LineCount(), 20);
    EXPECT_EQ(many.ShownLines(), HintDialog::kPortraitMaxLines);
    EXPECT_EQ(many.TextEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    HintDialog one(&mainWindow, state, u"Short.");
    EXPECT_EQ(one.LineCount(), 1);
    EXPECT_EQ(one.ShownLines(), 2);
    EXPECT_EQ(one.TextEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const int h = one.TextEdit()->height();
    EXPECT_EQ(one.geometry(), QRect(20, (320 - (h + 55)) / 2, 200, h + 55));
    EXPECT_EQ(one.TextEdit()->geometry(), QRect(5, 30, 190, h));
    EXPECT_EQ(one.Control(HintDialog::kDontShowAgain)->geometry(), QRect(5, h + 33, 190, 15));
    EXPECT_EQ(one.Control(HintDialog::kClose)->geometry(), QRect(200 - 22, 3, 19, 19));

    screen.SetOrientation(handheld::Orientation::Landscape);
    EXPECT_EQ(many.ShownLines(), HintDialog::kLandscapeMaxLines);
    EXPECT_EQ(many.width(), 280);
    EXPECT_EQ(many.y(), (240 - many.height()) / 2);
}

TEST_F(HintTest, HintsOffShowNothingAnywhere) {
    InstallHintPopups(TheAppState());
    TheAppState().optionFlags &= static_cast<std::uint16_t>(~ApplicationSettings::kShowHints);
    handheld::QueueDialogScript([](handheld::HandheldDialog&) { ADD_FAILURE() << "a hint was shown"; });
    QWidget requester(&screen);
    RequestHint(&requester, 15);
    QCoreApplication::processEvents();
    EXPECT_EQ(handheld::PendingDialogScripts(), 1u);
    handheld::ClearDialogScripts();
    TheAppState() = AppState{};
}

TEST_F(HintTest, DontShowAgainOverSettingsUnchecksItsBoxSoItsOkKeepsHintsOff) {
    TheAppState().optionFlags |= ApplicationSettings::kShowHints;
    LoadLanguage(u"15\tSettings hint.\r\n");
    InstallHintPopups(TheAppState());
    DeviceSettings tv;
    tv.deviceName = u"TV";
    TheAppState().shownDevices = {tv};
    TheAppState().currentDevice = u"TV";
    DevicePanels panels;
    screen.show();  // as in the program: the dialog is up, then its hint comes
    std::u16string shownText;
    handheld::QueueDialogScript([](handheld::HandheldDialog& settings) {
        // The hint request is posted: the pop-up comes once the dialog is up and its loop runs.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(settings.Control<QCheckBox>(SettingsDialog::kShowHints)->isChecked());
        settings.Control<QPushButton>(SettingsDialog::kOk)->click();
    });
    handheld::QueueDialogScript([&shownText](handheld::HandheldDialog& shown) {
        auto& hint = static_cast<HintDialog&>(shown);
        shownText = hint.TextEdit()->toPlainText().toStdU16String();
        EXPECT_EQ(hint.Owner()->objectName(), "104");
        hint.Control<QCheckBox>(HintDialog::kDontShowAgain)->setChecked(true);
        QTest::mouseClick(hint.Control(HintDialog::kClose), Qt::LeftButton);
    });
    EXPECT_EQ(RunSettingsDialog(&mainWindow, TheAppState(), panels), QDialog::Accepted);
    EXPECT_EQ(shownText, u"Settings hint.");
    EXPECT_EQ(TheAppState().optionFlags & ApplicationSettings::kShowHints, 0);
    TheAppState() = AppState{};
}

bool WindowsFolderHasFiles() {
    handheld::WIN32_FIND_DATAW found;
    handheld::HANDLE search = handheld::FindFirstFileW(u"\\Windows\\*.*", &found);
    if (search == handheld::INVALID_HANDLE_VALUE) return false;
    handheld::FindClose(search);
    return true;
}

TEST_F(HintTest, PicturePopupOpensOnlyInTheCornerCentredAndLeavesNoFile) {
    EXPECT_TRUE(IsPicturePopupCorner(1, 1));
    EXPECT_TRUE(IsPicturePopupCorner(0, 0));
    EXPECT_FALSE(IsPicturePopupCorner(2, 0));
    EXPECT_FALSE(IsPicturePopupCorner(0, 2));
    EXPECT_EQ(PopupTemporaryPath(4096 + 0x1A, 0xBEEF), u"\\windows\\BEEF.1B");

    ASSERT_FALSE(WindowsFolderHasFiles());
    std::vector<QRect> places;
    handheld::QueueDialogScript([&](handheld::HandheldDialog& popup) {
        places.push_back(popup.geometry());
        EXPECT_FALSE(WindowsFolderHasFiles());  // removed once decoded
        screen.SetOrientation(handheld::Orientation::Landscape);
        places.push_back(popup.geometry());
        QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(90, 90));
        EXPECT_FALSE(popup.IsRunning());
    });
    EXPECT_TRUE(ShowPicturePopup(&mainWindow));
    EXPECT_EQ(places, (std::vector<QRect>{QRect(31, 71, 182, 182), QRect(71, 31, 182, 182)}));
    EXPECT_FALSE(WindowsFolderHasFiles());
}

TEST_F(HintTest, PicturePopupFailingToWriteShowsNothingAndLeavesNothing) {
    handheld::SetWriteFailureAfterBytes(100);
    handheld::QueueDialogScript([](handheld::HandheldDialog&) { ADD_FAILURE() << "a pop-up was shown"; });
    EXPECT_FALSE(ShowPicturePopup(&mainWindow));
    handheld::SetWriteFailureAfterBytes(std::nullopt);
    handheld::ClearDialogScripts();
    EXPECT_FALSE(WindowsFolderHasFiles());
    const QImage picture = DecodeStoredPicture();
    EXPECT_EQ(picture.size(), QSize(kPopupPictureSidePx, kPopupPictureSidePx));
}

}  // namespace
