// The installer helper's four entry points, called by the handheld's installer around an installation, with
// the installer's usual arguments. Looked up by name: the installer loads the library at run time.
#pragma once

#include "handheld/types.h"

extern "C" {

// Results the installer understands.
enum InstallInitResult { kInstallInitContinue = 0, kInstallInitCancel = 1 };
enum InstallExitResult { kInstallExitDone = 0, kInstallExitUninstall = 1 };

InstallInitResult Install_Init(handheld::HWND parent, handheld::BOOL firstCall, handheld::BOOL previouslyInstalled,
                               handheld::LPCWSTR installFolder);
// Shows the "Language" dialog for the installation folder (without owner, on the handheld's screen).
InstallExitResult Install_Exit(handheld::HWND parent, handheld::LPCWSTR installFolder, handheld::WORD failedFolders,
                               handheld::WORD failedFiles, handheld::WORD failedRegistryKeys,
                               handheld::WORD failedRegistryValues, handheld::WORD failedShortcuts);
InstallInitResult Uninstall_Init(handheld::HWND parent, handheld::LPCWSTR installFolder);
InstallExitResult Uninstall_Exit(handheld::HWND parent);

using InstallInitFunction = decltype(&Install_Init);
using InstallExitFunction = decltype(&Install_Exit);
using UninstallInitFunction = decltype(&Uninstall_Init);
using UninstallExitFunction = decltype(&Uninstall_Exit);
}
