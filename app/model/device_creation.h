// New standard devices: one record per template row, written as a new device file in the device folder.
#pragma once

#include <string>
#include <string_view>

#include "app/model/device.h"

// The folder of the device files: the program's folder + "\Devices\".
std::u16string DeviceFolder();

// The device as a new file would hold it: the type's template rows, then the function panel.
Device MakeStandardDevice(std::u16string_view name, DeviceType type);

// Writes DeviceFolder() + name + ".kdr"; an existing file of that name is never replaced (the save reports
// it). Fails when nothing was written.
FileResult CreateStandardDevice(std::u16string_view name, DeviceType type);
