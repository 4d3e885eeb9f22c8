// The handheld's hardware buttons: the application keys the shell lists in the registry plus the arrows and
// Enter, their assignment to the open device's commands and their registration as hot keys of the main
// window. Key 193 is taken from the shell for the whole run and always switches to the next device.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "app/model/device.h"
#include "handheld/types.h"

inline constexpr std::uint32_t kNextDeviceKey = 193;
// Codes up to this one (the arrows 37-40 and Enter 13) reach the panel as key presses, never as hot keys.
inline constexpr std::uint32_t kHighestPlainKey = 40;
inline constexpr std::uint32_t kFirstProgramIconId = 143;  // 143-147: left, up, right, down, Enter

// What the key list needs from the window side: an image list to add small icons to, the language table
// for the fixed entries' names, and an error box.
class HardwareKeyIcons {
public:
    virtual ~HardwareKeyIcons() = default;
    // Extracts the small icon of file at index and appends it; its image index, or -1 when there is none.
    virtual int AddFileIcon(std::u16string_view file, int index) = 0;
    // Appends the program's own icon resource; its image index, or -1 when it can't be loaded.
    virtual int AddProgramIcon(int resourceId) = 0;
    virtual std::u16string Text(const char16_t* key, const char16_t* defaultText) = 0;
    virtual void ShowError(const char16_t* key, const char16_t* defaultText) = 0;
};

struct HardwareKeyList {
    const void* module = nullptr;
    handheld::HWND mainWindow = nullptr;  // owner of every hot key
    // Key value = virtual-key code + 256 x image index; iteration follows the order the icons were added.
    std::map<std::uint32_t, std::u16string> keys;

    static std::uint32_t CodeOf(std::uint32_t keyValue) { return keyValue & 0xFF; }
    static int ImageOf(std::uint32_t keyValue) { return static_cast<int>(keyValue >> 8); }
};

// Fills keys from "SOFTWARE\Microsoft\Shell\Keys" and the five fixed entries. Without the registry key the
// list stays empty.
void BuildHardwareKeyList(HardwareKeyList& list, const void* module, handheld::HWND mainWindow,
                          HardwareKeyIcons& icons);

// The hot-key switch: onlyNextDeviceKey with register false takes key 193 from the shell, with register true
// registers it; for all keys, register false unregisters every listed key above 40 but 193, register true
// registers every key above 40 that a record of the device holds.
void RegisterDeviceKeys(const HardwareKeyList& list, const Device& device, bool onlyNextDeviceKey, bool doRegister);
// Opening a device: the previous device's keys are given up before the new device's keys are taken.
void SwitchDeviceKeys(const HardwareKeyList& list, const Device& opened);
// At shutdown: every listed key above 40, 193 included.
void UnregisterAllKeys(const HardwareKeyList& list);

// Registers or unregisters one assigned key at once (the dialog's "Set"); keys up to 40 are left alone.
void RegisterAssignedKey(const HardwareKeyList& list, std::uint32_t code, bool doRegister);

// The record a press of the key sends: the first in record order whose hardwareKey is the code.
const ButtonRecord* RecordOfHardwareKey(const Device& device, std::uint32_t code);
ButtonRecord* RecordOfHardwareKey(Device& device, std::uint32_t code);
