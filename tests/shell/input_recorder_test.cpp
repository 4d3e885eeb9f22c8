// The stylus and key state while the user-interface thread is blocked in a send.
#include "handheld/shell/input_recorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <vector>

#include "handheld/input.h"

namespace {

class Target : public QWidget {
public:
    std::vector<QEvent::Type> received;

protected:
    void mousePressEvent(QMouseEvent*) override { received.push_back(QEvent::MouseButtonPress); }
    void mouseReleaseEvent(QMouseEvent*) override { received.push_back(QEvent::MouseButtonRelease); }
    void keyPressEvent(QKeyEvent*) override { received.push_back(QEvent::KeyPress); }
};

void PostMouse(QWidget& widget, QEvent::Type type) {
    const QPointF at(5, 5);
    QCoreApplication::postEvent(
        &widget, new QMouseEvent(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                                 type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
}

bool StylusDown() {
    return (handheld::GetAsyncKeyState(handheld::VK_LBUTTON) & 0x8000) != 0;
}

class InputRecorderTest : public ::testing::Test {
protected:
    void SetUp() override { handheld::SetKeyDown(handheld::VK_LBUTTON, false); }
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

TEST_F(InputRecorderTest, WhileBusyRecordsTheStylusAndDeliversTheInputOnlyAfterwards) {
    {
        handheld::InputRecorder::BusySection busy(recorder);
        PostMouse(target, QEvent::MouseButtonPress);
        EXPECT_TRUE(StylusDown()) << "the check itself takes the queued press into account";
        PostMouse(target, QEvent::MouseButtonRelease);
        QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier));
        EXPECT_FALSE(StylusDown());
        EXPECT_TRUE(target.received.empty()) << "no handler runs inside the busy section";
        EXPECT_EQ(recorder.HeldEventCount(), 3u);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received,
              (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::KeyPress}));
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
