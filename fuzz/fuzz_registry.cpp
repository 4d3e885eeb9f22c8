// Any bytes as the handheld's registry file: loading never fails or crashes, and whatever it yields must
// hold together through the calls: counts agree with enumeration, every name opens or reads again, every
// value's size query matches its read, text values end with their terminator.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "handheld/registry.h"

namespace {

using namespace handheld;

void Check(bool condition) {
    if (!condition) std::abort();
}

constexpr DWORD kMaxKeyNameChars = 255;

void CheckValues(HKEY key, DWORD valueCount, DWORD maxNameLength, DWORD maxDataBytes) {
    for (DWORD index = 0; index < valueCount; ++index) {
        std::vector<char16_t> name(maxNameLength + 1);
        auto nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = 0;
        Check(RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) == ERROR_SUCCESS);
        Check(nameLength <= maxNameLength && size <= maxDataBytes);

        std::vector<BYTE> data(size + 1, 0xEE);
        DWORD readSize = size;
        DWORD readType = 0;
        Check(RegQueryValueExW(key, name.data(), nullptr, &readType, data.data(), &readSize) == ERROR_SUCCESS);
        Check(readType == type && readSize == size && data[size] == 0xEE);
        if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
            Check(size >= 2 && size % 2 == 0 && data[size - 1] == 0 && data[size - 2] == 0);
        if (type == REG_DWORD) Check(size == 4);
        if (size > 0) {
            DWORD smaller = size - 1;
            Check(RegQueryValueExW(key, name.data(), nullptr, nullptr, data.data(), &smaller) == ERROR_MORE_DATA);
            Check(smaller == size);
        }
    }
    char16_t name[2];
    DWORD nameLength = 2;
    Check(RegEnumValueW(key, valueCount, name, &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS);
}

// Walks the tree without recursion: a file may nest keys thousands deep.
void WalkEveryKey() {
    std::vector<HKEY> pending{HKEY_LOCAL_MACHINE};
    while (!pending.empty()) {
        const HKEY key = pending.back();
        pending.pop_back();
        DWORD subKeys = 0, maxSubKeyLength = 0, values = 0, maxValueName = 0, maxValueBytes = 0;
        Check(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLength, nullptr, &values,
                               &maxValueName, &maxValueBytes, nullptr, nullptr) == ERROR_SUCCESS);
        Check(maxSubKeyLength <= kMaxKeyNameChars);
        CheckValues(key, values, maxValueName, maxValueBytes);
        for (DWORD index = 0;; ++index) {
            char16_t name[kMaxKeyNameChars + 1];
            DWORD length = kMaxKeyNameChars + 1;
            const LONG result = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS) {
                Check(index == subKeys);
                break;
            }
            Check(result == ERROR_SUCCESS && length > 0 && length <= maxSubKeyLength);
            Check(std::u16string_view(name, length).find(u'\\') == std::u16string_view::npos);
            HKEY subkey = nullptr;
            Check(RegOpenKeyExW(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS && subkey != nullptr);
            pending.push_back(subkey);
        }
        Check(RegCloseKey(key) == ERROR_SUCCESS);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadRegistryText(std::string_view(reinterpret_cast<const char*>(data), size));
    WalkEveryKey();
    return 0;
}
