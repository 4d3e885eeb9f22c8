#include "app/ir/send_command.h"

#include <algorithm>

#include "app/model/little_endian.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/input.h"
#include "handheld/led.h"
#include "handheld/sound.h"
#include "handheld/system.h"
#include "handheld/trace.h"

namespace {

SendMonitor* sendMonitor = nullptr;

constexpr handheld::DWORD kLeadInMs = 50;
// A stored sample is one 32-bit duration word.
constexpr std::size_t kSampleBytes = sizeof(std::int32_t);
// Passes every code gets before the stylus is consulted: the code once, then its repeat part twice.
constexpr std::int32_t kGuaranteedRepeats = 2;
// The notification LED's settings when it is switched off after a send.
constexpr handheld::LONG kLedTotalCycleTimeUs = 1000;
constexpr handheld::LONG kLedOnTimeUs = 200;
constexpr handheld::LONG kLedOffTimeUs = 200;
constexpr int kLedMetaCycles = 2;

SendStep StepFor(const CodeEntry* entry) {
    SendStep step{nullptr, 0, 0, 0};
    if (entry == nullptr) return step;
    step.lowByte = static_cast<std::uint8_t>(entry->codeInfo() & 0xFF);
    step.highByte = static_cast<std::uint8_t>(entry->codeInfo() >> 8);
    const auto samples = entry->samples();
    // A foreign or damaged file may hold more than one capture; the driver takes 200 durations.
    const std::size_t words = std::min<std::size_t>(samples.size() / kSampleBytes, kIrCodeMaxDurations);
    if (words > 0) {
        step.samples = samples.data();
        step.sampleCount = static_cast<std::uint8_t>(words);
    }
    return step;
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

std::optional<Problem> SendCommandOfButton(const Device& device, const DeviceSettings* settings,
                                           std::u16string_view buttonName) {
    SendState& send = TheSendState();
    const auto record = device.FindRecord(CommandRecordName(buttonName));
    if (record == device.records.end()) return Problem{u"ERR_1", u"Can't find record"};
    const CommandSet& commands = record->commands;
    if (commands.empty()) return std::nullopt;

    if (settings && (settings->flags & DeviceSettings::kButtonSounds) && !settings->buttonSound.empty()) {
        handheld::PlaySoundW(settings->buttonSound.c_str(), nullptr, handheld::SND_NODEFAULT);
    }

    if (commands.count(kFirstMacroIndex) != 0) {
        // A macro: its codes and pauses from index 2 on, in index order. Alternation is left alone.
        send.stepCount = 0;
        for (auto it = commands.lower_bound(kFirstMacroIndex); it != commands.end() && send.stepCount < kMaxSendSteps;
             ++it) {
            send.sendList[send.stepCount++] = StepFor(&it->second);
        }
    } else {
        send.alternate = (buttonName == send.lastSentButton) ? 1 - send.alternate : 0;
        send.lastSentButton = buttonName;
        const auto entry = commands.find(send.alternate);
        send.sendList[0] = StepFor(entry == commands.end() ? nullptr : &entry->second);
        send.stepCount = 1;
    }
    HH_TRACE("ir", "sending %zu step(s) of record of button (%zu chars)", static_cast<std::size_t>(send.stepCount),
             buttonName.size());
    PlaySendList(kStylusKey);
    return std::nullopt;
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
            for (std::size_t k = 0; k < step.sampleCount; ++k) {
                code.durations[k] = ReadI32(step.samples + k * kSampleBytes);
            }
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
        off.TotalCycleTime = kLedTotalCycleTimeUs;
        off.OnTime = kLedOnTimeUs;
        off.OffTime = kLedOffTimeUs;
        off.MetaCycleOn = kLedMetaCycles;
        off.MetaCycleOff = kLedMetaCycles;
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
    if (handheld::GetAsyncKeyState(send.holdKey) & handheld::KEY_STATE_DOWN) return 0;
    send.repeatCounter = 0;
    return 1;
}
