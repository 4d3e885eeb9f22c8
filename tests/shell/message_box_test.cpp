#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "handheld/shell/hwnd.h"
#include "handheld/shell/qt_message_box.h"

namespace {

using handheld::DescribeMessageBox;
using B = QMessageBox;

TEST(QtMessageBox, IconAndButtonsFollowTheFlags) {
    struct Case {
        handheld::UINT flags;
        B::Icon icon;
        std::vector<B::StandardButton> buttons;
        B::StandardButton defaultButton;
        B::StandardButton escape;
    };
    const Case cases[] = {
        {handheld::MB_OK | handheld::MB_ICONERROR, B::Critical, {B::Ok}, B::Ok, B::Ok},
        {handheld::MB_OK | handheld::MB_ICONEXCLAMATION, B::Warning, {B::Ok}, B::Ok, B::Ok},
        {handheld::MB_OKCANCEL | handheld::MB_ICONINFORMATION, B::Information, {B::Ok, B::Cancel}, B::Ok, B::Cancel},
        {handheld::MB_YESNO | handheld::MB_ICONQUESTION, B::Question, {B::Yes, B::No}, B::Yes, B::NoButton},
        {handheld::MB_YESNOCANCEL, B::NoIcon, {B::Yes, B::No, B::Cancel}, B::Yes, B::Cancel},
        {handheld::MB_YESNO | 0x100, B::NoIcon, {B::Yes, B::No}, B::No, B::NoButton},  // second is default
        {handheld::MB_YESNOCANCEL | 0x200, B::NoIcon, {B::Yes, B::No, B::Cancel}, B::Cancel, B::Cancel},
        {handheld::MB_OK | 0x300, B::NoIcon, {B::Ok}, B::Ok, B::Ok},  // no fourth button
        {0x02, B::NoIcon, {B::Abort, B::Retry, B::Ignore}, B::Abort, B::NoButton},
        {0x05 | handheld::MB_ICONERROR, B::Critical, {B::Retry, B::Cancel}, B::Retry, B::Cancel},
        {0x0E, B::NoIcon, {B::Ok}, B::Ok, B::Ok},  // unknown set: one OK, never no button at all
    };
    for (const Case& c : cases) {
        const auto look = DescribeMessageBox(c.flags);
        EXPECT_EQ(look.icon, c.icon) << std::hex << c.flags;
        EXPECT_EQ(look.buttons, c.buttons) << std::hex << c.flags;
        EXPECT_EQ(look.defaultButton, c.defaultButton) << std::hex << c.flags;
        EXPECT_EQ(look.escapeButton, c.escape) << std::hex << c.flags;
    }
}

TEST(QtMessageBox, AnswersAreTheHandheldsIdentifiers) {
    EXPECT_EQ(handheld::AnswerOf(B::Ok), handheld::IDOK);
    EXPECT_EQ(handheld::AnswerOf(B::Cancel), handheld::IDCANCEL);
    EXPECT_EQ(handheld::AnswerOf(B::Yes), handheld::IDYES);
    EXPECT_EQ(handheld::AnswerOf(B::No), handheld::IDNO);
    EXPECT_EQ(handheld::AnswerOf(B::Abort), 3);
    EXPECT_EQ(handheld::AnswerOf(B::Retry), 4);
    EXPECT_EQ(handheld::AnswerOf(B::Ignore), 5);
    EXPECT_EQ(handheld::AnswerOf(B::NoButton), handheld::IDCANCEL);  // closed without a choice
}

TEST(QtMessageBox, BoxCarriesTextTitleAndOwner) {
    QWidget owner;
    const auto box = handheld::BuildMessageBox(
        {handheld::ToHwnd(&owner), u"Can't load device <b>", u"Error", handheld::MB_OK | handheld::MB_ICONERROR});
    EXPECT_EQ(box->text(), QStringLiteral("Can't load device <b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);  // texts from files are never read as markup
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_EQ(box->icon(), B::Critical);
    EXPECT_EQ(box->buttons().size(), 1);
}

// The answer of a shown box is the button the user pressed: pressed here by a timer once the box is up.
int AnswerByPressing(B::StandardButton button, handheld::UINT flags) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    });
    return handheld::MessageBoxW(nullptr, u"Save changes?", u"Warning", flags);
}

