#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "handheld/files.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace handheld {

namespace {

// Views are placed at multiples of the handheld's allocation granularity.
constexpr std::uint64_t kAllocationGranularityBytes = 64 * 1024;

// Keeps its own descriptor so that the mapping lives on when the file handle is closed.
class MappingObject : public KernelObject {
public:
    MappingObject(int fd, detail::FileKey key, std::uint64_t sizeBytes);
    ~MappingObject() override;
    int Fd() const { return fd_; }
    const detail::FileKey& Key() const { return key_; }
    std::uint64_t SizeBytes() const { return sizeBytes_; }

private:
    int fd_;
    detail::FileKey key_;
    std::uint64_t sizeBytes_;
};

struct View {
    std::size_t lengthBytes;
    detail::FileKey key;
};

// Mappings and views by file: a mapped file must not be cut short under its views.
struct ViewTable {
    std::mutex mutex;
    std::map<const void*, View> views;
    std::vector<detail::FileKey> mappedFiles;  // one entry per live mapping object
};

ViewTable& Views() {
    static ViewTable* views = new ViewTable;
    return *views;
}

MappingObject::MappingObject(int fd, detail::FileKey key, std::uint64_t sizeBytes)
    : fd_(fd), key_(key), sizeBytes_(sizeBytes) {
    ViewTable& table = Views();
    std::lock_guard lock(table.mutex);
    table.mappedFiles.push_back(key);
}

MappingObject::~MappingObject() {
    {
        ViewTable& table = Views();
        std::lock_guard lock(table.mutex);
        const auto found = std::find(table.mappedFiles.begin(), table.mappedFiles.end(), key_);
        if (found != table.mappedFiles.end()) table.mappedFiles.erase(found);
    }
    ::close(fd_);
}

}  // namespace

HANDLE CreateFileForMappingW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                             DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    // Every file handle can be mapped here; devices are refused by CreateFileMappingW.
    return CreateFileW(path, desiredAccess, shareMode, securityAttributes, creationDisposition, flagsAndAttributes,
                       templateFile);
}

HANDLE CreateFileMappingW(HANDLE file, void* attributes, DWORD protect, DWORD maximumSizeHigh, DWORD maximumSizeLow,
                          LPCWSTR name) {
    auto* source = detail::ObjectOf<detail::FileObject>(file);
    if (source == nullptr) {
        // Page-file backed (nameless shared memory) mappings are not offered.
        HH_TRACE("files", "CreateFileMappingW: only mappings of open files are supported");
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (protect != PAGE_READONLY || name != nullptr) {
        HH_TRACE("files", "CreateFileMappingW: only unnamed read-only mappings are supported (protect %#x)", protect);
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (!(source->Access() & GENERIC_READ)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(source->Fd(), &status) != 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return nullptr;
    }
    const std::uint64_t requested = (static_cast<std::uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    if (requested > fileSize) {
        SetLastError(ERROR_ACCESS_DENIED);  // a read-only mapping cannot grow its file
        return nullptr;
    }
    const int fd = ::fcntl(source->Fd(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        SetLastError(detail::ErrorFromErrno(errno));
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return new MappingObject(fd, source->Key(), requested != 0 ? requested : fileSize);
}

const void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytesToMap) {
    auto* object = detail::ObjectOf<MappingObject>(mapping);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (desiredAccess != FILE_MAP_READ) {
        HH_TRACE("files", "MapViewOfFile: only read views are supported (access %#x)", desiredAccess);
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const std::uint64_t offset = (static_cast<std::uint64_t>(offsetHigh) << 32) | offsetLow;
    if (offset % kAllocationGranularityBytes != 0 || offset > object->SizeBytes() ||
        bytesToMap > object->SizeBytes() - offset) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::uint64_t length = bytesToMap != 0 ? bytesToMap : object->SizeBytes() - offset;
    if (length == 0) {
        // Nothing to map (an empty file): the handheld refuses such a view too.
        SetLastError(ERROR_FILE_INVALID);
        return nullptr;
    }
    void* view = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, object->Fd(), static_cast<off_t>(offset));
    if (view == MAP_FAILED) {
        SetLastError(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : detail::ErrorFromErrno(errno));
        return nullptr;
    }
    ViewTable& table = Views();
    std::lock_guard lock(table.mutex);
    table.views[view] = View{static_cast<std::size_t>(length), object->Key()};
    SetLastError(ERROR_SUCCESS);
    return view;
}

BOOL UnmapViewOfFile(const void* view) {
    std::size_t length = 0;
    {
        ViewTable& table = Views();
        std::lock_guard lock(table.mutex);
        const auto found = table.views.find(view);
        if (found == table.views.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        length = found->second.lengthBytes;
        table.views.erase(found);
    }
    ::munmap(const_cast<void*>(view), length);
    return TRUE;
}

namespace detail {

bool IsFileMapped(const FileKey& key) {
    ViewTable& table = Views();
    std::lock_guard lock(table.mutex);
    if (std::find(table.mappedFiles.begin(), table.mappedFiles.end(), key) != table.mappedFiles.end()) return true;
    return std::any_of(table.views.begin(), table.views.end(),
                       [&](const auto& entry) { return entry.second.key == key; });
}

}  // namespace detail

}  // namespace handheld
