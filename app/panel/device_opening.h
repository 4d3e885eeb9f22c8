// Opening a device by name: its file is read into the application's one device and both panels are filled,
// the function panel from the function rows and the main panel by device type, then the device's display
// settings are applied. A name with only a ".ccf" file is handed to the CCF viewer instead.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "app/panel/skin_panel.h"
#include "app/shell/app_state.h"

// The two panels of the open device.
struct DevicePanels {
    SkinPanel mainPanel;
    SkinPanel functionPanel;
};

// What the opening needs from the program around the panels. Every hook may be left empty.
struct DeviceOpening {
    const ButtonArtwork* library = nullptr;
    handheld::HWND panelWindow = nullptr;  // the buttons' window, and the parent of a CCF view
    std::function<void()> closeCcfView;
    // Shows the CCF file in a view under the parent window; false when it cannot.
    std::function<bool(std::u16string_view ccfPath, handheld::HWND parent)> showCcf;
    std::function<bool(SkinPanel& panel, std::u16string_view picturePath)> loadPicture;
    std::function<void(const Device& device)> refreshHardwareKeys;
    std::function<void()> repaint;
    std::function<void(int kind)> callback;  // 1: a CCF view is shown, 0: the device's panel
};

// True when a device of a known type was shown or a CCF file handed over.
bool OpenDevice(std::u16string_view name, AppState& state, DevicePanels& panels, const DeviceOpening& opening);

// Fills both panels from a device already read and applies its settings (none: the defaults). False, with
// only the label rotation applied, for a device type without panels.
bool FillDevicePanels(const Device& device, const DeviceSettings* settings, std::uint32_t buttonRotation,
                      DevicePanels& panels, const DeviceOpening& opening);
