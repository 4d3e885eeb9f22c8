#include "tests/support/test_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "handheld/home.h"
#include "handheld/profile.h"
#include "setup/core/language_installation.h"
#include "tools/host_file/host_file.h"
#include "tools/orvane_install/package.h"

namespace orvane_test {

// Only the program files: the tests find \Windows\ as empty as a new handheld has it.
TestHome::TestHome() : TestHome(std::filesystem::path(ORVANE_PACKAGE_DIR)) {}

TestHome::TestHome(const std::filesystem::path& packageSource) : TestHome(orvane_install::Package{packageSource, {}}) {}

TestHome::TestHome(const orvane_install::Package& package) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    directory_ = pattern;
    std::filesystem::remove(directory_);  // a missing home is created with its defaults
    // A fresh home brings its own profile: an override left by an earlier test in this process goes.
    handheld::ResetProfile();
    std::string reason;
    if (!handheld::OpenHome(directory_, &reason)) {
        ADD_FAILURE() << "cannot open test home: " << reason;
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(package.programFiles, ec)) return;
    // Installed as orvane-install does it, the language chosen as its English default.
    if (!orvane_install::CopyPackage(package, &reason)) ADD_FAILURE() << "cannot install the package: " << reason;
    pravon::LanguageInstallation language(orvane_install::kInstallFolder);
    if (!language.FindOffer()) language.Install(pravon::kEnglish, pravon::kEnglish);
}

TestHome::~TestHome() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void TestHome::WriteFile(std::u16string_view handheldPath, const std::vector<unsigned char>& bytes) const {
    const auto host = handheld::HostPath(handheldPath);
    ASSERT_TRUE(host.has_value());
    std::string error;
    EXPECT_TRUE(host_file::WriteAtomically(*host, bytes, error)) << error;
}

std::vector<unsigned char> TestHome::ReadFile(std::u16string_view handheldPath) const {
    const auto host = handheld::HostPath(handheldPath);
    if (!host) return {};
    std::ifstream in(*host, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

MessageBoxRecorder::MessageBoxRecorder() {
    previous_ = handheld::SetMessageBoxPresenter([this](const handheld::MessageBoxRequest& request) {
        shown_.push_back(request);
        if (answers_.empty()) return handheld::IDOK;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    handheld::SetMessageBoxPresenter(previous_);
}

std::filesystem::path SharedTestData() {
    const std::filesystem::path candidate = std::filesystem::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata";
    std::error_code ec;
    if (std::filesystem::is_directory(candidate, ec)) return std::filesystem::canonical(candidate, ec);
    return {};
}

}  // namespace orvane_test
