#include "handheld/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <vector>

#include "device_files.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace handheld {

namespace detail {

namespace {

struct OpenTable {
    std::mutex mutex;
    std::vector<const FileObject*> files;
};

OpenTable& Table() {
    static OpenTable* table = new OpenTable;  // outlives handles deleted at exit
    return *table;
}

struct WriteBudget {
    std::mutex mutex;
    std::optional<std::uint64_t> remainingBytes;
};

WriteBudget& Budget() {
    static WriteBudget budget;
    return budget;
}

bool SharingConflicts(DWORD access, DWORD share, const FileObject& open) {
    // Opens without data access take no part in sharing, as on the handheld.
    constexpr DWORD kDataAccess = GENERIC_READ | GENERIC_WRITE;
    if (!(access & kDataAccess) || !(open.Access() & kDataAccess)) return false;
    if ((access & GENERIC_READ) && !(open.Share() & FILE_SHARE_READ)) return true;
    if ((access & GENERIC_WRITE) && !(open.Share() & FILE_SHARE_WRITE)) return true;
    if ((open.Access() & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
    if ((open.Access() & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    return false;
}

}  // namespace

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        default:
            return ERROR_ACCESS_DENIED;  // EACCES, EPERM, EROFS, EISDIR and what has no closer meaning
    }
}

FileKey KeyOf(const struct stat& status) {
    return FileKey{status.st_dev, status.st_ino};
}

FileObject::~FileObject() {
    {
        OpenTable& table = Table();
        std::lock_guard lock(table.mutex);
        table.files.erase(std::remove(table.files.begin(), table.files.end(), this), table.files.end());
    }
    ::close(fd_);
}

bool IsFileOpen(const FileKey& key) {
    OpenTable& table = Table();
    std::lock_guard lock(table.mutex);
    return std::any_of(table.files.begin(), table.files.end(),
                       [&](const FileObject* file) { return file->Key() == key; });
}

bool IsFileOpenBelow(const std::filesystem::path& folder) {
    const std::string prefix = folder.string() + "/";
    OpenTable& table = Table();
    std::lock_guard lock(table.mutex);
    return std::any_of(table.files.begin(), table.files.end(), [&](const FileObject* file) {
        return file->Host().string().compare(0, prefix.size(), prefix) == 0;
    });
}

FileObject* OpenFile(std::u16string_view path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto resolved = Resolve(path);
    if (!resolved) {
        HH_TRACE("files", "'%s': not a handheld path", ToUtf8(path).c_str());
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    if (resolved->isDirectory) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (!resolved->exists && !resolved->parentIsDirectory) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0 || truncates;
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // non-blocking so that a stray FIFO cannot hang the open
    flags |= reads && writes ? O_RDWR : (writes ? O_WRONLY : O_RDONLY);
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    const char* host = resolved->host.c_str();

    OpenTable& table = Table();
    std::lock_guard lock(table.mutex);
    bool created = false;
    int fd = -1;
    if (disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) {
        fd = ::open(host, flags | O_CREAT | O_EXCL, mode);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST && disposition != CREATE_NEW) fd = ::open(host, flags);
    } else {
        fd = ::open(host, flags);
    }
    if (fd < 0) {
        const int error = errno;
        SetLastError(error == ENOENT && !resolved->parentIsDirectory ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(error));
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const FileKey key = KeyOf(status);
    const DWORD checkedAccess = truncates ? (access | GENERIC_WRITE) : access;
    for (const FileObject* open : table.files) {
        if (open->Key() == key && SharingConflicts(checkedAccess, share, *open)) {
            ::close(fd);
            HH_TRACE("files", "'%s': sharing violation", ToUtf8(path).c_str());
            SetLastError(ERROR_SHARING_VIOLATION);
            return nullptr;
        }
    }
    if (truncates && !created && IsFileMapped(key)) {
        // Cutting the file under a view would turn the view's pages into faults.
        ::close(fd);
        HH_TRACE("files", "'%s': cannot truncate a mapped file", ToUtf8(path).c_str());
        SetLastError(ERROR_USER_MAPPED_FILE);
        return nullptr;
    }
    if (truncates && !created && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        SetLastError(ErrorFromErrno(error));
        return nullptr;
    }
    auto* file = new FileObject(fd, key, resolved->host, access, share);
    table.files.push_back(file);
    const bool reportExisting = !created && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return file;
}

bool WriteAll(int fd, const void* buffer, std::size_t size, std::size_t* written) {
    *written = 0;
    std::size_t allowed = size;
    {
        WriteBudget& budget = Budget();
        std::lock_guard lock(budget.mutex);
        if (budget.remainingBytes) {
            allowed = static_cast<std::size_t>(std::min<std::uint64_t>(size, *budget.remainingBytes));
            *budget.remainingBytes -= allowed;
        }
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (*written < allowed) {
        const ssize_t n = ::write(fd, bytes + *written, allowed - *written);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            SetLastError(error == EIO ? ERROR_WRITE_FAULT : ErrorFromErrno(error));
            return false;
        }
        *written += static_cast<std::size_t>(n);
    }
    if (allowed < size) {
        HH_TRACE("files", "write failed on purpose after %zu of %zu bytes", allowed, size);
        SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return true;
}

}  // namespace detail

namespace {

// The file behind a handle, or nullptr with the last error set.
detail::FileObject* FileOf(HANDLE handle, const char* call) {
    if (auto* file = detail::ObjectOf<detail::FileObject>(handle)) return file;
    const bool otherKind = handle != nullptr && handle != INVALID_HANDLE_VALUE && detail::IsLiveKernelObject(handle);
    if (otherKind) HH_TRACE("files", "%s: not supported on this kind of handle", call);
    SetLastError(otherKind ? ERROR_NOT_SUPPORTED : ERROR_INVALID_HANDLE);
    return nullptr;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    if (path == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::u16string_view name(path, WideLength(path));
    if (detail::IsDeviceName(name)) return detail::OpenDeviceFile(name, desiredAccess, shareMode, creationDisposition);
    HANDLE file = detail::OpenFile(name, desiredAccess, shareMode, creationDisposition, flagsAndAttributes);
    HH_TRACE("files", "CreateFileW('%s', %#x, %#x, %u) -> %s", ToUtf8(name).c_str(), desiredAccess, shareMode,
             creationDisposition, file ? "open" : "failed");
    return file ? file : INVALID_HANDLE_VALUE;
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped) {
    if (bytesRead) *bytesRead = 0;
    detail::FileObject* file = FileOf(handle, "ReadFile");
    if (!file) return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && bytesToRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(file->Access() & GENERIC_READ)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    DWORD done = 0;
    while (done < bytesToRead) {
        const ssize_t n = ::read(file->Fd(), bytes + done, bytesToRead - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            if (bytesRead) *bytesRead = done;
            SetLastError(error == EIO ? ERROR_READ_FAULT : detail::ErrorFromErrno(error));
            return FALSE;
        }
        if (n == 0) break;  // end of file: a short read, not an error
        done += static_cast<DWORD>(n);
    }
    if (bytesRead) *bytesRead = done;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped) {
    if (bytesWritten) *bytesWritten = 0;
    detail::FileObject* file = FileOf(handle, "WriteFile");
    if (!file) return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && bytesToWrite > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(file->Access() & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    std::size_t written = 0;
    const bool ok = detail::WriteAll(file->Fd(), buffer, bytesToWrite, &written);
    if (bytesWritten) *bytesWritten = static_cast<DWORD>(written);
    return ok ? TRUE : FALSE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    detail::FileObject* file = FileOf(handle, "FlushFileBuffers");
    if (!file) return FALSE;
    if (!(file->Access() & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (::fsync(file->Fd()) != 0) {
        const int error = errno;
        SetLastError(error == EIO ? ERROR_WRITE_FAULT : detail::ErrorFromErrno(error));
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileSize(HANDLE handle, DWORD* fileSizeHigh) {
    detail::FileObject* file = FileOf(handle, "GetFileSize");
    if (!file) return INVALID_FILE_SIZE;
    struct stat status {};
    if (::fstat(file->Fd(), &status) != 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (fileSizeHigh) *fileSizeHigh = static_cast<DWORD>(size >> 32);
    // A size whose low word is 0xFFFFFFFF is told apart from failure by the last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    detail::FileObject* file = FileOf(handle, "SetFilePointer");
    if (!file) return INVALID_SET_FILE_POINTER;
    const std::int64_t offset =
        distanceHigh
            ? static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
                                        static_cast<std::uint32_t>(distance))
            : static_cast<std::int64_t>(distance);
    std::int64_t base = 0;
    if (moveMethod == FILE_CURRENT) {
        base = ::lseek(file->Fd(), 0, SEEK_CUR);
    } else if (moveMethod == FILE_END) {
        struct stat status {};
        base = ::fstat(file->Fd(), &status) == 0 ? status.st_size : -1;
    } else if (moveMethod != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (offset < 0 && base < -offset) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    const std::int64_t target = base + offset;
    if (!distanceHigh && target > static_cast<std::int64_t>(0xFFFFFFFE)) {
        SetLastError(ERROR_INVALID_PARAMETER);  // the position would not fit the one word the caller reads
        return INVALID_SET_FILE_POINTER;
    }
    if (::lseek(file->Fd(), target, SEEK_SET) < 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(target) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(target);
}

void SetWriteFailureAfterBytes(std::optional<std::uint64_t> bytes) {
    detail::WriteBudget& budget = detail::Budget();
    std::lock_guard lock(budget.mutex);
    budget.remainingBytes = bytes;
}

}  // namespace handheld
