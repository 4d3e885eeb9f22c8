// The stylus and key state while the user-interface thread is blocked in a send, and what waits meanwhile.
#include "handheld/shell/input_recorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "handheld/input.h"

namespace {

const QEvent::Type kNote = static_cast<QEvent::Type>(QEvent::registerEventType());

bool StylusDown() {
    return (handheld::GetAsyncKeyState(handheld::VK_LBUTTON) & handheld::KEY_STATE_DOWN) != 0;
}

// Notes what reaches its handlers, in order.
class Target : public QWidget {
public:
    std::vector<QEvent::Type> received;
    int paints = 0;
    std::function<void()> onPress;

protected:
    bool event(QEvent* event) override {
        if (event->type() == kNote) {
            received.push_back(kNote);
            return true;
        }
        return QWidget::event(event);
    }
    void mousePressEvent(QMouseEvent*) override {
        received.push_back(QEvent::MouseButtonPress);
        if (onPress) onPress();
    }
    void mouseReleaseEvent(QMouseEvent*) override { received.push_back(QEvent::MouseButtonRelease); }
    void keyPressEvent(QKeyEvent*) override { received.push_back(QEvent::KeyPress); }
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::gray);
    }
};

void PostMouse(QWidget& widget, QEvent::Type type) {
    const QPointF at(5, 5);
    QCoreApplication::postEvent(
        &widget, new QMouseEvent(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                                 type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
}

void PostNote(QObject& receiver) {
    QCoreApplication::postEvent(&receiver, new QEvent(kNote));
}

class InputRecorderTest : public ::testing::Test {
protected:
    void SetUp() override { handheld::SetKeyDown(handheld::VK_LBUTTON, false); }
    void TearDown() override { QCoreApplication::processEvents(); }
    handheld::InputRecorder recorder;
    Target target;
};

TEST_F(InputRecorderTest, FollowsTheStylusWhileTheThreadIsFree) {
    PostMouse(target, QEvent::MouseButtonPress);
    QCoreApplication::processEvents();
    EXPECT_TRUE(StylusDown());
    PostMouse(target, QEvent::MouseButtonRelease);
    QCoreApplication::processEvents();
    EXPECT_FALSE(StylusDown());
    EXPECT_EQ(target.received, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
}

TEST_F(InputRecorderTest, WhileBusyRecordsTheInputAndDeliversItAndPostedEventsOnlyAfterwardsInOrder) {
    PostNote(target);  // posted before the section: waits as well
    {
        handheld::InputRecorder::BusySection busy(recorder);
        PostMouse(target, QEvent::MouseButtonPress);
        EXPECT_TRUE(StylusDown()) << "the check itself takes the queued press into account";
        PostNote(target);
        PostMouse(target, QEvent::MouseButtonRelease);
        QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
        EXPECT_FALSE(StylusDown());
        EXPECT_TRUE(handheld::GetAsyncKeyState(0x26) & handheld::KEY_STATE_DOWN) << "the Up key was recorded";
        EXPECT_TRUE(target.received.empty()) << "no handler runs inside the busy section";
        EXPECT_GE(recorder.HeldEventCount(), 5u);
    }
    EXPECT_TRUE(target.received.empty()) << "nor as it ends, inside the handler that blocked";
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received, (std::vector<QEvent::Type>{kNote, QEvent::MouseButtonPress, kNote,
                                                          QEvent::MouseButtonRelease, QEvent::KeyPress}));
    EXPECT_FALSE(StylusDown());
    EXPECT_EQ(recorder.HeldEventCount(), 0u);
}

// A handler that blocks without saying so still sees the stylus, and still runs nothing meanwhile.
TEST_F(InputRecorderTest, AKeyStateReadWithNoSectionOpenHoldsWhatItTakesUntilTheLoopRunsAgain) {
    PostMouse(target, QEvent::MouseButtonPress);
    PostNote(target);
    EXPECT_TRUE(StylusDown());
    PostMouse(target, QEvent::MouseButtonRelease);
    EXPECT_FALSE(StylusDown());
    EXPECT_TRUE(target.received.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received,
              (std::vector<QEvent::Type>{QEvent::MouseButtonPress, kNote, QEvent::MouseButtonRelease}));
    PostNote(target);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received.size(), 4u) << "once back in the loop, nothing is held any more";
    EXPECT_EQ(recorder.HeldEventCount(), 0u);
}

TEST_F(InputRecorderTest, TimersDueAndPaintsAskedForWhileBusyRunOnlyAfterwards) {
    target.resize(40, 40);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    ASSERT_TRUE(QTest::qWaitFor([this] { return target.paints > 0; }, 5000));
    const int paintsBefore = target.paints;
    bool fired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&fired] { fired = true; });
    timer.start(1);
    {
        handheld::InputRecorder::BusySection busy(recorder);
        target.update();
        std::this_thread::sleep_for(std::chrono::milliseconds(40));  // the timer is well past due
        StylusDown();
        StylusDown();
        EXPECT_FALSE(fired);
        EXPECT_EQ(target.paints, paintsBefore);
    }
    EXPECT_FALSE(fired);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired && target.paints > paintsBefore; }, 5000));
}

