// The panel window: a tap sends with the pressed look already on the screen, mapped keys press and release,
// and in edit mode the tap-and-hold menus select, move, nudge, drop and delete buttons on custom devices.
#include <QEvent>
#include <QTest>

#include "app/panel/program_menu.h"
#include "handheld/shell/tap_and_hold.h"
#include "tests/program/program_fixture.h"

namespace {

using orvane_test::ProgramTest;

// Notes, at the first edge of each send, how often the panel had been painted and whether it showed pressed.
class FirstEdgeProbe : public QObject, public handheld::soc::EdgeObserver {
public:
    explicit FirstEdgeProbe(PanelWindow& panel) : panel_(panel) {
        panel.installEventFilter(this);
        handheld::soc::AddEdgeObserver(this);
    }
    ~FirstEdgeProbe() override { handheld::soc::RemoveEdgeObserver(this); }
    void OnEdge(const handheld::soc::PinEdge&) override {
        if (seenEdge) return;
        seenEdge = true;
        paintsAtFirstEdge = paints;
        pressedAtFirstEdge = panel_.ShowsPressedLook();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    PanelWindow& panel_;
    int paints = 0;
    int paintsAtFirstEdge = -1;
    bool seenEdge = false;
    bool pressedAtFirstEdge = false;
};

class PanelWindowTest : public ProgramTest {
protected:
    void OpenAmpInEditMode() {
        ShownWindow();
        ASSERT_TRUE(window_->Open(u"My Amp"));
        ASSERT_EQ(state_.device.deviceType, DT_CUSTOM);
        state_.editMode = true;
    }
    // Holds on a button and chooses Move from its menu.
    FaceButton* StartMoving(std::u16string_view name) {
        handheld::QueueMenuAnswer(kCommandMove);
        Hold(&Panel(), CentreOf(name));
        FaceButton* button = panels_.mainPanel.FindButton(name);
        return button && button->moving ? button : nullptr;
    }
};

TEST_F(PanelWindowTest, TapSendsWithThePressedLookAlreadyPaintedAndReleasesOnStylusUp) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    FirstEdgeProbe probe(Panel());
    const QPoint power = CentreOf(u"PW");
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, power);
    EXPECT_GT(Rises(), 0u);
    ASSERT_TRUE(probe.seenEdge);
    EXPECT_TRUE(probe.pressedAtFirstEdge);
    EXPECT_GE(probe.paintsAtFirstEdge, 1);
    EXPECT_EQ(Panel().PressedButton(), u"PW");
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, power);
    EXPECT_EQ(Panel().PressedButton(), u"");
    EXPECT_EQ(state_.pressedName, u"");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(PanelWindowTest, TapOnATransparentCornerSendsNothing) {
    Window();
    ASSERT_TRUE(window_->Open(u"TV"));
    // A button whose face leaves the top-left corner of its box uncovered, with no other button there.
    const FaceButton* rounded = nullptr;
    for (const FaceButton& button : panels_.mainPanel.buttons) {
        if (!HitTestButton(button, button.x, button.y) && panels_.mainPanel.ButtonNameAt(button.x, button.y).empty()) {
            rounded = &button;
            break;
        }
    }
    ASSERT_NE(rounded, nullptr);
    Tap(&Panel(), QPoint(rounded->x, rounded->y));
    EXPECT_EQ(Rises(), 0u);
    EXPECT_EQ(state_.pressedName, u"");
}

