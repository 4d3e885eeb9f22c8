#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "handheld/files.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace handheld {

namespace {

// Seconds between 1601-01-01 (FILETIME's epoch) and 1970-01-01, and FILETIME's tick of 100 ns.
constexpr std::uint64_t kFileTimeEpochOffsetSeconds = 11644473600ULL;
constexpr std::uint64_t kFileTimeTicksPerSecond = 10000000ULL;

// All matches are taken when the search starts: the order is fixed and later changes to the folder do not
// shift the enumeration.
class FindObject : public KernelObject {
public:
    explicit FindObject(std::vector<WIN32_FIND_DATAW> entries) : entries_(std::move(entries)) {}
    bool Next(WIN32_FIND_DATAW* data) {
        if (next_ >= entries_.size()) return false;
        *data = entries_[next_++];
        return true;
    }

private:
    std::vector<WIN32_FIND_DATAW> entries_;
    std::size_t next_ = 0;
};

// `*` any run of characters, `?` any one character, letters ignoring case.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
    std::size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || ToUpper(pattern[p]) == ToUpper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool MatchesFindPattern(std::u16string_view pattern, std::u16string_view name) {
    if (Matches(pattern, name)) return true;
    // As on the handheld, "name.*" also finds "name" without an extension ("*.*" finds every name).
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
           Matches(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace

namespace detail {

FILETIME FileTimeOf(const struct timespec& time) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.tv_sec) + kFileTimeEpochOffsetSeconds) * kFileTimeTicksPerSecond +
        static_cast<std::uint64_t>(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

DWORD AttributesOf(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return (status.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

}  // namespace detail

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
    if (pattern == nullptr || data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::u16string_view whole(pattern, WideLength(pattern));
    const std::size_t lastSeparator = whole.rfind(u'\\');
    if (lastSeparator == std::u16string_view::npos) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::u16string_view namePattern = whole.substr(lastSeparator + 1);
    const auto folder = detail::Resolve(whole.substr(0, lastSeparator + 1));
    if (!folder || !folder->isDirectory || (!namePattern.empty() && !detail::IsValidName(namePattern, true))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::pair<std::u16string, WIN32_FIND_DATAW>> found;
    if (DIR* directory = ::opendir(folder->host.c_str())) {
        while (const dirent* entry = ::readdir(directory)) {
            const std::u16string name = FromUtf8(entry->d_name);
            if (!detail::IsValidName(name, false) || name.size() >= MAX_PATH) continue;
            if (!MatchesFindPattern(namePattern, name)) continue;
            struct stat status {};
            if (::fstatat(::dirfd(directory), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
            if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) continue;  // links, devices: not reachable
            // Host names that are not valid UTF-8 come back with U+FFFD and could not be opened again.
            if (ToUtf8(name) != entry->d_name) continue;
            WIN32_FIND_DATAW item{};
            item.dwFileAttributes = detail::AttributesOf(status);
            item.ftCreationTime = detail::FileTimeOf(status.st_ctim);
            item.ftLastAccessTime = detail::FileTimeOf(status.st_atim);
            item.ftLastWriteTime = detail::FileTimeOf(status.st_mtim);
            const auto size = S_ISDIR(status.st_mode) ? 0 : static_cast<std::uint64_t>(status.st_size);
            item.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            item.nFileSizeLow = static_cast<DWORD>(size);
            CopyTruncated(item.cFileName, MAX_PATH, name);
            found.emplace_back(ToUpper(name), item);
        }
        ::closedir(directory);
    } else {
        SetLastError(detail::ErrorFromErrno(errno) == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND
                                                                           : detail::ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    if (found.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // Sorted by the upper-case form (then by spelling): the same order on every host file system.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return std::u16string_view(a.second.cFileName) < std::u16string_view(b.second.cFileName);
    });
    std::vector<WIN32_FIND_DATAW> entries;
    entries.reserve(found.size());
    for (auto& [key, item] : found) entries.push_back(item);
    auto* search = new FindObject(std::move(entries));
    search->Next(data);
    HH_TRACE("files", "FindFirstFileW('%s'): %zu names", ToUtf8(whole).c_str(), found.size());
    SetLastError(ERROR_SUCCESS);
    return search;
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
    FindObject* object = detail::ObjectOf<FindObject>(search);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->Next(data)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    if (detail::ObjectOf<FindObject>(search) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return CloseHandle(search);
}

}  // namespace handheld
