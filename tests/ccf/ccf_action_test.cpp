// Running action lists, the handler's searches and the conversion of learned codes for the driver.
#include "ccf/model/ccf_action.h"

#include <gtest/gtest.h>

#include "handheld/soc/simulation.h"
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"
#include "tests/support/test_home.h"

using namespace ccf_test;

namespace {

CCFLearnedCode Learned(std::uint16_t frequency, std::vector<CCFIRPair> once, std::vector<CCFIRPair> repeat,
                       std::uint16_t divisor = 0) {
    CCFLearnedCode code;
    code.frequency = frequency;
    code.divisor = divisor;
    code.onceCount = static_cast<std::uint16_t>(once.size());
    code.repeatCount = static_cast<std::uint16_t>(repeat.size());
    code.once = std::move(once);
    code.repeat = std::move(repeat);
    return code;
}

std::vector<std::int32_t> Durations(const IrCode& code) {
    return {code.durations, code.durations + code.count};
}

TEST(CCFConvert, ShapesOfCodes) {
    struct Case {
        const char* what;
        CCFLearnedCode learned;
        std::int32_t carrier;
        std::vector<std::int32_t> durations;
        std::int32_t repeatStart;
    };
    const Case cases[] = {
        {"worked example", Learned(38000, {{16, 8}}, {}), 26, {416, -208}, 0},
        {"last space is the longest", Learned(38000, {{1, 2}, {1, 4}}, {}), 26, {26, -52, 26, -104}, 0},
        {"short last space gets the longest appended",
         Learned(38000, {{10, 100}, {10, 10}}, {}),
         26,
         {260, -2600, 260, -260, -2600},
         0},
        {"exactly half is not short", Learned(38000, {{1, 4}, {1, 2}}, {}), 26, {26, -104, 26, -52}, 0},
        {"repeat after once", Learned(40000, {{1, 1}, {2, 2}}, {{3, 3}}), 25, {25, -25, 50, -50, 75, -75}, 4},
        {"repeat only", Learned(40000, {}, {{1, 1}, {1, 1}}), 25, {25, -25, 25, -25}, 0},
        {"frequency alone, as a code made by hand", Learned(16378, {{1, 1}}, {}), 61, {61, -61}, 0},
        {"lowest carrier", Learned(3922, {{1, 1}}, {}), 254, {254, -254}, 0},
        {"zero off times", Learned(38000, {{1, 5}, {1, 0}}, {}), 26, {26, -130, 26, 0, -130}, 0},
        {"largest values", Learned(3922, {{65535, 65535}}, {}), 254, {65535 * 254, -65535 * 254}, 0},
    };
    for (const Case& c : cases) {
        IrCode code;
        code.count = -1;
        ASSERT_TRUE(ConvertCCFLearnedCode(c.learned, code)) << c.what;
        EXPECT_EQ(code.carrier, c.carrier) << c.what;
        EXPECT_EQ(Durations(code), c.durations) << c.what;
        EXPECT_EQ(code.repeatStart, c.repeatStart) << c.what;
    }
}

TEST(CCFConvert, WrappedFrequenciesTakeTheCarrierFromTheDivisor) {
    constexpr std::uint32_t kClockHz = 4145146;
    struct Case {
        std::uint16_t divisor;
        std::int32_t carrier;  // 0: not sent
    };
    const Case cases[] = {
        {40, 9},  // 103.6 kHz, whose 16-bit frequency reads as 38092 Hz
        {63, 15},  {5, 1},    {4, 0},
        {1, 0},    {64, 15},  // the first divisor whose frequency fits: taken from the frequency as before
        {109, 26}, {129, 31},
    };
    for (const Case& c : cases) {
        const auto frequency = static_cast<std::uint16_t>(kClockHz / c.divisor);
        IrCode code;
        const bool sent = ConvertCCFLearnedCode(Learned(frequency, {{16, 8}}, {}, c.divisor), code);
        ASSERT_EQ(sent, c.carrier != 0) << "divisor " << c.divisor;
        EXPECT_EQ(code.carrier, c.carrier) << "divisor " << c.divisor;
        if (!sent) continue;
        EXPECT_EQ(Durations(code), (std::vector<std::int32_t>{16 * c.carrier, -8 * c.carrier})) << c.divisor;
    }
}

TEST(CCFConvert, NothingToSend) {
    const std::pair<const char*, CCFLearnedCode> cases[] = {
        {"frequency 0", Learned(0, {{1, 1}}, {})},
        {"carrier period above 255 us", Learned(3921, {{1, 1}}, {})},
        {"no pairs", Learned(38000, {}, {})},
    };
    for (const auto& [what, learned] : cases) {
        IrCode code;
        EXPECT_FALSE(ConvertCCFLearnedCode(learned, code)) << what;
        EXPECT_EQ(code.count, 0) << what;
    }
    EXPECT_EQ(SendCCFIRCode(nullptr), 0u);
    CCFIRCode noData;
    EXPECT_EQ(SendCCFIRCode(&noData), 0u);
}

TEST(CCFConvert, LongCodesAreCutAtAPairBoundary) {
    struct Case {
        const char* what;
        std::size_t onceCount, repeatCount;
        bool shortLast;  // every space short but the first
        std::int32_t count;
        std::int32_t repeatStart;
    };
    const Case cases[] = {
        {"99 pairs and the closing space", 99, 0, true, 199, 0},
        {"100 pairs fill the buffer", 100, 0, false, 200, 0},
        {"100 pairs give one up for the closing space", 100, 0, true, 199, 0},
        {"150 pairs", 150, 0, false, 200, 0},
        {"150 pairs with a closing space", 150, 0, true, 199, 0},
        {"repeat part cut", 60, 60, false, 200, 120},
        {"repeat part cut away entirely", 120, 5, false, 200, 0},
        {"65535 pairs", 65535, 0, true, 199, 0},
    };
    for (const Case& c : cases) {
        std::vector<CCFIRPair> once(c.onceCount, CCFIRPair{1, 1}), repeat(c.repeatCount, CCFIRPair{1, 1});
        if (c.shortLast) once[0].off = 100;
        IrCode code;
        std::fill(std::begin(code.durations), std::end(code.durations), 0x7777);
        ASSERT_TRUE(ConvertCCFLearnedCode(Learned(38000, once, repeat), code)) << c.what;
        EXPECT_EQ(code.count, c.count) << c.what;
        EXPECT_EQ(code.repeatStart, c.repeatStart) << c.what;
        EXPECT_LE(code.count, kIrCodeMaxDurations);
        if (c.shortLast) {
            EXPECT_EQ(code.durations[code.count - 1], -2600) << c.what;
        }
        for (int i = 0; i + 1 < code.count; i += 2) EXPECT_GT(code.durations[i], 0) << c.what << " at " << i;
    }
}

// --- running lists ---------------------------------------------------------------------------------

// Records what actions ask of the viewer; ShowDevice succeeds for devices of the file.
class RecordingHandler : public CCFFileActionHandler {
public:
    using CCFFileActionHandler::CCFFileActionHandler;
    std::uint32_t ShowDevice(std::uint32_t deviceOffset, std::uint32_t panelOffset) override {
        calls.push_back({deviceOffset, panelOffset});
        return FindCCFDevice(*File(), deviceOffset) ? 1 : 0;
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> calls;
};

TEST(CCFRun, ListRunsInOrderAndStopsAtTheFirstEmptySlot) {
    orvane_test::TestHome home;  // the alias sends codes and waits: on the simulated handheld, in virtual time
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
    const SampleFile sample = MakeSampleFile(false, false);
    Loaded loaded = Load(sample.bytes);
    CCFButton* inner = FindCCFButton(*loaded.file->chains[1], sample.nestedButton);
    ASSERT_NE(inner, nullptr);
    RecordingHandler handler(loaded.file.get());
    // [alias TV/Power, jump VCR, device jump TV, jump TV panel 2, type 12, IR code]. The alias runs Power's list,
    // which holds a delay and IR codes but no jump, so only the three jumps reach the handler; the IR code
    // after the empty slot must not run.
    RunCCFActionList(inner->actions.get(), &handler);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {
        {sample.vcr, 0}, {sample.tv, 0}, {sample.tv, sample.tvPanel2}};
    EXPECT_EQ(handler.calls, expected);
    EXPECT_EQ(Collect<CCFAction>(inner->actions->CreateActionIterator()).size(), 4u);
}

TEST(CCFRun, KindsAnswerWithoutAHandler) {
    CCFButtonAliasAction alias(nullptr, 2, 1, 2);
    CCFJumpAction jump(nullptr, 3, 1, 2);
    CCFDeviceJumpAction deviceJump(nullptr, 6, 1, 0);
    CCFInertAction inert(nullptr, 5, 0, 0);
    EXPECT_EQ(alias.Execute(nullptr), 0u);
    EXPECT_EQ(jump.Execute(nullptr), 0u);
    EXPECT_EQ(deviceJump.Execute(nullptr), 0u);
    EXPECT_EQ(inert.Execute(nullptr), 0u);
    RunCCFActionList(nullptr, nullptr);  // a button without a list
}

TEST(CCFRun, HandlerResultsForUnknownOffsets) {
    const SampleFile sample = MakeSampleFile(true, true);
    Loaded loaded = Load(sample.bytes);
    RecordingHandler handler(loaded.file.get());
    EXPECT_EQ(handler.ShowDeviceFirstPanel(sample.tv, nullptr), 1u);
    EXPECT_EQ(handler.ShowDeviceFirstPanel(sample.tv + 1, nullptr), 0u);  // not the start of a device record
    EXPECT_EQ(handler.RunButtonAlias(sample.tv + 1, sample.powerButton), 0u);
    EXPECT_EQ(handler.RunButtonAlias(sample.tv, sample.powerButton + 1), 0u);
    EXPECT_EQ(handler.RunButtonAlias(sample.vcr, sample.powerButton), 0u);  // VCR has no such button
    int chain = 0;
    EXPECT_EQ(FindCCFDevice(*loaded.file, sample.macro, &chain)->name, "Watch TV");
    EXPECT_EQ(chain, 3);
}

TEST(CCFRun, ButtonSearchDescendsIntoFramesBeforeTheItemsButton) {
    CCFWriter w(false, false);
    ButtonFields b;
    b.name = w.Name("B");
    const std::uint32_t button = w.Button(b);
    FrameFields inner;
    inner.children = {{1, 1, button, 1}};
    FrameFields outer;
    outer.children = {{0, 0, w.Frame(inner), 0}};
    const std::uint32_t outerFrame = w.Frame(outer);
    const std::uint32_t first = w.Panel({{5, 5, 0, 1}});  // a panel without the button comes first
    const std::uint32_t second = w.Panel({{2, 2, outerFrame, 0}, {3, 3, button, 1}});
    w.Link(first, second);
    w.SetChain(2, w.Device({.firstPanel = first}));
    Loaded loaded = Load(w.Bytes());
    const CCFDevice& device = *loaded.file->chains[1];
    const CCFPanel& panel = *device.firstPanel->next;
    CCFButton* nested = panel.items[0]->frame->items[0]->frame->items[0]->button.get();
    ASSERT_NE(nested, nullptr);
    EXPECT_NE(nested, panel.items[1]->button.get());
    EXPECT_EQ(FindCCFButton(device, button), nested);
    EXPECT_EQ(FindCCFButton(device, outerFrame), nullptr);  // frames never match
}

// The only device (in chain 2) of the writer's file: one panel with two buttons running the given lists.
struct TwoButtonDevice {
    std::uint32_t device, first, second;
};
TwoButtonDevice AddTwoButtonDevice(CCFWriter& w, std::uint32_t firstList, std::uint32_t secondList) {
    ButtonFields first, second;
    first.actions = firstList;
    second.actions = secondList;
    TwoButtonDevice made{0, w.Button(first), w.Button(second)};
    made.device = w.Device({.firstPanel = w.Panel({{0, 0, made.first, 1}, {0, 0, made.second, 1}})});
    w.SetChain(2, made.device);
    return made;
}

TEST(CCFRun, AliasesThatLeadBackStopAtTheDepthBound) {
    CCFWriter w(false, false);
    // Button A: [jump, alias B]; button B: [alias A]. Each run of A's list records one jump.
    const std::uint32_t listA = w.ActionList({{3, 0, 0}, {2, 0, 0}});
    const std::uint32_t listB = w.ActionList({{2, 0, 0}});
    const auto [device, buttonA, buttonB] = AddTwoButtonDevice(w, listA, listB);
    w.SetAction(listA, 0, device, 0);
    w.SetAction(listA, 1, device, buttonB);
    w.SetAction(listB, 0, device, buttonA);
    Loaded loaded = Load(w.Bytes());
    RecordingHandler handler(loaded.file.get());
    EXPECT_EQ(handler.RunButtonAlias(device, buttonA), 1u);
    EXPECT_EQ(handler.calls.size(), std::size_t(CCFFileActionHandler::kMaxAliasDepth / 2));
    // The bound is per nesting, not per handler: a second run goes as deep again.
    handler.calls.clear();
    EXPECT_EQ(handler.RunButtonAlias(device, buttonA), 1u);
    EXPECT_EQ(handler.calls.size(), std::size_t(CCFFileActionHandler::kMaxAliasDepth / 2));
}

TEST(CCFRun, AliasesBackToThemselvesEndAfterABoundedNumberOfRunsPerTap) {
    CCFWriter w(false, false);
    // A loop button: a jump (recorded once per run of its list), then five aliases back to itself. A tapped
    // button: three aliases to the loop button.
    const std::uint32_t loop = w.ActionList({{3, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 0, 0}});
    const std::uint32_t tapped = w.ActionList({{2, 0, 0}, {2, 0, 0}, {2, 0, 0}});
    const auto [device, loopButton, tappedButton] = AddTwoButtonDevice(w, loop, tapped);
    w.SetAction(loop, 0, device, 0);
    for (int i = 1; i <= 5; ++i) w.SetAction(loop, i, device, loopButton);
    for (int i = 0; i < 3; ++i) w.SetAction(tapped, i, device, loopButton);
    Loaded loaded = Load(w.Bytes());
    RecordingHandler handler(loaded.file.get());
    constexpr auto kBudget = std::size_t(CCFFileActionHandler::kMaxAliasRuns);

    // An alias run from outside any list is a tap of its own, and each such tap has the whole budget.
    EXPECT_EQ(handler.RunButtonAlias(device, loopButton), 1u);
    EXPECT_EQ(handler.calls.size(), kBudget);
    handler.calls.clear();
    EXPECT_EQ(handler.RunButtonAlias(device, loopButton), 1u);
    EXPECT_EQ(handler.calls.size(), kBudget);

    // A tapped list's three aliases share one budget, not one each; the next tap starts afresh.
    const CCFActionList* tap = FindCCFButton(*loaded.file->chains[1], tappedButton)->actions.get();
    for (int run = 0; run < 2; ++run) {
        handler.calls.clear();
        RunCCFActionList(tap, &handler);
        EXPECT_EQ(handler.calls.size(), kBudget) << "tap " << run;
    }
}

// Replaces the actions' effects for one test: delays and sends are recorded, nothing waits or lights up.
class RecordedEffects {
public:
    RecordedEffects() {
        current_ = this;
        previous_ = SetCCFActionEffects({&Sleep, &Send});
    }
    ~RecordedEffects() {
        SetCCFActionEffects(previous_);
        current_ = nullptr;
    }
    std::vector<std::uint32_t> sleptMs;
    std::vector<std::vector<std::int32_t>> sent;

private:
    static void Sleep(std::uint32_t milliseconds) { current_->sleptMs.push_back(milliseconds); }
    static bool Send(IrCode& code) {
        current_->sent.push_back(Durations(code));
        return true;
    }
    static inline RecordedEffects* current_ = nullptr;
    CCFActionEffects previous_;
};

TEST(CCFRun, DelaysAreCutAt65535Milliseconds) {
    RecordedEffects effects;
    const std::uint32_t delays[] = {0, 500, kCCFMaxDelayMs, kCCFMaxDelayMs + 1, 0xFFFFFFFF};
    for (std::uint32_t ms : delays) {
        CCFDelayAction delay(nullptr, 4, 0, ms);
        EXPECT_EQ(delay.Execute(nullptr), 1u) << ms;
    }
    EXPECT_EQ(effects.sleptMs, (std::vector<std::uint32_t>{0, 500, 65535, 65535, 65535}));
}

TEST(CCFRun, EffectsCarryCodesAndDelaysInListOrder) {
    RecordedEffects effects;
    CCFWriter w(false, false);
    const std::uint32_t codeA = w.IRCode(0, 0, 109, {{16, 8}}, {});
    const std::uint32_t codeB = w.IRCode(0, 0, 40, {{2, 2}}, {});  // a wrapped frequency: period 9 us
    ButtonFields b;
    b.actions = w.ActionList({{1, 0, codeA}, {4, 0, 250}, {1, 0, codeB}, {4, 0, 0x10000}});
    w.SetChain(2, w.Device({.firstPanel = w.Panel({{0, 0, w.Button(b), 1}})}));
    Loaded loaded = Load(w.Bytes());
    RunCCFActionList(loaded.file->chains[1]->firstPanel->items[0]->button->actions.get(), nullptr);
    EXPECT_EQ(effects.sent, (std::vector<std::vector<std::int32_t>>{{416, -208}, {18, -18}}));
    EXPECT_EQ(effects.sleptMs, (std::vector<std::uint32_t>{250, 65535}));
}

}  // namespace
