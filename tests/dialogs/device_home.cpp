#include "tests/dialogs/device_home.h"

#include <gtest/gtest.h>

#include "app/model/device_creation.h"
#include "handheld/files.h"

namespace dialogs_test {

DeviceHome::DeviceHome() : folder_(DeviceFolder()) {
    const std::u16string withoutSlash = folder_.substr(0, folder_.size() - 1);
    const std::u16string program = withoutSlash.substr(0, withoutSlash.find_last_of(u'\\'));
    handheld::CreateDirectoryW(u"\\Program Files", nullptr);
    handheld::CreateDirectoryW(program.c_str(), nullptr);
    handheld::CreateDirectoryW(withoutSlash.c_str(), nullptr);
}

std::u16string DeviceHome::PathOf(std::u16string_view name) const {
    return folder_ + std::u16string(name) + u".kdr";
}

bool DeviceHome::Exists(std::u16string_view handheldPath) const {
    return handheld::GetFileAttributesW(std::u16string(handheldPath).c_str()) != handheld::INVALID_FILE_ATTRIBUTES;
}

void DeviceHome::AddDevice(std::u16string_view name, DeviceType type, bool withCode) const {
    Device device = MakeStandardDevice(name, type);
    if (withCode) {
        const std::uint8_t samples[] = {1, 2, 3, 4, 5, 6};
        ASSERT_TRUE(device.records.front().SetEntry(0, samples, sizeof samples, 26, 3));
    }
    ASSERT_TRUE(device.Save(false, PathOf(name)));
}

void DeviceHome::AddFile(std::u16string_view fileName, const std::vector<unsigned char>& bytes) const {
    home.WriteFile(folder_ + std::u16string(fileName), bytes);
}

Device DeviceHome::Load(std::u16string_view name) const {
    Device device;
    EXPECT_TRUE(device.Load(PathOf(name), false));
    return device;
}

std::vector<DeviceSettings> Shown(std::initializer_list<const char16_t*> names) {
    std::vector<DeviceSettings> shown;
    for (const char16_t* name : names) {
        DeviceSettings s;
        s.deviceName = name;
        s.backgroundColor = 0x123456;  // not the default, so a replaced entry shows
        shown.push_back(s);
    }
    return shown;
}

std::vector<std::u16string> NamesOf(const std::vector<DeviceSettings>& settings) {
    std::vector<std::u16string> names;
    for (const auto& s : settings) names.push_back(s.deviceName);
    return names;
}

}  // namespace dialogs_test
