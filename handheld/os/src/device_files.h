// Internal: the devices that CreateFileW opens by name ("COM3:", "OBX0:") instead of files.
#pragma once

#include <string_view>

#include "handheld/types.h"

namespace handheld::detail {

// True for a name of the device form: three letters, one digit, a colon.
bool IsDeviceName(std::u16string_view name);

// Opens the device; INVALID_HANDLE_VALUE with the last error set when no active driver has that name,
// the device is absent or already open without sharing.
HANDLE OpenDeviceFile(std::u16string_view name, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition);

}  // namespace handheld::detail
