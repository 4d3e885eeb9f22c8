// orvanectl kdr and cfg, run as a user runs them against a test handheld.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "app/shell/language_table.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

class ModelCommandsTest : public ::testing::Test {
protected:
    orvane_test::ToolRun Orvanectl(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--handheld", home.Directory().string()});
        return orvane_test::RunTool("orvanectl", arguments);
    }
    static std::string DevicePath(const std::string& name) {
        return "\\Program Files\\Orvane\\Devices\\" + name + ".kdr";
    }

    orvane_test::TestHome home;
};

TEST_F(ModelCommandsTest, CreatedReceiverShowsItsTemplateRecordsAsJson) {
    ASSERT_EQ(Orvanectl({"kdr", "create", "Den TV", "receiver"}).exitCode, 0);
    const auto shown = Orvanectl({"kdr", "show", DevicePath("Den TV"), "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out.rfind("{\"formatVersion\":1,\"deviceType\":0,\"name\":\"Den TV\",\"records\":[", 0), 0u)
        << shown.out;
    EXPECT_NE(shown.out.find("{\"name\":\"CH1\",\"commandName\":\"\",\"label\":\"LABEL1\",\"reserved\":65535,"
                             "\"skin\":\"CHANAL\""),
              std::string::npos);
    EXPECT_NE(shown.out.find("\"name\":\"FUNC12\""), std::string::npos) << "the function panel comes along";

    EXPECT_EQ(Orvanectl({"kdr", "create", "Den TV", "player"}).exitCode, 1) << "an existing device is not replaced";
    EXPECT_EQ(Orvanectl({"kdr", "create", "Den TV", "toaster"}).exitCode, 2);
}

TEST_F(ModelCommandsTest, RewriteKeepsTheRecordsBeforeTheDamage) {
    Device device;
    device.name = u"Amp";
    device.deviceType = DT_CUSTOM;
    for (const char16_t* name : {u"A", u"B", u"C"}) {
        ButtonRecord record;
        record.name = name;
        const std::uint8_t samples[] = {0x10, 0x02, 0, 0};
        ASSERT_TRUE(record.SetEntry(0, samples, sizeof samples, 26, 0));
        device.records.push_back(record);
    }
    const std::u16string path = GetProgramFolder() + u"\\Devices\\Amp.kdr";
    ASSERT_TRUE(device.Save(true, path));
    auto bytes = home.ReadFile(path);
    bytes.resize(bytes.size() - 3);  // the third record is cut short
    home.WriteFile(path, bytes);

    const auto rewrite = Orvanectl({"kdr", "rewrite", DevicePath("Amp"), "\\My Documents\\Amp.kdr"});
    ASSERT_EQ(rewrite.exitCode, 0) << rewrite.err;
    const auto shown = Orvanectl({"kdr", "show", "\\My Documents\\Amp.kdr", "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"name\":\"B\""), std::string::npos);
    EXPECT_EQ(shown.out.find("\"name\":\"C\""), std::string::npos);
    EXPECT_NE(shown.out.find("\"entries\":[{\"index\":0,\"codeInfo\":6656,\"samples\":[528],"
                             "\"protocol\":{\"protocol\":\"unknown\""),
              std::string::npos)
        << shown.out;
}

TEST_F(ModelCommandsTest, ShowReportsAFileThatIsNoDeviceOnStandardError) {
    home.WriteFile(u"\\My Documents\\notes.kdr", std::vector<unsigned char>(60, 'x'));
    const auto shown = Orvanectl({"kdr", "show", "\\My Documents\\notes.kdr"});
    EXPECT_NE(shown.exitCode, 0);
    EXPECT_NE(shown.err.find("Error: This file don't content KR device"), std::string::npos) << shown.err;
}

TEST_F(ModelCommandsTest, ConfigurationShowsAsJson) {
    ApplicationSettings settings;
    settings.currentDevice = u"TV";
    DeviceSettings tv;
    tv.deviceName = u"TV";
    tv.flags = DeviceSettings::kButtonSounds;
    tv.buttonSound = u"\\Windows\\click.wav";
    settings.shownDevices.push_back(tv);
    settings.portName = u"COM3:";
    ASSERT_TRUE(WriteConfiguration(u"\\My Documents\\test.cfg", settings));

    const auto shown = Orvanectl({"cfg", "show", "\\My Documents\\test.cfg", "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "{\"optionFlags\":5,\"currentDevice\":\"TV\",\"shownDevices\":[{\"flags\":4,\"deviceName\":\"TV\","
              "\"backgroundPicture\":\"\",\"buttonSound\":\"\\\\Windows\\\\click.wav\",\"backgroundColor\":13158600}],"
              "\"portName\":\"COM3:\",\"buttonRotation\":0}\n");
}

}  // namespace
