// orvanectl ccf show on generated files of every form, as a user runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ccf/ccf_writer.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

class CcfCommandTest : public ::testing::TestWithParam<std::pair<bool, bool>> {
protected:
    orvane_test::ToolRun Show(const std::vector<std::uint8_t>& bytes, bool json) {
        home.WriteFile(u"\\My Documents\\sample.ccf", std::vector<unsigned char>(bytes.begin(), bytes.end()));
        std::vector<std::string> args{"--handheld", home.Directory().string(), "ccf", "show",
                                      "\\My Documents\\sample.ccf"};
        if (json) args.push_back("--json");
        return orvane_test::RunTool("orvanectl", args);
    }
    orvane_test::TestHome home;
};

TEST_P(CcfCommandTest, ShowsDevicesPanelsItemsAndTheCodesTheLibraryWouldSend) {
    const auto [color, bit17] = GetParam();
    const ccf_test::SampleFile sample = ccf_test::MakeSampleFile(color, bit17);
    const auto run = Show(sample.bytes, true);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& out = run.out;
    const std::uint32_t attr = (color ? 0x100u : 0u) | (bit17 ? 0x20000u : 0u);
    EXPECT_EQ(out.rfind("{\"attr\":" + std::to_string(attr) + ",", 0), 0u) << out.substr(0, 80);
    EXPECT_NE(out.find("\"name\":\"TV\",\"recordOffset\":" + std::to_string(sample.tv)), std::string::npos);
    EXPECT_NE(out.find("\"kind\":\"button\",\"recordOffset\":" + std::to_string(sample.powerButton)),
              std::string::npos);
    EXPECT_NE(out.find("\"kind\":\"frame\""), std::string::npos);
    // The "Power" code (divisor 109, two pairs once, one repeated) converts to a code the driver takes; the
    // unknown format has no code to send.
    EXPECT_NE(out.find("\"ir\":{\"name\":\"Power\",\"format\":0,\"divisor\":109"), std::string::npos) << out;
    EXPECT_NE(out.find("\"irCode\":{\"carrier\":"), std::string::npos);
    EXPECT_NE(out.find("\"irCode\":null"), std::string::npos);
    EXPECT_NE(out.find("{\"type\":4,\"p1\":0,\"p2\":500}"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Forms, CcfCommandTest,
                         ::testing::Values(std::pair{false, false}, std::pair{false, true}, std::pair{true, false},
                                           std::pair{true, true}));

TEST(CcfCommand, RefusesWhatIsNoReadableFile) {
    orvane_test::TestHome home;
    home.WriteFile(u"\\My Documents\\empty.ccf", {});
    for (const char* file : {"\\My Documents\\empty.ccf", "\\My Documents\\missing.ccf"}) {
        const auto run =
            orvane_test::RunTool("orvanectl", {"--handheld", home.Directory().string(), "ccf", "show", file});
        EXPECT_NE(run.exitCode, 0) << file;
        EXPECT_FALSE(run.err.empty()) << file;
    }
}

}  // namespace
