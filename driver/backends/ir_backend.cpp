#include "driver/backends/ir_backend.h"

#include <algorithm>
#include <memory>

#include "handheld/trace.h"

namespace {

constexpr const char* kTrace = "ir";
constexpr std::uint32_t OSCR = 0x10;  // OS timer counter, same offset in the PXA and SA timer blocks
constexpr std::uint32_t ICMR = 0x04;  // interrupt mask, same offset in the PXA and SA interrupt controllers
constexpr std::uint32_t kAllInterruptsMasked = 0;
constexpr handheld::DWORD kPageBytes = 4096;
constexpr unsigned kPhysicalAddressShift = 8;  // the mapping call takes the physical address divided by 256

// Scheduling of a send pass (interrupts are masked anyway) and of learning (highest priority, never
// time-sliced, so that no edge is missed).
constexpr int kSendPriority = 5;
constexpr handheld::DWORD kSendQuantumMs = 0;
constexpr int kLearnPriority = 0;
constexpr handheld::DWORD kLearnQuantumMs = 0;

// Every interrupt is masked for a whole pass, freezing the handheld: a pass may not outlast this.
constexpr std::int64_t kLongestPassUs = 10'000'000;
// The learned carrier period must fit the code's carrier byte, and 0 is no period.
constexpr std::uint32_t kShortestPeriodUs = 1;
constexpr std::uint32_t kLongestPeriodUs = 255;
// Longest single wait on the wrapping 32-bit counter; longer pauses are waited out in pieces.
constexpr std::uint64_t kLongestWaitTicks = 0x40000000;
constexpr std::int64_t kUsPerSecond = 1'000'000;

// How long a pass over the first count durations lasts: a burst plays whole carrier cycles.
std::int64_t PassUs(const IrCode& code, int count, std::uint8_t periodUs) {
    std::int64_t totalUs = 0;
    for (int i = 0; i < count; ++i) {
        const std::int64_t v = code.durations[i];
        totalUs += v >= 0 ? (v / periodUs + 1) * periodUs : -v;
    }
    return totalUs;
}

struct PageReleaser {
    void operator()(void* page) const { handheld::VirtualFree(page, 0, handheld::MEM_RELEASE); }
};

std::int32_t TicksToUs(std::uint32_t ticks) {
    return static_cast<std::int32_t>(ticks * kUsPerTick);
}

// Microseconds on the performance counter since start.
std::int64_t ElapsedUs(std::int64_t startCount, std::int64_t frequency) {
    handheld::LARGE_INTEGER now;
    handheld::QueryPerformanceCounter(&now);
    return (now.QuadPart - startCount) * kUsPerSecond / frequency;
}

std::int64_t CounterNow() {
    handheld::LARGE_INTEGER now;
    handheld::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

CThreadPriorityGuard::CThreadPriorityGuard(int first, handheld::DWORD second)
    : thread(handheld::GetCurrentThread()),
      savedFirst(handheld::CeGetThreadPriority(thread)),
      savedSecond(handheld::CeGetThreadQuantum(thread)) {
    handheld::CeSetThreadPriority(thread, first);
    handheld::CeSetThreadQuantum(thread, second);
}

CThreadPriorityGuard::~CThreadPriorityGuard() {
    handheld::CeSetThreadQuantum(thread, savedSecond);
    handheld::CeSetThreadPriority(thread, savedFirst);
}

CInterruptGuardIcmr::CInterruptGuardIcmr(const RegisterAccess& intcBlock)
    : intc(intcBlock), savedMask(intc.Read32(ICMR)) {
    intc.Write32(ICMR, kAllInterruptsMasked);
}

CInterruptGuardIcmr::~CInterruptGuardIcmr() {
    intc.Write32(ICMR, intc.Read32(ICMR) | savedMask);
}

void CIrSender::Send(IrCode* code, StopCallback stopCallback) {
    if (code == nullptr) return;
    const std::uint8_t periodUs = CarrierPeriodUs(*code);
    if (periodUs == 0) {
        HH_TRACE(kTrace, "code with carrier period 0 not sent");
        return;
    }
    // The buffer comes from the caller: keep every index inside it.
    const int count = std::clamp(code->count, 0, kIrCodeMaxDurations);
    const int repeatStart = std::max(code->repeatStart, 0);
    // The repeat part is a tail of the whole code, so the first pass is the longest.
    if (const std::int64_t passUs = PassUs(*code, count, periodUs); passUs > kLongestPassUs) {
        HH_TRACE(kTrace, "code not sent: one pass would last %lld us with every interrupt masked",
                 static_cast<long long>(passUs));
        return;
    }
    int start = 0;
    for (;;) {
        {
            CThreadPriorityGuard priority(kSendPriority, kSendQuantumMs);
            const std::unique_ptr<CInterruptGuard> interrupts(driver->CreateInterruptGuard());
            for (int i = start; i < count; ++i) {
                const std::int32_t v = code->durations[i];
                if (v >= 0) {
                    Mark(v, periodUs);
                } else {
                    Space(0u - static_cast<std::uint32_t>(v));
                }
            }
            start = repeatStart;
        }
        if (stopCallback == nullptr || stopCallback() != 0) return;
    }
}

void CIrSender::Mark(std::int32_t durationUs, std::uint8_t periodUs) {
    handheld::LARGE_INTEGER frequency;
    handheld::QueryPerformanceFrequency(&frequency);
    const std::int64_t halfUs = periodUs / 2;
    const std::int64_t start = CounterNow();
    while (ElapsedUs(start, frequency.QuadPart) < durationUs) {
        for (int half = 0; half < 2; ++half) {
            const std::int64_t halfStart = CounterNow();
            while (ElapsedUs(halfStart, frequency.QuadPart) < halfUs) {
            }
        }
    }
}

void CIrSender::Space(std::uint32_t durationUs) {
    handheld::LARGE_INTEGER frequency;
    handheld::QueryPerformanceFrequency(&frequency);
    const std::int64_t start = CounterNow();
    while (ElapsedUs(start, frequency.QuadPart) < static_cast<std::int64_t>(durationUs)) {
    }
}

void PlayMark(const TransmitPin& pin, const RegisterAccess& timer, std::int32_t durationUs, std::uint8_t periodUs) {
    if (periodUs == 0) return;  // subtracting 0 would never end the burst
    const auto halfTicks = static_cast<std::uint32_t>(periodUs * kHalfPeriodTicksPerUs);
    std::int32_t remainingUs = durationUs;
    for (;;) {
        pin.block.Write32(pin.highOffset, pin.highValue);
        std::uint32_t start = timer.Read32(OSCR);
        while (timer.Read32(OSCR) - start < halfTicks) {
        }
        pin.block.Write32(pin.lowOffset, pin.lowValue);
        start = timer.Read32(OSCR);
        while (timer.Read32(OSCR) - start < halfTicks) {
        }
        if (remainingUs < periodUs) return;
        remainingUs -= periodUs;
    }
}

void PlaySpace(const RegisterAccess& timer, std::uint32_t durationUs) {
    auto leftTicks = static_cast<std::uint64_t>(durationUs * kTicksPerUs);
    while (leftTicks > 0) {
        const auto ticks = static_cast<std::uint32_t>(std::min(leftTicks, kLongestWaitTicks));
        const std::uint32_t start = timer.Read32(OSCR);
        while (timer.Read32(OSCR) - start < ticks) {
        }
        leftTicks -= ticks;
    }
}

void SampleSignal(const RegisterAccess& pins, std::uint32_t levelOffset, std::uint32_t receiveBit,
                  const RegisterAccess& timer, IrCode& code) {
    CThreadPriorityGuard priority(kLearnPriority, kLearnQuantumMs);
    auto dark = [&] { return (pins.Read32(levelOffset) & receiveBit) != 0; };
    auto now = [&] { return timer.Read32(OSCR); };

    // Wait up to 10 s for the first light.
    const std::uint32_t waitStart = now();
    while (dark()) {
        if (now() - waitStart > kFirstSignalWindowTicks) return;
    }

    // Three carrier periods. A flash shorter than that must not hang the caller: give up after 1 s.
    const std::uint32_t t0 = now();
    for (int period = 0; period < 3; ++period) {
        while (!dark()) {
            if (now() - t0 > kSignalEndQuietTicks) return;
        }
        while (dark()) {
            if (now() - t0 > kSignalEndQuietTicks) return;
        }
    }
    const std::uint32_t elapsed = now() - t0;
    const auto measuredPeriodUs = static_cast<std::uint32_t>(elapsed * kCarrierUsPerThreePeriodTicks);
    if (measuredPeriodUs < kShortestPeriodUs || measuredPeriodUs > kLongestPeriodUs) {
        // Its low 8 bits would be some other carrier, or none: no code is better than a wrong one.
        HH_TRACE(kTrace, "carrier period %u us does not fit the code: nothing learned", measuredPeriodUs);
        return;
    }
    const auto periodUs = static_cast<std::uint8_t>(measuredPeriodUs);
    code.carrier = static_cast<std::int32_t>((static_cast<std::uint32_t>(code.carrier) & ~0xFFu) | periodUs);
    const auto gapTicks = static_cast<std::uint32_t>((2 * periodUs) * kTicksPerUs);

    code.count = 0;
    int k = 0;
    for (;;) {
        const std::uint32_t burstStart = now();
        std::uint32_t lastRise = 0;
        std::uint32_t quiet = 0;
        for (;;) {
            // Light that never blinks is no carrier; it ends the signal rather than the wait.
            const std::uint32_t lightStart = now();
            while (!dark()) {
                if (now() - lightStart > kSignalEndQuietTicks) {
                    code.durations[k] = TicksToUs(now() - burstStart);
                    code.count += 1;
                    return;
                }
            }
            lastRise = now();
            for (;;) {
                const bool stillDark = dark();
                quiet = now() - lastRise;
                if (quiet > kSignalEndQuietTicks) {
                    code.durations[k] = TicksToUs(lastRise - burstStart);
                    code.count += 1;
                    return;
                }
                if (!stillDark) break;
            }
            if (quiet >= gapTicks) break;  // a pause has ended; shorter quiet is the off half of a cycle
        }
        code.durations[k] = TicksToUs(lastRise - burstStart);
        code.durations[k + 1] = -TicksToUs(now() - lastRise);
        k += 2;
        code.count += 2;
        if (k >= kIrCodeMaxDurations) return;
    }
}

void* MapRegisterPage(std::uint32_t physicalBase, bool writable) {
    std::unique_ptr<void, PageReleaser> page(
        handheld::VirtualAlloc(nullptr, kPageBytes, handheld::MEM_RESERVE, handheld::PAGE_NOACCESS));
    if (page == nullptr) return nullptr;
    const handheld::DWORD protect = (writable ? handheld::PAGE_READWRITE : handheld::PAGE_READONLY) |
                                    handheld::PAGE_NOCACHE | handheld::PAGE_PHYSICAL;
    void* physicalPage = reinterpret_cast<void*>(static_cast<std::uintptr_t>(physicalBase) >> kPhysicalAddressShift);
    if (!handheld::VirtualCopy(page.get(), physicalPage, kPageBytes, protect)) {
        HH_TRACE(kTrace, "register page 0x%08X cannot be mapped", physicalBase);
        return nullptr;
    }
    return page.release();
}

void UnmapRegisterPage(void* page) {
    if (page != nullptr) PageReleaser()(page);
}
