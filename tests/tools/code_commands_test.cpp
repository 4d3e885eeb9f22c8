// orvanectl import, export and ir decode, run as a user runs them against a test handheld.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

class CodeCommandsTest : public ::testing::Test {
protected:
    orvane_test::ToolRun Orvanectl(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--handheld", home.Directory().string()});
        return orvane_test::RunTool("orvanectl", arguments);
    }
    std::string HostFile(const std::string& name, const std::string& text) const {
        home.WriteFile(u"\\My Documents\\" + std::u16string(name.begin(), name.end()),
                       std::vector<unsigned char>(text.begin(), text.end()));
        return "\\My Documents\\" + name;
    }
    static std::string DevicePath(const std::string& name) {
        return "\\Program Files\\Orvane\\Devices\\" + name + ".kdr";
    }

    orvane_test::TestHome home;
};

constexpr char kTv[] =
    "Power: 900A 006C 0000 0001 04FB 08F7\n"
    "Vol Up: 900A 006C 0000 0001 04FB 02FD\n"
    "Mute: 5000 0073 0000 0001 0000 000D\n";

TEST_F(CodeCommandsTest, ImportedButtonsDecodeAndExportAgain) {
    const auto imported = Orvanectl({"import", HostFile("Den.txt", kTv), "--json"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "{\"codes\":3,\"devices\":[{\"name\":\"Den\",\"buttons\":3}]}\n");

    const auto shown = Orvanectl({"kdr", "show", DevicePath("Den"), "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"commandName\":\"Power\",\"label\":\"LABELPW\""), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"protocol\":{\"protocol\":\"NEC1\",\"device\":4,\"subdevice\":-1,\"function\":8,"
                             "\"toggle\":null,\"frequency_hz\":38462}"),
              std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("\"protocol\":{\"protocol\":\"RC5\",\"device\":0,\"subdevice\":-1,\"function\":13,"
                             "\"toggle\":1"),
              std::string::npos)
        << "the second toggle state of the RC5 button";

    const auto decoded = Orvanectl({"ir", "decode", "--device", "Den", "--button", "CUSTOM$1", "--json"});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    EXPECT_EQ(decoded.out.rfind("{\"protocol\":\"NEC1\",\"device\":4,\"subdevice\":-1,\"function\":2,", 0), 0u)
        << decoded.out;

    const std::string exported = (home.Directory() / "exported.txt").string();
    const auto exportRun = Orvanectl({"export", "Den", "--format", "pronto", "--out", exported});
    ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
    const auto again = Orvanectl({"import", exported, "--name", "Den again"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    const auto decodedAgain = Orvanectl({"ir", "decode", "--device", "Den again", "--button", "CUSTOM$1", "--json"});
    EXPECT_EQ(decodedAgain.out, decoded.out);
}

TEST_F(CodeCommandsTest, BadFilesAndClashesWriteNothing) {
    const auto bad = Orvanectl({"import", HostFile("Bad.txt", "Power: 900A 006C 0000 0001 04FB 08F7\nOops: 0000 1\n")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
    EXPECT_EQ(Orvanectl({"kdr", "show", DevicePath("Bad")}).exitCode, 1) << "no device was made";

    std::string many;
    for (int i = 0; i < 31; ++i) many += "K" + std::to_string(i) + ": 900A 006C 0000 0001 04FB 08F7\n";
    const std::string manyFile = HostFile("Many.txt", many);
    const auto refused = Orvanectl({"import", manyFile});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("31 codes"), std::string::npos) << refused.err;
    EXPECT_EQ(Orvanectl({"import", manyFile, "--split"}).exitCode, 0);
    EXPECT_EQ(Orvanectl({"kdr", "show", DevicePath("Many 2")}).exitCode, 0);
    EXPECT_EQ(Orvanectl({"import", manyFile, "--split"}).exitCode, 1) << "existing devices are not replaced";

    EXPECT_EQ(Orvanectl({"export", "Nowhere", "--format", "pronto"}).exitCode, 1);
    EXPECT_EQ(Orvanectl({"export", "Many 1", "--format", "morse"}).exitCode, 2);
    EXPECT_EQ(Orvanectl({"ir", "decode", "--pronto", "0000 006D"}).exitCode, 1);
}

}  // namespace
