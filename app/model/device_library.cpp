#include "app/model/device_library.h"

#include <algorithm>

#include "handheld/files.h"
#include "handheld/owners.h"
#include "handheld/text.h"

namespace {

DeviceOpener& Opener() {
    static DeviceOpener opener;
    return opener;
}

std::u16string WithBackslash(std::u16string_view folder) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'\\') path += u'\\';
    return path;
}

// The name of a file up to its last ".".
std::u16string Stem(const char16_t* fileName) {
    const std::u16string_view name(fileName);
    return std::u16string(name.substr(0, std::min(name.find_last_of(u'.'), name.size())));
}

template <class Visit>
void ForEachFile(const std::u16string& pattern, Visit visit) {
    handheld::WIN32_FIND_DATAW data{};
    const handheld::UniqueFind found(handheld::FindFirstFileW(pattern.c_str(), &data));
    if (!found) return;
    do {
        if ((data.dwFileAttributes & handheld::FILE_ATTRIBUTE_DIRECTORY) == 0) visit(data);
    } while (handheld::FindNextFileW(found.get(), &data));
}

bool IsForbiddenNameCharacter(char16_t c) {
    return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

bool Step(int direction, handheld::HWND ccfParent, MenuStateCallback callback,
          const std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice) {
    const auto current = std::find_if(shownDevices.begin(), shownDevices.end(),
                                      [&](const DeviceSettings& s) { return s.deviceName == currentDevice; });
    if (current == shownDevices.end()) return false;
    const auto index = current - shownDevices.begin() + direction;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(shownDevices.size())) return false;
    currentDevice = shownDevices[index].deviceName;
    return OpenDeviceByName(ccfParent, currentDevice, callback);
}

}  // namespace

DeviceOpener SetDeviceOpener(DeviceOpener opener) {
    return std::exchange(Opener(), std::move(opener));
}

bool OpenDeviceByName(handheld::HWND ccfParent, std::u16string_view name, MenuStateCallback callback) {
    return Opener() ? Opener()(ccfParent, name, callback) : false;
}

DeviceScan ScanDeviceFolder(std::u16string_view folder, std::vector<DeviceSettings>& shownDevices,
                            std::u16string& currentDevice) {
    const std::u16string base = WithBackslash(folder);
    DeviceScan scan;
    const handheld::DWORD attributes = handheld::GetFileAttributesW(base.substr(0, base.size() - 1).c_str());
    scan.folderFound =
        attributes != handheld::INVALID_FILE_ATTRIBUTES && (attributes & handheld::FILE_ATTRIBUTE_DIRECTORY);
    ForEachFile(base + u"*.kdr", [&](const handheld::WIN32_FIND_DATAW& data) {
        Device header;
        FileResult loaded = header.Load(base + data.cFileName, true);
        scan.problems.insert(scan.problems.end(), loaded.problems.begin(), loaded.problems.end());
        if (!loaded) return;
        DeviceSettings entry;
        entry.deviceName = Stem(data.cFileName);
        entry.deviceType = header.deviceType;
        scan.available.push_back(std::move(entry));
    });
    ForEachFile(base + u"*.ccf", [&](const handheld::WIN32_FIND_DATAW& data) {
        DeviceSettings entry;
        entry.deviceName = Stem(data.cFileName);
        entry.deviceType = DT_CCF;
        scan.available.push_back(std::move(entry));
    });
    std::erase_if(shownDevices, [&](const DeviceSettings& shown) {
        return std::none_of(scan.available.begin(), scan.available.end(),
                            [&](const DeviceSettings& a) { return a.deviceName == shown.deviceName; });
    });
    SettleCurrentDevice(shownDevices, currentDevice);
    return scan;
}

void SettleCurrentDevice(const std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice) {
    const bool shown = std::any_of(shownDevices.begin(), shownDevices.end(),
                                   [&](const DeviceSettings& s) { return s.deviceName == currentDevice; });
    if (shown) return;
    currentDevice = shownDevices.empty() ? std::u16string() : shownDevices.front().deviceName;
}

