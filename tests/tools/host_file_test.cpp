// The host-file writer of the tools and generators: a file is replaced whole or left as it was.
#include "tools/host_file/host_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

namespace fs = std::filesystem;

class HostFile : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "host-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Everything in the folder, so a temporary left behind shows.
    std::vector<std::string> Entries(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir_;
};

// Writes beyond `limitBytes` fail as on a full disk (the process's file-size limit, which also binds root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limitBytes) {
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = limitBytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};

TEST_F(HostFile, WritesANewFileAndItsFoldersWithNothingElseBeside) {
    const fs::path target = dir_ / "out" / "sub" / "a.bin";
    std::string error;
    const std::string bytes("one\0two", 7);
    ASSERT_TRUE(host_file::WriteAtomically(target, bytes, error)) << error;
    EXPECT_EQ(Read(target), bytes);
    EXPECT_EQ(Entries(target.parent_path()), std::vector<std::string>{"a.bin"});
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0666 & ~mask));
}

TEST_F(HostFile, ReplacesAnOldFileWholeAndKeepsItsPermissions) {
    const fs::path target = dir_ / "a.txt";
    std::string error;
    ASSERT_TRUE(host_file::WriteAtomically(target, std::string(5000, 'x'), error)) << error;
    fs::permissions(target, fs::perms(0640));
    ASSERT_TRUE(host_file::WriteAtomically(target, "short", error)) << error;
    EXPECT_EQ(Read(target), "short");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"a.txt"});
}

TEST_F(HostFile, AWriteThatFailsPartwayLeavesTheOldFileAndNoTemporary) {
    const fs::path target = dir_ / "device.kdr";
    const std::string old = "the old contents";
    std::string error;
    ASSERT_TRUE(host_file::WriteAtomically(target, old, error)) << error;
    {
        FileSizeLimit full(64);
        EXPECT_FALSE(host_file::WriteAtomically(target, std::string(4096, 'n'), error));
    }
    EXPECT_NE(error.find("cannot write " + target.string()), std::string::npos) << error;
    EXPECT_EQ(Read(target), old);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"device.kdr"});
}

TEST_F(HostFile, ATargetThatCannotBeReplacedIsReportedAndLeftAlone) {
    const fs::path target = dir_ / "folder";
    fs::create_directories(target / "inside");
    std::string error;
    EXPECT_FALSE(host_file::WriteAtomically(target, "bytes", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"folder"});

    // A folder that cannot be made, because a file stands where it would go.
    ASSERT_TRUE(host_file::WriteAtomically(dir_ / "plain", "x", error)) << error;
    EXPECT_FALSE(host_file::WriteAtomically(dir_ / "plain" / "a.bin", "bytes", error));
    EXPECT_EQ(Read(dir_ / "plain"), "x");
}

TEST_F(HostFile, CopiesWholeAndReportsAMissingSource) {
    const fs::path source = dir_ / "source.bin";
    const fs::path target = dir_ / "pkg" / "copy.bin";
    std::string error;
    ASSERT_TRUE(host_file::WriteAtomically(source, std::string(70000, 'c'), error)) << error;
    ASSERT_TRUE(host_file::CopyAtomically(source, target, error)) << error;
    EXPECT_EQ(Read(target), std::string(70000, 'c'));

    EXPECT_FALSE(host_file::CopyAtomically(dir_ / "missing.bin", target, error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
    EXPECT_EQ(Read(target), std::string(70000, 'c'));
}

// The tools go through it: a rewrite that cannot be written keeps the old device file and says so.
TEST_F(HostFile, OrvanectlKeepsTheOldFileWhenARewriteFails) {
    const orvane_test::TestHome home;
    const std::string homeDir = home.Directory().string();
    const orvane_test::ToolRun created =
        orvane_test::RunTool("orvanectl", {"--handheld", homeDir, "kdr", "create", "Test Amp", "receiver"});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    const std::string device = "\\Program Files\\Orvane\\Devices\\Test Amp.kdr";
    const fs::path out = dir_ / "TV.kdr";
    const orvane_test::ToolRun rewritten =
        orvane_test::RunTool("orvanectl", {"--handheld", homeDir, "kdr", "rewrite", device, out.string()});
    ASSERT_EQ(rewritten.exitCode, 0) << rewritten.err;
    const std::string good = Read(out);
    ASSERT_FALSE(good.empty());

    // The limit passes to the tool: its write fails partway, as on a full disk.
    orvane_test::ToolRun failed;
    {
        FileSizeLimit full(64);
        failed = orvane_test::RunTool("orvanectl", {"--handheld", homeDir, "kdr", "rewrite", device, out.string()});
    }
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("cannot write " + out.string()), std::string::npos) << failed.err;
    EXPECT_EQ(Read(out), good);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"TV.kdr"});
}

}  // namespace
