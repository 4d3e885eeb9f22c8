// A handheld with a package copied in as the installer leaves it before the language choice: the program's
// module file and language files in the installation folder, help files in \Windows\.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "handheld/files.h"
#include "tests/support/test_home.h"

namespace setup_test {

inline constexpr std::u16string_view kFolder = u"\\Program Files\\Orvane\\";
inline constexpr std::u16string_view kWindows = u"\\Windows\\";

class InstalledPackage : public ::testing::Test {
protected:
    InstalledPackage() : home_(std::filesystem::path("/nonexistent/orvane-package")) {}

    // The usual package: English and German for the program, German help beside the English one.
    void PutUsualPackage() {
        Put(kFolder, u"Orvane.exe", "program");
        Put(kFolder, u"English.ln1", "english texts");
        Put(kFolder, u"German.ln1", "german texts");
        Put(kWindows, u"Orvane.htm", "english help");
        Put(kWindows, u"German.zanthht1", "german help");
    }
    void Put(std::u16string_view folder, std::u16string_view name, std::string_view bytes) {
        home_.WriteFile(std::u16string(folder) + std::u16string(name), orvane_test::Bytes(bytes));
    }
    std::string Read(std::u16string_view folder, std::u16string_view name) const {
        const auto bytes = home_.ReadFile(std::u16string(folder) + std::u16string(name));
        return std::string(bytes.begin(), bytes.end());
    }
    bool Exists(std::u16string_view folder, std::u16string_view name) const {
        const std::u16string path = std::u16string(folder) + std::u16string(name);
        return handheld::GetFileAttributesW(path.c_str()) != handheld::INVALID_FILE_ATTRIBUTES;
    }

    orvane_test::TestHome home_;
    orvane_test::MessageBoxRecorder boxes_;
};

}  // namespace setup_test
