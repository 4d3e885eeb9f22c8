// A handheld home with the demo devices, the program's button library, a state and a main window of the
// test's own, the IR clock in virtual time and the transmit pin watched.
#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/ir/send_command.h"
#include "app/shell/gui/main_window.h"
#include "app/shell/gui/program.h"
#include "app/shell/language_table.h"
#include "app/shell/program_hooks.h"
#include "app/shell/stored_files.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/shell/popup_menu.h"
#include "handheld/soc/simulation.h"
#include "handheld/sound.h"
#include "tests/support/test_home.h"

namespace orvane_test {

class ProgramTest : public testing::Test {
protected:
    ProgramTest()
        : library_(handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll")), artwork_(library_.get()) {
        CLumbra::Destroy();
        handheld::HandheldProfile profile = handheld::Profile();
        profile.timerClock = handheld::TimerClock::Virtual;
        handheld::SetProfile(profile);
        handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
        handheld::soc::ResetProcessors();
        handheld::SetAudioOutputEnabled(false);
        handheld::soc::AddEdgeObserver(&edges_);
        TheSendState() = SendState{};
        TheProgramHooks() = ProgramHooks{};
        ApplicationSettings settings;
        ReadConfigurationAtStart(settings, nullptr);
        TakeSettings(state_, settings);
    }
    ~ProgramTest() override {
        handheld::soc::RemoveEdgeObserver(&edges_);
        TheProgramHooks() = ProgramHooks{};
        CLumbra::Destroy();
    }

    MainWindow& Window(handheld::Orientation orientation = handheld::Orientation::Portrait) {
        window_ = std::make_unique<MainWindow>(state_, panels_, artwork_, orientation);
        return *window_;
    }
    PanelWindow& Panel() { return *window_->Panel(); }

    static void Tap(QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    // Tap-and-hold, as the desktop gives it with a right click.
    static void Hold(QWidget* widget, QPoint at) {
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    }
    // Shown and exposed, so that paints reach the window as on the handheld.
    MainWindow& ShownWindow(handheld::Orientation orientation = handheld::Orientation::Portrait) {
        MainWindow& window = Window(orientation);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return window;
    }
    QPoint CentreOf(std::u16string_view name) const {
        const FaceButton* button = panels_.mainPanel.FindButton(name);
        return button ? QPoint(button->x + button->width / 2, button->y + button->height / 2) : QPoint(-1, -1);
    }
    std::size_t Rises() const {
        std::size_t rises = 0;
        for (const auto& edge : edges_.Edges()) rises += edge.level == 1 ? 1 : 0;
        return rises;
    }

    TestHome home_;
    MessageBoxRecorder boxes_;
    handheld::soc::EdgeBuffer edges_{400000};
    std::unique_ptr<handheld::ResourceLibrary> library_;
    LibraryArtwork artwork_;
    AppState state_;
    DevicePanels panels_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace orvane_test
