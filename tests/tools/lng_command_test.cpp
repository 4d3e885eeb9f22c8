// orvanectl lng show, run as a translator would: on a host file and on a handheld path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/run_tool.h"

namespace {

namespace fs = std::filesystem;

std::string Utf16File(const std::string& ascii, bool withMark = true) {
    std::string bytes = withMark ? std::string("\xFF\xFE") : std::string();
    for (const char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

class LngCommand : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvane-lng-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    int Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--handheld", (dir_ / "home").string()});
        const orvane_test::ToolRun run = orvane_test::RunTool("orvanectl", arguments);
        out_ = run.out;
        err_ = run.err;
        return run.exitCode;
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
    std::string out_;
    std::string err_;
};

TEST_F(LngCommand, PrintsEntriesInFileOrderAsJson) {
    const fs::path file =
        Write("t.lng", Utf16File("// note\r\nERR_4 Can't load / note\r\nK say \"hi\"  \r\nERR_4 second\r\nLONELY"));
    ASSERT_EQ(Run({"lng", "show", file.string(), "--json"}), 0) << err_;
    EXPECT_EQ(out_,
              "{\"entries\":[{\"key\":\"ERR_4\",\"value\":\"Can't load\"},{\"key\":\"K\",\"value\":\"say \\\"hi\\\"\"},"
              "{\"key\":\"ERR_4\",\"value\":\"second\"}]}\n");
}

TEST_F(LngCommand, PrintsKeyTabValueLines) {
    const fs::path file = Write("t.lng", Utf16File("A 1\r\n\tB\ttwo words\r\n"));
    ASSERT_EQ(Run({"lng", "show", file.string()}), 0) << err_;
    EXPECT_EQ(out_, "A\t1\nB\ttwo words\n");
}

TEST_F(LngCommand, ReadsAHandheldPath) {
    ASSERT_EQ(Run({"lng", "show", "/no/such/file"}), 1);  // creates the home
    std::ofstream(dir_ / "home" / "storage" / "Test.lng", std::ios::binary) << Utf16File("HB_UP Up arrow\r\n");
    ASSERT_EQ(Run({"lng", "show", "\\TEST.LNG", "--json"}), 0) << err_;
    EXPECT_EQ(out_, "{\"entries\":[{\"key\":\"HB_UP\",\"value\":\"Up arrow\"}]}\n");
}

TEST_F(LngCommand, FailsOnUnmarkedMissingOrBadUse) {
    const fs::path unmarked = Write("u.lng", Utf16File("A 1\r\n", false));
    EXPECT_EQ(Run({"lng", "show", unmarked.string(), "--json"}), 1);
    EXPECT_EQ(out_, "{\"entries\":[]}\n");
    EXPECT_NE(err_.find("byte-order mark"), std::string::npos) << err_;

    EXPECT_EQ(Run({"lng", "show", (dir_ / "missing.lng").string()}), 1);
    EXPECT_NE(err_.find("cannot read"), std::string::npos) << err_;
    EXPECT_EQ(Run({"lng", "show", dir_.string()}), 1) << "a folder is not a language file";

    EXPECT_EQ(Run({"lng", "list", "x"}), 2);
    EXPECT_EQ(Run({"lng", "show"}), 2);
    EXPECT_NE(err_.find("usage: orvanectl lng show FILE [--json]"), std::string::npos) << err_;
}

}  // namespace