TEST(QtMessageBox, InstalledPresenterAnswersWithThePressedButton) {
    const auto previous = handheld::InstallQtMessageBoxPresenter();
    EXPECT_EQ(AnswerByPressing(B::No, handheld::MB_YESNOCANCEL), handheld::IDNO);
    EXPECT_EQ(AnswerByPressing(B::Cancel, handheld::MB_YESNOCANCEL), handheld::IDCANCEL);
    EXPECT_EQ(AnswerByPressing(B::Yes, handheld::MB_YESNO), handheld::IDYES);
    EXPECT_EQ(AnswerByPressing(B::Ok, handheld::MB_OK), handheld::IDOK);
    handheld::SetMessageBoxPresenter(previous);
}

}  // namespace

namespace {

// With a handheld screen, the box is a child of the screen, not a window of the desktop.
int AnswerOnScreen(handheld::HandheldScreen& screen, handheld::UINT flags, const char* pressKey,
                   std::function<void(handheld::ScreenMessageBox&)> look = {}) {
    QTimer::singleShot(0, [&screen, pressKey, look] {
        auto* box = screen.findChild<handheld::ScreenMessageBox*>(QStringLiteral("MessageBox"));
        ASSERT_NE(box, nullptr);
        if (look) look(*box);
        if (pressKey == nullptr) {
            box->reject();                                      // Escape
            if (box->result() == 0) box->done(handheld::IDNO);  // still open: it could not be escaped
            return;
        }
        auto* button = box->findChild<QPushButton*>(QString::fromLatin1(pressKey));
        ASSERT_NE(button, nullptr) << pressKey;
        button->click();
    });
    return handheld::MessageBoxW(nullptr, u"Delete device \"TV\"?", u"Warning", flags);
}

TEST(QtMessageBox, BoxesShowInsideTheHandheldScreen) {
    const auto previous = handheld::InstallQtMessageBoxPresenter();
    for (const auto orientation : {handheld::Orientation::Portrait, handheld::Orientation::Landscape}) {
        handheld::HandheldScreen screen(orientation, nullptr);
        const int answer = AnswerOnScreen(
            screen, handheld::MB_YESNO | handheld::MB_ICONEXCLAMATION, "7", [&](handheld::ScreenMessageBox& box) {
                EXPECT_FALSE(box.isWindow());
                EXPECT_EQ(box.parentWidget(), &screen);
                EXPECT_EQ(box.geometry(), screen.rect());
                const auto* panel = box.findChild<QWidget*>(QStringLiteral("MessageBoxPanel"));
                ASSERT_NE(panel, nullptr);
                EXPECT_TRUE(screen.rect().contains(panel->geometry())) << panel->geometry().width();
                EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("MessageBoxCaption"))->text(),
                          QStringLiteral("Warning"));
                EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("MessageBoxText"))->text(),
                          QStringLiteral("Delete device \"TV\"?"));
                EXPECT_NE(box.findChild<QLabel*>(QStringLiteral("MessageBoxIcon")), nullptr);
            });
        EXPECT_EQ(answer, handheld::IDNO);
    }
    handheld::HandheldScreen screen(handheld::Orientation::Portrait, nullptr);
    EXPECT_EQ(AnswerOnScreen(screen, handheld::MB_YESNOCANCEL, "6"), handheld::IDYES);
    EXPECT_EQ(AnswerOnScreen(screen, handheld::MB_OK, "1"), handheld::IDOK);
    // Escape on an OK/Cancel box cancels; a yes/no box cannot be escaped (the helper then answers No).
    EXPECT_EQ(AnswerOnScreen(screen, handheld::MB_OKCANCEL, nullptr), handheld::IDCANCEL);
    EXPECT_EQ(AnswerOnScreen(screen, handheld::MB_YESNO, nullptr), handheld::IDNO);
    handheld::SetMessageBoxPresenter(previous);
}

}  // namespace
