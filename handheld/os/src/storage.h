// Internal: how handheld paths reach host files, and the open-file table that enforces sharing.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "handheld/files.h"

namespace handheld::detail {

// A handheld path resolved to the host. `host` keeps the caller's spelling for the parts that do not exist.
struct ResolvedPath {
    std::filesystem::path host;
    bool exists = false;
    bool isDirectory = false;
    bool parentIsDirectory = false;  // the folder that would hold it exists
    bool isRoot = false;
};

// Nullopt for a path that is not absolute, names `.`/`..`, holds a character the handheld's file system
// forbids, or would leave the storage (a symbolic link on the way).
std::optional<ResolvedPath> Resolve(std::u16string_view handheldPath);

// True for a single file-name component the handheld accepts.
bool IsValidName(std::u16string_view name, bool allowWildcards);

// Last error from an errno value, for the calls of this layer.
DWORD ErrorFromErrno(int error);

// Attributes as the handheld reports them for a host file.
DWORD AttributesOf(const struct stat& status);
FILETIME FileTimeOf(const struct timespec& time);

// The object of the given kind behind a handle; nullptr for a handle that is not open or of another kind.
template <class Object>
Object* ObjectOf(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !IsLiveKernelObject(handle)) return nullptr;
    return dynamic_cast<Object*>(handle);
}

// One open file of the process.
struct FileKey {
    dev_t device;
    ino_t inode;
    bool operator==(const FileKey&) const = default;
};

class FileObject : public KernelObject {
public:
    FileObject(int fd, FileKey key, std::filesystem::path host, DWORD access, DWORD share)
        : fd_(fd), key_(key), host_(std::move(host)), access_(access), share_(share) {}
    ~FileObject() override;

    int Fd() const { return fd_; }
    const FileKey& Key() const { return key_; }
    const std::filesystem::path& Host() const { return host_; }  // where it was opened
    DWORD Access() const { return access_; }
    DWORD Share() const { return share_; }

private:
    int fd_;
    FileKey key_;
    std::filesystem::path host_;
    DWORD access_;
    DWORD share_;
};

// Opens a file as CreateFileW does (sharing checked against every open handle of the process). Sets the last
// error; nullptr on failure.
FileObject* OpenFile(std::u16string_view path, DWORD access, DWORD share, DWORD disposition, DWORD attributes);

// True while any handle of the process has this file open.
bool IsFileOpen(const FileKey& key);
// True while any handle of the process has a file below this host folder open.
bool IsFileOpenBelow(const std::filesystem::path& folder);
FileKey KeyOf(const struct stat& status);

// True while a mapping or a view of the file exists; such a file cannot be truncated.
bool IsFileMapped(const FileKey& key);

// Writes all bytes or fails with the last error set; `written` gets what reached the file. Honours the
// write-failure hook.
bool WriteAll(int fd, const void* buffer, std::size_t size, std::size_t* written);

// Forgets what was read from the previous home (profile).
void ResetProfileCache();

}  // namespace handheld::detail
