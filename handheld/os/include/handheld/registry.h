// The handheld registry, read-only, from "registry.reg" in the home (Windows .reg text, UTF-8 or UTF-16LE
// with byte-order mark).
#pragma once

#include <string>
#include <string_view>

#include "handheld/files.h"
#include "handheld/types.h"

namespace handheld {

struct RegistryKeyObject;
using HKEY = RegistryKeyObject*;
HKEY HkeyLocalMachine();
#define HKEY_LOCAL_MACHINE (::handheld::HkeyLocalMachine())

inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;

LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, DWORD desired, HKEY* result);
// nameLength: in, the buffer's capacity in characters; out, the name's length without the terminator.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD* reserved, LPWSTR className,
                   DWORD* classLength, FILETIME* lastWrite);
// dataSize: in, the buffer's capacity in bytes; out, the bytes of the value (a string's with its terminator).
// A buffer too small gives ERROR_MORE_DATA and leaves the buffer untouched.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
// Counts and longest lengths of a key's subkeys and values (names in characters without the terminator,
// data in bytes); any output may be null. The registry keeps no classes: class outputs are empty.
LONG RegQueryInfoKeyW(HKEY key, LPWSTR className, DWORD* classLength, DWORD* reserved, DWORD* subKeys,
                      DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                      DWORD* maxValueLength, void* securityDescriptor, FILETIME* lastWrite);
// Values by index in file order; nameLength in characters as for RegEnumKeyExW, dataSize in bytes.
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* nameLength, DWORD* reserved, DWORD* type, BYTE* data,
                   DWORD* dataSize);
LONG RegCloseKey(HKEY key);

// The registry written into a new home.
std::string DefaultRegistryText();
// Re-reads the registry of the home (tests change it); also done on first use.
void ReloadRegistry();
// Replaces the registry of this process by the given text (tests and tools), not touching the home.
void LoadRegistryText(std::string_view regFileBytes);

}  // namespace handheld
