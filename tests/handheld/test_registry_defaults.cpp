// The registry a new home gets: the active drivers the port search walks and the shell's key list.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "handheld/devices.h"
#include "handheld/home.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "tests/support/test_home.h"

namespace {

using namespace handheld;

std::u16string ReadString(HKEY key, const char16_t* name) {
    char16_t buffer[261] = {};
    DWORD size = sizeof(buffer) - sizeof(char16_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return u"";
    }
    return buffer;
}

struct ActiveDriver {
    std::u16string name;
    std::u16string friendlyName;
    bool driverKeyFound = false;
};

// The walk the port search and the port menu make: "Name", then the driver key's "FriendlyName" or,
// failing that, its first subkey's.
std::vector<ActiveDriver> ActiveDrivers() {
    std::vector<ActiveDriver> drivers;
    HKEY active = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_READ, &active) != ERROR_SUCCESS) return drivers;
    for (DWORD index = 0;; ++index) {
        char16_t subkey[260];
        DWORD length = 260;
        if (RegEnumKeyExW(active, index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY entry = nullptr;
        if (RegOpenKeyExW(active, subkey, 0, KEY_READ, &entry) != ERROR_SUCCESS) continue;
        ActiveDriver driver{ReadString(entry, u"Name"), u"", false};
        HKEY driverKey = nullptr;
        const std::u16string path = ReadString(entry, u"Key");
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &driverKey) == ERROR_SUCCESS) {
            driver.driverKeyFound = true;
            driver.friendlyName = ReadString(driverKey, u"FriendlyName");
            if (driver.friendlyName.empty()) {
                char16_t first[260];
                DWORD firstLength = 260;
                HKEY firstKey = nullptr;
                if (RegEnumKeyExW(driverKey, 0, first, &firstLength, nullptr, nullptr, nullptr, nullptr) ==
                        ERROR_SUCCESS &&
                    RegOpenKeyExW(driverKey, first, 0, KEY_READ, &firstKey) == ERROR_SUCCESS) {
                    driver.friendlyName = ReadString(firstKey, u"FriendlyName");
                    RegCloseKey(firstKey);
                }
            }
            RegCloseKey(driverKey);
        }
        RegCloseKey(entry);
        drivers.push_back(driver);
    }
    RegCloseKey(active);
    return drivers;
}

TEST(DefaultRegistry, ReadsWithoutASkippedLine) {
    LoadRegistryText(DefaultRegistryText());
    const RegistryLoadReport report = LastRegistryLoad();
    EXPECT_TRUE(report.headerFound);
    EXPECT_EQ(report.skippedLines, 0);
    EXPECT_GT(report.values, 0);
}

TEST(DefaultRegistry, ActiveDriversOfferEveryCaseThePortSearchHandles) {
    LoadRegistryText(DefaultRegistryText());
    const std::vector<ActiveDriver> drivers = ActiveDrivers();
    ASSERT_EQ(drivers.size(), 5u);
    const struct {
        const char16_t* name;
        const char16_t* friendlyName;
        bool driverKeyFound;
    } expected[] = {
        {u"TCH1:", u"Touch Panel", true},
        {u"COM1:", u"Serial Cable on COM1:", true},
        {u"COM3:", u"Serial Port 3 (RC MODE IRDA)", true},
        {u"COM2:", u"Infrared Port", true},  // only in the driver key's first subkey
        {u"COM5:", u"", false},
    };
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        EXPECT_EQ(drivers[i].name, expected[i].name) << i;
        EXPECT_EQ(drivers[i].friendlyName, expected[i].friendlyName) << i;
        EXPECT_EQ(drivers[i].driverKeyFound, expected[i].driverKeyFound) << i;
    }

    HKEY irComm = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\BuiltIn\\IrCOMM", 0, KEY_READ, &irComm), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(irComm, u"FriendlyName", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND)
        << "the infrared port's name must be found through the first subkey";
    RegCloseKey(irComm);
}

TEST(DefaultRegistry, ShellKeysCarryNamesAndIconsOfTheFormFileCommaIndex) {
    LoadRegistryText(DefaultRegistryText());
    HKEY keys = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Shell\\Keys", 0, KEY_READ, &keys),
              ERROR_SUCCESS);
    DWORD count = 0;
    ASSERT_EQ(RegQueryInfoKeyW(keys, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(count, 5u);
    for (DWORD index = 0; index < count; ++index) {
        char16_t name[260];
        DWORD length = 260;
        ASSERT_EQ(RegEnumKeyExW(keys, index, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(std::stoul(ToUtf8(name), nullptr, 16), 0x40C1u + index);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(keys, name, 0, KEY_READ, &key), ERROR_SUCCESS);
        EXPECT_FALSE(ReadString(key, u"Name").empty()) << ToUtf8(name);
        const std::u16string icon = ReadString(key, u"Icon");
        const std::size_t comma = icon.find(u',');
        ASSERT_NE(comma, std::u16string::npos) << ToUtf8(icon);
        EXPECT_EQ(icon.front(), u'\\') << "a handheld path";
        EXPECT_NO_THROW(std::stoi(ToUtf8(icon.substr(comma + 1)))) << ToUtf8(icon);
        RegCloseKey(key);
    }
    RegCloseKey(keys);
}

TEST(DefaultRegistry, ANewHomeGetsItAndAReloadReadsTheHomesFile) {
    orvane_test::TestHome home;
    const std::filesystem::path file = home.Directory() / "registry.reg";
    ASSERT_TRUE(std::filesystem::exists(file));
    ReloadRegistry();
    EXPECT_EQ(ActiveDrivers().size(), 5u);

    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Drivers\\Active\\07]\r\n\"Name\"=\"COM7:\"\r\n";
    ReloadRegistry();
    const std::vector<ActiveDriver> drivers = ActiveDrivers();
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_EQ(drivers[0].name, u"COM7:");

    std::filesystem::remove(file);
    ReloadRegistry();
    EXPECT_TRUE(ActiveDrivers().empty()) << "a missing file gives an empty registry";
}

}  // namespace
