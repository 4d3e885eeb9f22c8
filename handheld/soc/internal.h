// Between the simulated blocks, the transceiver and the platform's page-mapping calls.
#pragma once

#include <cstdint>

namespace handheld::soc {

// Clock time in sub-ticks since the clock started (never wraps).
std::uint64_t ElapsedSubTicks();

// The light the transmit pin emits, as the pin's block computes it after a write.
void SetTransmitLight(bool light);
void ResetTransceiver();

// Mounts the page at physicalBase at a reserved address; false when the processor has no such page.
bool MapPhysicalPage(const void* address, std::uint32_t physicalBase, bool writable);
// Forgets a mapping made at address; false when there was none.
bool UnmapPage(const void* address);

}  // namespace handheld::soc
