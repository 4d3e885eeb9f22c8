#include "handheld/shell/handheld_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>

#include "handheld/shell/screen.h"

namespace {

using handheld::HandheldDialog;
using handheld::Orientation;

TEST(HandheldDialog, FillsTheScreenAsItsChildAndFollowsTheTurn) {
    handheld::HandheldScreen screen(Orientation::Portrait, nullptr);
    QWidget owner(&screen);
    HandheldDialog dialog(&owner, 0, QStringLiteral("Plain"));
    EXPECT_FALSE(dialog.isWindow());
    EXPECT_EQ(dialog.parentWidget(), &screen);
    EXPECT_EQ(dialog.Owner(), &owner);
    EXPECT_EQ(dialog.geometry(), QRect(0, 0, 240, 320));

    auto* check = new QCheckBox(&dialog);
    check->setObjectName(QStringLiteral("1006"));
    const handheld::ControlPlacement places[] = {{1006, {10, 40, 100, 16}, {200, 30, 90, 16}}};
    dialog.AddPlacements(places);
    EXPECT_EQ(dialog.Control(1006), check);
    EXPECT_EQ(check->geometry(), QRect(10, 40, 100, 16));

    QSignalSpy laidOut(&dialog, &HandheldDialog::LaidOut);
    screen.Rotate();
    EXPECT_EQ(dialog.geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(check->geometry(), QRect(200, 30, 90, 16));
    ASSERT_EQ(laidOut.count(), 1);
    EXPECT_EQ(laidOut[0][0].value<Orientation>(), Orientation::Landscape);
    screen.Rotate();
    EXPECT_EQ(check->geometry(), QRect(10, 40, 100, 16));
}

TEST(HandheldDialog, BuildsTheControlsOfACompiledInTemplate) {
    handheld::HandheldScreen screen(Orientation::Landscape, nullptr);
    HandheldDialog dialog(nullptr, 114, QString());
    EXPECT_EQ(dialog.parentWidget(), &screen);
    EXPECT_EQ(dialog.Title(), "Create device");
    // Every control of the template, by its number, at its landscape place.
    auto* useTemplate = dialog.Control<QCheckBox>(1003);
    ASSERT_NE(useTemplate, nullptr);
    EXPECT_EQ(useTemplate->geometry(), QRect(12, 77, 166, 16));
    ASSERT_NE(dialog.Control<QLabel>(1054), nullptr);
    EXPECT_EQ(dialog.Control(1054)->geometry(), QRect(237, 35, 60, 12));
    EXPECT_EQ(dialog.Control(9999), nullptr);
    screen.Rotate();
    EXPECT_EQ(useTemplate->geometry(), QRect(12, 97, 166, 16));
}

TEST(HandheldDialog, DrawsTheTitleLine) {
    handheld::HandheldScreen screen(Orientation::Portrait, nullptr);
    HandheldDialog dialog(nullptr, 0, QStringLiteral("Select device"));
    dialog.show();
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, handheld::kDialogTitleLineY), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(239, handheld::kDialogTitleLineY), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(120, handheld::kDialogTitleLineY + 2), QColor(Qt::white));
    int bluePixels = 0;
    int outsidePixels = 0;
    for (int y = 0; y < handheld::kDialogTitleLineY; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(Qt::white)) continue;
            if (handheld::kDialogTitleRect.contains(x, y) && c.blue() > 150 && c.red() < 100 && c.green() < 100) {
                ++bluePixels;
            } else if (!handheld::kDialogTitleRect.contains(x, y)) {
                ++outsidePixels;
            }
        }
    }
    EXPECT_GT(bluePixels, 20);  // the title's text, in blue
    EXPECT_EQ(outsidePixels, 0);
}

TEST(HandheldDialog, ScriptsAnswerNestedDialogsAndNeverLeaveOneWaiting) {
    handheld::HandheldScreen screen(Orientation::Portrait, nullptr);
    std::vector<std::string> seen;
    handheld::QueueDialogScript([&](HandheldDialog& outer) {
        seen.push_back("outer " + outer.Title().toStdString());
        HandheldDialog inner(&outer, 0, QStringLiteral("Inner"));
        EXPECT_EQ(inner.Run(), QDialog::Accepted);
        outer.accept();
    });
    handheld::QueueDialogScript([&](HandheldDialog& inner) {
        seen.push_back("inner " + inner.Title().toStdString());
        EXPECT_TRUE(inner.IsRunning());
        inner.accept();
    });
    handheld::QueueDialogScript([&](HandheldDialog&) { seen.push_back("forgetful"); });
    HandheldDialog outer(nullptr, 0, QStringLiteral("Outer"));
    EXPECT_EQ(outer.Run(), QDialog::Accepted);
    HandheldDialog left(nullptr, 0, QStringLiteral("Left open"));
    EXPECT_EQ(left.Run(), QDialog::Rejected);  // its script did not end it
    EXPECT_FALSE(left.IsRunning());
    EXPECT_EQ(seen, (std::vector<std::string>{"outer Outer", "inner Inner", "forgetful"}));
    EXPECT_EQ(handheld::PendingDialogScripts(), 0u);
}

}  // namespace
