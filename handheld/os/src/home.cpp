#include "handheld/home.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <system_error>
#include <vector>

#include "handheld/profile.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace fs = std::filesystem;

namespace handheld {

namespace {

struct HomeState {
    std::mutex mutex;
    fs::path home;
    bool opened = false;
};

HomeState& State() {
    static HomeState state;
    return state;
}

// Handheld folders every home has, and where the program lives.
constexpr const char16_t* kStorageFolders[] = {u"\\Windows", u"\\My Documents", u"\\My Documents\\VUDirazu back",
                                               u"\\My Documents\\VUDirazu sounds", u"\\Program Files\\Orvane\\Devices"};

// Writes through a temporary file and a rename, so that a failure never leaves half a file.
bool WriteWholeFile(const fs::path& target, std::string_view bytes, std::string* reason) {
    const fs::path temporary = target.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            if (reason) *reason = "cannot write " + temporary.string();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        if (reason) *reason = "cannot write " + target.string() + ": " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

fs::path HostOfStorage(const fs::path& home, std::u16string_view handheldFolder) {
    fs::path result = home / "storage";
    std::size_t start = 1;
    while (start <= handheldFolder.size()) {
        std::size_t end = handheldFolder.find(u'\\', start);
        if (end == std::u16string_view::npos) end = handheldFolder.size();
        if (end > start) result /= ToUtf8(handheldFolder.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

bool MakeHome(const fs::path& home, std::string* reason) {
    std::error_code ec;
    fs::create_directories(home, ec);
    if (ec || !fs::is_directory(home, ec)) {
        if (reason) *reason = "cannot make the handheld home " + home.string() + ": " + ec.message();
        return false;
    }
    for (const char16_t* folder : kStorageFolders) {
        fs::create_directories(HostOfStorage(home, folder), ec);
        if (ec) {
            if (reason) *reason = "cannot make the storage of " + home.string() + ": " + ec.message();
            return false;
        }
    }
    if (!fs::exists(home / "registry.reg", ec) &&
        !WriteWholeFile(home / "registry.reg", DefaultRegistryText(), reason)) {
        return false;
    }
    if (!fs::exists(home / "profile.ini", ec) &&
        !WriteWholeFile(home / "profile.ini", FormatProfile(HandheldProfile{}), reason)) {
        return false;
    }
    return true;
}

}  // namespace

fs::path DefaultHomeDirectory() {
    fs::path data;
    // A relative XDG_DATA_HOME is invalid by its own rules and is ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* entry = getpwuid(getuid());
            home = entry ? entry->pw_dir : "/tmp";
        }
        data = fs::path(home) / ".local" / "share";
    }
    return data / "orvane" / "handheld";
}

bool OpenHome(const fs::path& directory, std::string* reason) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(directory, ec);
    if (ec || directory.empty()) {
        if (reason) *reason = "no handheld home folder given";
        return false;
    }
    if (!MakeHome(absolute, reason)) return false;
    {
        HomeState& state = State();
        std::lock_guard lock(state.mutex);
        state.home = absolute.lexically_normal();
        state.opened = true;
    }
    detail::ResetProfileCache();
    ReloadRegistry();
    HH_TRACE("files", "handheld home %s", absolute.c_str());
    return true;
}

fs::path TakeHandheldOption(int& argc, char** argv) {
    fs::path chosen = DefaultHomeDirectory();
    int kept = argc > 0 ? 1 : 0;
    constexpr std::string_view kOption = "--handheld";
    for (int i = kept; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == kOption) {
            if (i + 1 < argc) {
                chosen = argv[++i];
            } else {
                HH_TRACE("files", "--handheld without a folder; using %s", chosen.c_str());
            }
            continue;
        }
        if (argument.substr(0, kOption.size() + 1) == "--handheld=") {
            chosen = std::string(argument.substr(kOption.size() + 1));
            continue;
        }
        argv[kept++] = argv[i];
    }
    if (kept < argc) argv[kept] = nullptr;
    argc = kept;
    return chosen;
}

const fs::path& HomeDirectory() {
    HomeState& state = State();
    {
        std::lock_guard lock(state.mutex);
        if (state.opened) return state.home;
    }
    std::string reason;
    if (!OpenHome(DefaultHomeDirectory(), &reason)) {
        HH_TRACE("files", "cannot open the default handheld home: %s", reason.c_str());
        std::lock_guard lock(state.mutex);
        if (!state.opened) {
            state.home = DefaultHomeDirectory();
            state.opened = true;
        }
    }
    return state.home;
}

fs::path StorageDirectory() {
    return HomeDirectory() / "storage";
}

bool ProgramInstalled() {
    const auto resolved = detail::Resolve(kProgramModulePath);
    return resolved && resolved->exists && !resolved->isDirectory;
}

namespace detail {

bool IsValidName(std::u16string_view name, bool allowWildcards) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
            case u'/':
            case u'\\':
            case u'<':
            case u'>':
            case u':':
            case u'"':
            case u'|':
                return false;
            case u'*':
            case u'?':
                if (!allowWildcards) return false;
                break;
            default:
                break;
        }
        // An unpaired surrogate has no host spelling; two such names would meet in one host file.
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::optional<ResolvedPath> Resolve(std::u16string_view handheldPath) {
    if (handheldPath.empty() || handheldPath[0] != u'\\') return std::nullopt;
    ResolvedPath result;
    result.host = StorageDirectory();
    result.exists = true;
    result.isDirectory = true;
    result.parentIsDirectory = true;
    result.isRoot = true;
    std::size_t start = 1;
    while (start <= handheldPath.size()) {
        std::size_t end = handheldPath.find(u'\\', start);
        if (end == std::u16string_view::npos) end = handheldPath.size();
        const std::u16string_view component = handheldPath.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;  // trailing or doubled backslash
        if (!IsValidName(component, false)) return std::nullopt;
        // Anything after a file, or below a missing folder, is below no folder at all.
        result.parentIsDirectory = result.exists && result.isDirectory;
        result.isRoot = false;
        std::string spelling = ToUtf8(component);
        bool found = false;
        if (result.parentIsDirectory) {
            std::error_code ec;
            std::string exact;
            std::vector<std::string> others;
            for (fs::directory_iterator it(result.host, ec), stop; !ec && it != stop; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (!EqualsIgnoreCase(FromUtf8(name), component)) continue;
                if (name == spelling)
                    exact = name;
                else
                    others.push_back(name);
            }
            // A host folder may hold names that differ only in case; the exact spelling, else the first
            // in sorted order, keeps the choice stable.
            if (!exact.empty() || !others.empty()) {
                spelling = !exact.empty() ? exact : *std::min_element(others.begin(), others.end());
                found = true;
            }
        }
        result.host /= spelling;
        result.exists = false;
        result.isDirectory = false;
        if (found) {
            struct stat status {};
            if (lstat(result.host.c_str(), &status) != 0) return std::nullopt;
            // A link could lead out of the storage.
            if (S_ISLNK(status.st_mode)) return std::nullopt;
            result.exists = true;
            result.isDirectory = S_ISDIR(status.st_mode);
        }
    }
    return result;
}

}  // namespace detail

std::optional<fs::path> HostPath(std::u16string_view handheldPath) {
    auto resolved = detail::Resolve(handheldPath);
    if (!resolved) return std::nullopt;
    return std::move(resolved->host);
}

DWORD GetModuleFileNameW(void* module, LPWSTR fileName, DWORD size) {
    if (module != nullptr) {
        HH_TRACE("files", "GetModuleFileNameW: only the program's own module is known");
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (fileName == nullptr && size > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    CopyTruncated(fileName, size, kProgramModulePath);
    if (kProgramModulePath.size() >= size) {
        // As Win32: cut to size - 1 characters and a terminator, the buffer size returned.
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(kProgramModulePath.size());
}

}  // namespace handheld
