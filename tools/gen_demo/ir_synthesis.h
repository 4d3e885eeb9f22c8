// IR codes made from two common consumer formats, in the form the driver reports a learned code: signed
// durations in microseconds (>= 0 burst, < 0 pause), the carrier period and where the repeated part starts.
#pragma once

#include <cstdint>
#include <vector>

#include "app/model/device.h"

namespace demo {

struct SynthesisedCode {
    std::vector<std::int32_t> durationsUs;
    std::uint8_t carrierPeriodUs = 0;
    std::uint8_t repeatStart = 0;
};

// 38 kHz pulse-distance format: leader, address, inverted address, command, inverted command (each byte least
// significant bit first), a final burst and the gap to the next frame; then the short repeat frame that a
// held button sends, which is where the repeat starts.
inline constexpr std::uint8_t kPulseDistancePeriodUs = 26;
inline constexpr std::int32_t kLeaderBurstUs = 9000;
inline constexpr std::int32_t kLeaderPauseUs = 4500;
inline constexpr std::int32_t kRepeatPauseUs = 2250;
inline constexpr std::int32_t kBitBurstUs = 560;
inline constexpr std::int32_t kZeroPauseUs = 560;
inline constexpr std::int32_t kOnePauseUs = 1690;
inline constexpr std::int32_t kPulseDistanceFrameUs = 108000;  // start to start of consecutive frames
SynthesisedCode PulseDistanceCode(std::uint8_t address, std::uint8_t command);

// 36 kHz bi-phase format: two start bits, a toggle bit that flips with every new press, 5 address bits and
// 6 command bits, most significant first; a one is dark then lit, a zero lit then dark. A held button sends
// the whole frame again, so the repeat starts at 0.
inline constexpr std::uint8_t kBiPhasePeriodUs = 28;
inline constexpr std::int32_t kHalfBitUs = 889;
inline constexpr std::int32_t kBiPhaseFrameUs = 64 * 2 * kHalfBitUs;
SynthesisedCode BiPhaseCode(std::uint8_t address, std::uint8_t command, bool toggle);

// Stores the code under index as the learn path would: samples as little-endian words, the carrier period in
// the high byte and the repeat start in the low byte.
bool StoreCode(ButtonRecord& record, int index, const SynthesisedCode& code);

}  // namespace demo