// The press is delivered after its release was recorded: its late delivery must not make the stylus look
// held again, or a send started by the press would repeat until the next tap.
TEST_F(InputRecorderTest, ALatePressDoesNotTurnTheStylusBackDown) {
    std::vector<bool> downInHandler;
    target.onPress = [&downInHandler] {
        handheld::InputRecorder::BusySection send;  // the press starts a send
        downInHandler.push_back(StylusDown());
    };
    {
        handheld::InputRecorder::BusySection busy(recorder);
        PostMouse(target, QEvent::MouseButtonPress);
        PostMouse(target, QEvent::MouseButtonRelease);
        EXPECT_FALSE(StylusDown());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(downInHandler, std::vector<bool>{false});
    EXPECT_EQ(target.received, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
}

// Input taken by a send that a held press started goes behind the input still held from before.
TEST_F(InputRecorderTest, InputHeldByALaterSendQueuesBehindOlderInput) {
    bool firstPress = true;
    target.onPress = [&] {
        if (!firstPress) return;
        firstPress = false;
        handheld::InputRecorder::BusySection send;
        QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
        StylusDown();
        EXPECT_EQ(target.received, std::vector<QEvent::Type>{QEvent::MouseButtonPress});
    };
    {
        handheld::InputRecorder::BusySection busy(recorder);
        PostMouse(target, QEvent::MouseButtonPress);
        PostMouse(target, QEvent::MouseButtonRelease);
        StylusDown();
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received,
              (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::KeyPress}));
}

// Input as the window system hands it over, to the window first. The queued call that plays it runs inside
// the busy section, as queued calls do (they cannot be held), standing in for the platform's input source.
TEST_F(InputRecorderTest, WindowSystemInputWhileBusyReachesTheWidgetAfterwardsInOrder) {
    target.resize(40, 40);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    {
        handheld::InputRecorder::BusySection busy(recorder);
        QMetaObject::invokeMethod(
            &target,
            [this] {
                QTest::mousePress(target.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
                QTest::mouseRelease(target.windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
                QTest::mousePress(target.windowHandle(), Qt::LeftButton, {}, QPoint(6, 6));
            },
            Qt::QueuedConnection);
        EXPECT_TRUE(StylusDown());
        EXPECT_TRUE(target.received.empty());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                                          QEvent::MouseButtonPress}));
    EXPECT_TRUE(StylusDown());
    QTest::mouseRelease(target.windowHandle(), Qt::LeftButton, {}, QPoint(6, 6));
    QCoreApplication::processEvents();
    EXPECT_FALSE(StylusDown());
}

TEST_F(InputRecorderTest, HeldInputForADeletedWidgetIsDropped) {
    auto* doomed = new Target;
    {
        handheld::InputRecorder::BusySection busy(recorder);
        PostMouse(*doomed, QEvent::MouseButtonPress);
        EXPECT_TRUE(StylusDown());
        delete doomed;
    }
    QCoreApplication::processEvents();  // must not deliver to the deleted widget
    EXPECT_TRUE(target.received.empty());
}

TEST(InputRecorderLifetime, ASectionOutlivingItsRecorderOrWithoutOneIsHarmless) {
    auto recorder = std::make_unique<handheld::InputRecorder>();
    EXPECT_EQ(handheld::InputRecorder::Active(), recorder.get());
    {
        handheld::InputRecorder::BusySection busy;
        recorder.reset();
        EXPECT_EQ(handheld::InputRecorder::Active(), nullptr);
    }
    handheld::InputRecorder::BusySection none;
    EXPECT_EQ(handheld::InputRecorder::Active(), nullptr);
}

TEST(VirtualKeys, HandheldCodesOfTheKeysTheFrameMaps) {
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_Left), 0x25);
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_Up), 0x26);
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_Right), 0x27);
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_Down), 0x28);
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_Return), 0x0D);
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_A), 'A');
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_7), '7');
    EXPECT_EQ(handheld::VirtualKeyOf(Qt::Key_F35), 0);
}

}  // namespace
