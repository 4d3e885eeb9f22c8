#include "app/ir/port_choice.h"

#include <algorithm>

#include "driver/irdriver/lumbra.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "handheld/trace.h"

using namespace handheld;

namespace {

constexpr DWORD kMaxSubkeyChars = 512;
constexpr DWORD kMaxValueBytes = 512;
constexpr std::u16string_view kPortPrefix = u"COM";

bool QueryString(HKEY key, const char16_t* valueName, std::u16string& value) {
    char16_t buffer[kMaxValueBytes / 2 + 1] = {};
    DWORD type = 0;
    DWORD size = kMaxValueBytes;
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    value.assign(buffer, std::min<std::size_t>(size / 2, kMaxValueBytes / 2));
    const auto end = value.find(u'\0');
    if (end != std::u16string::npos) value.resize(end);
    return true;
}

// The driver's friendly name: its own, or its first subkey's, or none.
std::u16string FriendlyName(HKEY driverKey) {
    std::u16string friendly;
    if (QueryString(driverKey, u"FriendlyName", friendly)) return friendly;
    char16_t subkeyName[kMaxSubkeyChars + 1] = {};
    DWORD length = kMaxSubkeyChars + 1;
    if (RegEnumKeyExW(driverKey, 0, subkeyName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    HKEY subkey = nullptr;
    if (RegOpenKeyExW(driverKey, subkeyName, 0, KEY_READ, &subkey) != ERROR_SUCCESS) return {};
    if (!QueryString(subkey, u"FriendlyName", friendly)) friendly.clear();
    RegCloseKey(subkey);
    return friendly;
}

}  // namespace

bool ApplyPortName(std::u16string& portName, std::u16string_view name) {
    if (portName == name) return false;
    portName = name;
    if (CLumbra* driver = CLumbra::Instance()) {
        driver->SetPort(portName.c_str());
    } else {
        HH_TRACE("ir", "no driver to take the IR port setting");
    }
    return true;
}

std::vector<PortEntry> EnumeratePorts() {
    std::vector<PortEntry> ports;
    HKEY active = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, KEY_READ, &active) != ERROR_SUCCESS) return ports;
    for (DWORD index = 0;; ++index) {
        char16_t subkeyName[kMaxSubkeyChars + 1] = {};
        DWORD length = kMaxSubkeyChars + 1;
        if (RegEnumKeyExW(active, index, subkeyName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        HKEY driver = nullptr;
        if (RegOpenKeyExW(active, subkeyName, 0, KEY_READ, &driver) != ERROR_SUCCESS) continue;
        PortEntry entry;
        std::u16string driverPath;
        if (QueryString(driver, u"Name", entry.name) && entry.name.starts_with(kPortPrefix) &&
            QueryString(driver, u"Key", driverPath)) {
            HKEY driverKey = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, driverPath.c_str(), 0, KEY_READ, &driverKey) == ERROR_SUCCESS) {
                entry.friendlyName = FriendlyName(driverKey);
                RegCloseKey(driverKey);
                ports.push_back(std::move(entry));
            }
        }
        RegCloseKey(driver);
    }
    RegCloseKey(active);
    return ports;
}

PortMenu BuildPortMenu(const std::vector<PortEntry>& ports, std::u16string_view portName) {
    PortMenu menu;
    menu.itemTexts.emplace_back(kAutoPortText);
    menu.checked.push_back(true);
    for (const PortEntry& port : ports) {
        const bool stored = !portName.empty() && EqualsIgnoreCase(port.name, portName);
        if (stored) menu.checked[0] = false;
        menu.itemTexts.push_back(port.Text());
        menu.checked.push_back(stored);
    }
    return menu;
}

std::u16string PortNameFromItemText(std::u16string_view itemText) {
    if (!itemText.starts_with(kPortPrefix)) return {};
    return std::u16string(itemText.substr(0, itemText.find(u' ')));
}

bool ChoosePortItem(PortMenu& menu, std::size_t position, std::u16string& portName) {
    if (position >= menu.itemTexts.size()) return false;
    ApplyPortName(portName, PortNameFromItemText(menu.itemTexts[position]));
    for (std::size_t i = 0; i < menu.checked.size(); ++i) menu.checked[i] = (i == position);
    return true;
}
