// Sending on the simulated PXA and SA in virtual time: what the transmit pin emits, tick by tick.
#include <algorithm>
#include <vector>

#include "driver/irdriver/ir_driver_generic.h"
#include "handheld/owners.h"
#include "handheld/registry.h"
#include "handheld/soc/blocks.h"
#include "tests/driver/driver_fixture.h"

namespace driver_test {
namespace {

using handheld::soc::BlockAt;
using handheld::soc::PinEdge;

struct Backend {
    const char16_t* processor;
    std::uint32_t intcBase;
};

class SenderTest : public DriverTest, public ::testing::WithParamInterface<Backend> {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        UseProcessor(GetParam().processor);
    }
    std::uint32_t Icmr() const { return BlockAt(GetParam().intcBase)->Read32(handheld::soc::IntcBlock::ICMR); }
};

// The edges an exact sender produces, relative to the first rise.
std::vector<std::uint32_t> IdealEdges(const IrCode& code, int from) {
    const std::uint32_t half = static_cast<std::uint32_t>((code.carrier & 0xFF) * 1.8432);
    const int periodUs = code.carrier & 0xFF;
    std::vector<std::uint32_t> ticks;
    std::uint32_t t = 0;
    for (int i = from; i < code.count; ++i) {
        const std::int32_t v = code.durations[i];
        if (v >= 0) {
            const int cycles = v / periodUs + 1;
            for (int c = 0; c < cycles; ++c) {
                ticks.push_back(t);
                ticks.push_back(t + half);
                t += 2 * half;
            }
        } else {
            t += static_cast<std::uint32_t>(-v * 3.6864);
        }
    }
    return ticks;
}

TEST_P(SenderTest, BurstHasFloorOfDurationOverPeriodPlusOneCycles) {
    struct Case {
        int periodUs;
        std::int32_t durationUs;
        int cycles;
    };
    for (const Case& c : {Case{26, 0, 1}, Case{26, 25, 1}, Case{26, 26, 2}, Case{26, 52, 3}, Case{26, 560, 22},
                          Case{26, 9000, 347}, Case{13, 130, 11}, Case{255, 1000, 4}, Case{1, 10, 11}}) {
        edges.Clear();
        IrCode code = MakeCode(c.periodUs, {c.durationUs});
        CLumbra::Instance()->Send(&code, nullptr);
        const auto bursts = Bursts(c.periodUs);
        ASSERT_EQ(bursts.size(), 1u) << "period " << c.periodUs << " duration " << c.durationUs;
        EXPECT_EQ(bursts[0].cycles, c.cycles) << "period " << c.periodUs << " duration " << c.durationUs;
        EXPECT_EQ(bursts[0].endTick - bursts[0].startTick, (2 * c.cycles - 1) * HalfTicks(c.periodUs))
            << "period " << c.periodUs << " duration " << c.durationUs;
        EXPECT_FALSE(handheld::soc::TransmitLight()) << "a burst ends with the light off";
    }
}

TEST_P(SenderTest, EdgesFallOnTheIdealTicksEvenWhenTheTimerWraps) {
    // Start points: anywhere, just before a wrap (inside the first 9 ms burst), just before a wrap that
    // lands inside a pause.
    for (const std::uint32_t startOscr : {0x00001234u, 0xFFFFFFFFu - 5000u, 0xFFFFFFFFu - 40000u}) {
        edges.Clear();
        handheld::soc::SetOscr(startOscr);
        IrCode code = MakeCode(26, {9000, -4500, 560, -560, 560, -1690, 560, -39000, 9000, -2250, 560});
        CLumbra::Instance()->Send(&code, nullptr);
        const std::vector<std::uint32_t> ideal = IdealEdges(code, 0);
        const auto recorded = edges.Edges();
        ASSERT_EQ(recorded.size(), ideal.size()) << "start 0x" << std::hex << startOscr;
        bool wrapped = false;
        for (std::size_t i = 0; i < recorded.size(); ++i) {
            ASSERT_EQ(recorded[i].tick - recorded[0].tick, ideal[i])
                << "edge " << i << " start 0x" << std::hex << startOscr;
            ASSERT_EQ(recorded[i].level, i % 2 == 0 ? 1 : 0) << "edge " << i;
            if (i > 0 && recorded[i].tick < recorded[i - 1].tick) wrapped = true;
        }
        if (startOscr > 0xF0000000u) {
            EXPECT_TRUE(wrapped) << "the counter should have wrapped during the code";
        }
    }
}

// The callback's script and what it saw.
struct CallbackScript {
    std::vector<int> answers;
    std::size_t calls = 0;
    std::vector<std::size_t> edgesAtCall;
    std::vector<std::uint32_t> icmrAtCall;
    const handheld::soc::EdgeBuffer* edges = nullptr;
    std::uint32_t intcBase = 0;
};
CallbackScript gScript;

int ScriptedCallback() {
    gScript.edgesAtCall.push_back(gScript.edges->Edges().size());
    gScript.icmrAtCall.push_back(BlockAt(gScript.intcBase)->Read32(handheld::soc::IntcBlock::ICMR));
    const int answer = gScript.calls < gScript.answers.size() ? gScript.answers[gScript.calls] : 1;
    ++gScript.calls;
    return answer;
}

TEST_P(SenderTest, CallbackDecidesTheRepeatPasses) {
    struct Case {
        const char* name;
        bool withCallback;
        std::vector<int> answers;
        int count;
        int repeatStart;
        std::size_t expectedCalls;
        std::vector<int> burstsPerPass;
    };
    // Code of up to 5 entries: bursts at 0, 2, 4.
    const std::vector<Case> cases = {
        {"null callback", false, {}, 5, 2, 0, {3}},
        {"stop at once", true, {1}, 5, 2, 1, {3, 0}},
        {"two more passes", true, {0, 0, 1}, 5, 2, 3, {3, 2, 2, 0}},
        {"count 0", true, {0, 0, 1}, 0, 0, 3, {0, 0, 0, 0}},
        {"repeat start at the end", true, {0, 1}, 5, 5, 2, {3, 0, 0}},
        {"repeat start past the end", true, {0, 1}, 5, 9, 2, {3, 0, 0}},
    };
    for (const Case& c : cases) {
        edges.Clear();
        gScript = CallbackScript{c.answers, 0, {}, {}, &edges, GetParam().intcBase};
        IrCode code = MakeCode(26, {560, -560, 560, -1690, 560});
        code.count = c.count;
        code.repeatStart = c.repeatStart;
        CLumbra::Instance()->Send(&code, c.withCallback ? &ScriptedCallback : nullptr);
        EXPECT_EQ(gScript.calls, c.expectedCalls) << c.name;
        // Bursts per pass, from the edge counts seen at each call (2 edges a cycle, 22 cycles a burst).
        std::vector<std::size_t> marks = gScript.edgesAtCall;
        marks.insert(marks.begin(), 0);
        if (!c.withCallback) marks.push_back(edges.Edges().size());
        std::vector<int> burstsPerPass;
        for (std::size_t i = 1; i < marks.size(); ++i) {
            burstsPerPass.push_back(static_cast<int>((marks[i] - marks[i - 1]) / (2 * 22)));
        }
        if (c.withCallback) burstsPerPass.push_back(static_cast<int>((edges.Edges().size() - marks.back()) / 44));
        EXPECT_EQ(burstsPerPass, c.burstsPerPass) << c.name;
    }
}

// Reads the interrupt mask at each edge, and once enables a source during the pass.
class MaskProbe : public handheld::soc::EdgeObserver {
public:
    explicit MaskProbe(std::uint32_t intcBase) : intc(BlockAt(intcBase)) {}
    void OnEdge(const PinEdge&) override {
        const std::uint32_t mask = intc->Read32(handheld::soc::IntcBlock::ICMR);
        if (mask != 0) ++unmaskedEdges;
        if (++seen == 3) intc->Write32(handheld::soc::IntcBlock::ICMR, kEnabledDuringPass);
    }
    static constexpr std::uint32_t kEnabledDuringPass = 0x00010000;
    handheld::soc::RegisterBlock* intc;
    int seen = 0;
    int unmaskedEdges = 0;
};

TEST_P(SenderTest, InterruptsAreMaskedDuringEachPassAndRestoredBetween) {
    auto* intc = BlockAt(GetParam().intcBase);
    constexpr std::uint32_t kMaskBefore = 0x0400F00F;
    intc->Write32(handheld::soc::IntcBlock::ICMR, kMaskBefore);
    MaskProbe probe(GetParam().intcBase);
    ASSERT_TRUE(handheld::soc::AddEdgeObserver(&probe));
    gScript = CallbackScript{{0, 1}, 0, {}, {}, &edges, GetParam().intcBase};
    IrCode code = MakeCode(26, {560, -560, 560});
    CLumbra::Instance()->Send(&code, &ScriptedCallback);
    handheld::soc::RemoveEdgeObserver(&probe);

    // Two passes of 2 bursts of 22 cycles. In the first, edges 1-3 saw a cleared mask and the rest the source
    // the probe enabled at edge 3; the second pass masked everything again.
    constexpr int kEdgesPerPass = 2 * 22 * 2;
    EXPECT_EQ(probe.seen, 2 * kEdgesPerPass);
    EXPECT_EQ(probe.unmaskedEdges, kEdgesPerPass - 3);
    ASSERT_EQ(gScript.icmrAtCall.size(), 2u);
    // At the callback the mask is the saved one OR whatever was enabled during the pass.
    EXPECT_EQ(gScript.icmrAtCall[0], kMaskBefore | MaskProbe::kEnabledDuringPass);
    EXPECT_EQ(Icmr(), kMaskBefore | MaskProbe::kEnabledDuringPass);
}

TEST_P(SenderTest, CarrierPeriodZeroSendsNothing) {
    gScript = CallbackScript{{0, 0, 1}, 0, {}, {}, &edges, GetParam().intcBase};
    IrCode code = MakeCode(0, {560, -560, 560});
    code.carrier = 0x1200;  // only the low byte is the period
    const std::uint32_t before = handheld::soc::PeekOscr();
    CLumbra::Instance()->Send(&code, &ScriptedCallback);
    EXPECT_TRUE(edges.Edges().empty());
    EXPECT_EQ(gScript.calls, 0u);
    EXPECT_LT(handheld::soc::PeekOscr() - before, 100000u);
}

// Every interrupt stays masked for a whole pass, so a pass may not freeze the handheld for more than 10 s.
TEST_P(SenderTest, ACodeWhosePassWouldOutlastTenSecondsIsNotSent) {
    handheld::soc::SetVirtualStep(4096);  // 1024 ticks a read: long pauses pass quickly
    struct Case {
        const char* name;
        std::int32_t pauseUs;
        bool sent;
    };
    // The 560 us burst plays 22 cycles of 26 us (572 us); the pause makes up the rest of the pass.
    for (const Case& c :
         {Case{"just under 10 s", -(10'000'000 - 572), true}, Case{"just over 10 s", -(10'000'000 - 571), false}}) {
        edges.Clear();
        gScript = CallbackScript{{1}, 0, {}, {}, &edges, GetParam().intcBase};
        IrCode code = MakeCode(26, {560, c.pauseUs, 26});
        code.count = 2;  // the last entry is outside the code
        const std::uint64_t before = handheld::soc::ElapsedTicks();
        CLumbra::Instance()->Send(&code, &ScriptedCallback);
        const std::uint64_t tookTicks = handheld::soc::ElapsedTicks() - before;
        EXPECT_EQ(edges.Edges().size(), c.sent ? 44u : 0u) << c.name;
        EXPECT_EQ(gScript.calls, c.sent ? 1u : 0u) << c.name;
        EXPECT_EQ(tookTicks >= 36'000'000u, c.sent) << c.name << ": " << tookTicks << " ticks";
    }
    handheld::soc::SetVirtualStep(1);
}

// A coarser clock (each register read costs 2.5 ticks instead of a quarter): every edge comes late by at most
// the reads of one wait, never early, and no lateness carries over from one wait to the next.
TEST_P(SenderTest, CoarseClockKeepsEveryIntervalWithinTwoReadsOfTheIdeal) {
    constexpr std::uint32_t kStepSubTicks = 10;
    // The overshoot of a wait's last read and that read's own cost, in whole ticks, and a tick of rounding at
    // either edge.
    constexpr std::uint32_t kToleranceTicks =
        (2 * kStepSubTicks + handheld::soc::kSubTicksPerTick - 1) / handheld::soc::kSubTicksPerTick + 2;
    handheld::soc::SetVirtualStep(kStepSubTicks);
    IrCode code = MakeCode(26, {9000, -4500, 560, -560, 560, -1690, 560, -39000, 9000, -2250, 560});
    CLumbra::Instance()->Send(&code, nullptr);
    handheld::soc::SetVirtualStep(1);

    const std::vector<std::uint32_t> ideal = IdealEdges(code, 0);
    const auto recorded = edges.Edges();
    ASSERT_EQ(recorded.size(), ideal.size());
    std::uint32_t worstLateTicks = 0;
    for (std::size_t i = 1; i < recorded.size(); ++i) {
        const std::uint32_t interval = recorded[i].tick - recorded[i - 1].tick;
        const std::uint32_t idealInterval = ideal[i] - ideal[i - 1];
        ASSERT_GE(interval, idealInterval) << "edge " << i;
        worstLateTicks = std::max(worstLateTicks, interval - idealInterval);
    }
    EXPECT_LE(worstLateTicks, kToleranceTicks);
    EXPECT_GT(worstLateTicks, 0u) << "a coarse clock should show some lateness";
}

TEST_P(SenderTest, CountBeyondTheBufferIsClamped) {
    IrCode code = MakeCode(26, {});
    for (int i = 0; i < kIrCodeMaxDurations; ++i) code.durations[i] = (i % 2 == 0) ? 26 : -26;
    code.count = 100000;
    code.repeatStart = -7;
    CLumbra::Instance()->Send(&code, nullptr);
    EXPECT_EQ(Bursts(26).size(), 100u);
}

INSTANTIATE_TEST_SUITE_P(Processors, SenderTest,
                         ::testing::Values(Backend{u"PXA255", handheld::soc::kPxaIntcBase},
                                           Backend{u"SA1110", handheld::soc::kSaIntcBase}),
                         [](const auto& info) { return info.index == 0 ? std::string("Pxa") : std::string("Sa"); });

// --- Pins and the port around a send ---------------------------------------------------------------------

TEST_F(DriverTest, PxaPinsAreOutputPlainGpioDuringASendAndRestoredAfter) {
    auto* gpio = BlockAt(handheld::soc::kPxaGpioBase);
    const std::uint32_t gpdr1 = gpio->Read32(handheld::soc::PxaGpioBlock::GPDR1);
    const std::uint32_t gafr1l = gpio->Read32(handheld::soc::PxaGpioBlock::GAFR1_L);
    ASSERT_NE(gafr1l & 0xC0000000u, 0u) << "the pin starts on its serial function";
    IrCode code = MakeCode(26, {560});
    CLumbra::Instance()->Send(&code, nullptr);
    EXPECT_EQ(Bursts(26).size(), 1u) << "light only comes out of a plain GPIO output";
    EXPECT_EQ(gpio->Read32(handheld::soc::PxaGpioBlock::GPDR1), gpdr1);
    EXPECT_EQ(gpio->Read32(handheld::soc::PxaGpioBlock::GAFR1_L), gafr1l);
}

// Reads the SA pin directions and serial control at every edge of a pass.
class SaPinProbe : public handheld::soc::EdgeObserver {
public:
    void OnEdge(const PinEdge&) override {
        ppdr.push_back(BlockAt(handheld::soc::kSaPpcBase)->Read32(handheld::soc::SaPpcBlock::PPDR));
        utcr0.push_back(BlockAt(handheld::soc::kSaSerial2Base)->Read8(handheld::soc::SaSerial2Block::UTCR0));
    }
    std::vector<std::uint32_t> ppdr;
    std::vector<std::uint8_t> utcr0;
};

TEST_F(DriverTest, SaTransmitPinIsTheOnlyOutputDuringAPass) {
    UseProcessor(u"SA1110");
    auto* ppc = BlockAt(handheld::soc::kSaPpcBase);
    ppc->Write32(handheld::soc::SaPpcBlock::PPDR, 0x000023B5);  // several outputs, pin 14 an input
    const std::uint8_t control = BlockAt(handheld::soc::kSaSerial2Base)->Read8(handheld::soc::SaSerial2Block::UTCR0);
    SaPinProbe probe;
    ASSERT_TRUE(handheld::soc::AddEdgeObserver(&probe));
    IrCode code = MakeCode(26, {52, -560, 52});
    CLumbra::Instance()->Send(&code, nullptr);
    handheld::soc::RemoveEdgeObserver(&probe);

    ASSERT_EQ(probe.ppdr.size(), 12u) << "two bursts of three cycles";
    for (std::size_t i = 0; i < probe.ppdr.size(); ++i) {
        EXPECT_EQ(probe.ppdr[i], 0x4000u) << "edge " << i;
        // Bit 0 set, bits 3 and 4 cleared, the others as they were.
        EXPECT_EQ(probe.utcr0[i], (control | 0x01) & ~0x18) << "edge " << i;
    }
    EXPECT_EQ(ppc->Read32(handheld::soc::SaPpcBlock::PPDR), 0x000023B5u);
}

TEST_F(DriverTest, SaSerialControlAndPinDirectionsAreRestoredAfterASend) {
    UseProcessor(u"SA1110");
    auto* serial = static_cast<handheld::soc::SaSerial2Block*>(BlockAt(handheld::soc::kSaSerial2Base));
    auto* ppc = BlockAt(handheld::soc::kSaPpcBase);
    const std::uint8_t control = serial->Control();
    const std::uint32_t ppdr = ppc->Read32(handheld::soc::SaPpcBlock::PPDR);
    ASSERT_FALSE(handheld::soc::SaPinOwnsTransmitter(control)) << "the UART starts owning the transmitter";
    IrCode code = MakeCode(26, {560});
    CLumbra::Instance()->Send(&code, nullptr);
    EXPECT_EQ(Bursts(26).size(), 1u);
    EXPECT_EQ(serial->Control(), control);
    EXPECT_EQ(ppc->Read32(handheld::soc::SaPpcBlock::PPDR), ppdr);
}

int gPortChecks = 0;
int CheckPortInRawIrMode() {
    const auto port = handheld::InspectSerialPort(u"COM3:");
    EXPECT_TRUE(port.has_value());
    if (!port) return 1;
    EXPECT_TRUE(port->open);
    EXPECT_TRUE(port->irMode);
    EXPECT_EQ(port->state.BaudRate, 256000u);
    EXPECT_EQ(port->state.ByteSize, 8);
    EXPECT_EQ(port->state.Parity, handheld::NOPARITY);
    EXPECT_EQ(port->state.StopBits, handheld::ONE5STOPBITS);
    EXPECT_EQ(port->state.flags & 0x7F7Eu, 0u) << "only binary mode, XOFF continue and the dummy bits are kept";
    EXPECT_EQ(port->state.flags & 0x81u, 0x81u);
    EXPECT_EQ(port->timeouts.ReadIntervalTimeout, 0xFFFFFFFFu);
    EXPECT_EQ(port->timeouts.ReadTotalTimeoutConstant, 0u);
    ++gPortChecks;
    return 1;
}

TEST_F(DriverTest, PortIsInRawIrModeDuringTheCallAndRestoredAfter) {
    gPortChecks = 0;
    IrCode code = MakeCode(26, {560});
    CLumbra::Instance()->Send(&code, &CheckPortInRawIrMode);
    EXPECT_EQ(gPortChecks, 1);
    const auto port = handheld::InspectSerialPort(u"COM3:");
    ASSERT_TRUE(port.has_value());
    EXPECT_FALSE(port->open);
    EXPECT_FALSE(port->irMode);
    const handheld::DCB defaults = handheld::DefaultCommState();
    EXPECT_EQ(port->state.BaudRate, defaults.BaudRate);
    EXPECT_EQ(port->state.flags, defaults.flags);
    EXPECT_EQ(port->state.StopBits, defaults.StopBits);
    EXPECT_EQ(port->timeouts.ReadIntervalTimeout, handheld::DefaultCommTimeouts().ReadIntervalTimeout);
    ASSERT_GE(port->escapeCalls.size(), 2u);
    EXPECT_EQ(port->escapeCalls[port->escapeCalls.size() - 2].function, handheld::SETIR);
    EXPECT_EQ(port->escapeCalls.back().function, handheld::CLRIR);
}

handheld::DWORD gFlagsDuringCall = 0;
int RecordPortFlags() {
    const auto port = handheld::InspectSerialPort(u"COM3:");
    gFlagsDuringCall = port ? port->state.flags : 0;
    return 1;
}

// Bits 15-31 of the control record belong to the platform: the port setup keeps them, and the rest is put back.
TEST_F(DriverTest, PortSetupKeepsThePlatformsFlagBits) {
    constexpr handheld::DWORD kPlatformBits = 0xA5A58000;
    const handheld::DWORD found = kPlatformBits | handheld::DCB_fBinary | handheld::DCB_DtrControlEnable | 0x0300;
    {
        handheld::SetObexServiceRunning(false);
        const handheld::UniqueHandle port(handheld::CreateFileW(u"COM3:",
                                                                handheld::GENERIC_READ | handheld::GENERIC_WRITE, 0,
                                                                nullptr, handheld::OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(port);
        handheld::DCB state = handheld::DefaultCommState();
        state.flags = found;
        ASSERT_TRUE(handheld::SetCommState(port.get(), &state));
    }
    gFlagsDuringCall = 0;
    IrCode code = MakeCode(26, {560});
    CLumbra::Instance()->Send(&code, &RecordPortFlags);
    EXPECT_EQ(gFlagsDuringCall, kPlatformBits | handheld::DCB_fBinary | handheld::DCB_fTXContinueOnXoff);
    EXPECT_EQ(handheld::InspectSerialPort(u"COM3:")->state.flags, found);
}

TEST_F(DriverTest, NoIrPortMeansNothingIsSentOrLearned) {
    handheld::LoadRegistryText(
        "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Drivers\\Active\\02]\n\"Name\"=\"COM1:\"\n"
        "\"Key\"=\"Drivers\\\\BuiltIn\\\\Serial\"\n\n[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\Serial]\n"
        "\"FriendlyName\"=\"Serial Cable on COM1:\"\n");
    IrCode code = MakeCode(26, {560, -560, 560});
    CLumbra::Instance()->Send(&code, nullptr);
    EXPECT_TRUE(edges.Edges().empty());
    handheld::soc::RemoteSignal remote{38000, {9000, -4500, 560}, 1};
    handheld::soc::SetLearningSource(remote, 100);
    IrCode learned{};
    CLumbra::Instance()->Learn(&learned, true);
    EXPECT_EQ(learned.count, 0);
    handheld::ReloadRegistry();
}

TEST_F(DriverTest, UnmappedRegisterPagesSendAndLearnNothing) {
    for (const std::uint32_t page :
         {handheld::soc::kPxaGpioBase, handheld::soc::kPxaTimerBase, handheld::soc::kPxaIntcBase}) {
        CLumbra::Destroy();
        handheld::soc::ResetProcessors();
        edges.Clear();
        handheld::soc::SetBlockMappable(page, false);
        auto* intc = BlockAt(handheld::soc::kPxaIntcBase);
        const std::uint32_t mask = intc->Read32(handheld::soc::IntcBlock::ICMR);
        IrCode code = MakeCode(26, {560, -560, 560});
        CLumbra::Instance()->Send(&code, nullptr);
        EXPECT_TRUE(edges.Edges().empty()) << std::hex << page;
        EXPECT_EQ(intc->Read32(handheld::soc::IntcBlock::ICMR), mask) << std::hex << page;
        handheld::soc::RemoteSignal remote{38000, {9000, -4500, 560}, 1};
        handheld::soc::SetLearningSource(remote, 100);
        IrCode learned{};
        CLumbra::Instance()->Learn(&learned, false);
        if (page == handheld::soc::kPxaIntcBase) {
            EXPECT_GT(learned.count, 0) << "learning needs no interrupt controller";
        } else {
            EXPECT_EQ(learned.count, 0) << std::hex << page;
        }
    }
}

TEST_F(DriverTest, GenericBackEndKeepsTheTimeButEmitsNothing) {
    UseProcessor(u"ARM920T");
    IrCode code = MakeCode(26, {9000, -4500, 560, -40000, 560});
    const std::uint64_t before = handheld::soc::ElapsedTicks();
    CLumbra::Instance()->Send(&code, nullptr);
    const double elapsedUs =
        handheld::soc::TicksToMicroseconds(static_cast<std::uint32_t>(handheld::soc::ElapsedTicks() - before));
    EXPECT_TRUE(edges.Edges().empty());
    EXPECT_NEAR(elapsedUs, 9000 + 4500 + 560 + 40000 + 560, 200);

    handheld::soc::RemoteSignal remote{38000, {9000, -4500, 560}, 1};
    handheld::soc::SetLearningSource(remote, 100);
    IrCode learned = MakeCode(26, {1, -2, 3});
    const std::uint64_t learnStart = handheld::soc::ElapsedTicks();
    CLumbra::Instance()->Learn(&learned, false);
    EXPECT_EQ(learned.count, 3);
    EXPECT_LT(handheld::soc::ElapsedTicks() - learnStart, 3686u) << "the generic learner returns at once";
}

}  // namespace
}  // namespace driver_test

namespace driver_test {
namespace {

// Scheduling of the calling thread: raised per pass for sending (5, 0) and for learning (0, 0), the quantum
// restored before the priority, and both back to what they were.
TEST_F(DriverTest, SchedulingIsRaisedPerPassAndRestored) {
    using Kind = handheld::SchedulingCall::Kind;
    const handheld::ThreadScheduling before = handheld::CurrentThreadScheduling();
    handheld::ClearSchedulingCalls();
    gScript = CallbackScript{{0, 1}, 0, {}, {}, &edges, handheld::soc::kPxaIntcBase};
    IrCode code = MakeCode(26, {560});
    CLumbra::Instance()->Send(&code, &ScriptedCallback);
    handheld::soc::SetLearningSource(handheld::soc::RemoteSignal{38000, {2000, -1000, 560}, 1}, 100);
    IrCode learned{};
    CLumbra::Instance()->Learn(&learned, false);
    EXPECT_EQ(learned.count, 3);

    std::vector<std::pair<Kind, long long>> calls;
    for (const auto& call : handheld::SchedulingCalls()) calls.emplace_back(call.kind, call.value);
    const long long priority = before.priority;
    const long long quantum = before.quantumMs;
    const std::vector<std::pair<Kind, long long>> expected = {
        {Kind::Priority, 5}, {Kind::Quantum, 0}, {Kind::Quantum, quantum}, {Kind::Priority, priority},  // pass 1
        {Kind::Priority, 5}, {Kind::Quantum, 0}, {Kind::Quantum, quantum}, {Kind::Priority, priority},  // pass 2
        {Kind::Priority, 0}, {Kind::Quantum, 0}, {Kind::Quantum, quantum}, {Kind::Priority, priority},  // learn
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(handheld::CurrentThreadScheduling().priority, before.priority);
    EXPECT_EQ(handheld::CurrentThreadScheduling().quantumMs, before.quantumMs);
}

}  // namespace
}  // namespace driver_test
