// The one process-wide state of the main window, built from parts with one owner each: the settings as the
// configuration file holds them (its fields, read at start-up and written at shutdown, live here once), the
// open device, what the user is doing (edit mode, the pressed button, the shown panel), the window handle
// and the button names. The two panels belong to the main window's panel code, the sender's state to the
// sender (TheSendState).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "handheld/types.h"

struct AppState : ApplicationSettings {
    bool editMode = false;
    std::u16string pressedName;  // the panel button last tapped or selected
    bool functionPanelShown = false;
    Device device;
    handheld::HWND mainWindow = nullptr;
    std::vector<std::u16string> nameList;

    // The configuration's part, as read and as to be written.
    ApplicationSettings& Settings() { return *this; }
    const ApplicationSettings& Settings() const { return *this; }

    // The display settings of the shown device named currentDevice (exact match, first in list order).
    DeviceSettings* CurrentDeviceSettings();
};

AppState& TheAppState();