void ApplyShownDevices(std::span<const ListedDevice> rows, std::vector<DeviceSettings>& shownDevices,
                       std::u16string& currentDevice) {
    for (const ListedDevice& row : rows) {
        const auto entry = std::find_if(shownDevices.begin(), shownDevices.end(),
                                        [&](const DeviceSettings& s) { return s.deviceName == row.name; });
        if (!row.ticked && entry != shownDevices.end()) shownDevices.erase(entry);
        if (row.ticked && entry == shownDevices.end()) {
            DeviceSettings fresh;
            fresh.deviceName = row.name;
            shownDevices.push_back(std::move(fresh));
        }
    }
    SettleCurrentDevice(shownDevices, currentDevice);
}

bool NextDevice(handheld::HWND ccfParent, MenuStateCallback callback, const std::vector<DeviceSettings>& shownDevices,
                std::u16string& currentDevice) {
    return Step(+1, ccfParent, callback, shownDevices, currentDevice);
}

bool PreviousDevice(handheld::HWND ccfParent, MenuStateCallback callback,
                    const std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice) {
    return Step(-1, ccfParent, callback, shownDevices, currentDevice);
}

std::u16string DeviceFilePath(std::u16string_view folder, std::u16string_view name) {
    return WithBackslash(folder) + std::u16string(name) + u".kdr";
}

DeviceNameCheck CheckDeviceName(std::u16string_view folder, std::u16string_view name) {
    if (name.empty()) return DeviceNameCheck::Empty;
    if (std::any_of(name.begin(), name.end(), IsForbiddenNameCharacter)) return DeviceNameCheck::ForbiddenCharacter;
    if (DeviceFilePath(folder, name).size() > kMaxDevicePathChars) return DeviceNameCheck::PathTooLong;
    return DeviceNameCheck::Valid;
}

RenameResult RenameDevice(std::u16string_view folder, std::u16string_view oldName, std::u16string_view newName,
                          std::vector<DeviceSettings>& shownDevices, std::u16string& currentDevice,
                          Device& openDevice) {
    if (newName == oldName) return RenameResult::Unchanged;
    if (CheckDeviceName(folder, newName) != DeviceNameCheck::Valid) return RenameResult::NameRefused;
    const std::u16string oldPath = DeviceFilePath(folder, oldName);
    const std::u16string newPath = DeviceFilePath(folder, newName);
    if (!handheld::MoveFileW(oldPath.c_str(), newPath.c_str())) return RenameResult::MoveFailed;
    const auto entry = std::find_if(shownDevices.begin(), shownDevices.end(),
                                    [&](const DeviceSettings& s) { return s.deviceName == oldName; });
    if (entry != shownDevices.end()) entry->deviceName = newName;
    if (currentDevice == oldName) currentDevice = newName;
    if (handheld::EqualsIgnoreCase(openDevice.path, oldPath)) openDevice.path = newPath;
    return RenameResult::Renamed;
}

bool DeleteDevice(std::u16string_view folder, std::u16string_view name, std::vector<DeviceSettings>& shownDevices,
                  Device& openDevice) {
    const std::u16string path = DeviceFilePath(folder, name);
    if (!handheld::DeleteFileW(path.c_str())) return false;
    std::erase_if(shownDevices, [&](const DeviceSettings& s) { return s.deviceName == name; });
    if (handheld::EqualsIgnoreCase(openDevice.path, path)) openDevice.path.clear();
    return true;
}

TemplateCopyResult CreateDeviceFromTemplate(std::u16string_view templatePath, std::u16string_view folder,
                                            std::u16string_view name, bool withoutIrCodes, Problems* problems) {
    const auto keep = [problems](const FileResult& result) {
        if (problems) problems->insert(problems->end(), result.problems.begin(), result.problems.end());
        return result.succeeded;
    };
    const std::u16string source(templatePath);
    const std::u16string target = DeviceFilePath(folder, name);
    if (!handheld::CopyFileW(source.c_str(), target.c_str(), handheld::TRUE)) return TemplateCopyResult::CopyFailed;
    Device device;
    if (!keep(device.Load(target, false))) {
        handheld::DeleteFileW(target.c_str());
        return TemplateCopyResult::CopyUnreadable;
    }
    if (withoutIrCodes) {
        for (ButtonRecord& record : device.records) record.ClearCommandSet();
    }
    device.deviceType = DT_CUSTOM;
    if (!keep(device.Save(true, target))) {
        handheld::DeleteFileW(target.c_str());
        return TemplateCopyResult::SaveFailed;
    }
    return TemplateCopyResult::Created;
}
