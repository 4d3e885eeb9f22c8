#include "handheld/registry.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <unordered_set>

#include "handheld/devices.h"
#include "handheld/home.h"
#include "handheld/os/src/registry_text.h"
#include "handheld/text.h"
#include "handheld/trace.h"

struct handheld::RegistryKeyObject {
    // Keeps the tree the key was opened in alive, so a reload never leaves an open key dangling.
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = nullptr;
};

namespace handheld {

namespace {

constexpr char kChannel[] = "registry";
constexpr char kFileName[] = "registry.reg";
// A registry file is a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

struct RegistryState {
    std::mutex mutex;
    std::shared_ptr<const detail::RegistryNode> root = std::make_shared<detail::RegistryNode>(u"HKEY_LOCAL_MACHINE");
    RegistryLoadReport summary;
    std::unordered_set<const RegistryKeyObject*> openKeys;
    std::atomic<bool> loaded{false};
};

RegistryState& State() {
    static RegistryState* state = new RegistryState;  // never destroyed: keys may be closed during exit
    return *state;
}

// The predefined root; it is never in openKeys and never freed.
RegistryKeyObject& LocalMachineObject() {
    static RegistryKeyObject object;
    return object;
}

void Install(detail::ParsedRegistry parsed) {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    state.root = std::move(parsed.root);
    state.summary = parsed.summary;
    state.loaded = true;
    HH_TRACE(kChannel, "loaded: %d keys, %d values, %d lines skipped", parsed.summary.keys, parsed.summary.values,
             parsed.summary.skippedLines);
}

void EnsureLoaded() {
    if (!State().loaded) ReloadRegistry();
}

// The tree and node behind a key, or null for a handle that is not an open key.
const detail::RegistryNode* Resolve(HKEY key, std::shared_ptr<const detail::RegistryNode>& tree) {
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    if (key == &LocalMachineObject()) {
        tree = state.root;
        return tree.get();
    }
    if (key == nullptr || !state.openKeys.contains(key)) return nullptr;
    tree = key->tree;
    return key->node;
}

// Copies a name into a caller's buffer sized in characters (with the terminator).
LONG CopyName(std::u16string_view name, LPWSTR buffer, DWORD* length) {
    if (*length < name.size() + 1) return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Copies value data into a caller's buffer sized in bytes; a null buffer asks for the size only.
LONG CopyData(const detail::RegistryValue& value, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    if (type != nullptr) *type = value.type;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (data != nullptr && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::copy(value.data.begin(), value.data.end(), data);
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
}

}  // namespace

HKEY HkeyLocalMachine() {
    return &LocalMachineObject();
}

LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD /*options*/, DWORD /*desired*/, HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    EnsureLoaded();
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = Resolve(parent, tree);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    const std::u16string_view fullPath = subKey != nullptr ? std::u16string_view(subKey) : std::u16string_view();
    std::u16string_view path = fullPath;
    while (!path.empty() && node != nullptr) {
        const std::size_t end = path.find(u'\\');
        const std::u16string_view component = path.substr(0, end);
        if (!component.empty()) node = node->FindSubkey(component);
        path = end == std::u16string_view::npos ? std::u16string_view() : path.substr(end + 1);
    }
    if (node == nullptr) {
        HH_TRACE(kChannel, "RegOpenKeyExW: no key \"%s\"", ToUtf8(fullPath).c_str());
        return ERROR_FILE_NOT_FOUND;
    }
    auto* key = new RegistryKeyObject{std::move(tree), node};
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    state.openKeys.insert(key);
    *result = key;
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD* reserved, LPWSTR className,
                   DWORD* classLength, FILETIME* lastWrite) {
    EnsureLoaded();
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = Resolve(key, tree);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (name == nullptr || nameLength == nullptr || reserved != nullptr) return ERROR_INVALID_PARAMETER;
    if (index >= node->Subkeys().size()) return ERROR_NO_MORE_ITEMS;
    if (className != nullptr && (classLength == nullptr || *classLength == 0)) return ERROR_MORE_DATA;
    const LONG copied = CopyName(node->Subkeys()[index]->Name(), name, nameLength);
    if (copied != ERROR_SUCCESS) return copied;
    if (className != nullptr) className[0] = 0;
    if (classLength != nullptr) *classLength = 0;
    if (lastWrite != nullptr) *lastWrite = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
    EnsureLoaded();
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = Resolve(key, tree);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (reserved != nullptr) return ERROR_INVALID_PARAMETER;
    const std::u16string_view name = valueName != nullptr ? std::u16string_view(valueName) : std::u16string_view();
    const detail::RegistryValue* value = node->FindValue(name);
    if (value == nullptr) {
        HH_TRACE(kChannel, "RegQueryValueExW: no value \"%s\"", ToUtf8(name).c_str());
        return ERROR_FILE_NOT_FOUND;
    }
    return CopyData(*value, type, data, dataSize);
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* nameLength, DWORD* reserved, DWORD* type, BYTE* data,
                   DWORD* dataSize) {
    EnsureLoaded();
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = Resolve(key, tree);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (valueName == nullptr || nameLength == nullptr || reserved != nullptr) return ERROR_INVALID_PARAMETER;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    if (index >= node->Values().size()) return ERROR_NO_MORE_ITEMS;
    const detail::RegistryValue& value = node->Values()[index];
    // Both buffers are checked before either is written, so a failure leaves both untouched.
    if (*nameLength < value.name.size() + 1) return ERROR_MORE_DATA;
    if (data != nullptr && *dataSize < value.data.size()) {
        if (type != nullptr) *type = value.type;
        *dataSize = static_cast<DWORD>(value.data.size());
        return ERROR_MORE_DATA;
    }
    CopyName(value.name, valueName, nameLength);
    return CopyData(value, type, data, dataSize);
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR className, DWORD* classLength, DWORD* reserved, DWORD* subKeys,
                      DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                      DWORD* maxValueLength, void* /*securityDescriptor*/, FILETIME* lastWrite) {
    EnsureLoaded();
    std::shared_ptr<const detail::RegistryNode> tree;
    const detail::RegistryNode* node = Resolve(key, tree);
    if (node == nullptr) return ERROR_INVALID_HANDLE;
    if (reserved != nullptr) return ERROR_INVALID_PARAMETER;
    if (className != nullptr && (classLength == nullptr || *classLength == 0)) return ERROR_MORE_DATA;
    if (className != nullptr) className[0] = 0;
    if (classLength != nullptr) *classLength = 0;
    std::size_t longestKey = 0;
    for (const auto& subkey : node->Subkeys()) longestKey = std::max(longestKey, subkey->Name().size());
    std::size_t longestName = 0;
    std::size_t longestData = 0;
    for (const auto& value : node->Values()) {
        longestName = std::max(longestName, value.name.size());
        longestData = std::max(longestData, value.data.size());
    }
    if (subKeys != nullptr) *subKeys = static_cast<DWORD>(node->Subkeys().size());
    if (maxSubKeyLength != nullptr) *maxSubKeyLength = static_cast<DWORD>(longestKey);
    if (maxClassLength != nullptr) *maxClassLength = 0;
    if (values != nullptr) *values = static_cast<DWORD>(node->Values().size());
    if (maxValueNameLength != nullptr) *maxValueNameLength = static_cast<DWORD>(longestName);
    if (maxValueLength != nullptr) *maxValueLength = static_cast<DWORD>(longestData);
    if (lastWrite != nullptr) *lastWrite = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == &LocalMachineObject()) return ERROR_SUCCESS;
    RegistryState& state = State();
    {
        std::lock_guard lock(state.mutex);
        if (key == nullptr || state.openKeys.erase(key) == 0) return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

void ReloadRegistry() {
    // Read outside the lock: HomeDirectory() may open the home, which reloads the registry itself.
    const std::filesystem::path file = HomeDirectory() / kFileName;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    std::string bytes;
    if (error) {
        HH_TRACE(kChannel, "%s: cannot be read (%s); the registry is empty", file.string().c_str(),
                 error.message().c_str());
    } else if (size > kMaxFileBytes) {
        HH_TRACE(kChannel, "%s: %ju bytes is too large for a registry; the registry is empty", file.string().c_str(),
                 size);
    } else {
        std::ifstream stream(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
        if (!stream && !stream.eof()) {
            HH_TRACE(kChannel, "%s: read failed; the registry is empty", file.string().c_str());
            bytes.clear();
        }
    }
    Install(detail::ParseRegistryText(bytes));
}

void LoadRegistryText(std::string_view regFileBytes) {
    Install(detail::ParseRegistryText(regFileBytes));
}

RegistryLoadReport LastRegistryLoad() {
    EnsureLoaded();
    RegistryState& state = State();
    std::lock_guard lock(state.mutex);
    return state.summary;
}

std::string DefaultRegistryText() {
    // Active drivers are numbered as the handheld numbers them. Besides the ports the program offers,
    // the list holds a driver that is not a serial port, one whose friendly name sits in the first subkey
    // of its driver key, and one whose driver key is missing.
    return R"reg(Windows Registry Editor Version 5.00

; Drivers loaded by the device manager, in load order.
[HKEY_LOCAL_MACHINE\Drivers\Active]

[HKEY_LOCAL_MACHINE\Drivers\Active\01]
"Name"="TCH1:"
"Key"="Drivers\\BuiltIn\\Touch"
"Hnd"=dword:00051a40

[HKEY_LOCAL_MACHINE\Drivers\Active\02]
"Name"="COM1:"
"Key"="Drivers\\BuiltIn\\Serial"
"Hnd"=dword:00052b10

[HKEY_LOCAL_MACHINE\Drivers\Active\03]
"Name"="COM3:"
"Key"="Drivers\\BuiltIn\\IrDA"
"Hnd"=dword:00053c20

[HKEY_LOCAL_MACHINE\Drivers\Active\04]
"Name"="COM2:"
"Key"="Drivers\\BuiltIn\\IrCOMM"
"Hnd"=dword:00054d30

[HKEY_LOCAL_MACHINE\Drivers\Active\05]
"Name"="COM5:"
"Key"="Drivers\\BuiltIn\\Modem"
"Hnd"=dword:00055e40

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Touch]
"Dll"="touch.dll"
"Prefix"="TCH"
"FriendlyName"="Touch Panel"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Serial]
"Dll"="serial.dll"
"Prefix"="COM"
"Index"=dword:00000001
"FriendlyName"="Serial Cable on COM1:"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\IrDA]
"Dll"="serial.dll"
"Prefix"="COM"
"Index"=dword:00000003
"FriendlyName"="Serial Port 3 (RC MODE IRDA)"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\IrCOMM]
"Dll"="ircomm.dll"
"Prefix"="COM"
"Index"=dword:00000002

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\IrCOMM\Port]
"FriendlyName"="Infrared Port"

; The shell's application buttons: "Icon" is file,index.
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C1]
"Name"="Button 1"
"Icon"="\\Windows\\calendar.exe,0"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C2]
"Name"="Button 2"
"Icon"="\\Windows\\contacts.exe,0"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C3]
"Name"="Button 3"
"Icon"="\\Windows\\inbox.exe,0"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C4]
"Name"="Button 4"
"Icon"="\\Windows\\tasks.exe,0"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40C5]
"Name"="Button 5"
"Icon"="\\Windows\\voice.exe,0"
)reg";
}

}  // namespace handheld
