#include "handheld/soc/emission.h"

#include <cmath>

namespace handheld::soc {

std::vector<EmittedBurst> GroupBursts(std::span<const PinEdge> edges, std::uint32_t maxDarkTicks) {
    std::vector<EmittedBurst> bursts;
    bool open = false;
    for (const PinEdge& edge : edges) {
        if (edge.level != 0) {
            if (open && edge.tick - bursts.back().endTick <= maxDarkTicks) {
                bursts.back().lastRiseTick = edge.tick;
                bursts.back().cycles += 1;
            } else {
                bursts.push_back({edge.tick, edge.tick, edge.tick, 1});
                open = true;
            }
            bursts.back().endTick = edge.tick;
        } else if (open) {
            bursts.back().endTick = edge.tick;
        }
    }
    return bursts;
}

EmissionSummary Summarise(std::span<const PinEdge> edges, std::uint32_t maxDarkTicks) {
    EmissionSummary summary;
    const std::vector<EmittedBurst> bursts = GroupBursts(edges, maxDarkTicks);
    std::uint64_t cycleTicks = 0;
    std::uint64_t cycles = 0;
    for (std::size_t i = 0; i < bursts.size(); ++i) {
        const EmittedBurst& burst = bursts[i];
        if (i > 0) {
            const double pauseUs = TicksToMicroseconds(burst.startTick - bursts[i - 1].endTick);
            summary.durationsUs.push_back(-static_cast<std::int32_t>(std::lround(pauseUs)));
        }
        summary.durationsUs.push_back(
            static_cast<std::int32_t>(std::lround(TicksToMicroseconds(burst.endTick - burst.startTick))));
        summary.cycles.push_back(burst.cycles);
        if (burst.cycles >= 2) {
            cycleTicks += burst.lastRiseTick - burst.startTick;
            cycles += static_cast<std::uint64_t>(burst.cycles - 1);
        }
    }
    if (cycleTicks > 0)
        summary.carrierHz =
            static_cast<double>(kOscrHz) * static_cast<double>(cycles) / static_cast<double>(cycleTicks);
    return summary;
}

}  // namespace handheld::soc
