// The "Language" dialog driven as a user drives it, offscreen, on the handheld's screen; message boxes are
// answered by the recorder.
#include "setup/language_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "handheld/messagebox.h"
#include "handheld/shell/screen.h"
#include "tests/setup/installed_package.h"

using namespace pravon;
using setup_test::kFolder;
using setup_test::kWindows;

namespace {

class LanguageDialogTest : public setup_test::InstalledPackage {
protected:
    LanguageDialogTest() { screen_.show(); }

    // Runs the dialog modally; the actions run once it is open. A dialog they leave open is a failure.
    int RunWith(LanguageDialog& dialog, const std::function<void()>& actions) {
        QTimer::singleShot(0, &dialog, [&] {
            actions();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                dialog.done(-1);
            }
        });
        return dialog.Run();
    }

    QComboBox* List(LanguageDialog& dialog, int id) { return dialog.findChild<QComboBox*>(QString::number(id)); }
    void Press(LanguageDialog& dialog, const QString& name) {
        auto* button = dialog.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static QStringList Entries(QComboBox* list) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
        return entries;
    }
    // Every control lies inside the dialog, and the dialog fills the screen.
    void ExpectPlacedOn(LanguageDialog& dialog, QSize screenSize) {
        EXPECT_EQ(dialog.geometry(), QRect(QPoint(0, 0), screenSize));
        for (auto* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(dialog.rect().contains(child->geometry())) << child->objectName().toStdString();
        }
        EXPECT_FALSE(List(dialog, kUiLanguagesId)->geometry().intersects(List(dialog, kHelpLanguagesId)->geometry()));
        for (auto* label : dialog.findChildren<QLabel*>()) {
            if (label->wordWrap()) continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                << "cut: " << label->text().toStdString();
        }
    }

    handheld::HandheldScreen screen_{handheld::Orientation::Portrait, nullptr};
    std::vector<int> processEnds_;
    ProcessEnd recordEnd_ = [this](int code) { processEnds_.push_back(code); };
};

TEST_F(LanguageDialogTest, OpensInsideTheScreenWithEveryLanguageAndEnglishChosen) {
    PutUsualPackage();
    Put(kWindows, u"Dutch.zanthht1", "dutch help");
    LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
    RunWith(dialog, [&] {
        EXPECT_EQ(dialog.parentWidget(), &screen_);
        EXPECT_FALSE(dialog.isWindow()) << "a child of the handheld's screen, not a desktop window";
        ExpectPlacedOn(dialog, QSize(240, 320));
        EXPECT_EQ(Entries(List(dialog, kUiLanguagesId)), (QStringList{"English", "German"}));
        EXPECT_EQ(Entries(List(dialog, kHelpLanguagesId)), (QStringList{"English", "Dutch", "German"}));
        EXPECT_EQ(List(dialog, kUiLanguagesId)->currentText(), "English");
        EXPECT_EQ(List(dialog, kHelpLanguagesId)->currentText(), "English");
        EXPECT_EQ(dialog.findChild<QWidget*>(QString::number(kOkId))->property("text").toString(), "OK");
        EXPECT_EQ(dialog.findChild<QWidget*>(QString::number(kDefaultsId))->property("text").toString(), "Defaults");
        Press(dialog, QString::number(kOkId));
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "english texts");
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "english help");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(LanguageDialogTest, GermanChoiceInstallsGermanFilesAndDefaultsGoesBackToEnglish) {
    PutUsualPackage();
    LanguageDialog dialog(u"\\Program Files\\Orvane\\", &screen_, recordEnd_);
    RunWith(dialog, [&] {
        List(dialog, kUiLanguagesId)->setCurrentText("German");
        List(dialog, kHelpLanguagesId)->setCurrentText("German");
        Press(dialog, QString::number(kDefaultsId));
        EXPECT_EQ(List(dialog, kUiLanguagesId)->currentText(), "English");
        EXPECT_EQ(List(dialog, kHelpLanguagesId)->currentText(), "English");
        List(dialog, kUiLanguagesId)->setCurrentText("German");
        List(dialog, kHelpLanguagesId)->setCurrentText("German");
        Press(dialog, QString::number(kOkId));
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "german texts");
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "german help");
    EXPECT_FALSE(Exists(kFolder, u"German.ln1"));
    EXPECT_FALSE(Exists(kWindows, u"German.zanthht1"));
    EXPECT_TRUE(processEnds_.empty());
}

TEST_F(LanguageDialogTest, DefaultsChoosesTheFirstEntryWhereThereIsNoEnglish) {
    Put(kFolder, u"Orvane.exe", "program");
    Put(kFolder, u"French.ln1", "french texts");
    Put(kFolder, u"German.ln1", "german texts");
    LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
    RunWith(dialog, [&] {
        EXPECT_EQ(List(dialog, kUiLanguagesId)->currentText(), "French");
        List(dialog, kUiLanguagesId)->setCurrentText("German");
        Press(dialog, QString::number(kDefaultsId));
        EXPECT_EQ(List(dialog, kUiLanguagesId)->currentText(), "French");
        Press(dialog, QString::number(kOkId));
    });
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "french texts");
}

