// The learn button's steps and what a learned code, a pause or a copied command leaves in the work command
// set, including the stores that would make a command that could never be sent or saved.
#include "app/ir/learning.h"

#include <gtest/gtest.h>

#include "app/model/device_file.h"

namespace {

IrCode Code(int periodUs, std::initializer_list<std::int32_t> durations, int repeatStart) {
    IrCode code{};
    code.carrier = periodUs;
    for (std::int32_t d : durations) code.durations[code.count++] = d;
    code.repeatStart = repeatStart;
    return code;
}

struct Entry {
    std::vector<std::uint8_t> samples;
    std::uint8_t high = 0, low = 0;
};
Entry EntryOf(const ButtonRecord& record, int index) {
    const std::uint8_t* samples = nullptr;
    std::size_t bytes = 0;
    Entry entry;
    EXPECT_TRUE(record.commands.contains(index)) << index;
    record.GetEntry(index, samples, bytes, entry.high, entry.low);
    if (samples != nullptr) entry.samples.assign(samples, samples + bytes);
    return entry;
}

TEST(LearnSteps, OpeningStateFollowsTheEntryCount) {
    EXPECT_EQ(LearnStateFor(0).nextStep, 0);
    EXPECT_TRUE(LearnStateFor(0).enabled);
    EXPECT_EQ(LearnStateFor(1).nextStep, 1);
    EXPECT_TRUE(LearnStateFor(1).enabled);
    EXPECT_FALSE(LearnStateFor(1).macros);
    EXPECT_EQ(LearnStateFor(2).nextStep, kAllLearned);
    EXPECT_FALSE(LearnStateFor(2).enabled);
    EXPECT_FALSE(LearnStateFor(2).macros);
    EXPECT_EQ(LearnStateFor(5).nextStep, kAllLearned);
    EXPECT_TRUE(LearnStateFor(5).macros);
}

TEST(LearnSteps, AlternatesEndAfterTwoMacrosNever) {
    EXPECT_EQ(EntryIndexOfStep(0, false), 0);
    EXPECT_EQ(EntryIndexOfStep(1, false), 1);
    EXPECT_EQ(EntryIndexOfStep(0, true), 2);
    EXPECT_EQ(EntryIndexOfStep(7, true), 9);
    EXPECT_EQ(StepAfter(0, false), 1);
    EXPECT_EQ(StepAfter(1, false), kAllLearned);
    EXPECT_EQ(StepAfter(1, true), 2);
    EXPECT_EQ(StepAfter(40, true), 41);
}

TEST(StoreLearned, DurationsCarrierAndRepeatStartAsTheSenderReadsThem) {
    ButtonRecord work;
    ASSERT_EQ(StoreLearnedCode(work, 1, Code(26, {9000, -4500, 560, -70000}, 2)), StoreResult::Stored);
    const Entry entry = EntryOf(work, 1);
    EXPECT_EQ(entry.high, 26);
    EXPECT_EQ(entry.low, 2);
    ASSERT_EQ(entry.samples.size(), 16u);
    EXPECT_EQ(entry.samples[0], 9000 & 0xFF);
    EXPECT_EQ(entry.samples[1], 9000 >> 8);
    // -4500 as a little-endian two's complement word
    EXPECT_EQ(entry.samples[4], 0x6C);
    EXPECT_EQ(entry.samples[7], 0xFF);
    EXPECT_EQ(work.EntryCount(), 1u);
}

TEST(StoreLearned, MacroStepEmptiesTheAlternatesOnlyWhenStored) {
    ButtonRecord work;
    ASSERT_EQ(StoreLearnedCode(work, 0, Code(26, {500, -500, 500}, 0)), StoreResult::Stored);
    ASSERT_EQ(StoreLearnedCode(work, 1, Code(26, {600, -600, 600}, 0)), StoreResult::Stored);

    // Refused: the record stays exactly as it was, its single command included.
    work.commandName.assign(device_file::kMaxRecordBytes / 2, u'x');
    EXPECT_EQ(StoreLearnedCode(work, 2, Code(26, {700, -700, 700}, 0)), StoreResult::TooLarge);
    EXPECT_EQ(EntryOf(work, 0).samples.size(), 12u);
    EXPECT_EQ(work.EntryCount(), 2u);

    work.commandName = u"Power";
    ASSERT_EQ(StorePause(work, 2, 1500), StoreResult::Stored);
    for (int index : {0, 1}) {
        const Entry empty = EntryOf(work, index);
        EXPECT_TRUE(empty.samples.empty());
        EXPECT_EQ(empty.high, 0);
        EXPECT_EQ(empty.low, 0);
    }
    const Entry pause = EntryOf(work, 2);
    EXPECT_TRUE(pause.samples.empty());
    EXPECT_EQ(pause.high, 5);
    EXPECT_EQ(pause.low, 220);
}

TEST(StoreLearned, NoMoreMacroStepsThanTheSenderPlays) {
    ButtonRecord work;
    for (int step = 0; step < static_cast<int>(kMaxMacroSteps); ++step) {
        ASSERT_EQ(StorePause(work, kFirstMacroIndex + step, 100), StoreResult::Stored) << step;
    }
    EXPECT_EQ(StorePause(work, kFirstMacroIndex + static_cast<int>(kMaxMacroSteps), 100), StoreResult::TooLarge);
    EXPECT_EQ(StoreLearnedCode(work, 500, Code(26, {500}, 0)), StoreResult::TooLarge);
    // Replacing a step keeps the count and is allowed.
    EXPECT_EQ(StorePause(work, kFirstMacroIndex + 5, 200), StoreResult::Stored);
    EXPECT_EQ(work.EntryCount(), kMaxMacroSteps + 2);
}

TEST(StoreLearned, RecordThatTheFileCannotHoldIsRefused) {
    ButtonRecord work;
    std::initializer_list<std::int32_t> none{};
    IrCode full = Code(26, none, 0);
    for (int i = 0; i < kIrCodeMaxDurations; ++i) full.durations[full.count++] = i % 2 == 0 ? 500 : -500;
    int stored = 0;
    while (StoreLearnedCode(work, kFirstMacroIndex + stored, full) == StoreResult::Stored) ++stored;
    // 804 bytes an entry: 40 fit beside the fixed part, the 41st would pass 32767.
    EXPECT_EQ(stored, 40);
    EXPECT_LE(device_file::RecordSize(work), device_file::kMaxRecordBytes);
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(device_file::EncodeRecord(work, bytes));
}

TEST(CopyEntries, OverwritesSameIndicesKeepsHigherAndPausesStayPauses) {
    ButtonRecord work;
    for (int index : {0, 1, 2, 3, 4}) ASSERT_EQ(StorePause(work, index, 100 + index), StoreResult::Stored);
    ButtonRecord source;
    ASSERT_EQ(StoreLearnedCode(source, 0, Code(27, {800, -800, 800}, 1)), StoreResult::Stored);
    ASSERT_EQ(StorePause(source, 1, 300), StoreResult::Stored);
    ASSERT_EQ(CopyEntries(source, work), StoreResult::Stored);
    EXPECT_EQ(EntryOf(work, 0).high, 27);
    EXPECT_EQ(EntryOf(work, 0).samples.size(), 12u);
    EXPECT_EQ(EntryOf(work, 1).low, 300 & 0xFF);
    EXPECT_EQ(EntryOf(work, 1).high, 300 >> 8);
    EXPECT_EQ(EntryOf(work, 4).low, 104);
    EXPECT_EQ(work.EntryCount(), 5u);
}

TEST(CopyEntries, CopyPastTheMacroLimitChangesNothing) {
    ButtonRecord work;
    ASSERT_EQ(StorePause(work, 0, 77), StoreResult::Stored);
    ButtonRecord source;
    for (int index = 0; index < static_cast<int>(kMaxMacroSteps) + 3; ++index) {
        ASSERT_TRUE(source.SetEntry(index, nullptr, 0, 0, 10));
    }
    EXPECT_EQ(CopyEntries(source, work), StoreResult::TooLarge);
    EXPECT_EQ(work.EntryCount(), 1u);
    EXPECT_EQ(EntryOf(work, 0).low, 77);
}

}  // namespace
