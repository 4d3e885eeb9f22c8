// A hardware key assigned in the dialog and pressed on the desktop keyboard sends the command's IR code.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "app/hwkeys/gui/hardware_buttons_dialog.h"
#include "app/ir/send_command.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/hotkeys.h"
#include "handheld/profile.h"
#include "handheld/registry.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/hardware_key_map.h"
#include "handheld/soc/emission.h"
#include "handheld/soc/simulation.h"
#include "handheld/sound.h"
#include "tests/support/test_home.h"

namespace {

constexpr int kPeriodUs = 26;

// The main window's part in this: a hot key other than 193 sends the first record holding that key.
class HotKeyWindow : public QWidget {
public:
    HotKeyWindow(QWidget* parent, const Device& device) : QWidget(parent), device_(device) {}
    std::vector<int> nextDeviceKeys;

protected:
    bool event(QEvent* event) override {
        if (event->type() != handheld::HotKeyEvent::EventType()) return QWidget::event(event);
        const int id = static_cast<handheld::HotKeyEvent*>(event)->Id();
        if (id == static_cast<int>(kNextDeviceKey)) {
            nextDeviceKeys.push_back(id);
        } else if (const ButtonRecord* record = RecordOfHardwareKey(device_, static_cast<std::uint32_t>(id))) {
            SendCommandOfButton(device_, nullptr, record->name);
        }
        return true;
    }

private:
    const Device& device_;
};

void Press(QWidget* target, int qtKey) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
    QCoreApplication::processEvents();
}

TEST(HardwareKeyEndToEnd, KeyAssignedInTheDialogSendsTheCommandsCodeOnThePin) {
    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    orvane_test::MessageBoxRecorder boxes;
    handheld::ReloadRegistry();
    handheld::ClearHotKeys();
    CLumbra::Destroy();
    handheld::HandheldProfile profile = handheld::Profile();
    profile.timerClock = handheld::TimerClock::Virtual;
    handheld::SetProfile(profile);
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
    handheld::soc::ResetProcessors();
    handheld::SetAudioOutputEnabled(false);
    handheld::soc::EdgeBuffer edges{100000};
    ASSERT_TRUE(handheld::soc::AddEdgeObserver(&edges));
    TheSendState() = SendState{};

    AppState state;
    state.device.name = u"TV";
    state.device.path = u"\\My Documents\\TV.kdr";
    ButtonRecord power;
    power.name = power.commandName = u"Power";
    const std::int32_t burstUs = 2600;
    std::uint8_t bytes[4];
    for (int b = 0; b < 4; ++b) bytes[b] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(burstUs) >> (8 * b));
    ASSERT_TRUE(power.SetEntry(0, bytes, sizeof bytes, kPeriodUs, 0));
    state.device.AppendRecord(power);

    handheld::DesktopFrame frame;
    HotKeyWindow mainWindow(frame.Screen(), state.device);
    HardwareButtons buttons;
    StartHardwareButtons(buttons, &mainWindow, state.device);

    handheld::QueueDialogScript([](handheld::HandheldDialog& shown) {
        auto& dialog = static_cast<HardwareButtonsDialog&>(shown);
        dialog.KeyList()->setCurrentItem(dialog.KeyList()->findItems("Button 2", Qt::MatchExactly).first());
        auto* commands = dialog.Control<QComboBox>(HardwareButtonsDialog::kCommandList);
        commands->setCurrentIndex(commands->findText("Power"));
        dialog.Set();
        dialog.Control<QPushButton>(HardwareButtonsDialog::kOk)->click();
    });
    ASSERT_EQ(RunHardwareButtonsDialog(&mainWindow, state, buttons), QDialog::Accepted);

    edges.Clear();
    Press(&mainWindow, Qt::Key_F2);  // the desktop's key for application key 0xC2, "Button 2"
    const auto bursts = handheld::soc::GroupBursts(edges.Edges(), 1000);
    ASSERT_FALSE(bursts.empty());
    // The code once and its repeat part twice, back to back.
    EXPECT_EQ(bursts.front().cycles, 3 * (burstUs / kPeriodUs + 1));

    // The next-device key is the program's; a key nobody holds sends nothing.
    edges.Clear();
    Press(&mainWindow, Qt::Key_F1);
    Press(&mainWindow, Qt::Key_F3);
    EXPECT_EQ(mainWindow.nextDeviceKeys, std::vector<int>{193});
    EXPECT_TRUE(edges.Edges().empty());

    handheld::soc::RemoveEdgeObserver(&edges);
    handheld::ClearHotKeys();
    CLumbra::Destroy();
}

}  // namespace
