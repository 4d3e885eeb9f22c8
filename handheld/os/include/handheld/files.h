// Files, find, copy, move, delete and read-only mapping on the handheld's storage. Paths are handheld
// paths: backslash-separated, rooted at "\", resolved component by component ignoring case.
#pragma once

#include <cstdint>
#include <optional>

#include "handheld/types.h"

namespace handheld {

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;

inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;

inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

inline constexpr int MAX_PATH = 260;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};

// Names of the form "COM3:" or "OBX0:" open a device of the active-driver list instead of a file.
// Sharing is enforced among the open handles of this process as the handheld does: a second open fails with
// ERROR_SHARING_VIOLATION when either side's share mode does not admit the other's access (creating with
// CREATE_ALWAYS or TRUNCATE_EXISTING counts as writing). A folder cannot be opened (ERROR_ACCESS_DENIED).
HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, DWORD* fileSizeHigh);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
BOOL CloseHandle(HANDLE object);

// Test use only (process-wide): after this many more bytes every write of the platform (WriteFile, CopyFileW)
// fails with ERROR_DISK_FULL, having written what still fitted. Nullopt switches the failure off.
void SetWriteFailureAfterBytes(std::optional<std::uint64_t> bytes);

// `*` and `?` in the last component, ignoring case; "*.*" matches every name, also names without a dot.
// The names found are reported in the order of their upper-case forms, never "." or "..", and only names
// the handheld could open (host names with forbidden characters or links are left out).
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);

BOOL CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists);
// Fails with ERROR_ALREADY_EXISTS when the target exists (the caller deletes it first); a change of case
// only is a rename of the same file.
BOOL MoveFileW(LPCWSTR existing, LPCWSTR target);
// A file open by any handle of the process cannot be deleted or moved (ERROR_SHARING_VIOLATION).
BOOL DeleteFileW(LPCWSTR path);
BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes);
BOOL RemoveDirectoryW(LPCWSTR path);
DWORD GetFileAttributesW(LPCWSTR path);

// Read-only mapping of a whole file, as the handheld offers it: open for mapping, create the mapping,
// map a view. The view stays valid until UnmapViewOfFile, even after both handles are closed. An empty file
// has nothing to map: MapViewOfFile fails with ERROR_FILE_INVALID. Offsets must be multiples of 64 KiB.
inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD FILE_MAP_READ = 0x04;
HANDLE CreateFileForMappingW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                             DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE CreateFileMappingW(HANDLE file, void* attributes, DWORD protect, DWORD maximumSizeHigh, DWORD maximumSizeLow,
                          LPCWSTR name);
const void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytesToMap);
BOOL UnmapViewOfFile(const void* view);

}  // namespace handheld
