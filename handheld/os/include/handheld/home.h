// The handheld home: the host folder that holds the handheld's storage, registry and profile.
// Only this layer knows host paths.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "handheld/types.h"

namespace handheld {

// Default home: $XDG_DATA_HOME/orvane/handheld, else ~/.local/share/orvane/handheld.
std::filesystem::path DefaultHomeDirectory();

// Chooses the home for this process (before any other call of the platform). A home that does not
// exist yet is created with the defaults: storage folders, registry and profile. The program is not part of
// it: the programs that make a new home install it with orvane-install (see ProgramInstalled). Returns false
// (with a reason) when the folder cannot be made.
bool OpenHome(const std::filesystem::path& directory, std::string* reason = nullptr);

// Takes "--handheld DIR" (or "--handheld=DIR") out of argv, leaving the other arguments in order; returns
// the folder named or DefaultHomeDirectory().
std::filesystem::path TakeHandheldOption(int& argc, char** argv);

// The home in use; OpenHome(DefaultHomeDirectory()) is done on first use when nobody chose one.
const std::filesystem::path& HomeDirectory();
std::filesystem::path StorageDirectory();

// Host path of a handheld path, resolved component by component ignoring case; components that do not
// exist yet keep their spelling. Empty for a path that is not absolute or that leaves the storage.
std::optional<std::filesystem::path> HostPath(std::u16string_view handheldPath);

// The program's module path, as GetModuleFileNameW(nullptr, ...) reports it.
inline constexpr std::u16string_view kProgramModulePath = u"\\Program Files\\Orvane\\Orvane.exe";
DWORD GetModuleFileNameW(void* module, LPWSTR fileName, DWORD size);

// Whether the program's module file is in the home in use: the installer copies it last, so a home without
// it has no program or an installation that did not finish.
bool ProgramInstalled();

}  // namespace handheld
