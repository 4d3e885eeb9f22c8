// The device library: every device is a file in the device folder, known by its file name without
// extension. The shown devices (an ordered list with display settings) and the current device name are kept
// consistent with the folder here; next and previous device walk the shown list.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "app/model/problem.h"
#include "handheld/types.h"

// Receives the display kind after a device was opened: 1 a CCF file is shown, 0 an own device.
using MenuStateCallback = void (*)(int displayKind);

// Opening a device by name (with the window that would hold a CCF view) is done by the panel code; the
// library reaches it through this one replaceable entry point. Returns the previous opener.
using DeviceOpener = std::function<bool(handheld::HWND ccfParent, std::u16string_view name, MenuStateCallback)>;
DeviceOpener SetDeviceOpener(DeviceOpener opener);
// Opens through the installed opener; false when none is installed.
bool OpenDeviceByName(handheld::HWND ccfParent, std::u16string_view name, MenuStateCallback callback);

struct DeviceScan {
    bool folderFound = false;
    std::vector<DeviceSettings> available;  // in the order the folder lists them: ".kdr" files, then ".ccf"
    Problems problems;                      // what the damaged headers' readers said, in folder order
};

// Lists the folder's devices (a damaged device header is left out, its problem kept for the caller to show), drops
// shown devices whose file is gone and settles the current name.
DeviceScan ScanDeviceFolder(std::u16string_view folder, std::vector<DeviceSettings>& shownDevices,
                            std::u16string& currentDevice);

// The current name stays when it is shown; else it becomes the first shown device's name, or empty.
void SettleCurrentDevice(const std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice);

struct ListedDevice {
    std::u16string name;
    bool ticked = false;
};
// Takes the manager's ticks into the shown list: unticked rows leave it, newly ticked ones are appended with
// default settings; then the current name is settled.
void ApplyShownDevices(std::span<const ListedDevice> rows, std::vector<DeviceSettings>& shownDevices,
                       std::u16string& currentDevice);

// The following (previous) shown device becomes current and is opened; at the end (start) of the list, or
// when the current name is not shown, nothing happens and false is returned. No wrap-around.
bool NextDevice(handheld::HWND ccfParent, MenuStateCallback callback, const std::vector<DeviceSettings>& shownDevices,
                std::u16string& currentDevice);
bool PreviousDevice(handheld::HWND ccfParent, MenuStateCallback callback,
                    const std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice);

// Device names the user types: a file name in the device folder, nothing else.
enum class DeviceNameCheck { Valid, Empty, ForbiddenCharacter, PathTooLong };
inline constexpr std::size_t kMaxDevicePathChars = 259;
// The header of a device file holds this many characters of its name.
inline constexpr std::size_t kMaxHeaderNameChars = Device::kMaxNameBytes / sizeof(char16_t);
DeviceNameCheck CheckDeviceName(std::u16string_view folder, std::u16string_view name);

// folder + name + ".kdr"; folder ends in a backslash.
std::u16string DeviceFilePath(std::u16string_view folder, std::u16string_view name);

enum class RenameResult { Renamed, Unchanged, NameRefused, MoveFailed };
// Moves the device's file to the new name; only when that worked do the shown entry, the current name and
// the open device's path follow it. Nothing changes otherwise.
RenameResult RenameDevice(std::u16string_view folder, std::u16string_view oldName, std::u16string_view newName,
                          std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice, Device& openDevice);

// Deletes the device's file first; only when that worked does its shown entry go and the open device forget
// the path (so no later save writes the file again). False when the file could not be deleted.
bool DeleteDevice(std::u16string_view folder, std::u16string_view name, std::vector<DeviceSettings>& shownDevices,
                  Device& openDevice);

enum class TemplateCopyResult { Created, CopyFailed, CopyUnreadable, SaveFailed };
// A new custom device in the folder from a copy of a template device file, with or without its IR codes.
// The copy keeps the template's header name. A copy that cannot be read or saved is deleted again.
TemplateCopyResult CreateDeviceFromTemplate(std::u16string_view templatePath, std::u16string_view folder,
                                            std::u16string_view name, bool withoutIrCodes,
                                            Problems* problems = nullptr);
