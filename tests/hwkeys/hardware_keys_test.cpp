#include "app/hwkeys/hardware_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/hotkeys.h"
#include "handheld/registry.h"

namespace {

// Icons from files whose name does not start with "missing" can be extracted; program icons unless refused.
class FakeIcons : public HardwareKeyIcons {
public:
    int AddFileIcon(std::u16string_view file, int index) override {
        if (file.starts_with(u"missing")) return -1;
        added.push_back(std::u16string(file) + u"#" + static_cast<char16_t>(u'0' + index));
        return static_cast<int>(added.size()) - 1;
    }
    int AddProgramIcon(int resourceId) override {
        if (resourceId == refusedIcon) return -1;
        added.push_back(u"program");
        return static_cast<int>(added.size()) - 1;
    }
    std::u16string Text(const char16_t*, const char16_t* defaultText) override { return defaultText; }
    void ShowError(const char16_t* key, const char16_t*) override { errors.push_back(key); }

    std::vector<std::u16string> added;
    std::vector<std::u16string> errors;
    int refusedIcon = 0;
};

constexpr char kTwoKeysRegistry[] = R"reg(Windows Registry Editor Version 5.00
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C3]
"Name"="Third"
"Icon"="\\Windows\\c.exe,2"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C1]
"Name"="First"
"Icon"="\\Windows\\a.exe,0"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C2]
"Name"="No icon"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C4]
"Name"="No comma"
"Icon"="\\Windows\\d.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C5]
"Name"="Unextractable"
"Icon"="missing.exe,0"
)reg";

handheld::HWND Window(int n) {
    return reinterpret_cast<handheld::HWND>(static_cast<std::uintptr_t>(0x1000 * n));
}

std::vector<std::pair<std::uint32_t, std::u16string>> Entries(const HardwareKeyList& list) {
    return {list.keys.begin(), list.keys.end()};
}

ButtonRecord Record(std::u16string command, std::uint16_t key) {
    ButtonRecord record;
    record.name = command;
    record.commandName = std::move(command);
    record.hardwareKey = key;
    return record;
}

class HardwareKeysTest : public ::testing::Test {
protected:
    void SetUp() override { handheld::ClearHotKeys(); }
    void TearDown() override {
        handheld::ClearHotKeys();
        handheld::HideSystemCall(u"UnregisterFunc1", false);
    }
};

TEST_F(HardwareKeysTest, ListFollowsIconOrderLeavesOutBadSubkeysAndEndsWithFixedEntries) {
    handheld::LoadRegistryText(kTwoKeysRegistry);
    FakeIcons icons;
    HardwareKeyList list;
    BuildHardwareKeyList(list, nullptr, Window(1), icons);
    // Subkeys come in registry order; the key value orders them by the icon index they got.
    const std::vector<std::pair<std::uint32_t, std::u16string>> expected = {
        {0xC3, u"Third"},        {0xC1 + 256, u"First"},      {37 + 512, u"Left arrow"},
        {38 + 768, u"Up arrow"}, {39 + 1024, u"Right arrow"}, {40 + 1280, u"Down arrow"},
        {13 + 1536, u"Enter"},
    };
    EXPECT_EQ(Entries(list), expected);
    EXPECT_EQ(icons.added[0], u"\\Windows\\c.exe#2");
    EXPECT_TRUE(icons.errors.empty());
    EXPECT_EQ(list.mainWindow, Window(1));
}

TEST_F(HardwareKeysTest, NoShellKeysGiveAnEmptyListAndAMissingFirstIconIsReported) {
    handheld::LoadRegistryText("Windows Registry Editor Version 5.00\n");
    FakeIcons icons;
    HardwareKeyList list;
    list.keys[5] = u"stale";
    BuildHardwareKeyList(list, nullptr, Window(1), icons);
    EXPECT_TRUE(list.keys.empty());
    EXPECT_TRUE(icons.added.empty());

    handheld::LoadRegistryText(handheld::DefaultRegistryText());
    icons.refusedIcon = 143;
    BuildHardwareKeyList(list, nullptr, Window(1), icons);
    EXPECT_EQ(icons.errors, std::vector<std::u16string>{u"ERR_5"});
    EXPECT_EQ(list.keys.size(), 5u + 4u);  // the five application keys and the other four fixed entries
}

