#include "app/hwkeys/hardware_keys.h"

#include <string_view>
#include <utility>

#include "handheld/hotkeys.h"
#include "handheld/owners.h"
#include "handheld/registry.h"

namespace {

constexpr char16_t kShellKeys[] = u"SOFTWARE\\Microsoft\\Shell\\Keys";
constexpr std::size_t kMaxNameChars = 260;
constexpr handheld::DWORD kMaxValueBytes = 260;

struct FixedKey {
    const char16_t* textKey;
    const char16_t* defaultName;
    std::uint32_t code;
    int iconId;
};
constexpr FixedKey kFixedKeys[] = {
    {u"HB_LEFT", u"Left arrow", 37, 143}, {u"HB_UP", u"Up arrow", 38, 144}, {u"HB_RIGHT", u"Right arrow", 39, 145},
    {u"HB_DOWN", u"Down arrow", 40, 146}, {u"HB_ENTER", u"Enter", 13, 147},
};

// A string value of at most kMaxValueBytes bytes; empty when absent or longer.
std::u16string ReadString(handheld::HKEY key, const char16_t* valueName, bool& found) {
    char16_t buffer[kMaxValueBytes / 2 + 1] = {};
    handheld::DWORD size = kMaxValueBytes;
    handheld::DWORD type = 0;
    found = handheld::RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<handheld::BYTE*>(buffer),
                                       &size) == handheld::ERROR_SUCCESS &&
            (type == handheld::REG_SZ || type == handheld::REG_EXPAND_SZ);
    if (!found) return {};
    buffer[kMaxValueBytes / 2] = 0;
    return std::u16string(buffer);
}

// "%x" as the shell's subkey names are written: leading hexadecimal digits, the rest ignored.
bool ParseHex(std::u16string_view text, std::uint32_t& value) {
    value = 0;
    std::size_t digits = 0;
    for (char16_t c : text) {
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0) break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
        ++digits;
    }
    return digits > 0;
}

int ParseDecimal(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    int value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 100000; ++i)
        value = value * 10 + (text[i] - u'0');
    return negative ? -value : value;
}

void AddShellKey(HardwareKeyList& list, std::u16string_view subkeyName, HardwareKeyIcons& icons) {
    handheld::UniqueRegKey subkey;
    const std::u16string path = std::u16string(kShellKeys) + u"\\" + std::u16string(subkeyName);
    if (handheld::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, handheld::KEY_READ, subkey.out()) !=
        handheld::ERROR_SUCCESS) {
        return;
    }
    std::uint32_t parsed = 0;
    if (!ParseHex(subkeyName, parsed)) return;
    bool found = false;
    const std::u16string name = ReadString(subkey.get(), u"Name", found);
    const std::u16string icon = ReadString(subkey.get(), u"Icon", found);
    if (!found) return;
    const std::size_t comma = icon.find(u',');
    if (comma == std::u16string::npos) return;
    const int image = icons.AddFileIcon(std::u16string_view(icon).substr(0, comma),
                                        ParseDecimal(std::u16string_view(icon).substr(comma + 1)));
    if (image < 0) return;
    list.keys[(parsed & 0xFF) + 256u * static_cast<std::uint32_t>(image)] = name;
}

}  // namespace

void BuildHardwareKeyList(HardwareKeyList& list, const void* module, handheld::HWND mainWindow,
                          HardwareKeyIcons& icons) {
    list.module = module;
    list.mainWindow = mainWindow;
    list.keys.clear();
    handheld::UniqueRegKey keys;
    if (handheld::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellKeys, 0, handheld::KEY_READ, keys.out()) !=
        handheld::ERROR_SUCCESS) {
        return;
    }
    handheld::DWORD subkeyCount = 0;
    handheld::RegQueryInfoKeyW(keys.get(), nullptr, nullptr, nullptr, &subkeyCount, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr);
    for (handheld::DWORD index = 0; index < subkeyCount; ++index) {
        char16_t name[kMaxNameChars + 1] = {};
        handheld::DWORD nameLength = kMaxNameChars + 1;
        if (handheld::RegEnumKeyExW(keys.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            handheld::ERROR_SUCCESS) {
            continue;
        }
        AddShellKey(list, std::u16string_view(name, nameLength), icons);
    }
    for (const FixedKey& fixed : kFixedKeys) {
        const int image = icons.AddProgramIcon(fixed.iconId);
        if (image < 0) {
            if (fixed.iconId == static_cast<int>(kFirstProgramIconId)) icons.ShowError(u"ERR_5", u"Can't load icon");
            continue;
        }
        list.keys[fixed.code + 256u * static_cast<std::uint32_t>(image)] = icons.Text(fixed.textKey, fixed.defaultName);
    }
}

void RegisterAssignedKey(const HardwareKeyList& list, std::uint32_t code, bool doRegister) {
    if (code <= kHighestPlainKey) return;
    const int id = static_cast<int>(code);
    if (doRegister) {
        handheld::RegisterHotKey(list.mainWindow, id, handheld::MOD_WIN, code);
    } else {
        handheld::UnregisterHotKey(list.mainWindow, id);
    }
}

void RegisterDeviceKeys(const HardwareKeyList& list, const Device& device, bool onlyNextDeviceKey, bool doRegister) {
    if (onlyNextDeviceKey && !doRegister) {
        handheld::HINSTANCE coredll = handheld::LoadLibraryW(u"coredll.dll");
        if (coredll == nullptr) return;
        if (auto proc = reinterpret_cast<handheld::UnregisterFunc1Proc>(
                handheld::GetProcAddressW(coredll, u"UnregisterFunc1"))) {
            proc(handheld::MOD_WIN, static_cast<int>(kNextDeviceKey));
        }
        handheld::FreeLibrary(coredll);
        return;
    }
    if (onlyNextDeviceKey) {
        handheld::RegisterHotKey(list.mainWindow, static_cast<int>(kNextDeviceKey), handheld::MOD_WIN, kNextDeviceKey);
        return;
    }
    if (!doRegister) {
        for (const auto& [keyValue, name] : list.keys) {
            const std::uint32_t code = HardwareKeyList::CodeOf(keyValue);
            if (code != kNextDeviceKey) RegisterAssignedKey(list, code, false);
        }
        return;
    }
    for (const ButtonRecord& record : device.records) {
        const std::uint32_t code = record.hardwareKey & 0xFF;
        if (code > kHighestPlainKey) RegisterAssignedKey(list, code, true);
    }
}

void SwitchDeviceKeys(const HardwareKeyList& list, const Device& opened) {
    RegisterDeviceKeys(list, opened, false, false);
    RegisterDeviceKeys(list, opened, false, true);
}

void UnregisterAllKeys(const HardwareKeyList& list) {
    for (const auto& [keyValue, name] : list.keys) RegisterAssignedKey(list, HardwareKeyList::CodeOf(keyValue), false);
}

const ButtonRecord* RecordOfHardwareKey(const Device& device, std::uint32_t code) {
    for (const ButtonRecord& record : device.records) {
        if (record.hardwareKey == code) return &record;
    }
    return nullptr;
}

ButtonRecord* RecordOfHardwareKey(Device& device, std::uint32_t code) {
    return const_cast<ButtonRecord*>(RecordOfHardwareKey(std::as_const(device), code));
}
