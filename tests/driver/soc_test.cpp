// The simulated processors the driver runs on: page mapping, the OS timer's clock and the time calls, the
// pins' behaviour, the remote-signal reader and the emission read-back.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "handheld/files.h"
#include "handheld/soc/blocks.h"
#include "handheld/soc/remote_signal.h"
#include "handheld/system.h"
#include "handheld/text.h"
#include "tests/driver/driver_fixture.h"

namespace driver_test {
namespace {

namespace soc = handheld::soc;
using handheld::soc::PxaGpioBlock;

void* Map(std::uint32_t physicalBase, handheld::DWORD access) {
    void* page = handheld::VirtualAlloc(nullptr, 4096, handheld::MEM_RESERVE, handheld::PAGE_NOACCESS);
    if (page == nullptr) return nullptr;
    if (!handheld::VirtualCopy(page, reinterpret_cast<void*>(std::uintptr_t{physicalBase} >> 8), 4096,
                               access | handheld::PAGE_NOCACHE | handheld::PAGE_PHYSICAL)) {
        handheld::VirtualFree(page, 0, handheld::MEM_RELEASE);
        return nullptr;
    }
    return page;
}

TEST_F(DriverTest, OnlyThePagesOfTheHandheldsProcessorCanBeMapped) {
    const std::vector<std::uint32_t> pxa = {soc::kPxaGpioBase, soc::kPxaTimerBase, soc::kPxaIntcBase};
    const std::vector<std::uint32_t> sa = {soc::kSaSerial2Base, soc::kSaPpcBase, soc::kSaTimerBase, soc::kSaIntcBase};
    struct Case {
        const char16_t* processor;
        bool pxaMaps;
        bool saMaps;
    };
    for (const Case& c : {Case{u"PXA255", true, false}, Case{u"SA1110", false, true}, Case{u"ARM920T", false, false}}) {
        UseProcessor(c.processor);
        for (const auto& [bases, expected] : {std::pair{pxa, c.pxaMaps}, std::pair{sa, c.saMaps}}) {
            for (const std::uint32_t base : bases) {
                void* page = Map(base, handheld::PAGE_READWRITE);
                EXPECT_EQ(page != nullptr, expected) << handheld::ToUtf8(c.processor) << std::hex << " 0x" << base;
                if (page != nullptr) {
                    EXPECT_TRUE(handheld::VirtualFree(page, 0, handheld::MEM_RELEASE));
                    EXPECT_FALSE(soc::RegisterAccess(page).Valid()) << "a freed page is no register page";
                }
            }
        }
    }
    EXPECT_EQ(Map(0x40E01000, handheld::PAGE_READWRITE), nullptr) << "no block at this page";
    char notReserved[16];
    EXPECT_FALSE(handheld::VirtualCopy(notReserved, reinterpret_cast<void*>(soc::kPxaGpioBase >> 8), 4096,
                                       handheld::PAGE_READWRITE | handheld::PAGE_PHYSICAL));
}

TEST_F(DriverTest, ReadOnlyMappingDropsWrites) {
    void* page = Map(soc::kPxaTimerBase, handheld::PAGE_READONLY);
    ASSERT_NE(page, nullptr);
    const soc::RegisterAccess timer(page);
    soc::SetOscr(1000);
    timer.Write32(soc::OsTimerBlock::OSCR, 0xDEAD0000);
    EXPECT_LT(timer.Read32(soc::OsTimerBlock::OSCR) - 1000u, 10u);
    handheld::VirtualFree(page, 0, handheld::MEM_RELEASE);
}

TEST_F(DriverTest, VirtualClockAdvancesByReadsAndSleepAndWraps) {
    soc::SetOscr(0xFFFFFFF0u);
    const std::uint32_t first = soc::ReadOscr();
    std::uint32_t last = first;
    for (int i = 0; i < 100; ++i) last = soc::ReadOscr();
    EXPECT_EQ(last - first, 25u) << "a read costs a quarter tick";
    EXPECT_LT(last, first) << "the counter wrapped";

    handheld::LARGE_INTEGER frequency, countBefore, countAfter;
    ASSERT_TRUE(handheld::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 3686400);
    handheld::QueryPerformanceCounter(&countBefore);
    const handheld::DWORD msBefore = handheld::GetTickCount();
    const std::uint32_t beforeSleep = soc::PeekOscr();
    handheld::Sleep(1500);
    EXPECT_EQ(soc::PeekOscr() - beforeSleep, 5529600u) << "1.5 s of ticks";
    EXPECT_NEAR(handheld::GetTickCount() - msBefore, 1500.0, 1.0);
    handheld::QueryPerformanceCounter(&countAfter);
    EXPECT_NEAR(static_cast<double>(countAfter.QuadPart - countBefore.QuadPart), 5529600.0, 1.0);
}

TEST_F(DriverTest, PxaGpioSetClearDirectionAndLight) {
    auto* gpio = soc::BlockAt(soc::kPxaGpioBase);
    gpio->Write32(PxaGpioBlock::GPDR1, 0x8000);
    gpio->Write32(PxaGpioBlock::GAFR1_L, 0);
    gpio->Write32(PxaGpioBlock::GPSR1, 0x8001);
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPLR1) & 0xC000u, 0xC000u) << "output high, receiver dark reads 1";
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPSR1), 0u) << "set register is write-only";
    EXPECT_TRUE(soc::TransmitLight());
    gpio->Write32(PxaGpioBlock::GAFR1_L, 0x40000000);
    EXPECT_FALSE(soc::TransmitLight()) << "an alternate function takes the pin from the GPIO";
    gpio->Write32(PxaGpioBlock::GAFR1_L, 0);
    gpio->Write32(PxaGpioBlock::GPDR1, 0);
    EXPECT_FALSE(soc::TransmitLight()) << "an input emits nothing";
    gpio->Write32(PxaGpioBlock::GPDR1, 0x8000);
    gpio->Write32(PxaGpioBlock::GPCR1, 0x8000);
    EXPECT_FALSE(soc::TransmitLight());
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPLR1) & 0x8000u, 0u);
    // On, off (alternate function), on, off (input), on, off (cleared).
    ASSERT_EQ(edges.Edges().size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(edges.Edges()[i].level, i % 2 == 0 ? 1 : 0) << i;

    soc::SetLearningSource(soc::RemoteSignal{38000, {1000}, 1}, 0);
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPLR1) & 0x4000u, 0u) << "carrier light at the start of a cycle";
    soc::AdvanceTicks(60);  // past half of a 97-tick cycle
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPLR1) & 0x4000u, 0x4000u);
    gpio->Write32(PxaGpioBlock::GPDR1, 0xC000);
    soc::AdvanceTicks(50);
    EXPECT_EQ(gpio->Read32(PxaGpioBlock::GPLR1) & 0x4000u, 0u) << "an output reads its own latch";
}

