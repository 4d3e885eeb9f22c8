// The simulated processors seen from tests and tools: the OS timer's clock, direct register access, the IR
// transmit pin's edges and the remote in front of the IR receiver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "handheld/profile.h"
#include "handheld/soc/register_access.h"

namespace handheld::soc {

// The OS timer counter (OSCR) rate of both processor families.
inline constexpr std::uint32_t kOscrHz = 3686400;
// Virtual time is kept in fractions of a tick so that a register read costs less than one tick.
inline constexpr std::uint32_t kSubTicksPerTick = 4;

// Physical bases of the register pages.
inline constexpr std::uint32_t kPxaGpioBase = 0x40E00000;
inline constexpr std::uint32_t kPxaTimerBase = 0x40A00000;
inline constexpr std::uint32_t kPxaIntcBase = 0x40D00000;
inline constexpr std::uint32_t kSaSerial2Base = 0x80030000;
inline constexpr std::uint32_t kSaPpcBase = 0x90060000;
inline constexpr std::uint32_t kSaTimerBase = 0x90000000;
inline constexpr std::uint32_t kSaIntcBase = 0x90050000;

enum class ProcessorFamily { None, Pxa, Sa };
// The family of the profile's processor: the register pages it has.
ProcessorFamily CurrentProcessorFamily();

// --- Clock -------------------------------------------------------------------------------------------
// Real time follows the host's steady clock; in virtual time every register read (and every read of the
// performance counter) advances the clock by the virtual step, and Sleep advances it instead of waiting.
// The default is the profile's timerClock; switching keeps the counter continuous.
void SetTimerClock(TimerClock clock);
TimerClock CurrentTimerClock();
void SetVirtualStep(std::uint32_t subTicks);  // default 1 sub-tick (a quarter of a tick)
std::uint32_t VirtualStep();

// OSCR as a read sees it (advances virtual time by one step).
std::uint32_t ReadOscr();
// OSCR without the cost of a read (observers, tests).
std::uint32_t PeekOscr();
// Ticks since the clock started, 64-bit, never wrapping (performance counter, tick count).
std::uint64_t ElapsedTicks();
// Sets the counter's current value (tests start it near 2^32 to see it wrap).
void SetOscr(std::uint32_t value);
// Moves virtual time on (Sleep); in real time, waits.
void AdvanceTicks(std::uint64_t ticks);
// Read cost in virtual time; called by every register read handler.
void ChargeRead();

// --- Registers ---------------------------------------------------------------------------------------
// The block mounted at a physical base (whether or not the processor has it), or null.
RegisterBlock* BlockAt(std::uint32_t physicalBase);
// Makes a page unmappable (or mappable again), as on a handheld whose kernel refuses it.
void SetBlockMappable(std::uint32_t physicalBase, bool mappable);
bool BlockMappable(std::uint32_t physicalBase);
// Power-on state of every block, the pin and the receiver; clears the learning source and the edge
// record; keeps the clock, its mode and the observers.
void ResetProcessors();

// --- IR transceiver ----------------------------------------------------------------------------------
// A change of the emitted light: level 1 light on, 0 off, at the OSCR value of the write.
struct PinEdge {
    std::uint32_t tick;
    int level;
};

// Called on the thread that writes the pin, inside the timing loop: must not block or allocate.
class EdgeObserver {
public:
    virtual ~EdgeObserver() = default;
    virtual void OnEdge(const PinEdge& edge) = 0;
};
// At most kMaxEdgeObservers at a time; AddEdgeObserver returns false when full. Any thread may add or remove
// observers while another writes the pin: once RemoveEdgeObserver returns, the observer is not called again
// (so it must not be called from inside OnEdge).
inline constexpr std::size_t kMaxEdgeObservers = 8;
bool AddEdgeObserver(EdgeObserver* observer);
void RemoveEdgeObserver(EdgeObserver* observer);

// Records edges into storage reserved up front; edges beyond the capacity are counted, not kept.
class EdgeBuffer : public EdgeObserver {
public:
    explicit EdgeBuffer(std::size_t capacity);
    ~EdgeBuffer() override;
    EdgeBuffer(const EdgeBuffer&) = delete;
    EdgeBuffer& operator=(const EdgeBuffer&) = delete;

    void OnEdge(const PinEdge& edge) override;
    std::span<const PinEdge> Edges() const { return {edges_.data(), size_}; }
    std::size_t Dropped() const { return dropped_; }
    void Clear() {
        size_ = 0;
        dropped_ = 0;
    }

private:
    std::vector<PinEdge> edges_;
    std::size_t size_ = 0;
    std::size_t dropped_ = 0;
};

// Whether the transmit pin emits light now.
bool TransmitLight();

// A simulated remote in front of the receiver: the durations (microseconds, >= 0 carrier on, < 0 off)
// played `repeat` times in a row, the carrier cycle by cycle (light in the first half of each cycle).
struct RemoteSignal {
    double carrierHz = 38000.0;
    std::vector<std::int32_t> durationsUs;
    int repeat = 1;
};
// Starts the remote startDelayTicks after now. Without a remote the receiver sees no light. The remote is not
// shared between threads: set it on the thread that learns, before it learns.
void SetLearningSource(const RemoteSignal& signal, std::uint32_t startDelayTicks = 0);
void ClearLearningSource();
// The receive pin's level now: 0 while carrier light is seen, 1 otherwise.
int ReceiveLevel();

}  // namespace handheld::soc
