// The viewer library's exported interface: plain functions through which a program opens a CCF file inside a
// window of its own, switches devices and panels, lists the file's names and learns which device is shown.
// One file is open at a time. Everything runs on the thread that owns the parent window; names are
// zero-terminated UTF-16 strings, valid only during the call that hands them over.
#pragma once

#include "handheld/types.h"

#define TESSALY_EXPORT __attribute__((visibility("default")))

extern "C" {

// Receives one name (valid during the call only).
typedef void (*CCFNameCallback)(const char16_t* name);

// Opens the CCF file at a handheld path and shows it in a 240 x 320 window at parent's origin: the home
// device, else the first device. Closes whatever was open first. Nonzero on success; 0 leaves nothing open
// and shows nothing.
TESSALY_EXPORT int CCFInitUI(handheld::HWND parent, const char16_t* path, int showControlStrip);
// Closes the viewer and the file; the parent window stays. The change-device callback stays registered.
TESSALY_EXPORT void CCFDeinitUI();
// Calls callback with the name of every device of the open file: the home group, then devices, then macros.
TESSALY_EXPORT void CCFMakeDeviceAndMacroNameList(CCFNameCallback callback);
// Called with the name of every device shown from now on (null: none).
TESSALY_EXPORT void CCFSetChangeDeviceCallback(CCFNameCallback callback);
// 1 when the home device (the first of the home group with a panel) is shown; else 0 and the viewer is empty.
TESSALY_EXPORT int CCFShowHomeDeviceOrMacro();
// Shows the first device, in chain order, whose name is exactly name (case matters); none leaves the viewer
// empty.
TESSALY_EXPORT void CCFShowDeviceOrMacro(const char16_t* name);
// 1 when the shown device's previous (next) panel is shown; there is no wrap-around.
TESSALY_EXPORT int CCFShowDevicePriorPanel();
TESSALY_EXPORT int CCFShowDeviceNextPanel();
}

// For the library's own tools and tests, outside the plain-function interface: the viewer that is open, or null.
class CCFScreen;
CCFScreen* CCFCurrentViewer();
// The name most recently requested by CCFShowDeviceOrMacro or chosen in a strip list.
const char16_t* CCFLastRequestedName();