// Each block answers through its table: registers where the family has them, write-only ones reading 0,
// read-only ones keeping their value, and offsets without a register (or between registers) reading 0.
TEST_F(DriverTest, RegisterTablesOfBothFamilies) {
    struct Probe {
        const char* name;
        std::uint32_t base;
        std::uint32_t offset;
        std::uint32_t written;
        std::uint32_t readBack;
    };
    const std::vector<Probe> probes = {
        {"PXA GPDR2", soc::kPxaGpioBase, 0x14, 0x0001FFFF, 0x0001FFFF},
        {"PXA GPSR0 is write-only", soc::kPxaGpioBase, 0x18, 0x00000001, 0},
        {"PXA GAFR2_U", soc::kPxaGpioBase, 0x68, 0x0000A5A5, 0x0000A5A5},
        {"PXA GPIO gap", soc::kPxaGpioBase, 0x40, 0xFFFFFFFF, 0},
        {"PXA GPIO unaligned", soc::kPxaGpioBase, 0x11, 0xFFFFFFFF, 0},
        {"PXA ICCR", soc::kPxaIntcBase, 0x14, 0x00000001, 0x00000001},
        {"PXA ICFP reads nothing pending", soc::kPxaIntcBase, 0x0C, 0xFFFFFFFF, 0},
        {"SA ICCR", soc::kSaIntcBase, 0x0C, 0x00000001, 0x00000001},
        {"SA ICPR reads nothing pending", soc::kSaIntcBase, 0x20, 0xFFFFFFFF, 0},
        {"OSMR3", soc::kPxaTimerBase, 0x0C, 0x12345678, 0x12345678},
        {"OSSR is write-one-to-clear", soc::kSaTimerBase, 0x14, 0xFFFFFFFF, 0},
        {"SA PPAR", soc::kSaPpcBase, 0x08, 0x00001000, 0x00001000},
        {"SA serial past UTCR0", soc::kSaSerial2Base, 0x04, 0xFF, 0},
    };
    for (const Probe& p : probes) {
        soc::RegisterBlock* block = soc::BlockAt(p.base);
        ASSERT_NE(block, nullptr) << p.name;
        block->Write32(p.offset, p.written);
        EXPECT_EQ(block->Read32(p.offset), p.readBack) << p.name;
    }
    auto* serial = static_cast<soc::SaSerial2Block*>(soc::BlockAt(soc::kSaSerial2Base));
    serial->Write8(soc::SaSerial2Block::UTCR0, 0x41);
    EXPECT_EQ(serial->Read32(soc::SaSerial2Block::UTCR0), 0x41u) << "UTCR0 is one byte wide";
    serial->Write32(soc::SaSerial2Block::UTCR0, 0x1234);
    EXPECT_EQ(serial->Control(), 0x34u);
}

