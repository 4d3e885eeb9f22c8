// The desktop's remote: a file of signals played one per learn, bad files refused whole.
#include "handheld/shell/remote_source.h"

#include <fstream>

#include "app/ir/learning.h"
#include "tests/learn/learn_home.h"

namespace learn_test {
namespace {

class RemoteSource : public LearnHome {
protected:
    std::string Write(const std::string& text) {
        const auto path = home.Directory() / "signals.jsonl";
        std::ofstream(path) << text;
        return path.string();
    }
};

TEST_F(RemoteSource, EachLearnTakesTheNextSignalThenHearsNothing) {
    std::string error;
    ASSERT_TRUE(handheld::PointRemote(
        Write(SignalLine({3000, -1000, 500}) + "\n\n" + SignalLine({1500, -800, 700}) + "\r\n"), &error))
        << error;
    EXPECT_EQ(handheld::RemoteSignalsLeft(), 2u);
    IrCode code{};
    ASSERT_TRUE(LearnIrCode(code));
    EXPECT_EQ(code.count, 3);
    EXPECT_NEAR(code.durations[1], -1000, 27);
    ASSERT_TRUE(LearnIrCode(code));
    EXPECT_NEAR(code.durations[1], -800, 27);
    EXPECT_EQ(handheld::RemoteSignalsLeft(), 0u);
    EXPECT_FALSE(LearnIrCode(code)) << "the file is used up: the learn times out";
    EXPECT_EQ(code.count, 0);
}

TEST_F(RemoteSource, BadLineOrMissingFileKeepsTheSignalsPointedBefore) {
    std::string error;
    ASSERT_TRUE(handheld::PointRemote(Write(SignalLine({3000, -1000, 500})), &error));
    EXPECT_FALSE(handheld::PointRemote(Write(SignalLine({3000}) + "\n{\"carrier_hz\":38000}\n"), &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(handheld::PointRemote((home.Directory() / "none.jsonl").string(), &error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
    EXPECT_EQ(handheld::RemoteSignalsLeft(), 1u);
}

}  // namespace
}  // namespace learn_test