TEST_F(PanelWindowTest, TwoMappedKeysEachPressSendAndReleaseTheirOwnButton) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    state_.device.FindRecord(u"PW")->hardwareKey = 'P';
    state_.device.FindRecord(u"CH1")->hardwareKey = 0x0100 | '1';  // only the low byte is the key
    FirstEdgeProbe probe(Panel());
    QTest::keyPress(&Panel(), Qt::Key_P);
    const std::size_t first = Rises();
    EXPECT_GT(first, 0u);
    EXPECT_TRUE(probe.pressedAtFirstEdge);
    EXPECT_EQ(state_.pressedName, u"PW");
    EXPECT_FALSE(Panel().ShowsPressedLook());
    QTest::keyPress(&Panel(), Qt::Key_1);
    EXPECT_GT(Rises(), first);
    EXPECT_EQ(state_.pressedName, u"CH1");
    QTest::keyRelease(&Panel(), Qt::Key_1);
    EXPECT_EQ(state_.pressedName, u"");
    const std::size_t before = Rises();
    QTest::keyPress(&Panel(), Qt::Key_Q);  // mapped to nothing
    EXPECT_EQ(Rises(), before);
}

TEST_F(PanelWindowTest, StandardDeviceButtonMenuHasMoveAndDeleteGrayedAndEmptySpaceNoMenu) {
    ShownWindow();
    ASSERT_TRUE(window_->Open(u"TV"));
    state_.editMode = true;
    handheld::QueueMenuAnswer(0);
    Hold(&Panel(), CentreOf(u"PW"));
    const auto& menu = handheld::LastScriptedMenu();
    ASSERT_EQ(menu.items.size(), 4);  // with the separator
    EXPECT_EQ(menu.items[0].text, QStringLiteral("Properties..."));
    EXPECT_TRUE(menu.items[0].enabled);
    EXPECT_EQ(menu.items[2].command, QStringLiteral("40053"));
    EXPECT_FALSE(menu.items[2].enabled);
    EXPECT_FALSE(menu.items[3].enabled);
    EXPECT_EQ(menu.screenPoint, CentreOf(u"PW") + QPoint(0, 21));

    // No menu on empty space: the queued answer stays for the next menu, which is the skin menu of My Amp.
    handheld::QueueMenuAnswer(0);
    Hold(&Panel(), QPoint(2, 265));
    ASSERT_EQ(handheld::LastScriptedMenu().screenPoint, CentreOf(u"PW") + QPoint(0, 21));
    ASSERT_TRUE(window_->Open(u"My Amp"));
    Hold(&Panel(), QPoint(2, 265));
    ASSERT_EQ(handheld::LastScriptedMenu().items.size(), 1);
    EXPECT_EQ(handheld::LastScriptedMenu().items[0].text, QStringLiteral("Add button..."));
}

TEST_F(PanelWindowTest, AddButtonAndPropertiesReachTheirHooks) {
    OpenAmpInEditMode();
    QPoint addedAt(-1, -1);
    int properties = 0;
    TheProgramHooks().addButton = [&](handheld::HWND, int x, int y) { addedAt = QPoint(x, y); };
    TheProgramHooks().buttonProperties = [&](handheld::HWND) { ++properties; };
    handheld::QueueMenuAnswer(kCommandAddButton);
    Hold(&Panel(), QPoint(30, 200));
    EXPECT_EQ(addedAt, QPoint(30, 200));

    handheld::QueueMenuAnswer(kCommandProperties);
    Hold(&Panel(), CentreOf(u"CUSTOM$0"));
    EXPECT_EQ(properties, 1);
    EXPECT_EQ(state_.pressedName, u"CUSTOM$0");
    // A tap let go before the hold time opens the properties too; on empty space it opens nothing.
    Tap(&Panel(), CentreOf(u"CUSTOM$1"));
    EXPECT_EQ(properties, 2);
    EXPECT_EQ(state_.pressedName, u"CUSTOM$1");
    Tap(&Panel(), QPoint(30, 200));
    EXPECT_EQ(properties, 2);
}

