// Learning from simulated remotes in virtual time, on both processors, and from real captures.
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "driver/irdriver/ir_driver_generic.h"
#include "handheld/soc/blocks.h"
#include "handheld/soc/remote_signal.h"
#include "tests/driver/driver_fixture.h"
#include "tests/support/ir_frames.h"

namespace driver_test {
namespace {

using handheld::soc::RemoteSignal;

constexpr std::uint64_t kOneSecondTicks = 3686400;

struct LearnCase {
    const char16_t* processor;
    double carrierHz;
};

class LearnerTest : public DriverTest, public ::testing::WithParamInterface<LearnCase> {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        UseProcessor(GetParam().processor);
    }
    double PeriodUs() const { return 1e6 / GetParam().carrierHz; }
};

// Every entry within one carrier period of the source; the first burst three periods short.
void ExpectLearnedMatches(const IrCode& code, const std::vector<std::int32_t>& source, double periodUs,
                          const std::string& what) {
    ASSERT_GT(code.count, 0) << what;
    for (int i = 0; i < code.count; ++i) {
        const double expected = i == 0 ? source[0] - 3 * periodUs : source[i];
        EXPECT_LE(std::fabs(code.durations[i] - expected), periodUs)
            << what << ": entry " << i << " learned " << code.durations[i] << " source " << source[i];
    }
}

TEST_P(LearnerTest, LearnsCarrierAndEveryDurationWithinOnePeriod) {
    const std::vector<std::int32_t> frame = orvane_test::PulseDistanceFrame(0x20DF10EF);
    handheld::soc::SetLearningSource(RemoteSignal{GetParam().carrierHz, frame, 1}, 5000);
    IrCode code{};
    code.carrier = 0x7A000000;  // the driver writes only the low byte
    const std::uint64_t before = handheld::soc::ElapsedTicks();
    CLumbra::Instance()->Learn(&code, false);
    const std::uint64_t learnTicks = handheld::soc::ElapsedTicks() - before;

    EXPECT_EQ(static_cast<std::uint32_t>(code.carrier) & 0xFFFFFF00u, 0x7A000000u);
    EXPECT_LE(std::fabs((code.carrier & 0xFF) - PeriodUs()), 1.0) << "carrier byte " << (code.carrier & 0xFF);
    ASSERT_EQ(code.count, static_cast<int>(frame.size())) << "ends with a burst after 1 s of silence";
    ExpectLearnedMatches(code, frame, PeriodUs(), "frame");

    // The signal is over 1 s after its last light.
    double signalUs = 0;
    for (const std::int32_t d : frame) signalUs += std::abs(d);
    const double signalTicks = 5000 + signalUs * 3.6864;
    EXPECT_NEAR(static_cast<double>(learnTicks) - signalTicks, kOneSecondTicks, 3 * PeriodUs() * 3.6864);
}

TEST_P(LearnerTest, HeldRemoteFillsTwoHundredEntriesEndingInAPause) {
    std::vector<std::int32_t> frame = orvane_test::PulseDistanceFrame(0x807F02FD);
    frame.push_back(-40000);
    handheld::soc::SetLearningSource(RemoteSignal{GetParam().carrierHz, frame, 4}, 100);
    IrCode code{};
    CLumbra::Instance()->Learn(&code, false);
    ASSERT_EQ(code.count, kIrCodeMaxDurations);
    EXPECT_LT(code.durations[kIrCodeMaxDurations - 1], 0);
    std::vector<std::int32_t> played;
    for (int pass = 0; pass < 4; ++pass) played.insert(played.end(), frame.begin(), frame.end());
    ExpectLearnedMatches(code, played, PeriodUs(), "held");
}

TEST_P(LearnerTest, NoRemoteGivesUpAfterTenSecondsLeavingTheCode) {
    IrCode code{};
    code.carrier = 0x55;
    code.durations[0] = 1234;
    code.count = 0;
    code.repeatStart = 0;
    const IrCode before = code;
    const std::uint64_t start = handheld::soc::ElapsedTicks();
    CLumbra::Instance()->Learn(&code, false);
    const std::uint64_t waited = handheld::soc::ElapsedTicks() - start;
    EXPECT_EQ(std::memcmp(&code, &before, sizeof code), 0);
    EXPECT_GE(waited, 10 * kOneSecondTicks);
    EXPECT_LT(waited, 10 * kOneSecondTicks + kOneSecondTicks / 100);
}

INSTANTIATE_TEST_SUITE_P(Remotes, LearnerTest,
                         ::testing::Values(LearnCase{u"PXA255", 36000}, LearnCase{u"PXA255", 38000},
                                           LearnCase{u"PXA255", 40000}, LearnCase{u"PXA255", 56000},
                                           LearnCase{u"SA1110", 38000}, LearnCase{u"SA1110", 56000}),
                         [](const auto& info) {
                             return std::string(info.param.processor[0] == u'P' ? "Pxa" : "Sa") +
                                    std::to_string(static_cast<int>(info.param.carrierHz / 1000)) + "kHz";
                         });

TEST_F(DriverTest, FlashShorterThanThreeCarrierCyclesDoesNotHangTheLearner) {
    handheld::soc::SetLearningSource(RemoteSignal{38000, {40}, 1}, 100);
    IrCode code{};
    const std::uint64_t start = handheld::soc::ElapsedTicks();
    CLumbra::Instance()->Learn(&code, false);
    EXPECT_EQ(code.count, 0);
    EXPECT_LT(handheld::soc::ElapsedTicks() - start, 2 * kOneSecondTicks);
}

TEST_F(DriverTest, PxaLearnerMakesTheReceivePinAnInputAndRestoresIt) {
    auto* gpio = handheld::soc::BlockAt(handheld::soc::kPxaGpioBase);
    // Leave GPIO 46 an output on its serial function: the learner must take it over to hear anything.
    const std::uint32_t gpdr1 = gpio->Read32(handheld::soc::PxaGpioBlock::GPDR1) | 0x4000u;
    gpio->Write32(handheld::soc::PxaGpioBlock::GPDR1, gpdr1);
    const std::uint32_t gafr1l = gpio->Read32(handheld::soc::PxaGpioBlock::GAFR1_L);
    const std::vector<std::int32_t> frame = {2400, -600, 1200, -600, 600};
    handheld::soc::SetLearningSource(RemoteSignal{40000, frame, 1}, 100);
    IrCode code{};
    CLumbra::Instance()->Learn(&code, false);
    EXPECT_EQ(code.count, 5);
    EXPECT_EQ(gpio->Read32(handheld::soc::PxaGpioBlock::GPDR1), gpdr1);
    EXPECT_EQ(gpio->Read32(handheld::soc::PxaGpioBlock::GAFR1_L), gafr1l);
}

TEST_F(DriverTest, LearnWithAnalysisFindsTheRepeatOfAHeldRemote) {
    std::vector<std::int32_t> frame = {2400, -600, 1200, -600, 600, -600, 1200, -25000};
    handheld::soc::SetLearningSource(RemoteSignal{40000, frame, 3}, 100);
    IrCode code{};
    CLumbra::Instance()->Learn(&code, true);
    EXPECT_EQ(code.count, 8) << "one frame and its pause";
    EXPECT_EQ(code.repeatStart, 0);
}

// The real captures: each learned within one carrier period per entry, and the analysis leaves a sound code.
TEST_F(DriverTest, LearnsRealCaptures) {
    const auto data = orvane_test::SharedTestData();
    if (data.empty() || !std::filesystem::exists(data / "ir" / "signals.jsonl")) {
        GTEST_SKIP() << "shared test data absent";
    }
    std::ifstream in(data / "ir" / "signals.jsonl");
    std::string line;
    int learned = 0;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        RemoteSignal signal;
        std::string error;
        ASSERT_TRUE(handheld::soc::ParseRemoteSignal(line, signal, &error)) << error << ": " << line.substr(0, 60);
        std::vector<std::int32_t> source = signal.durationsUs;
        while (!source.empty() && source.back() < 0) source.pop_back();  // trailing silence is not seen
        if (source.size() > static_cast<std::size_t>(kIrCodeMaxDurations)) source.resize(kIrCodeMaxDurations);
        const std::string name = line.substr(0, line.find(',', 30));
        handheld::soc::SetLearningSource(signal, 1000);
        IrCode code{};
        CLumbra::Instance()->Learn(&code, false);
        const double periodUs = 1e6 / signal.carrierHz;
        EXPECT_EQ(code.count, static_cast<int>(source.size())) << name;
        ExpectLearnedMatches(code, source, periodUs, name);

        IrCode analysed = code;
        AnalyseRepeat(analysed);
        EXPECT_GE(analysed.repeatStart, 0) << name;
        EXPECT_LE(analysed.repeatStart, analysed.count) << name;
        EXPECT_LE(analysed.count, code.count) << name;
        if (analysed.repeatStart > 0) {
            EXPECT_LT(analysed.durations[analysed.repeatStart - 1], 0) << name;
        }
        ++learned;
    }
    EXPECT_GT(learned, 0);
}

}  // namespace
}  // namespace driver_test
