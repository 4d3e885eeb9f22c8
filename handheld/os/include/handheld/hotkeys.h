// The handheld's hot-key table: a window registers a key and then receives its presses as hot-key messages
// instead of key presses. The system library "coredll.dll" is reachable by name, so that programs can look up
// calls that are not in every version of the system (UnregisterFunc1) at run time.
#pragma once

#include <optional>

#include "handheld/types.h"

namespace handheld {

inline constexpr UINT MOD_WIN = 8;
inline constexpr DWORD ERROR_HOTKEY_ALREADY_REGISTERED = 1409;
inline constexpr DWORD ERROR_HOTKEY_NOT_REGISTERED = 1419;

// FALSE (GetLastError ERROR_HOTKEY_ALREADY_REGISTERED) when another window holds the key. The same window
// registering an identifier again moves it to the new key.
BOOL RegisterHotKey(HWND owner, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND owner, int id);
// Takes a key away from whoever holds it (the shell holds the application keys until a program takes them).
BOOL UnregisterFunc1(UINT modifiers, int virtualKey);

// Where a press of a key goes: the registered window and identifier, or nothing (then it is a key press).
struct HotKeyTarget {
    HWND owner;
    int id;
};
std::optional<HotKeyTarget> FindHotKey(UINT virtualKey);
// Tests: forget every registration.
void ClearHotKeys();

// System libraries by name ("coredll.dll", ignoring case) and their calls by name; null when unknown.
struct SystemLibrary;
using HINSTANCE = SystemLibrary*;
using FARPROC = void (*)();
HINSTANCE LoadLibraryW(LPCWSTR libraryName);
FARPROC GetProcAddressW(HINSTANCE library, LPCWSTR procName);
BOOL FreeLibrary(HINSTANCE library);
using UnregisterFunc1Proc = BOOL (*)(UINT modifiers, int virtualKey);
// Tests: a system without the named call (as on handhelds whose system lacks it); false shows it again.
void HideSystemCall(LPCWSTR procName, bool hidden);

}  // namespace handheld
