// A CCF list from the pen-down to the transmit pin, on the simulated handheld in virtual time; and opening
// a file through the handheld's mapping.
#include <gtest/gtest.h>

#include "ccf/format/ccf_mapped_file.h"
#include "handheld/files.h"
#include "handheld/soc/simulation.h"
#include "handheld/system.h"
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"
#include "tests/support/test_home.h"

using namespace ccf_test;

namespace {

constexpr double kTicksPerUs = handheld::soc::kOscrHz / 1e6;

class NoViewer : public CCFFileActionHandler {
public:
    using CCFFileActionHandler::CCFFileActionHandler;
    std::uint32_t ShowDevice(std::uint32_t deviceOffset, std::uint32_t) override {
        shown.push_back(deviceOffset);
        return 1;
    }
    std::vector<std::uint32_t> shown;
};

// Lengths of the light-on stretches, in microseconds, from the recorded pin edges of one pass.
std::vector<double> Marks(std::span<const handheld::soc::PinEdge> edges, double carrierPeriodUs) {
    std::vector<double> marks;
    double start = -1, last = -1;
    for (const auto& edge : edges) {
        const double us = edge.tick / kTicksPerUs;
        if (edge.level == 1) {
            if (start < 0 || us - last > 2 * carrierPeriodUs) {
                if (start >= 0) marks.push_back(last - start);
                start = us;
            }
        } else {
            last = us;
        }
    }
    if (start >= 0) marks.push_back(last - start);
    return marks;
}

class CCFSend : public ::testing::Test {
protected:
    void SetUp() override {
        handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
        handheld::soc::ResetProcessors();
        ASSERT_TRUE(handheld::soc::AddEdgeObserver(&edges_));
    }
    void TearDown() override { handheld::soc::RemoveEdgeObserver(&edges_); }

    orvane_test::TestHome home_;
    handheld::soc::EdgeBuffer edges_{100000};
};

TEST_F(CCFSend, CodeDelayJumpAndCodeInOnePress) {
    CCFWriter w(true, false);
    const std::uint32_t codeA = w.IRCode(w.Name("A"), 0, 109, {{16, 8}, {16, 300}}, {});  // 38028 Hz
    const std::uint32_t codeB = w.IRCode(w.Name("B"), 0, 109, {{40, 300}}, {});
    const std::uint32_t list = w.ActionList({{1, 0, codeA}, {4, 0, 500}, {3, 0, 0}, {1, 0, codeB}});
    ButtonFields b;
    b.actions = list;
    const std::uint32_t button = w.Button(b);
    const std::uint32_t device = w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})});
    w.SetAction(list, 2, device, 0);
    w.SetChain(2, device);
    Loaded loaded = Load(w.Bytes());
    NoViewer viewer(loaded.file.get());

    const std::uint64_t before = handheld::soc::ElapsedTicks();
    RunCCFActionList(loaded.file->chains[1]->firstPanel->items[0]->button->actions.get(), &viewer);
    const double elapsedMs = (handheld::soc::ElapsedTicks() - before) / kTicksPerUs / 1000.0;

    EXPECT_EQ(viewer.shown, std::vector<std::uint32_t>{device});
    EXPECT_GE(elapsedMs, 500.0);
    const double periodUs = 1e6 / 38028;
    const std::vector<double> marks = Marks(edges_.Edges(), periodUs);
    // Code A's two marks (16 periods of 26 us), then code B's one (40 x 26 us), each sent exactly once.
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_NEAR(marks[0], 16 * 26, 2 * periodUs);
    EXPECT_NEAR(marks[1], 16 * 26, 2 * periodUs);
    EXPECT_NEAR(marks[2], 40 * 26, 2 * periodUs);
}

TEST_F(CCFSend, WrappedFrequencyIsSentAtTheCarrierOfItsDivisor) {
    // Divisor 40 is a 103.6 kHz carrier; its 16-bit frequency wraps to 38092 Hz, which would key the light
    // at 26 us. The period comes from the divisor instead: 1000000 x 40 / 4145146, 9 us.
    CCFWriter w(false, false);
    const std::uint32_t code = w.IRCode(0, 0, 40, {{16, 300}}, {});
    ButtonFields b;
    b.actions = w.ActionList({{1, 0, code}});
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, w.Button(b), 1}})}));
    Loaded loaded = Load(w.Bytes());
    RunCCFActionList(loaded.file->chains[1]->firstPanel->items[0]->button->actions.get(), nullptr);

    const auto edges = edges_.Edges();
    std::vector<double> risesUs;
    for (const auto& edge : edges) {
        if (edge.level == 1) risesUs.push_back(edge.tick / kTicksPerUs);
    }
    ASSERT_GE(risesUs.size(), 16u);  // one rise per carrier period of the one mark
    for (std::size_t i = 1; i < risesUs.size(); ++i) {
        EXPECT_NEAR(risesUs[i] - risesUs[i - 1], 9.0, 1.0) << "rise " << i;  // the timer's ticks round it
    }
    const std::vector<double> marks = Marks(edges, 9.0);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(marks[0], 16 * 9, 2 * 9.0);
}

