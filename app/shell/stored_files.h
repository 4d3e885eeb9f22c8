// The shell's side of the program's files: each read or write whose problems the user is to see goes
// through here, which shows them as the program's error boxes.
#pragma once

#include <string_view>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "handheld/types.h"

// Device::Load and Device::Save, their problems shown without an owner window.
bool LoadDevice(Device& device, std::u16string_view filePath, bool headerOnly);
bool SaveDevice(Device& device, bool overwrite, std::u16string_view filePath = {});
// CreateStandardDevice, its problem shown without an owner window.
bool CreateStandardDeviceFile(std::u16string_view name, DeviceType type);

// The start-up read of the configuration file: "Invalid config file" is owned by owner, and the stored
// port name goes to the IR port choice, which tells the driver at once.
bool ReadConfigurationAtStart(ApplicationSettings& settings, handheld::HWND owner);
bool ReadConfigurationAtStart(std::u16string_view filePath, ApplicationSettings& settings, handheld::HWND owner);