TEST_F(LanguageDialogTest, MissingFilesEndTheInstallerWithZeroBeforeTheDialogShows) {
    const struct {
        bool withProgram;
        std::u16string_view message;
    } cases[] = {
        {false,
         u"Error!\nCouldn't retrieve application name!\nPlease, reinstall the application or contact out "
         u"technical support!"},
        {true,
         u"Error!\nCouldn't retrieve languages!\nPlease, reinstall the application or contact out technical "
         u"support!"},
    };
    for (const auto& c : cases) {
        if (c.withProgram) Put(kFolder, u"Orvane.exe", "program");
        boxes_.Clear();
        processEnds_.clear();
        LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
        EXPECT_EQ(dialog.Run(), 0);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(processEnds_, std::vector<int>{0});
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].text, c.message);
        EXPECT_EQ(boxes_.Shown()[0].caption, u"Pravon");
        EXPECT_EQ(boxes_.Shown()[0].flags, handheld::MB_OK | handheld::MB_ICONERROR);
        EXPECT_EQ(boxes_.Shown()[0].owner, nullptr);
    }
}

TEST_F(LanguageDialogTest, ClosingAnyOtherWayShowsTheNoteAndLeavesEveryFile) {
    PutUsualPackage();
    const std::function<void(LanguageDialog&)> closings[] = {
        [](LanguageDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [this](LanguageDialog& dialog) { Press(dialog, QStringLiteral("close")); },
    };
    for (const auto& close : closings) {
        boxes_.Clear();
        LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
        RunWith(dialog, [&] { close(dialog); });
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].text,
                  u"Note!\nTo change language settings, please, remove the program and install it again.");
        EXPECT_EQ(boxes_.Shown()[0].flags, handheld::MB_OK | handheld::MB_ICONEXCLAMATION);
    }
    EXPECT_TRUE(processEnds_.empty());
    EXPECT_FALSE(Exists(kFolder, u"Orvane.lng"));
    for (auto name : {u"English.ln1", u"German.ln1"}) EXPECT_TRUE(Exists(kFolder, name));
    EXPECT_TRUE(Exists(kWindows, u"German.zanthht1"));
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "english help");
}

TEST_F(LanguageDialogTest, AFailedCopyIsReportedAndOkWorksAgainAfterwards) {
    PutUsualPackage();
    LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
    RunWith(dialog, [&] {
        List(dialog, kUiLanguagesId)->setCurrentText("German");
        handheld::SetWriteFailureAfterBytes(0);
        Press(dialog, QString::number(kOkId));
        handheld::SetWriteFailureAfterBytes(std::nullopt);
        EXPECT_TRUE(dialog.isVisible()) << "the user can try again";
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].text, messages::kLanguageCopyFailed);
        EXPECT_EQ(boxes_.Shown()[0].flags, handheld::MB_OK | handheld::MB_ICONERROR);
        EXPECT_TRUE(Exists(kFolder, u"German.ln1"));
        EXPECT_TRUE(Exists(kWindows, u"German.zanthht1"));
        Press(dialog, QString::number(kOkId));
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(processEnds_.empty());
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "german texts");
}

TEST_F(LanguageDialogTest, FollowsTheScreenIntoLandscapeAndBack) {
    PutUsualPackage();
    screen_.SetOrientation(handheld::Orientation::Landscape);
    LanguageDialog dialog(u"\\Program Files\\Orvane", &screen_, recordEnd_);
    RunWith(dialog, [&] {
        ExpectPlacedOn(dialog, QSize(320, 240));
        screen_.SetOrientation(handheld::Orientation::Portrait);
        ExpectPlacedOn(dialog, QSize(240, 320));
        Press(dialog, QString::number(kOkId));
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
