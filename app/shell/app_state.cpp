#include "app/shell/app_state.h"

DeviceSettings* AppState::CurrentDeviceSettings() {
    for (auto& settings : shownDevices) {
        if (settings.deviceName == currentDevice) return &settings;
    }
    return nullptr;
}

AppState& TheAppState() {
    static AppState state;
    return state;
}
