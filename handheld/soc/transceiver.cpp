// The IR transceiver: what the transmit pin emits and what the receive pin sees.
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

#include "handheld/soc/internal.h"
#include "handheld/soc/simulation.h"
#include "handheld/trace.h"

namespace handheld::soc {

namespace {

// The edge path takes no lock: the slots are atomic, and a removal waits until no edge is being delivered, so
// that an observer is never called after RemoveEdgeObserver has returned.
struct Transmitter {
    std::atomic<bool> light{false};
    std::mutex observerMutex;  // add and remove only
    std::array<std::atomic<EdgeObserver*>, kMaxEdgeObservers> observers{};
    // Edges whose delivery has begun and ended; a removal waits for those begun before it.
    std::atomic<std::uint64_t> deliveriesBegun{0};
    std::atomic<std::uint64_t> deliveriesEnded{0};
};

Transmitter& TheTransmitter() {
    static Transmitter transmitter;
    return transmitter;
}

// One pass of a remote's signal laid out in sub-ticks, played `repeat` times from startSubTicks; the cursor
// follows the clock through the pass.
struct Segment {
    double startSubTicks;
    double endSubTicks;
    bool carrier;
};

struct Remote {
    bool active = false;
    std::uint64_t startSubTicks = 0;
    double periodSubTicks = 0;
    double passSubTicks = 0;
    int repeat = 0;
    std::vector<Segment> segments;
    std::size_t cursor = 0;
};

Remote& TheRemote() {
    static Remote remote;
    return remote;
}

constexpr double kSubTicksPerUs = static_cast<double>(kOscrHz) * kSubTicksPerTick / 1e6;

}  // namespace

void SetTransmitLight(bool light) {
    Transmitter& transmitter = TheTransmitter();
    if (transmitter.light.exchange(light) == light) return;
    const PinEdge edge{PeekOscr(), light ? 1 : 0};
    transmitter.deliveriesBegun.fetch_add(1, std::memory_order_seq_cst);
    for (const auto& slot : transmitter.observers) {
        if (EdgeObserver* observer = slot.load(std::memory_order_seq_cst)) observer->OnEdge(edge);
    }
    transmitter.deliveriesEnded.fetch_add(1, std::memory_order_release);
}

bool TransmitLight() {
    return TheTransmitter().light.load();
}

void ResetTransceiver() {
    TheTransmitter().light.store(false);
}

bool AddEdgeObserver(EdgeObserver* observer) {
    Transmitter& transmitter = TheTransmitter();
    std::lock_guard lock(transmitter.observerMutex);
    for (auto& slot : transmitter.observers) {
        if (slot.load(std::memory_order_relaxed) == nullptr) {
            slot.store(observer, std::memory_order_release);
            return true;
        }
    }
    return false;
}

void RemoveEdgeObserver(EdgeObserver* observer) {
    Transmitter& transmitter = TheTransmitter();
    {
        std::lock_guard lock(transmitter.observerMutex);
        for (auto& slot : transmitter.observers) {
            if (slot.load(std::memory_order_relaxed) == observer) slot.store(nullptr, std::memory_order_seq_cst);
        }
    }
    // An edge handed out before the slot was cleared may still be on its way to the observer.
    const std::uint64_t begun = transmitter.deliveriesBegun.load(std::memory_order_seq_cst);
    while (transmitter.deliveriesEnded.load(std::memory_order_acquire) < begun) std::this_thread::yield();
}

EdgeBuffer::EdgeBuffer(std::size_t capacity) : edges_(capacity) {}

EdgeBuffer::~EdgeBuffer() {
    RemoveEdgeObserver(this);
}

void EdgeBuffer::OnEdge(const PinEdge& edge) {
    if (size_ < edges_.size()) {
        edges_[size_++] = edge;
    } else {
        ++dropped_;
    }
}

void SetLearningSource(const RemoteSignal& signal, std::uint32_t startDelayTicks) {
    Remote& remote = TheRemote();
    remote.segments.clear();
    remote.cursor = 0;
    remote.active = false;
    if (!(signal.carrierHz > 0) || signal.repeat < 1) {
        HH_TRACE("soc", "learning source refused: carrier %.1f Hz, repeat %d", signal.carrierHz, signal.repeat);
        return;
    }
    remote.periodSubTicks = static_cast<double>(kOscrHz) * kSubTicksPerTick / signal.carrierHz;
    double at = 0;
    for (const std::int32_t durationUs : signal.durationsUs) {
        const double length = std::fabs(static_cast<double>(durationUs)) * kSubTicksPerUs;
        remote.segments.push_back({at, at + length, durationUs >= 0});
        at += length;
    }
    remote.passSubTicks = at;
    remote.repeat = signal.repeat;
    remote.startSubTicks = ElapsedSubTicks() + std::uint64_t{startDelayTicks} * kSubTicksPerTick;
    remote.active = at > 0;
}

void ClearLearningSource() {
    Remote& remote = TheRemote();
    remote.active = false;
    remote.segments.clear();
    remote.cursor = 0;
}

int ReceiveLevel() {
    Remote& remote = TheRemote();
    if (!remote.active) return 1;
    const std::uint64_t now = ElapsedSubTicks();
    if (now < remote.startSubTicks) return 1;
    const double sinceStart = static_cast<double>(now - remote.startSubTicks);
    const double pass = std::floor(sinceStart / remote.passSubTicks);
    if (pass >= remote.repeat) return 1;
    const double t = sinceStart - pass * remote.passSubTicks;
    const auto& segments = remote.segments;
    if (remote.cursor >= segments.size() || t < segments[remote.cursor].startSubTicks) remote.cursor = 0;
    while (remote.cursor < segments.size() && t >= segments[remote.cursor].endSubTicks) ++remote.cursor;
    if (remote.cursor == segments.size()) return 1;
    const Segment& segment = segments[remote.cursor];
    if (!segment.carrier) return 1;
    const double inSegment = t - segment.startSubTicks;
    const double phase = inSegment - std::floor(inSegment / remote.periodSubTicks) * remote.periodSubTicks;
    return phase < remote.periodSubTicks / 2 ? 0 : 1;
}

}  // namespace handheld::soc
