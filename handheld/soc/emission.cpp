#include "handheld/soc/emission.h"

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

}  // namespace handheld::soc
