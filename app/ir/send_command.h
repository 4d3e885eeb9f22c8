// Sending a button's command: the record's command set becomes a list of steps (one code, the alternate
// of a two-code command, or a macro's codes and pauses) played through the IR driver, with the code of a
// single-code button repeating while the stylus stays down.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "app/model/problem.h"
#include "driver/irdriver/lumbra.h"

struct SendStep {
    const std::uint8_t* samples;  // inside the record's CodeEntry; not owned; null for a pause
    std::uint8_t sampleCount;     // 32-bit sample words, at most the driver's 200
    std::uint8_t lowByte;         // code: repeat start; pause: milliseconds, low byte
    std::uint8_t highByte;        // code: carrier period in microseconds; pause: milliseconds, high byte
};

inline constexpr int kMaxSendSteps = 100;
inline constexpr int kStylusKey = 1;

// The sender's program-wide state, one for the whole run.
struct SendState {
    std::array<SendStep, kMaxSendSteps> sendList{};
    int stepCount = 0;
    std::u16string lastSentButton;  // the button whose single command was sent last
    int alternate = 0;              // 0 or 1: the entry last sent for lastSentButton
    std::int32_t repeatCounter = 0;
    int holdKey = kStylusKey;
};

SendState& TheSendState();

// Sends the commands of a button of device, with the button sound of its settings (null: none). The problem
// "Can't find record" when the device has no record for the button, for the caller to show.
std::optional<Problem> SendCommandOfButton(const Device& device, const DeviceSettings* settings,
                                           std::u16string_view buttonName);
// Plays the send list through the driver, watching holdKey for hold-to-repeat.
void PlaySendList(int holdKey);
// The driver's repeat callback: 0 for one more pass of the repeat part, non-zero to stop.
int RepeatWhileHeld();

// Watches the sender from outside (the IR monitor, orvanectl): told of every pause slept, every code
// handed to the driver and the end of each of its passes, on the sending thread.
class SendMonitor {
public:
    virtual ~SendMonitor() = default;
    virtual void OnSleep(std::uint32_t milliseconds) = 0;
    virtual void OnCodeStart(const IrCode& code) = 0;
    virtual void OnPassEnd() = 0;
    virtual void OnCodeEnd() = 0;
};
// Returns the previous monitor; null for none.
SendMonitor* SetSendMonitor(SendMonitor* monitor);
