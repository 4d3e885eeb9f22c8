#include "app/panel/device_opening.h"

#include "app/model/panel_layout.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "app/shell/stored_files.h"
#include "handheld/files.h"

namespace {

void Fill(SkinPanel& panel, const std::vector<PanelButtonLayout>& layout, const DeviceOpening& opening) {
    for (const PanelButtonLayout& row : layout) {
        FaceButton button;
        button.Create(opening.library, opening.panelWindow, row.name, row.x, row.y, STATE_NORMAL, row.skin, true);
        button.caption = row.caption;
        button.SetLabel(row.label);
        button.Measure();
        button.SetColor(row.color);
        panel.AddButton(button, false);
    }
}

const DeviceSettings* SettingsOf(const AppState& state, std::u16string_view name) {
    for (const DeviceSettings& settings : state.shownDevices) {
        if (settings.deviceName == name) return &settings;
    }
    return nullptr;
}

bool FileExists(const std::u16string& path) {
    return handheld::GetFileAttributesW(path.c_str()) != handheld::INVALID_FILE_ATTRIBUTES;
}

void Notify(const std::function<void()>& hook) {
    if (hook) hook();
}

}  // namespace

bool FillDevicePanels(const Device& device, const DeviceSettings* settings, std::uint32_t buttonRotation,
                      DevicePanels& panels, const DeviceOpening& opening) {
    panels.mainPanel.Clear();
    panels.functionPanel.Clear();
    Fill(panels.functionPanel, FunctionPanelButtons(device), opening);
    Fill(panels.mainPanel, MainPanelButtons(device), opening);
    panels.mainPanel.SetLabelRotation(std::int32_t(buttonRotation));
    const bool known =
        device.deviceType == DT_RECEIVER || device.deviceType == DT_PLAYER || device.deviceType == DT_CUSTOM;
    if (!known) return false;

    SkinPanel& main = panels.mainPanel;
    // A device without settings of its own shows the defaults, not what the previous device left behind.
    const DeviceSettings defaults;
    const DeviceSettings& shown = settings ? *settings : defaults;
    main.SetBackgroundColor(shown.backgroundColor);
    panels.functionPanel.SetBackgroundColor(shown.backgroundColor);
    if (shown.flags & DeviceSettings::kBackgroundPicture) {
        main.SetTransparentButtons(shown.flags & DeviceSettings::kTransparentButtons);
        main.FreePicture();
        if (opening.loadPicture) opening.loadPicture(main, shown.backgroundPicture);
    } else {
        main.FreePicture();
    }
    return true;
}

bool OpenDevice(std::u16string_view name, AppState& state, DevicePanels& panels, const DeviceOpening& opening) {
    Notify(opening.closeCcfView);
    panels.mainPanel.Clear();
    panels.functionPanel.Clear();
    if (name.empty()) {
        Notify(opening.repaint);
        return false;
    }

    const std::u16string base = GetProgramFolder() + u"\\Devices\\" + std::u16string(name);
    if (!LoadDevice(state.device, base + u".kdr", false)) {
        const std::u16string ccfPath = base + u".ccf";
        if (!FileExists(ccfPath)) {
            ShowError(state.mainWindow, u"ERR_4", u"Can't load device KDR or CCF");
            return false;
        }
        if (opening.panelWindow == nullptr || !opening.showCcf || !opening.showCcf(ccfPath, opening.panelWindow)) {
            return false;
        }
        if (opening.callback) opening.callback(1);
        return true;
    }

    const bool shown = FillDevicePanels(state.device, SettingsOf(state, name), state.buttonRotation, panels, opening);
    if (shown) {
        Notify(opening.repaint);
        if (opening.callback) opening.callback(0);
        if (opening.refreshHardwareKeys) opening.refreshHardwareKeys(state.device);
    }
    Notify(opening.repaint);
    return shown;
}