// Counts edges from whichever thread writes the pin.
class CountingObserver : public soc::EdgeObserver {
public:
    void OnEdge(const soc::PinEdge&) override { count.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<int> count{0};
};

// The pin and the clock on one thread, observers and clock reads on another: once removed, an observer is
// never called again. (The thread sanitizer build also checks this for data races.)
TEST_F(DriverTest, ObserversMayComeAndGoWhileAnotherThreadWritesThePin) {
    auto* gpio = soc::BlockAt(soc::kPxaGpioBase);
    gpio->Write32(PxaGpioBlock::GPDR1, PxaGpioBlock::kTransmitBit);
    gpio->Write32(PxaGpioBlock::GAFR1_L, 0);
    handheld::soc::RemoveEdgeObserver(&edges);  // the fixture's buffer is not made for two threads
    std::atomic<bool> stop{false};
    std::atomic<int> toggles{0};
    std::thread writer([&] {
        auto* timer = soc::BlockAt(soc::kPxaTimerBase);
        while (!stop.load()) {
            gpio->Write32(PxaGpioBlock::GPSR1, PxaGpioBlock::kTransmitBit);
            timer->Read32(soc::OsTimerBlock::OSCR);
            gpio->Write32(PxaGpioBlock::GPCR1, PxaGpioBlock::kTransmitBit);
            toggles.fetch_add(1);
        }
    });
    CountingObserver observer;
    int callsAfterRemoval = 0;
    constexpr int kRounds = 50;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(soc::AddEdgeObserver(&observer));
        const int from = toggles.load();
        while (toggles.load() < from + 5) {
            soc::PeekOscr();
            std::this_thread::yield();
        }
        soc::RemoveEdgeObserver(&observer);
        const int counted = observer.count.load();
        const int after = toggles.load();
        while (toggles.load() < after + 5) std::this_thread::yield();
        callsAfterRemoval += observer.count.load() - counted;
        if (round == kRounds / 2) soc::SetTimerClock(handheld::TimerClock::RealTime);
    }
    stop = true;
    writer.join();
    soc::SetTimerClock(handheld::TimerClock::Virtual);
    EXPECT_EQ(callsAfterRemoval, 0);
    EXPECT_GE(observer.count.load(), kRounds * 2 * 4) << "each round saw at least four whole toggles";
}

TEST(RemoteSignalReader, AcceptsTheSignalFormAndRefusesOthers) {
    soc::RemoteSignal signal;
    std::string error;
    ASSERT_TRUE(soc::ParseRemoteSignal(
        R"({"name":"x","carrier_hz":38000,"extra":{"a":[1,{"b":null}]},"durations_us":[9000,-4500,560],"repeat":3})",
        signal, &error))
        << error;
    EXPECT_EQ(signal.carrierHz, 38000);
    EXPECT_EQ(signal.durationsUs, (std::vector<std::int32_t>{9000, -4500, 560}));
    EXPECT_EQ(signal.repeat, 3);
    for (const char* bad :
         {"", "[]", R"({"carrier_hz":38000})", R"({"durations_us":[1]})", R"({"carrier_hz":0,"durations_us":[1]})",
          R"({"carrier_hz":38000,"durations_us":[1.5]})", R"({"carrier_hz":38000,"durations_us":[3000000000]})",
          R"({"carrier_hz":38000,"durations_us":[1],"repeat":0})", R"({"carrier_hz":38000,"durations_us":[1,]})",
          R"({"carrier_hz":38000,"durations_us":[1]} x)", R"({"carrier_hz":"38000","durations_us":[1]})"}) {
        error.clear();
        EXPECT_FALSE(soc::ParseRemoteSignal(bad, signal, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_EQ(signal.repeat, 3) << "a refused text leaves the signal as it was";
}

TEST(EmissionReadBack, BurstsPausesCyclesAndCarrier) {
    // Two bursts of a 100-tick carrier (3 cycles, then 1), 1000 dark ticks between, across a counter wrap.
    const std::uint32_t t = 0xFFFFFF00u;
    const std::vector<soc::PinEdge> edges = {{t, 1},       {t + 50, 0},  {t + 100, 1},  {t + 150, 0},
                                             {t + 200, 1}, {t + 250, 0}, {t + 1250, 1}, {t + 1300, 0}};
    const soc::EmissionSummary summary = soc::Summarise(edges, 60);
    EXPECT_EQ(summary.cycles, (std::vector<int>{3, 1}));
    EXPECT_EQ(summary.durationsUs, (std::vector<std::int32_t>{68, -271, 14}));
    EXPECT_DOUBLE_EQ(summary.carrierHz, 36864.0);
}

}  // namespace
}  // namespace driver_test
