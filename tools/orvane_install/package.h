// The program package as orvane-install copies it onto a handheld, and what the programs that make a new
// handheld home call to get the program installed there. No Qt: the test homes install the package too.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane_install {

// Where the package puts the program on the handheld.
inline constexpr std::u16string_view kInstallFolder = u"\\Program Files\\Orvane";
inline constexpr std::u16string_view kWindowsFolder = u"\\Windows";

struct Package {
    std::filesystem::path programFiles;  // copied to kInstallFolder: the program, its libraries, *.ln1, demos
    std::filesystem::path windowsFiles;  // copied to kWindowsFolder: the help files

    // The package as the build lays it out: <share>/package and <share>/windows.
    static Package InShare(const std::filesystem::path& share);
    // The package of the running program: ../share/orvane from the folder of its executable.
    static Package OfThisProgram();
};

// The languages the package offers for the program and for its help ("English" first, then each help file).
struct Offer {
    std::vector<std::string> uiLanguages;
    std::vector<std::string> helpLanguages;
};
Offer OfferedLanguages(const Package& package);

// Copies every file of the package into the open handheld home, replacing what is there. The program's
// module file ("*.exe") comes last, so that its presence tells that the copy is complete. Stops at the first
// file that cannot be copied, with the reason.
bool CopyPackage(const Package& package, std::string* reason);

// Removes the files the package brought and those the installation made from them (the program's language
// and help files), then the program folder's folders that are left empty. Files the user made stay.
bool RemovePackage(const Package& package, std::string* reason);

// For the programs that make a new handheld home: when the open home has no program yet, runs orvane-install
// (found beside the running program) on it with the given language. False with a reason when the installer
// cannot be run, fails, or leaves no program behind.
bool InstallProgramIfMissing(const std::filesystem::path& home, std::string* reason,
                             std::string_view language = "English");

}  // namespace orvane_install
