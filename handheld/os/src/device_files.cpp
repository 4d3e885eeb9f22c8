#include "handheld/os/src/device_files.h"

#include <string>

#include "handheld/os/src/device_objects.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld::detail {

namespace {

constexpr char kChannel[] = "comm";
constexpr std::u16string_view kObexDevice = u"OBX0:";
constexpr std::u16string_view kSerialPrefix = u"COM";
// Room for a device name in the "Name" value of an active driver, in bytes.
constexpr DWORD kNameValueBytes = 64;

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// True when some subkey of Drivers\Active has this "Name".
bool IsActiveDriverName(std::u16string_view name) {
    HKEY active = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_READ, &active) != ERROR_SUCCESS) return false;
    bool found = false;
    for (DWORD index = 0; !found; ++index) {
        char16_t subkeyName[256];
        DWORD subkeyLength = 256;
        const LONG result = RegEnumKeyExW(active, index, subkeyName, &subkeyLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        HKEY driver = nullptr;
        if (result != ERROR_SUCCESS || RegOpenKeyExW(active, subkeyName, 0, KEY_READ, &driver) != ERROR_SUCCESS) {
            continue;
        }
        char16_t value[kNameValueBytes / 2] = {};
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExW(driver, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            std::u16string_view text(value, size / 2);
            text = text.substr(0, text.find(u'\0'));
            found = EqualsIgnoreCase(text, name);
        }
        RegCloseKey(driver);
    }
    RegCloseKey(active);
    return found;
}

}  // namespace

bool IsDeviceName(std::u16string_view name) {
    return name.size() == 5 && IsAsciiLetter(name[0]) && IsAsciiLetter(name[1]) && IsAsciiLetter(name[2]) &&
           name[3] >= u'0' && name[3] <= u'9' && name[4] == u':';
}

HANDLE OpenDeviceFile(std::u16string_view name, DWORD /*desiredAccess*/, DWORD /*shareMode*/,
                      DWORD creationDisposition) {
    const std::string printable = ToUtf8(name);
    if (!IsDeviceName(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // Devices exist already: they can be opened, never created.
    if (creationDisposition != OPEN_EXISTING && creationDisposition != OPEN_ALWAYS) {
        HH_TRACE(kChannel, "%s: a device opens only as an existing one (disposition %u)", printable.c_str(),
                 creationDisposition);
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (EqualsIgnoreCase(name, kObexDevice)) return OpenObexService();
    if (!IsActiveDriverName(name)) {
        HH_TRACE(kChannel, "%s: no active driver has this name", printable.c_str());
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (EqualsIgnoreCase(name.substr(0, 3), kSerialPrefix)) return OpenSerialPort(name);
    HH_TRACE(kChannel, "%s: this kind of driver is not simulated", printable.c_str());
    SetLastError(ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
}

}  // namespace handheld::detail
