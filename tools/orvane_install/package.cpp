#include "tools/orvane_install/package.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "handheld/home.h"
#include "handheld/text.h"
#include "setup/core/language_installation.h"

extern char** environ;

namespace orvane_install {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kModuleExtension = ".exe";
constexpr std::string_view kLanguageExtension = ".ln1";
constexpr std::string_view kHelpExtension = ".zanthht1";

struct PackageFile {
    fs::path source;
    fs::path relative;  // below its part of the package
    std::u16string_view handheldFolder;
};

fs::path RunningProgramFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : executable.parent_path();
}

// The package's files, sorted, the module files last.
bool ListFiles(const Package& package, std::vector<PackageFile>& files, std::string* reason) {
    const std::pair<const fs::path*, std::u16string_view> parts[] = {{&package.programFiles, kInstallFolder},
                                                                     {&package.windowsFiles, kWindowsFolder}};
    for (const auto& [root, folder] : parts) {
        std::error_code ec;
        if (root->empty() || !fs::is_directory(*root, ec)) {
            if (root == &package.programFiles) {
                if (reason) *reason = "no program package at '" + root->string() + "'";
                return false;
            }
            continue;  // a package without help files
        }
        for (auto it = fs::recursive_directory_iterator(*root, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (it->is_regular_file(ec)) files.push_back({it->path(), it->path().lexically_relative(*root), folder});
        }
        if (ec) {
            if (reason) *reason = "cannot read the package at '" + root->string() + "': " + ec.message();
            return false;
        }
    }
    std::sort(files.begin(), files.end(), [](const PackageFile& a, const PackageFile& b) {
        const bool aModule = a.relative.extension() == kModuleExtension;
        const bool bModule = b.relative.extension() == kModuleExtension;
        if (aModule != bModule) return bModule;
        return a.source < b.source;
    });
    return true;
}

std::u16string HandheldPathOf(const PackageFile& file) {
    std::u16string path(file.handheldFolder);
    for (const auto& component : file.relative) path += u"\\" + handheld::FromUtf8(component.string());
    return path;
}

std::vector<std::string> NamesWithExtension(const fs::path& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == extension) names.push_back(it->path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveHandheldFile(const std::u16string& handheldPath, std::string* reason) {
    const auto host = handheld::HostPath(handheldPath);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) return true;  // never there, or already gone
    if (!fs::remove(*host, ec)) {
        if (reason) *reason = "cannot remove " + host->string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

Package Package::InShare(const fs::path& share) {
    return {share / "package", share / "windows"};
}

Package Package::OfThisProgram() {
    return InShare(RunningProgramFolder() / ".." / "share" / "orvane");
}

Offer OfferedLanguages(const Package& package) {
    Offer offer{NamesWithExtension(package.programFiles, kLanguageExtension), {"English"}};
    for (auto& name : NamesWithExtension(package.windowsFiles, kHelpExtension)) offer.helpLanguages.push_back(name);
    return offer;
}

bool CopyPackage(const Package& package, std::string* reason) {
    std::vector<PackageFile> files;
    if (!ListFiles(package, files, reason)) return false;
    for (const PackageFile& file : files) {
        const auto target = handheld::HostPath(HandheldPathOf(file));
        std::error_code ec;
        if (target) {
            fs::create_directories(target->parent_path(), ec);
            if (!ec) fs::copy_file(file.source, *target, fs::copy_options::overwrite_existing, ec);
        }
        if (!target || ec) {
            if (reason) {
                *reason = "cannot copy " + file.source.string() + " to " + handheld::ToUtf8(HandheldPathOf(file)) +
                          (ec ? ": " + ec.message() : "");
            }
            return false;
        }
    }
    return true;
}

bool RemovePackage(const Package& package, std::string* reason) {
    std::vector<PackageFile> files;
    if (!ListFiles(package, files, reason)) return false;
    const std::u16string installFolder(kInstallFolder);
    const std::u16string windowsFolder(kWindowsFolder);
    for (const PackageFile& file : files) {
        if (file.relative.extension() == kModuleExtension) {
            const std::u16string appName = pravon::BaseName(handheld::FromUtf8(file.relative.filename().string()));
            if (!RemoveHandheldFile(installFolder + u"\\" + appName + u".lng", reason) ||
                !RemoveHandheldFile(windowsFolder + u"\\" + appName + u".htm", reason)) {
                return false;
            }
        }
        if (!RemoveHandheldFile(HandheldPathOf(file), reason)) return false;
    }
    // Deepest first; a folder that still holds something of the user's stays.
    const auto programFolder = handheld::HostPath(installFolder);
    if (!programFolder) return true;
    std::vector<fs::path> folders;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(*programFolder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec)) folders.push_back(it->path());
    }
    folders.push_back(*programFolder);
    std::sort(folders.rbegin(), folders.rend());
    for (const auto& folder : folders) {
        if (fs::is_empty(folder, ec)) fs::remove(folder, ec);
    }
    return true;
}

bool InstallProgramIfMissing(const fs::path& home, std::string* reason, std::string_view language) {
    if (handheld::ProgramInstalled()) return true;
    const std::string installer = (RunningProgramFolder() / "orvane-install").string();
    const std::string homeArgument = home.string();
    const std::string languageArgument(language);
    const char* arguments[] = {installer.c_str(),        "--handheld", homeArgument.c_str(), "--language",
                               languageArgument.c_str(), nullptr};
    pid_t child = 0;
    const int spawnError =
        posix_spawn(&child, installer.c_str(), nullptr, nullptr, const_cast<char* const*>(arguments), environ);
    if (spawnError != 0) {
        if (reason) *reason = "cannot run " + installer + ": " + std::strerror(spawnError);
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            if (reason) *reason = "lost " + installer + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        if (reason) *reason = installer + " failed (see above)";
        return false;
    }
    if (!handheld::ProgramInstalled()) {
        if (reason) *reason = installer + " left no program on the handheld";
        return false;
    }
    return true;
}

}  // namespace orvane_install
