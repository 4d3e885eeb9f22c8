// orvane-install run as a user runs it: on a fresh handheld home, answering the language dialog from its
// options, failing cleanly, and uninstalling.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/run_tool.h"

namespace fs = std::filesystem;

namespace {

const fs::path kPackage = ORVANE_PACKAGE_DIR;
const fs::path kWindowsPackage = fs::path(ORVANE_PACKAGE_DIR).parent_path() / "windows";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OrvaneInstall : public ::testing::Test {
protected:
    orvane_test::ToolRun Install(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--handheld", home_.string()});
        return orvane_test::RunTool("orvane-install", arguments);
    }
    fs::path Program(const std::string& name) const { return home_ / "storage" / "Program Files" / "Orvane" / name; }
    fs::path Windows(const std::string& name) const { return home_ / "storage" / "Windows" / name; }
    std::vector<std::string> Named(const fs::path& folder, const std::string& extension) const {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() == extension) names.push_back(it->path().filename().string());
        }
        return names;
    }
    // A package of the build's layout whose program part holds only what the test puts in.
    fs::path SmallPackage(const std::vector<std::string>& programFiles) {
        const fs::path share = fs::path(scratch_.path().toStdString()) / "share";
        fs::create_directories(share / "package");
        fs::create_directories(share / "windows");
        for (const auto& name : programFiles) std::ofstream(share / "package" / name) << name;
        return share;
    }

    QTemporaryDir scratch_;
    fs::path home_ = fs::path(scratch_.path().toStdString()) / "home";
};

TEST_F(OrvaneInstall, GermanOnAFreshHomeInstallsTheGermanFilesAndOrvanectlReadsThem) {
    const auto run = Install({"--language", "German", "--help-language", "German"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadAll(Program("Orvane.lng")), ReadAll(kPackage / "German.ln1"));
    EXPECT_EQ(ReadAll(Windows("Orvane.htm")), ReadAll(kWindowsPackage / "German.zanthht1"));
    EXPECT_NE(ReadAll(Windows("Orvane.htm")).find("Bearbeitungsmodus"), std::string::npos);
    EXPECT_TRUE(Named(Program(""), ".ln1").empty());
    EXPECT_TRUE(Named(Windows(""), ".zanthht1").empty());
    for (const char* file : {"Orvane.exe", "KRBtnLib.dll", "KRHelpLib.dll", "Orvane.cfg", "Devices/TV.kdr"}) {
        EXPECT_TRUE(fs::is_regular_file(Program(file))) << file;
    }

    const auto shown = orvane_test::RunTool(
        "orvanectl", {"--handheld", home_.string(), "lng", "show", "\\Program Files\\Orvane\\Orvane.lng"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("MNU_ITEM_1\tGeräte verwalten...\n"), std::string::npos) << shown.out;
}

TEST_F(OrvaneInstall, EnglishIsTheDefaultHelpAndCopiesNoHelpFile) {
    const auto run = Install({"--language", "English"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadAll(Program("Orvane.lng")), ReadAll(kPackage / "English.ln1"));
    EXPECT_EQ(ReadAll(Windows("Orvane.htm")), ReadAll(kWindowsPackage / "Orvane.htm"));
    EXPECT_TRUE(Named(Windows(""), ".zanthht1").empty());
    EXPECT_EQ(run.err.find("Pravon:"), std::string::npos) << "no message for the user: " << run.err;
}

TEST_F(OrvaneInstall, ALanguageThePackageLacksStopsBeforeAnythingIsCopied) {
    const auto run = Install({"--language", "Klingon"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no user interface language 'Klingon' (it has: English, German)"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(Program("Orvane.exe")));
    EXPECT_EQ(Install({"--help-language", "German"}).exitCode, 2) << "a help language alone is no answer";
}

TEST_F(OrvaneInstall, APackageWithoutLanguagesEndsTheInstallerWithZeroAfterItsMessage) {
    const fs::path share = SmallPackage({"Orvane.exe"});
    const auto run = Install({"--package", share.string(), "--language", "English"});
    // The helper ends the installer itself, as on the handheld, after telling the user.
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("Pravon: Error!\nCouldn't retrieve languages!\nPlease, reinstall the application or "
                           "contact out technical support!\n"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::exists(Program("Orvane.exe")));
    EXPECT_FALSE(fs::exists(Program("Orvane.lng")));
}

TEST_F(OrvaneInstall, AFailedCopyIsReportedAndLeavesNoProgramBehind) {
    // A folder where the button library should go: the copy fails.
    fs::create_directories(Program("KRBtnLib.dll"));
    const auto run = Install({"--language", "English"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot copy"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Program("Orvane.exe"))) << "the module file comes last";
    EXPECT_FALSE(fs::exists(Program("Orvane.lng")));

    // The programs that make a home see that the program is missing and say so.
    const auto orvanectl = orvane_test::RunTool("orvanectl", {"--handheld", home_.string(), "cfg", "show", "x"});
    EXPECT_EQ(orvanectl.exitCode, 1);
    EXPECT_NE(orvanectl.err.find("cannot install the program"), std::string::npos) << orvanectl.err;
}

TEST_F(OrvaneInstall, UninstallRemovesTheProgramsFilesAndKeepsTheUsers) {
    ASSERT_EQ(Install({"--language", "German", "--help-language", "German"}).exitCode, 0);
    std::ofstream(Program("Devices/Mine.kdr")) << "mine";
    const auto run = Install({"--uninstall"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* file : {"Orvane.exe", "Orvane.lng", "KRBtnLib.dll", "Orvane.cfg", "Devices/TV.kdr"}) {
        EXPECT_FALSE(fs::exists(Program(file))) << file;
    }
    EXPECT_FALSE(fs::exists(Windows("Orvane.htm")));
    EXPECT_EQ(ReadAll(Program("Devices/Mine.kdr")), "mine");

    ASSERT_EQ(Install({"--language", "English"}).exitCode, 0) << "installs again after an uninstall";
    EXPECT_EQ(ReadAll(Program("Orvane.lng")), ReadAll(kPackage / "English.ln1"));
}

TEST_F(OrvaneInstall, OrvanectlOnAFreshHomeInstallsTheProgramInEnglish) {
    const auto run = orvane_test::RunTool(
        "orvanectl", {"--handheld", home_.string(), "kdr", "show", "\\Program Files\\Orvane\\Devices\\TV.kdr"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadAll(Program("Orvane.lng")), ReadAll(kPackage / "English.ln1"));
}

}  // namespace
