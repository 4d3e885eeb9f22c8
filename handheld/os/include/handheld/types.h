// Basic types of the handheld platform API. The system's own code is written against the handheld's
// operating-system calls; these are their types, sized as on the handheld (32-bit DWORD, UTF-16 WCHAR).
#pragma once

#include <cstdint>

namespace handheld {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = int;
using WCHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

struct KernelObject;
namespace detail {
// The live kernel objects of the process, so that CloseHandle refuses a handle that was never opened or is
// already closed instead of deleting it a second time.
void TrackKernelObject(KernelObject* object, bool alive);
bool IsLiveKernelObject(const KernelObject* object);
}  // namespace detail

// Every kernel object (file, find search, mapping, serial port, device) is reached through one handle type;
// CloseHandle releases any of them. Objects must be made with new: CloseHandle deletes them.
struct KernelObject {
    KernelObject() { detail::TrackKernelObject(this, true); }
    KernelObject(const KernelObject&) : KernelObject() {}
    KernelObject& operator=(const KernelObject&) { return *this; }
    virtual ~KernelObject() { detail::TrackKernelObject(this, false); }
};
using HANDLE = KernelObject*;
inline KernelObject* const INVALID_HANDLE_VALUE = reinterpret_cast<KernelObject*>(~std::uintptr_t{0});

// A window handle is opaque to the operating-system layer; the shell defines what stands behind it.
struct HWND__;
using HWND = HWND__*;

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    std::int64_t QuadPart;
};

// Error codes left by failing calls (GetLastError).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_WRITE_FAULT = 29;
inline constexpr DWORD ERROR_READ_FAULT = 30;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_MORE_DATA = 234;
inline constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
inline constexpr DWORD ERROR_DIRECTORY = 267;
inline constexpr DWORD ERROR_INVALID_ADDRESS = 487;
inline constexpr DWORD ERROR_FILE_INVALID = 1006;
inline constexpr DWORD ERROR_USER_MAPPED_FILE = 1224;

// Per thread, as on the handheld.
DWORD GetLastError();
void SetLastError(DWORD error);

}  // namespace handheld