TEST_F(HardwareKeysTest, StartUpTakesKeyFromShellAndRegistersNextDeviceKey) {
    handheld::LoadRegistryText(handheld::DefaultRegistryText());
    FakeIcons icons;
    HardwareKeyList list;
    BuildHardwareKeyList(list, nullptr, Window(1), icons);
    // The shell holds key 193 until the program takes it.
    ASSERT_TRUE(handheld::RegisterHotKey(Window(9), 1, handheld::MOD_WIN, kNextDeviceKey));
    EXPECT_FALSE(handheld::RegisterHotKey(Window(1), 193, handheld::MOD_WIN, kNextDeviceKey));

    Device device;
    RegisterDeviceKeys(list, device, true, false);
    RegisterDeviceKeys(list, device, true, true);
    const auto target = handheld::FindHotKey(kNextDeviceKey);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->owner, Window(1));
    EXPECT_EQ(target->id, 193);

    UnregisterAllKeys(list);
    EXPECT_FALSE(handheld::FindHotKey(kNextDeviceKey).has_value());
}

TEST_F(HardwareKeysTest, WithoutUnregisterFunc1TheShellKeepsTheKey) {
    FakeIcons icons;
    HardwareKeyList list;
    list.mainWindow = Window(1);
    ASSERT_TRUE(handheld::RegisterHotKey(Window(9), 1, handheld::MOD_WIN, kNextDeviceKey));
    handheld::HideSystemCall(u"UnregisterFunc1", true);
    Device device;
    RegisterDeviceKeys(list, device, true, false);
    RegisterDeviceKeys(list, device, true, true);
    EXPECT_EQ(handheld::FindHotKey(kNextDeviceKey)->owner, Window(9));
}

TEST_F(HardwareKeysTest, OpeningAnotherDeviceSwapsItsKeysButNeverArrowsEnterOrTheNextDeviceKey) {
    handheld::LoadRegistryText(handheld::DefaultRegistryText());
    FakeIcons icons;
    HardwareKeyList list;
    BuildHardwareKeyList(list, nullptr, Window(1), icons);
    RegisterDeviceKeys(list, Device{}, true, true);

    Device tv;
    tv.AppendRecord(Record(u"Power", 0xC2));
    tv.AppendRecord(Record(u"Left", 37));
    tv.AppendRecord(Record(u"Ok", 13));
    RegisterDeviceKeys(list, tv, false, false);
    RegisterDeviceKeys(list, tv, false, true);
    EXPECT_EQ(handheld::FindHotKey(0xC2)->id, 0xC2);
    EXPECT_FALSE(handheld::FindHotKey(37).has_value());
    EXPECT_FALSE(handheld::FindHotKey(13).has_value());

    Device player;
    player.AppendRecord(Record(u"Play", 0xC3));
    SwitchDeviceKeys(list, player);
    EXPECT_FALSE(handheld::FindHotKey(0xC2).has_value());
    EXPECT_EQ(handheld::FindHotKey(0xC3)->owner, Window(1));
    EXPECT_EQ(handheld::FindHotKey(kNextDeviceKey)->id, 193);
}

TEST_F(HardwareKeysTest, KeyHeldByTwoCommandsSendsTheFirstInRecordOrder) {
    Device device;
    device.AppendRecord(Record(u"Mute", 0));
    device.AppendRecord(Record(u"Power", 0xC2));
    device.AppendRecord(Record(u"Volume", 0xC2));
    const ButtonRecord* record = RecordOfHardwareKey(device, 0xC2);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->commandName, u"Power");
    EXPECT_EQ(RecordOfHardwareKey(device, 0xC4), nullptr);
}

TEST(HotKeyTable, AnotherWindowsKeyIsRefusedAndAnIdentifierMovesToItsNewKey) {
    handheld::ClearHotKeys();
    EXPECT_TRUE(handheld::RegisterHotKey(Window(1), 7, handheld::MOD_WIN, 0xC1));
    EXPECT_FALSE(handheld::RegisterHotKey(Window(2), 7, handheld::MOD_WIN, 0xC1));
    EXPECT_EQ(handheld::GetLastError(), handheld::ERROR_HOTKEY_ALREADY_REGISTERED);
    EXPECT_TRUE(handheld::RegisterHotKey(Window(1), 7, handheld::MOD_WIN, 0xC4));
    EXPECT_FALSE(handheld::FindHotKey(0xC1).has_value());
    EXPECT_EQ(handheld::FindHotKey(0xC4)->owner, Window(1));
    EXPECT_FALSE(handheld::UnregisterHotKey(Window(2), 7));
    EXPECT_TRUE(handheld::UnregisterHotKey(Window(1), 7));
    EXPECT_FALSE(handheld::FindHotKey(0xC4).has_value());
    EXPECT_EQ(handheld::LoadLibraryW(u"nosuch.dll"), nullptr);
    EXPECT_NE(handheld::GetProcAddressW(handheld::LoadLibraryW(u"COREDLL.DLL"), u"UnregisterFunc1"), nullptr);
}

}  // namespace
