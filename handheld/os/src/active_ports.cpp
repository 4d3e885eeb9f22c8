// The walk over the active COM drivers that the IR driver's port search and the program's port menu share.
#include <string_view>
#include <vector>

#include "handheld/comm.h"
#include "handheld/owners.h"
#include "handheld/registry.h"

namespace handheld {

namespace {

constexpr std::u16string_view kSerialPrefix = u"COM";

// A string value that fits limits.valueBytes; false when missing, too long or not a string.
bool ReadString(HKEY key, const char16_t* valueName, DWORD valueBytes, std::u16string& value) {
    std::vector<char16_t> buffer(valueBytes / sizeof(char16_t) + 1, u'\0');  // room for a missing terminator
    DWORD type = 0;
    DWORD bytes = valueBytes;
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    value.assign(buffer.data());
    return true;
}

// The key's subkey name at index: ERROR_SUCCESS, ERROR_MORE_DATA for a name longer than the limit, or the
// error that ends the enumeration.
LONG SubkeyName(HKEY key, DWORD index, DWORD nameChars, std::u16string& name) {
    std::vector<char16_t> buffer(nameChars + 1, u'\0');
    DWORD length = nameChars + 1;
    const LONG result = RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
    return result;
}

std::u16string FriendlyName(HKEY driverKey, const ActiveDriverLimits& limits) {
    std::u16string friendly;
    if (ReadString(driverKey, u"FriendlyName", limits.valueBytes, friendly)) return friendly;
    std::u16string firstSubkey;
    if (SubkeyName(driverKey, 0, limits.subkeyNameChars, firstSubkey) != ERROR_SUCCESS) return {};
    UniqueRegKey subkey;
    if (RegOpenKeyExW(driverKey, firstSubkey.c_str(), 0, KEY_READ, subkey.out()) != ERROR_SUCCESS) return {};
    if (!ReadString(subkey.get(), u"FriendlyName", limits.valueBytes, friendly)) return {};
    return friendly;
}

}  // namespace

bool ForEachActiveComDriver(const ActiveDriverLimits& limits,
                            const std::function<bool(const ActiveComDriver&)>& visit) {
    UniqueRegKey active;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_READ, active.out()) != ERROR_SUCCESS) {
        return false;
    }
    std::u16string subkeyName;
    for (DWORD index = 0;; ++index) {
        const LONG listed = SubkeyName(active.get(), index, limits.subkeyNameChars, subkeyName);
        if (listed == ERROR_MORE_DATA) continue;  // a name too long for us is one driver less, not the end
        if (listed != ERROR_SUCCESS) break;
        UniqueRegKey entry;
        if (RegOpenKeyExW(active.get(), subkeyName.c_str(), 0, KEY_READ, entry.out()) != ERROR_SUCCESS) continue;
        ActiveComDriver driver;
        std::u16string driverPath;
        if (!ReadString(entry.get(), u"Name", limits.valueBytes, driver.name) ||
            !driver.name.starts_with(kSerialPrefix) ||
            !ReadString(entry.get(), u"Key", limits.valueBytes, driverPath)) {
            continue;
        }
        UniqueRegKey driverKey;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, driverPath.c_str(), 0, KEY_READ, driverKey.out()) != ERROR_SUCCESS) {
            continue;
        }
        driver.friendlyName = FriendlyName(driverKey.get(), limits);
        if (!visit(driver)) break;
    }
    return true;
}

}  // namespace handheld
