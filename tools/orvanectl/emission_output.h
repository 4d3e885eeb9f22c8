// What the transmit pin emitted in one pass of a send, printed the same way by every command that sends.
#pragma once

#include <cstdint>
#include <span>

#include "handheld/soc/simulation.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

// One pass as a JSON object: {"edges":[[tick,level],...],"durations_us":[...],"cycles":[...],"carrier_hz":N}.
void WritePassJson(JsonWriter& out, std::span<const handheld::soc::PinEdge> passEdges, int carrierPeriodUs);
// One pass as text: a line with the edge count and carrier, then one line per burst and pause.
void PrintPassText(std::size_t passNumber, std::span<const handheld::soc::PinEdge> passEdges, int carrierPeriodUs,
                   const char* indent);

}  // namespace orvanectl
