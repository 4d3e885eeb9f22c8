// An IR code as the outside formats carry it: a carrier frequency and signed durations, with the part that
// repeats while a button is held. Convertible to and from the driver's IrCode and a stored CodeEntry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/model/device.h"
#include "driver/irdriver/lumbra.h"

namespace codes {

struct IrSignal {
    int frequencyHz = 38000;
    std::vector<std::int32_t> durationsUs;  // >= 0 a burst of carrier, < 0 a pause
    std::size_t repeatStart = 0;            // durationsUs[repeatStart...] is sent again while held
};

// Bursts and pauses in turn, starting with a burst: neighbours of one kind joined, zeros and leading pauses
// dropped, in 64 bits so that no sum overflows. The form every writer of alternating durations needs.
std::vector<std::int64_t> AlternatingDurations(const std::vector<std::int32_t>& durationsUs);

// The carrier period the driver keeps for a frequency (1-255 us), and back.
std::uint8_t PeriodUsForFrequency(int frequencyHz);
int FrequencyHzForPeriod(std::uint8_t periodUs);

// Whether the driver can send the signal: some durations, and no more than an IrCode holds.
bool FitsDriver(const IrSignal& signal, std::string* error);

// The signal as the driver learns it; false with a reason when it does not fit (too many durations).
bool ToIrCode(const IrSignal& signal, IrCode& code, std::string* error);
IrSignal FromIrCode(const IrCode& code);

// A learned code's entry: samples = durations, high byte = carrier period, low byte = repeat start.
bool ToCodeEntry(const IrSignal& signal, CodeEntry& entry, std::string* error);
// False for a pause (no samples).
bool FromCodeEntry(const CodeEntry& entry, IrSignal& signal);

}  // namespace codes
