// The places where the program hands over to dialogs and services built elsewhere. Each entry may stay
// empty: the program then goes on as if the dialog had been closed at once.
#pragma once

#include <functional>
#include <string_view>

#include "app/model/device.h"
#include "handheld/types.h"

struct ProgramHooks {
    // "Settings..." of the main menu, owned by the main window.
    std::function<void(handheld::HWND mainWindow)> settingsDialog;
    // "Hardware buttons..." of the main menu, owned by the main window.
    std::function<void(handheld::HWND mainWindow)> hardwareButtonsDialog;
    // "Properties..." of the edit-mode button menu (or a short tap on a button in edit mode) for the selected
    // button (AppState::pressedName), owned by the panel window.
    std::function<void(handheld::HWND panelWindow)> buttonProperties;
    // "Add button..." of the edit-mode skin menu: the new button is placed at the portrait panel point.
    std::function<void(handheld::HWND panelWindow, int x, int y)> addButton;
    // A hint asked for by RequestHint and taken off the main window's queue.
    std::function<void(handheld::HWND dialog, int hint, int secondHint)> showHint;
    // The tap on the main window's top-left corner.
    std::function<void(handheld::HWND mainWindow)> picturePopup;
    // A device name with only a ".ccf" file: shows it under parent; false when it cannot.
    std::function<bool(std::u16string_view ccfPath, handheld::HWND parent)> showCcf;
    // Closes the CCF view, if one is shown (before every opening and at shutdown).
    std::function<void()> closeCcfView;
    // An own device was opened: its hardware keys become the hot keys.
    std::function<void(const Device& device)> refreshHardwareKeys;
    // The program registers the next-device hot key (193) on the main window at start and frees it at the end.
    std::function<void(handheld::HWND mainWindow)> registerNextDeviceKey;
    std::function<void(handheld::HWND mainWindow)> unregisterNextDeviceKey;
};

// The one set of hooks the running program uses.
ProgramHooks& TheProgramHooks();
