// The one process-wide state of the main window: the open device, the shown devices and the settings
// that live for the whole run. Window, panel and hardware-button state join it with the parts that need it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "handheld/types.h"

struct AppState {
    bool editMode = false;
    std::u16string currentDevice;
    std::uint16_t optionFlags = ApplicationSettings::kShowHints | ApplicationSettings::kUnmapButtonsWhenMinimized;
    std::u16string pressedName;  // the panel button last tapped or selected
    std::vector<DeviceSettings> shownDevices;
    bool functionPanelShown = false;
    Device device;
    handheld::HWND mainWindow = nullptr;
    std::vector<std::u16string> nameList;
    std::u16string portName;
    std::uint32_t buttonRotation = 0;

    // The display settings of the shown device named currentDevice (exact match, first in list order).
    DeviceSettings* CurrentDeviceSettings();
};

AppState& TheAppState();
