// The repeat analysis of a learned code: where the repeat part starts and where the code ends.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "driver/irdriver/ir_driver_generic.h"

namespace {

constexpr int kAll = INT32_MIN;

struct AnalysisCase {
    std::string name;
    std::vector<std::int32_t> durations;
    int countBefore;  // kAll: the size of durations
    int expectedCount;
    int expectedRepeatStart;
};

IrCode Analysed(const AnalysisCase& c) {
    IrCode code{};
    code.carrier = 26;
    for (std::size_t i = 0; i < c.durations.size() && i < 200; ++i) code.durations[i] = c.durations[i];
    code.count = c.countBefore == kAll ? static_cast<int>(c.durations.size()) : c.countBefore;
    code.repeatStart = 77;  // tells "left as it was" from "set"
    AnalyseRepeat(code);
    return code;
}

TEST(RepeatAnalysis, Cases) {
    const std::vector<std::int32_t> frame = {9000, -4500, 560, -560, 560, -1690, 560};
    auto repeated = [&](std::vector<std::int32_t> first, std::vector<std::int32_t> second, std::int32_t gap) {
        first.push_back(gap);
        first.insert(first.end(), second.begin(), second.end());
        first.push_back(gap);
        return first;
    };
    std::vector<std::int32_t> slightlyOff = frame;
    slightlyOff[2] = 672;  // 20 % longer: still the same frame
    std::vector<std::int32_t> tooFarOff = frame;
    tooFarOff[2] = 700;  // 25 % longer
    std::vector<std::int32_t> pauseOff = frame;
    pauseOff[3] = -5000;  // a pause of the first frame is never a mismatch

    std::vector<std::int32_t> withLongTail(200, -1000);
    withLongTail[0] = 560;

    const std::vector<AnalysisCase> cases = {
        {"empty", {}, 0, 0, 77},
        {"no pause at all", {560, 600, 700}, kAll, 3, 77},
        {"longest pause first", {-9000, 560, -560, 560}, kAll, 4, 77},
        {"one frame repeated", repeated(frame, frame, -40000), kAll, 8, 0},
        {"within 20 percent", repeated(frame, slightlyOff, -40000), kAll, 8, 0},
        {"an entry 25 percent off", repeated(frame, tooFarOff, -40000), kAll, 16, 8},
        {"a pause of the first frame differs", repeated(frame, pauseOff, -40000), kAll, 8, 0},
        {"lead-in then repeat frame",
         {9000, -4500, 560, -560, 560, -40000, 9000, -2250, 560, -96000, 9000, -2250, 560, -96000},
         kAll,
         14,
         10},
        {"no second long pause", {9000, -4500, 560, -40000, 560, -560}, kAll, 6, 4},
        {"second pause at 80 percent counts", {560, -1000, 560, -10000, 560, -8001, 560}, kAll, 6, 4},
        {"second pause below 80 percent does not", {560, -1000, 560, -10000, 560, -7999, 560, -500}, kAll, 8, 4},
        {"a pause must be more than 20 percent longer", {560, -1000, 560, -1200, 560}, kAll, 2, 0},
        {"just over 20 percent longer wins", {560, -1000, 560, -1201, 560, -1000, 560}, kAll, 6, 4},
        {"zero burst in the first frame is a mismatch", {0, -500, 560, -40000, 0, -500, 560, -40000}, kAll, 8, 4},
        {"count beyond the buffer", withLongTail, 5000, 3, 2},
        {"negative count", {560, -40000, 560}, -3, -3, 77},
    };
    for (const AnalysisCase& c : cases) {
        const IrCode code = Analysed(c);
        EXPECT_EQ(code.count, c.expectedCount) << c.name;
        EXPECT_EQ(code.repeatStart, c.expectedRepeatStart) << c.name;
    }
}

TEST(RepeatAnalysis, HugePausesDoNotOverflow) {
    AnalysisCase c{"huge", {560, -2000000000, 560, -2100000000, 560, -2000000000}, kAll, 0, 0};
    const IrCode code = Analysed(c);
    // -2.1e9 is less than 20 % longer than -2.0e9: the first stays longest, the second long pause follows one
    // burst later, and that burst matches the first: one frame repeated.
    EXPECT_EQ(code.count, 2);
    EXPECT_EQ(code.repeatStart, 0);
}

}  // namespace