TEST_F(CCFSend, CodesThatCannotBeSentLeaveThePinDark) {
    CCFWriter w(false, false);
    const std::uint32_t noDivisor = w.IRCode(0, 0, 0, {{1, 1}}, {});
    const std::uint32_t tooSlow = w.IRCode(0, 0, 1100, {{1, 1}}, {});  // 3768 Hz
    const std::uint32_t noPairs = w.IRCode(0, 0, 109, {}, {});
    const std::uint32_t otherFormat = w.IRCode(0, 0x100, 109, {{1, 1}}, {});
    ButtonFields b;
    b.actions = w.ActionList({{1, 0, noDivisor}, {1, 0, tooSlow}, {1, 0, noPairs}, {1, 0, otherFormat}, {1, 0, 0}});
    const std::uint32_t button = w.Button(b);
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, button, 1}})}));
    Loaded loaded = Load(w.Bytes());
    const CCFActionList& list = *loaded.file->chains[1]->firstPanel->items[0]->button->actions;
    for (const auto& slot : list.actionSlots) EXPECT_EQ(slot->Execute(nullptr), 0u);
    EXPECT_TRUE(edges_.Edges().empty());
}

TEST_F(CCFSend, OpensThroughTheHandheldsMapping) {
    const SampleFile sample = MakeSampleFile(true, true);
    home_.WriteFile(u"\\My Documents\\sample.ccf", sample.bytes);
    CCFMappedFile mapped;
    ASSERT_TRUE(mapped.Open(u"\\My Documents\\sample.ccf"));
    EXPECT_EQ(mapped.Size(), sample.bytes.size());
    auto file = ReadCCFFile(mapped.Data(), mapped.Size());
    EXPECT_EQ(Walk(*file).devices, 4u);
    file.reset();
    mapped.Close();
    EXPECT_FALSE(mapped.IsOpen());
    EXPECT_FALSE(mapped.Open(u"\\My Documents\\missing.ccf"));
    EXPECT_FALSE(mapped.IsOpen());
}

TEST_F(CCFSend, MappingHoldsTheFileUntilClosedOnEveryPath) {
    const SampleFile sample = MakeSampleFile(false, false);
    home_.WriteFile(u"\\My Documents\\a.ccf", sample.bytes);
    home_.WriteFile(u"\\My Documents\\b.ccf", sample.bytes);
    home_.WriteFile(u"\\My Documents\\empty.ccf", {});
    {
        CCFMappedFile mapped;
        ASSERT_TRUE(mapped.Open(u"\\My Documents\\a.ccf"));
        EXPECT_FALSE(handheld::DeleteFileW(u"\\My Documents\\a.ccf"));  // held while mapped
        // Opening another file lets the first go.
        ASSERT_TRUE(mapped.Open(u"\\My Documents\\b.ccf"));
        EXPECT_TRUE(handheld::DeleteFileW(u"\\My Documents\\a.ccf"));
        EXPECT_FALSE(handheld::DeleteFileW(u"\\My Documents\\b.ccf"));
        // An empty file opens but has nothing to map: the failure releases the handles it took.
        EXPECT_FALSE(mapped.Open(u"\\My Documents\\empty.ccf"));
        EXPECT_FALSE(mapped.IsOpen());
        EXPECT_EQ(mapped.Size(), 0u);
        EXPECT_TRUE(handheld::DeleteFileW(u"\\My Documents\\empty.ccf"));
        EXPECT_TRUE(handheld::DeleteFileW(u"\\My Documents\\b.ccf"));
        home_.WriteFile(u"\\My Documents\\b.ccf", sample.bytes);
        ASSERT_TRUE(mapped.Open(u"\\My Documents\\b.ccf"));
    }
    // Going out of scope released it.
    EXPECT_TRUE(handheld::DeleteFileW(u"\\My Documents\\b.ccf"));
}

}  // namespace
