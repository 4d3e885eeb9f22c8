// Internal: the simulated devices behind the names that CreateFileW hands to OpenDeviceFile.
#pragma once

#include <string_view>

#include "handheld/types.h"

namespace handheld::detail {

// A serial port of an active driver (the caller checked the name); fails when it is open already.
HANDLE OpenSerialPort(std::u16string_view name);
bool IsSerialPortHandle(HANDLE handle);

// The OBEX service device; fails while the service is absent.
HANDLE OpenObexService();

}  // namespace handheld::detail
