#include "app/shell/stored_files.h"

#include <optional>
#include <string>

#include "app/ir/port_choice.h"
#include "app/model/device_creation.h"
#include "app/shell/messages.h"

namespace {

bool Shown(handheld::HWND owner, const FileResult& result) {
    ShowProblems(owner, result.problems);
    return result.succeeded;
}

}  // namespace

bool LoadDevice(Device& device, std::u16string_view filePath, bool headerOnly) {
    return Shown(nullptr, device.Load(filePath, headerOnly));
}

bool SaveDevice(Device& device, bool overwrite, std::u16string_view filePath) {
    return Shown(nullptr, device.Save(overwrite, filePath));
}

bool CreateStandardDeviceFile(std::u16string_view name, DeviceType type) {
    return Shown(nullptr, CreateStandardDevice(name, type));
}

bool ReadConfigurationAtStart(ApplicationSettings& settings, handheld::HWND owner) {
    return ReadConfigurationAtStart(configuration::ConfigurationPath(), settings, owner);
}

bool ReadConfigurationAtStart(std::u16string_view filePath, ApplicationSettings& settings, handheld::HWND owner) {
    std::optional<std::u16string> storedPortName;
    const FileResult result = ReadConfiguration(filePath, settings, storedPortName);
    if (!Shown(owner, result)) return false;
    if (storedPortName) ApplyPortName(settings.portName, *storedPortName);
    return true;
}
