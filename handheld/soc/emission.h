// The transmit pin's edges read back as bursts of carrier, for tests, tools and benchmarks.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "handheld/soc/simulation.h"

namespace handheld::soc {

struct EmittedBurst {
    std::uint32_t startTick;     // first rise
    std::uint32_t lastRiseTick;  // rise of the last carrier cycle
    std::uint32_t endTick;       // last fall (the light off)
    int cycles;                  // rises in the burst
};

// Groups alternating edges into bursts: a dark time longer than maxDarkTicks separates two bursts. Tick
// differences are taken modulo 2^32, so a counter wrap inside the record is harmless. A record that ends with
// the light on closes its last burst at the last rise.
std::vector<EmittedBurst> GroupBursts(std::span<const PinEdge> edges, std::uint32_t maxDarkTicks);

// What a stretch of edges sent: bursts (light on, first rise to last fall) and the pauses between them in
// microseconds, the carrier cycles of each burst, and the carrier measured over all bursts of two or more
// cycles (0 when there is none).
struct EmissionSummary {
    std::vector<std::int32_t> durationsUs;
    std::vector<int> cycles;
    double carrierHz = 0;
};
EmissionSummary Summarise(std::span<const PinEdge> edges, std::uint32_t maxDarkTicks);

// Microseconds of a tick count (the OS timer's rate).
inline double TicksToMicroseconds(std::uint32_t ticks) {
    return ticks * 1e6 / kOscrHz;
}

}  // namespace handheld::soc