TEST_F(PanelWindowTest, MoveDragsClampedNudgesAndDropsIntoTheRecord) {
    OpenAmpInEditMode();
    FaceButton* mute = StartMoving(u"CUSTOM$2");
    ASSERT_NE(mute, nullptr);
    EXPECT_EQ(&panels_.mainPanel.buttons.back(), mute);  // topmost while it moves
    const int w = mute->width, h = mute->height;

    // Arrow keys before any grab move by the button's corner; a step to a negative point is not taken.
    mute->SetPosition(0, 50);
    QTest::keyClick(&Panel(), Qt::Key_Left);
    EXPECT_EQ(mute->x, 0);
    QTest::keyClick(&Panel(), Qt::Key_Right);
    QTest::keyClick(&Panel(), Qt::Key_Down);
    EXPECT_EQ(QPoint(mute->x, mute->y), QPoint(1, 51));

    const QPoint grab = CentreOf(u"CUSTOM$2");
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, grab);
    EXPECT_TRUE(mute->moving);
    const QPoint offset = Panel().GrabOffset();
    EXPECT_EQ(offset, grab - QPoint(1, 51));
    QTest::mouseMove(&Panel(), QPoint(500, 40) + offset);
    EXPECT_EQ(QPoint(mute->x, mute->y), QPoint(240 - w, 40));
    QTest::mouseMove(&Panel(), QPoint(50, -30) + offset);
    EXPECT_EQ(QPoint(mute->x, mute->y), QPoint(50, 0));
    QTest::mouseMove(&Panel(), QPoint(0, 400));
    EXPECT_EQ(QPoint(mute->x, mute->y), QPoint(0, 270 - h));
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, QPoint(0, 400));
    QTest::keyClick(&Panel(), Qt::Key_Right);
    QTest::keyClick(&Panel(), Qt::Key_Up);
    EXPECT_EQ(QPoint(mute->x, mute->y), QPoint(1, 270 - h - 1));
    const auto record = state_.device.FindRecord(u"CUSTOM$2");
    EXPECT_EQ(record->x, 91);  // not written before the drop

    // The red frame runs along the moving button's top edge.
    const QImage shown = Panel().grab().toImage();
    EXPECT_EQ(shown.pixelColor(mute->x + w / 2, mute->y).rgb() & 0xFFFFFF, 0xFF0000u);

    Tap(&Panel(), QPoint(200, 10));
    EXPECT_FALSE(mute->moving);
    EXPECT_EQ(record->x, 1);
    EXPECT_EQ(record->y, 270 - h - 1);
}

TEST_F(PanelWindowTest, AHoldElsewhereWhileMovingDropsTheButtonWithoutAMenu) {
    OpenAmpInEditMode();
    FaceButton* volume = StartMoving(u"CUSTOM$3");
    ASSERT_NE(volume, nullptr);
    const QPoint menuPoint = handheld::LastScriptedMenu().screenPoint;
    volume->SetPosition(10, 10);
    handheld::QueueMenuAnswer(0);
    Hold(&Panel(), QPoint(200, 250));
    EXPECT_FALSE(volume->moving);
    EXPECT_EQ(state_.device.FindRecord(u"CUSTOM$3")->x, 10);
    ASSERT_EQ(handheld::LastScriptedMenu().screenPoint, menuPoint);
    Hold(&Panel(), QPoint(200, 250));  // now the skin menu, taking the answer left
    EXPECT_EQ(handheld::LastScriptedMenu().screenPoint, QPoint(200, 271));
}

TEST_F(PanelWindowTest, DeleteRemovesTheRecordSoTheButtonStaysGoneAfterReopening) {
    OpenAmpInEditMode();
    const std::size_t records = state_.device.records.size();
    handheld::QueueMenuAnswer(kCommandDelete);
    Hold(&Panel(), CentreOf(u"CUSTOM$0"));
    EXPECT_EQ(panels_.mainPanel.FindButton(u"CUSTOM$0"), nullptr);
    EXPECT_EQ(state_.device.records.size(), records - 1);
    ASSERT_TRUE(SaveDevice(state_.device, true));
    ASSERT_TRUE(window_->Open(u"My Amp"));
    EXPECT_EQ(panels_.mainPanel.FindButton(u"CUSTOM$0"), nullptr);
    EXPECT_NE(panels_.mainPanel.FindButton(u"CUSTOM$3"), nullptr);
}

}  // namespace
