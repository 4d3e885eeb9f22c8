// A handheld home with an empty device folder, message boxes answered from a script, and helpers that put
// devices into the folder.
#pragma once

#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "tests/support/test_home.h"

namespace dialogs_test {

class DeviceHome {
public:
    DeviceHome();

    const std::u16string& Folder() const { return folder_; }  // ends in a backslash
    std::u16string PathOf(std::u16string_view name) const;
    bool Exists(std::u16string_view handheldPath) const;

    // A standard device file (with one learned code on its first record when withCode).
    void AddDevice(std::u16string_view name, DeviceType type, bool withCode = false) const;
    void AddFile(std::u16string_view fileName, const std::vector<unsigned char>& bytes) const;
    Device Load(std::u16string_view name) const;

    orvane_test::TestHome home{std::filesystem::path("/nonexistent-package")};
    orvane_test::MessageBoxRecorder boxes;

private:
    std::u16string folder_;
};

std::vector<DeviceSettings> Shown(std::initializer_list<const char16_t*> names);
std::vector<std::u16string> NamesOf(const std::vector<DeviceSettings>& settings);

}  // namespace dialogs_test
