// The OS timer's clock. OSCR is never ticked: it is derived from the clock whenever it is read.
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "handheld/soc/internal.h"
#include "handheld/soc/simulation.h"

namespace handheld::soc {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Every field is atomic, so any thread may read the clock while another charges reads or switches the mode.
// Real time is kept as one origin on the steady clock, so that no reader sees half of a mode switch.
struct ClockState {
    std::mutex mutex;  // mode changes only; reads are lock-free
    std::atomic<bool> modeChosen{false};
    std::atomic<TimerClock> mode{TimerClock::Virtual};
    std::atomic<std::uint64_t> virtualSubTicks{0};
    std::atomic<std::int64_t> realOriginNs{0};  // steady-clock time at which real time would read 0
    std::atomic<std::uint32_t> oscrOffset{0};
    std::atomic<std::uint32_t> stepSubTicks{1};
};

ClockState& State() {
    static ClockState state;
    return state;
}

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
constexpr unsigned __int128 kSubTicksPerSecond = static_cast<unsigned __int128>(kOscrHz) * kSubTicksPerTick;

std::int64_t SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch()).count();
}

std::uint64_t RealSubTicks(const ClockState& state) {
    const std::int64_t sinceOriginNs = SteadyNowNs() - state.realOriginNs.load(std::memory_order_acquire);
    if (sinceOriginNs <= 0) return 0;
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(sinceOriginNs) * kSubTicksPerSecond /
                                      kNsPerSecond);
}

// The origin at which real time reads subTicks now (rounded so that it never reads less).
std::int64_t RealOriginFor(std::uint64_t subTicks) {
    const auto ns =
        (static_cast<unsigned __int128>(subTicks) * kNsPerSecond + kSubTicksPerSecond - 1) / kSubTicksPerSecond;
    return SteadyNowNs() - static_cast<std::int64_t>(ns);
}

TimerClock Mode(ClockState& state) {
    if (!state.modeChosen.load(std::memory_order_acquire)) {
        const TimerClock fromProfile = Profile().timerClock;
        std::lock_guard lock(state.mutex);
        if (!state.modeChosen.load(std::memory_order_relaxed)) {
            state.realOriginNs.store(SteadyNowNs(), std::memory_order_release);
            state.mode.store(fromProfile, std::memory_order_relaxed);
            state.modeChosen.store(true, std::memory_order_release);
        }
    }
    return state.mode.load(std::memory_order_acquire);
}

}  // namespace

std::uint64_t ElapsedSubTicks() {
    ClockState& state = State();
    if (Mode(state) == TimerClock::Virtual) return state.virtualSubTicks.load(std::memory_order_relaxed);
    return RealSubTicks(state);
}

void SetTimerClock(TimerClock clock) {
    ClockState& state = State();
    const std::uint64_t now = ElapsedSubTicks();
    std::lock_guard lock(state.mutex);
    state.virtualSubTicks.store(now, std::memory_order_relaxed);
    state.realOriginNs.store(RealOriginFor(now), std::memory_order_release);
    state.mode.store(clock, std::memory_order_release);
    state.modeChosen.store(true, std::memory_order_release);
}

TimerClock CurrentTimerClock() {
    return Mode(State());
}

void SetVirtualStep(std::uint32_t subTicks) {
    State().stepSubTicks.store(subTicks == 0 ? 1 : subTicks);
}
std::uint32_t VirtualStep() {
    return State().stepSubTicks.load();
}

void ChargeRead() {
    ClockState& state = State();
    if (Mode(state) != TimerClock::Virtual) return;
    // An atomic add: reads charged by two threads at once both count.
    state.virtualSubTicks.fetch_add(state.stepSubTicks.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

std::uint64_t ElapsedTicks() {
    return ElapsedSubTicks() / kSubTicksPerTick;
}

std::uint32_t PeekOscr() {
    return static_cast<std::uint32_t>(ElapsedTicks()) + State().oscrOffset.load(std::memory_order_relaxed);
}

std::uint32_t ReadOscr() {
    const std::uint32_t value = PeekOscr();
    ChargeRead();
    return value;
}

void SetOscr(std::uint32_t value) {
    State().oscrOffset.store(value - static_cast<std::uint32_t>(ElapsedTicks()), std::memory_order_relaxed);
}

void AdvanceTicks(std::uint64_t ticks) {
    ClockState& state = State();
    if (Mode(state) == TimerClock::Virtual) {
        state.virtualSubTicks.fetch_add(ticks * kSubTicksPerTick, std::memory_order_relaxed);
        return;
    }
    const auto ns = static_cast<unsigned __int128>(ticks) * 1'000'000'000u / kOscrHz;
    std::this_thread::sleep_for(std::chrono::nanoseconds(static_cast<std::int64_t>(ns)));
}

}  // namespace handheld::soc
