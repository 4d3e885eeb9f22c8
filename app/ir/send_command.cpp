#include "app/ir/send_command.h"

#include <algorithm>

#include "app/shell/messages.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/input.h"
#include "handheld/led.h"
#include "handheld/sound.h"
#include "handheld/system.h"
#include "handheld/trace.h"

namespace {

SendMonitor* sendMonitor = nullptr;

constexpr handheld::DWORD kLeadInMs = 50;
// Passes every code gets before the stylus is consulted: the code once, then its repeat part twice.
constexpr std::int32_t kGuaranteedRepeats = 2;

SendStep StepFor(const CodeEntry* entry) {
    SendStep step{nullptr, 0, 0, 0};
    if (entry == nullptr) return step;
    step.lowByte = static_cast<std::uint8_t>(entry->codeInfo() & 0xFF);
    step.highByte = static_cast<std::uint8_t>(entry->codeInfo() >> 8);
    const auto samples = entry->samples();
    // A foreign or damaged file may hold more than one capture; the driver takes 200 durations.
    const std::size_t words = std::min<std::size_t>(samples.size() / 4, kIrCodeMaxDurations);
    if (words > 0) {
        step.samples = samples.data();
        step.sampleCount = static_cast<std::uint8_t>(words);
    }
    return step;
}

std::int32_t SampleAt(const std::uint8_t* samples, std::size_t index) {
    const std::uint8_t* p = samples + index * 4;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void SleepMs(std::uint32_t milliseconds) {
    if (sendMonitor) sendMonitor->OnSleep(milliseconds);
    handheld::Sleep(milliseconds);
}

}  // namespace

SendState& TheSendState() {
    static SendState state;
    return state;
}

SendMonitor* SetSendMonitor(SendMonitor* monitor) {
    std::swap(monitor, sendMonitor);
    return monitor;
}

void SendButtonCommand(const char16_t* buttonName) {
    AppState& app = TheAppState();
    SendState& send = TheSendState();
    const std::u16string button = buttonName ? std::u16string(buttonName) : app.pressedName;

    const auto record = app.device.FindRecord(CommandRecordName(button));
    if (record == app.device.records.end()) {
        ShowError(app.mainWindow, u"ERR_1", u"Can't find record", handheld::MB_OK | handheld::MB_ICONHAND);
        return;
    }
    const CommandSet& commands = record->commands;
    if (commands.empty()) return;

    if (const DeviceSettings* settings = app.CurrentDeviceSettings();
        settings && (settings->flags & DeviceSettings::kButtonSounds) && !settings->buttonSound.empty()) {
        handheld::PlaySoundW(settings->buttonSound.c_str(), nullptr, handheld::SND_NODEFAULT);
    }

    if (commands.count(2) != 0) {
        // A macro: its codes and pauses from index 2 on, in index order. Alternation is left alone.
        send.stepCount = 0;
        for (auto it = commands.lower_bound(2); it != commands.end() && send.stepCount < kMaxSendSteps; ++it) {
            send.sendList[send.stepCount++] = StepFor(&it->second);
        }
    } else {
        app.alternate = (button == app.lastSentButton) ? 1 - app.alternate : 0;
        app.lastSentButton = button;
        const auto entry = commands.find(app.alternate);
        send.sendList[0] = StepFor(entry == commands.end() ? nullptr : &entry->second);
        send.stepCount = 1;
    }
    HH_TRACE("ir", "sending %zu step(s) of record of button (%zu chars)", static_cast<std::size_t>(send.stepCount),
             button.size());
    PlaySendList(kStylusKey);
}

void PlaySendList(int holdKey) {
    SendState& send = TheSendState();
    SleepMs(kLeadInMs);

    handheld::NLED_COUNT_INFO ledCount{};
    if (!handheld::NLedGetDeviceInfo(handheld::NLED_COUNT_INFO_ID, &ledCount)) ledCount.cLeds = 0;

    for (int i = 0; i < send.stepCount; ++i) {
        const SendStep& step = send.sendList[i];
        if (step.sampleCount > 0 || send.stepCount < 2) {
            IrCode code{};
            code.carrier = step.highByte;
            for (std::size_t k = 0; k < step.sampleCount; ++k) code.durations[k] = SampleAt(step.samples, k);
            code.count = step.sampleCount;
            code.repeatStart = step.lowByte;
            send.holdKey = holdKey;
            if (sendMonitor) sendMonitor->OnCodeStart(code);
            if (CLumbra* driver = CLumbra::Instance()) driver->Send(&code, &RepeatWhileHeld);
            if (sendMonitor) sendMonitor->OnCodeEnd();
        } else {
            SleepMs(step.lowByte + 256u * step.highByte);
        }
    }

    if (ledCount.cLeds >= 1) {
        handheld::NLED_SETTINGS_INFO off{};
        off.LedNum = 0;
        off.OffOnBlink = handheld::LED_OFF;
        off.TotalCycleTime = 1000;
        off.OnTime = 200;
        off.OffTime = 200;
        off.MetaCycleOn = 2;
        off.MetaCycleOff = 2;
        handheld::NLedSetDevice(handheld::NLED_SETTINGS_INFO_ID, &off);
    }
}

int RepeatWhileHeld() {
    SendState& send = TheSendState();
    if (sendMonitor) sendMonitor->OnPassEnd();
    const std::int32_t previous = send.repeatCounter;
    send.repeatCounter += 1;
    if (previous < kGuaranteedRepeats) return 0;
    if (send.stepCount != 1) {
        send.repeatCounter = 0;
        return 1;
    }
    if (handheld::GetAsyncKeyState(send.holdKey) & 0x8000) return 0;
    send.repeatCounter = 0;
    return 1;
}
