#include "app/model/device_creation.h"

#include "app/model/device_templates.h"
#include "app/model/program_folder.h"

namespace {

void AppendRows(Device& device, std::span<const TemplateRow> rows, std::uint16_t panel) {
    for (const TemplateRow& row : rows) {
        ButtonRecord record;
        record.name = row.name;
        record.label = row.label;
        record.skin = row.skin;
        record.x = static_cast<std::uint16_t>(row.x);
        record.y = static_cast<std::uint16_t>(row.y);
        record.color = row.color;
        record.panel = panel;
        device.records.push_back(std::move(record));
    }
}

}  // namespace

std::u16string DeviceFolder() {
    return GetProgramFolder() + u"\\Devices\\";
}

Device MakeStandardDevice(std::u16string_view name, DeviceType type) {
    Device device;
    device.formatVersion = 1;
    device.deviceType = type;
    device.name = name;
    if (type == DT_RECEIVER) AppendRows(device, STANDARD_RECEIVER, 0);
    if (type == DT_PLAYER) AppendRows(device, STANDARD_PLAYER, 0);
    AppendRows(device, STANDARD_FUNCTION_PANEL, 1);
    return device;
}

FileResult CreateStandardDevice(std::u16string_view name, DeviceType type) {
    Device device = MakeStandardDevice(name, type);
    return device.Save(false, DeviceFolder() + std::u16string(name) + u".kdr");
}
