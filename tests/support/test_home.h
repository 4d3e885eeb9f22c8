// A fresh handheld home for one test, and a message-box recorder that answers from a script.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "handheld/messagebox.h"
#include "tools/orvane_install/package.h"

namespace orvane_test {

// Creates an empty temporary folder, opens it as the handheld home (so it gets the default registry,
// profile and storage folders), installs the program package into it in English as orvane-install does, and
// removes it again at the end of the test.
class TestHome {
public:
    // A home with the program files of the package the build made.
    TestHome();
    // A home whose program files come from the given folder, without help files (a missing folder: a home
    // without program).
    explicit TestHome(const std::filesystem::path& packageSource);
    explicit TestHome(const orvane_install::Package& package);
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    const std::filesystem::path& Directory() const { return directory_; }
    std::filesystem::path Storage() const { return directory_ / "storage"; }

    // Writes bytes to a handheld path (folders made as needed).
    void WriteFile(std::u16string_view handheldPath, const std::vector<unsigned char>& bytes) const;
    std::vector<unsigned char> ReadFile(std::u16string_view handheldPath) const;

private:
    std::filesystem::path directory_;
};

// Records every message box; answers with the queued answers in order, then IDOK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<handheld::MessageBoxRequest>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    handheld::MessageBoxPresenter previous_;
    std::vector<handheld::MessageBoxRequest> shown_;
    std::deque<int> answers_;
};

// The bytes of a text, for file contents in tests.
inline std::vector<unsigned char> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Folder of the real test files made by other people, or empty when absent.
std::filesystem::path SharedTestData();

}  // namespace orvane_test
