// The program as the handheld shows it: the first start on the demo handheld (in the desktop frame, with its
// LED strip), edit mode with a button moving, and landscape. With ORVANE_SCREENSHOT_DIR set the pictures are
// also written there.
#include <QImage>
#include <cstdlib>

#include "handheld/led.h"
#include "handheld/shell/desktop_frame.h"
#include "tests/program/program_fixture.h"

namespace {

using orvane_test::ProgramTest;

void Keep(const QImage& image, const char* name) {
    if (const char* folder = std::getenv("ORVANE_SCREENSHOT_DIR")) {
        EXPECT_TRUE(image.save(QStringLiteral("%1/program-%2.png").arg(folder, name)));
    }
}

class ProgramScreenshots : public ProgramTest {};

TEST_F(ProgramScreenshots, FirstStartEditModeWithAMovingButtonAndLandscape) {
    handheld::DesktopFrame frame;
    // The window goes before the frame that holds it.
    const struct Closing {
        std::unique_ptr<MainWindow>& window;
        ~Closing() { window.reset(); }
    } closing{window_};
    window_ = std::make_unique<MainWindow>(state_, panels_, artwork_, frame.Screen()->orientation(), frame.Screen());
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    ASSERT_TRUE(window_->Open(state_.currentDevice));
    const QImage first = frame.grab().toImage();
    EXPECT_EQ(first.size(), QSize(240, 320 + handheld::DesktopFrame::kLedStripPx));
    EXPECT_EQ(first.pixelColor(150, 10), QColor(198, 198, 198));
    Keep(first, "first-start");

    ASSERT_TRUE(window_->Open(u"My Amp"));
    window_->RunCommand(kCommandEditMode);
    handheld::QueueMenuAnswer(kCommandMove);
    Hold(&Panel(), CentreOf(u"CUSTOM$2"));
    FaceButton* moving = panels_.mainPanel.FindButton(u"CUSTOM$2");
    ASSERT_TRUE(moving && moving->moving);
    moving->SetPosition(100, 160);
    const QImage edit = frame.grab().toImage();
    // White edit-mode background and the red frame on the moving button's top edge (panel at y = 25).
    EXPECT_EQ(edit.pixelColor(5, 150), QColor(Qt::white));
    EXPECT_EQ(edit.pixelColor(100 + moving->width / 2, 25 + 160), QColor(Qt::red));
    Keep(edit, "edit-mode-moving");

    frame.Rotate();
    EXPECT_FALSE(state_.editMode);  // the turn left edit mode
    const QImage landscape = frame.grab().toImage();
    EXPECT_EQ(landscape.size(), QSize(320, 240 + handheld::DesktopFrame::kLedStripPx));
    EXPECT_EQ(Panel().geometry(), QRect(25, 0, 270, 240));
    Keep(landscape, "landscape");
}

TEST(DesktopFrame, TheLedIsShown) {
    orvane_test::TestHome home;
    handheld::DesktopFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_FALSE(frame.LedOn());
    handheld::NLED_SETTINGS_INFO led{};
    led.LedNum = 0;
    led.OffOnBlink = handheld::LED_ON;
    ASSERT_TRUE(handheld::NLedSetDevice(handheld::NLED_SETTINGS_INFO_ID, &led));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.LedOn(); }, 3000));
}

}  // namespace
