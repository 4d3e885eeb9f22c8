// Copy, move, delete, folders and attributes on the handheld's storage.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "handheld/files.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace handheld {

namespace {

constexpr std::size_t kCopyChunkBytes = 64 * 1024;

// Resolves a path argument; nullopt (with ERROR_PATH_NOT_FOUND left) for null or a path the handheld refuses.
std::optional<detail::ResolvedPath> ResolveArgument(LPCWSTR path) {
    std::optional<detail::ResolvedPath> resolved;
    if (path != nullptr) resolved = detail::Resolve(std::u16string_view(path, WideLength(path)));
    if (!resolved) SetLastError(ERROR_PATH_NOT_FOUND);
    return resolved;
}

DWORD MissingError(const detail::ResolvedPath& path) {
    return path.parentIsDirectory ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The host path of the last component as the caller spells it, in the resolved folder (a rename that only
// changes the case must land on the new spelling).
std::filesystem::path SpelledAsGiven(const detail::ResolvedPath& resolved, LPCWSTR path) {
    std::u16string_view text(path, WideLength(path));
    while (!text.empty() && text.back() == u'\\') text.remove_suffix(1);
    return resolved.host.parent_path() / ToUtf8(text.substr(text.rfind(u'\\') + 1));
}

bool IsInside(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    const std::string a = inner.string(), b = outer.string() + "/";
    return a.compare(0, b.size(), b) == 0;
}

// Copies the open source into a new temporary file beside the target; its host path, or empty with the last
// error set.
std::filesystem::path CopyToTemporary(int sourceFd, const std::filesystem::path& targetFolder) {
    std::string name = (targetFolder / "~orvane-copy-XXXXXX").string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return {};
    }
    auto failed = [&](DWORD error) {
        ::close(fd);
        ::unlink(name.c_str());
        SetLastError(error);
        return std::filesystem::path();
    };
    std::vector<unsigned char> buffer(kCopyChunkBytes);
    for (;;) {
        const ssize_t n = ::read(sourceFd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(errno == EIO ? ERROR_READ_FAULT : detail::ErrorFromErrno(errno));
        if (n == 0) break;
        std::size_t written = 0;
        if (!detail::WriteAll(fd, buffer.data(), static_cast<std::size_t>(n), &written)) return failed(GetLastError());
    }
    struct stat status {};
    if (::fstat(sourceFd, &status) == 0) {
        // The copy keeps the source's attributes and time of last writing, as on the handheld.
        ::fchmod(fd, status.st_mode & 0777);
        const struct timespec times[2] = {status.st_atim, status.st_mtim};
        ::futimens(fd, times);
    }
    if (::fsync(fd) != 0) return failed(errno == EIO ? ERROR_WRITE_FAULT : detail::ErrorFromErrno(errno));
    ::close(fd);
    return name;
}

}  // namespace

BOOL CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists) {
    const auto source = ResolveArgument(existing);
    if (!source) return FALSE;
    if (!source->exists) return Fail(MissingError(*source));
    if (source->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    const auto destination = ResolveArgument(target);
    if (!destination) return FALSE;
    if (!destination->parentIsDirectory) return Fail(ERROR_PATH_NOT_FOUND);
    if (destination->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    if (destination->exists && failIfExists) return Fail(ERROR_FILE_EXISTS);

    std::unique_ptr<detail::FileObject> input(detail::OpenFile(std::u16string_view(existing, WideLength(existing)),
                                                               GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    if (!input) return FALSE;
    if (destination->exists) {
        struct stat status {};
        if (::stat(destination->host.c_str(), &status) == 0) {
            const detail::FileKey key = detail::KeyOf(status);
            // Onto itself, or onto a file someone has open: the handheld refuses both.
            if (key == input->Key() || detail::IsFileOpen(key)) return Fail(ERROR_SHARING_VIOLATION);
        }
    }
    // The target appears whole or not at all: the bytes go to a temporary file first.
    const std::filesystem::path temporary = CopyToTemporary(input->Fd(), destination->host.parent_path());
    if (temporary.empty()) return FALSE;
    if (failIfExists) {
        const int linked = ::link(temporary.c_str(), destination->host.c_str());
        const int error = errno;
        ::unlink(temporary.c_str());
        if (linked != 0) return Fail(error == EEXIST ? ERROR_FILE_EXISTS : detail::ErrorFromErrno(error));
    } else if (::rename(temporary.c_str(), destination->host.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Fail(detail::ErrorFromErrno(error));
    }
    return TRUE;
}

BOOL MoveFileW(LPCWSTR existing, LPCWSTR target) {
    const auto source = ResolveArgument(existing);
    if (!source) return FALSE;
    if (source->isRoot) return Fail(ERROR_ACCESS_DENIED);
    if (!source->exists) return Fail(MissingError(*source));
    struct stat sourceStatus {};
    if (::lstat(source->host.c_str(), &sourceStatus) != 0) return Fail(detail::ErrorFromErrno(errno));
    // A folder moves only when nothing below it is open, so the open files keep their handheld paths.
    if (source->isDirectory ? detail::IsFileOpenBelow(source->host) : detail::IsFileOpen(detail::KeyOf(sourceStatus))) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    const auto destination = ResolveArgument(target);
    if (!destination) return FALSE;
    if (destination->isRoot) return Fail(ERROR_ACCESS_DENIED);
    if (!destination->parentIsDirectory) return Fail(ERROR_PATH_NOT_FOUND);
    const std::filesystem::path newHost = SpelledAsGiven(*destination, target);
    if (destination->exists) {
        struct stat targetStatus {};
        const bool sameFile = ::lstat(destination->host.c_str(), &targetStatus) == 0 &&
                              detail::KeyOf(targetStatus) == detail::KeyOf(sourceStatus);
        if (!sameFile) return Fail(ERROR_ALREADY_EXISTS);
        if (newHost == source->host) return TRUE;  // the same name: nothing to do
    }
    if (source->isDirectory && IsInside(newHost, source->host)) return Fail(ERROR_ACCESS_DENIED);
    // No replacing, even if the target appears between the check and the rename.
    if (::renameat2(AT_FDCWD, source->host.c_str(), AT_FDCWD, newHost.c_str(), RENAME_NOREPLACE) != 0) {
        int error = errno;
        if (error == EINVAL || error == ENOSYS) {
            // File systems without no-replace renames: the check above has to do.
            struct stat ignored {};
            if (::lstat(newHost.c_str(), &ignored) == 0) return Fail(ERROR_ALREADY_EXISTS);
            error = ::rename(source->host.c_str(), newHost.c_str()) == 0 ? 0 : errno;
        }
        if (error == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
        if (error != 0) return Fail(detail::ErrorFromErrno(error));
    }
    HH_TRACE("files", "moved '%s' to '%s'", source->host.c_str(), newHost.c_str());
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR path) {
    const auto resolved = ResolveArgument(path);
    if (!resolved) return FALSE;
    if (!resolved->exists) return Fail(MissingError(*resolved));
    if (resolved->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    struct stat status {};
    if (::lstat(resolved->host.c_str(), &status) != 0) return Fail(detail::ErrorFromErrno(errno));
    if (detail::AttributesOf(status) & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    if (detail::IsFileOpen(detail::KeyOf(status))) return Fail(ERROR_SHARING_VIOLATION);
    if (::unlink(resolved->host.c_str()) != 0) return Fail(detail::ErrorFromErrno(errno));
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes) {
    const auto resolved = ResolveArgument(path);
    if (!resolved) return FALSE;
    if (resolved->exists) return Fail(ERROR_ALREADY_EXISTS);
    if (!resolved->parentIsDirectory) return Fail(ERROR_PATH_NOT_FOUND);
    if (::mkdir(resolved->host.c_str(), 0777) != 0) {
        return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : detail::ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    const auto resolved = ResolveArgument(path);
    if (!resolved) return FALSE;
    if (resolved->isRoot) return Fail(ERROR_ACCESS_DENIED);
    if (!resolved->exists) return Fail(MissingError(*resolved));
    if (!resolved->isDirectory) return Fail(ERROR_DIRECTORY);
    if (::rmdir(resolved->host.c_str()) != 0) {
        return Fail(errno == EEXIST || errno == ENOTEMPTY ? ERROR_DIR_NOT_EMPTY : detail::ErrorFromErrno(errno));
    }
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    const auto resolved = ResolveArgument(path);
    if (!resolved) return INVALID_FILE_ATTRIBUTES;
    if (!resolved->exists) {
        SetLastError(MissingError(*resolved));
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat status {};
    if (::lstat(resolved->host.c_str(), &status) != 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    return detail::AttributesOf(status);
}

}  // namespace handheld
