#include "tools/gen_demo/ir_synthesis.h"

#include <cstdlib>
#include <numeric>

namespace demo {

namespace {

std::int32_t TotalUs(const std::vector<std::int32_t>& durationsUs) {
    return std::accumulate(durationsUs.begin(), durationsUs.end(), 0,
                           [](std::int32_t sum, std::int32_t d) { return sum + std::abs(d); });
}

// Ends a frame with the dark time that keeps consecutive frames at their fixed spacing; a frame ending dark
// has that darkness folded into the gap, as a receiver sees it.
void CloseFrame(std::vector<std::int32_t>& durationsUs, std::size_t frameStart, std::int32_t frameUs) {
    if (durationsUs.back() < 0) durationsUs.pop_back();
    const std::vector<std::int32_t> frame(durationsUs.begin() + static_cast<std::ptrdiff_t>(frameStart),
                                          durationsUs.end());
    durationsUs.push_back(-(frameUs - TotalUs(frame)));
}

}  // namespace

SynthesisedCode PulseDistanceCode(std::uint8_t address, std::uint8_t command) {
    SynthesisedCode code;
    code.carrierPeriodUs = kPulseDistancePeriodUs;
    std::vector<std::int32_t>& d = code.durationsUs;
    d = {kLeaderBurstUs, -kLeaderPauseUs};
    const std::uint8_t bytes[] = {address, static_cast<std::uint8_t>(~address), command,
                                  static_cast<std::uint8_t>(~command)};
    for (const std::uint8_t byte : bytes) {
        for (int bit = 0; bit < 8; ++bit) {
            d.push_back(kBitBurstUs);
            d.push_back((byte >> bit & 1) ? -kOnePauseUs : -kZeroPauseUs);
        }
    }
    d.push_back(kBitBurstUs);
    CloseFrame(d, 0, kPulseDistanceFrameUs);
    code.repeatStart = static_cast<std::uint8_t>(d.size());
    d.insert(d.end(), {kLeaderBurstUs, -kRepeatPauseUs, kBitBurstUs});
    CloseFrame(d, code.repeatStart, kPulseDistanceFrameUs);
    return code;
}

SynthesisedCode BiPhaseCode(std::uint8_t address, std::uint8_t command, bool toggle) {
    SynthesisedCode code;
    code.carrierPeriodUs = kBiPhasePeriodUs;
    const unsigned word = 1u << 13 | 1u << 12 | (toggle ? 1u : 0u) << 11 | (address & 0x1Fu) << 6 | (command & 0x3Fu);
    std::vector<std::int32_t>& d = code.durationsUs;
    for (int bit = 13; bit >= 0; --bit) {
        const bool one = word >> bit & 1;
        for (const bool lit : {!one, one}) {
            const std::int32_t half = lit ? kHalfBitUs : -kHalfBitUs;
            // The first half of the first start bit is dark and belongs to the gap before the frame.
            if (d.empty() && !lit) continue;
            if (!d.empty() && (d.back() < 0) == (half < 0)) {
                d.back() += half;
            } else {
                d.push_back(half);
            }
        }
    }
    CloseFrame(d, 0, kBiPhaseFrameUs);
    code.repeatStart = 0;
    return code;
}

bool StoreCode(ButtonRecord& record, int index, const SynthesisedCode& code) {
    std::vector<std::uint8_t> samples;
    samples.reserve(code.durationsUs.size() * 4);
    for (const std::int32_t d : code.durationsUs) {
        const auto word = static_cast<std::uint32_t>(d);
        for (int shift = 0; shift < 32; shift += 8) samples.push_back(static_cast<std::uint8_t>(word >> shift));
    }
    return record.SetEntry(index, samples.data(), samples.size(), code.carrierPeriodUs, code.repeatStart);
}

}  // namespace demo
