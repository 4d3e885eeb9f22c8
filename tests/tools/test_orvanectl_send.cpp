// orvanectl send, run as a user runs it, against a device stored in a test handheld.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/model/device.h"
#include "app/shell/language_table.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

class OrvanectlSendTest : public ::testing::Test {
protected:
    void SetUp() override {
        Device device;
        device.name = u"Amp";
        device.deviceType = DT_CUSTOM;
        ButtonRecord record;
        record.name = u"PW";
        const std::uint8_t burst520[] = {0x08, 0x02, 0, 0};  // one burst of 520 us
        ASSERT_TRUE(record.SetEntry(0, burst520, sizeof burst520, 26, 0));
        device.records.push_back(record);
        ASSERT_TRUE(device.Save(true, GetProgramFolder() + u"\\Devices\\Amp.kdr"));
    }
    orvane_test::ToolRun Orvanectl(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--handheld", home.Directory().string()});
        return orvane_test::RunTool("orvanectl", arguments);
    }

    orvane_test::TestHome home;
};

TEST_F(OrvanectlSendTest, PrintsSleepsSendsWithTheirPassesAndTheLedInOrder) {
    const orvane_test::ToolRun run = Orvanectl({"send", "--json", "--hold", "2", "Amp", "PW", "PW"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& out = run.out;
    ASSERT_EQ(out.rfind("{\"events\":[{\"sleep_ms\":50},{\"send\":{\"passes\":[", 0), 0u) << out;
    // First tap: entry 0, three passes and two held ones; second tap: entry 1 is absent, nothing emitted.
    EXPECT_EQ(Occurrences(out, "\"cycles\":[21]"), 5u) << out;
    EXPECT_EQ(Occurrences(out, "{\"sleep_ms\":50}"), 2u);
    EXPECT_EQ(Occurrences(out, "{\"led\":{\"index\":0,\"state\":\"off\"}}"), 2u);
}

TEST_F(OrvanectlSendTest, RefusesAMissingDeviceAndBadArguments) {
    EXPECT_EQ(Orvanectl({"send", "Nothing", "PW"}).exitCode, 1);
    EXPECT_EQ(Orvanectl({"send", "Amp"}).exitCode, 2);
    EXPECT_EQ(Orvanectl({"send", "--hold", "-1", "Amp", "PW"}).exitCode, 2);
}

}  // namespace
