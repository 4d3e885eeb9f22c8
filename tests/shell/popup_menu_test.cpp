#include "handheld/shell/popup_menu.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "handheld/shell/screen.h"
#include "handheld/shell/tap_and_hold.h"

namespace {

TEST(PopupMenu, StaysInsideTheScreen) {
    const QSize portrait(240, 320);
    EXPECT_EQ(handheld::PlacePopup({30, 40}, {80, 50}, portrait), QPoint(30, 40));
    EXPECT_EQ(handheld::PlacePopup({200, 300}, {80, 50}, portrait), QPoint(160, 270));  // pushed back in
    EXPECT_EQ(handheld::PlacePopup({-5, -9}, {80, 50}, portrait), QPoint(0, 0));
    EXPECT_EQ(handheld::PlacePopup({300, 10}, {80, 50}, {320, 240}), QPoint(240, 10));
    EXPECT_EQ(handheld::PlacePopup({50, 50}, {400, 50}, portrait), QPoint(0, 50));  // wider than the screen
}

TEST(PopupMenu, ScriptedAnswersPickByCommandAndNeverAGrayedItem) {
    handheld::HandheldScreen screen(handheld::Orientation::Portrait, nullptr);
    QMenu menu;
    QAction* rename = menu.addAction(QStringLiteral("Rename"));
    rename->setObjectName(QStringLiteral("40050"));
    QAction* remove = menu.addAction(QStringLiteral("Delete"));
    remove->setObjectName(QStringLiteral("40051"));
    remove->setEnabled(false);
    handheld::QueueMenuAnswer(40050);
    handheld::QueueMenuAnswer(40051);
    handheld::QueueMenuAnswer(0);
    EXPECT_EQ(handheld::TrackPopupMenu(menu, {12, 34}, &screen), rename);
    EXPECT_EQ(handheld::LastScriptedMenu().screenPoint, QPoint(12, 34));
    ASSERT_EQ(handheld::LastScriptedMenu().items.size(), 2);
    EXPECT_EQ(handheld::LastScriptedMenu().items[1].command, "40051");
    EXPECT_EQ(handheld::LastScriptedMenu().items[1].text, "Delete");
    EXPECT_FALSE(handheld::LastScriptedMenu().items[1].enabled);
    EXPECT_EQ(handheld::TrackPopupMenu(menu, {0, 0}, &screen), nullptr);
    EXPECT_EQ(handheld::TrackPopupMenu(menu, {0, 0}, &screen), nullptr);
}

// Opens the menu for real and lets `act` (run once it shows) choose.
QAction* ShowMenu(QMenu& menu, handheld::HandheldScreen& screen, QPoint at, std::function<void(QMenu&)> act) {
    QTimer::singleShot(0, [&menu, &screen, act] {
        EXPECT_FALSE(menu.isWindow());
        EXPECT_TRUE(screen.isAncestorOf(&menu));
        EXPECT_TRUE(screen.rect().contains(QRect(menu.mapTo(&screen, QPoint(0, 0)), menu.size())));
        act(menu);
    });
    return handheld::TrackPopupMenu(menu, at, &screen);
}

TEST(PopupMenu, ShowsInsideTheScreenAndAnswersTheTappedItem) {
    handheld::HandheldScreen screen(handheld::Orientation::Portrait, nullptr);
    screen.show();
    QMenu menu;
    QAction* rename = menu.addAction(QStringLiteral("Rename"));
    QAction* remove = menu.addAction(QStringLiteral("Delete"));
    const auto tap = [](QAction* action) {
        return [action](QMenu& m) { QTest::mouseClick(&m, Qt::LeftButton, {}, m.actionGeometry(action).center()); };
    };
    EXPECT_EQ(ShowMenu(menu, screen, {230, 310}, tap(remove)), remove);  // placed back inside the screen
    EXPECT_EQ(ShowMenu(menu, screen, {10, 10}, tap(rename)), rename);
    EXPECT_TRUE(menu.isWindow());  // given back as it was
    // Escape, or a tap beside the menu: no choice.
    EXPECT_EQ(ShowMenu(menu, screen, {10, 10}, [](QMenu& m) { QTest::keyClick(&m, Qt::Key_Escape); }), nullptr);
    EXPECT_EQ(ShowMenu(menu, screen, {10, 10},
                       [&screen](QMenu&) {
                           auto* cover = screen.findChild<QWidget*>(QStringLiteral("MenuCover"));
                           ASSERT_NE(cover, nullptr);
                           QTest::mouseClick(cover, Qt::LeftButton, {}, {200, 300});
                       }),
              nullptr);
    // Keys move through the items as in any menu.
    EXPECT_EQ(ShowMenu(menu, screen, {10, 10},
                       [](QMenu& m) {
                           QTest::keyClick(&m, Qt::Key_Down);
                           QTest::keyClick(&m, Qt::Key_Down);
                           QTest::keyClick(&m, Qt::Key_Return);
                       }),
              remove);
}

// A button watched for the gesture, with spies on the gesture and on the button's clicks.
class TapAndHoldTest : public testing::Test {
protected:
    TapAndHoldTest() { button.resize(100, 40); }
    QPushButton button;
    handheld::TapAndHold gesture{&button};
    QSignalSpy held{&gesture, &handheld::TapAndHold::Held};
    QSignalSpy clicked{&button, &QPushButton::clicked};
};

TEST_F(TapAndHoldTest, RightClickIsTheGestureAndNoClick) {
    QTest::mouseClick(&button, Qt::RightButton, {}, {30, 12});
    ASSERT_EQ(held.count(), 1);
    EXPECT_EQ(held[0][0].toPoint(), QPoint(30, 12));
    QTest::mouseClick(&button, Qt::LeftButton, {}, {30, 12});  // a quick tap stays a tap
    EXPECT_EQ(held.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(TapAndHoldTest, APressHeldStillShowsDotsThenHolds) {
    EXPECT_GT(gesture.HoldTimeMs(), 0);

    QTest::mousePress(&button, Qt::LeftButton, {}, {40, 20});
    EXPECT_TRUE(gesture.Holding());
    EXPECT_NE(button.findChild<QWidget*>(QStringLiteral("TapAndHoldDots")), nullptr);
    gesture.CompleteHold();  // the hold time has passed
    ASSERT_EQ(held.count(), 1);
    EXPECT_EQ(held[0][0].toPoint(), QPoint(40, 20));
    EXPECT_EQ(button.findChild<QWidget*>(QStringLiteral("TapAndHoldDots")), nullptr);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {40, 20});
    EXPECT_EQ(clicked.count(), 0);  // the held press is not also a click

    // Moving the stylus away cancels the hold.
    QTest::mousePress(&button, Qt::LeftButton, {}, {10, 10});
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), button.mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(&button, &move);
    EXPECT_FALSE(gesture.Holding());
    gesture.CompleteHold();
    EXPECT_EQ(held.count(), 1);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {40, 30});
}

TEST(TapAndHold, PressesOutsideTheAcceptedPlacesPassUntouched) {
    QPushButton button;
    button.resize(100, 40);
    handheld::TapAndHold gesture(&button, [](QPoint p) { return p.x() < 50; });
    QSignalSpy held(&gesture, &handheld::TapAndHold::Held);
    QTest::mouseClick(&button, Qt::RightButton, {}, {80, 10});
    QTest::mousePress(&button, Qt::LeftButton, {}, {80, 10});
    EXPECT_FALSE(gesture.Holding());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {80, 10});
    EXPECT_EQ(held.count(), 0);
    QTest::mouseClick(&button, Qt::RightButton, {}, {20, 10});
    EXPECT_EQ(held.count(), 1);
}

}  // namespace
