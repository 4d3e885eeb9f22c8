#include "app/model/panel_layout.h"

#include <span>

#include "app/model/device_templates.h"

namespace {

// A template row, coloured and labelled by the record of its name when the device has one.
PanelButtonLayout FromRow(const Device& device, const TemplateRow& row, bool captionFromRecord) {
    PanelButtonLayout button{row.name, row.skin, row.label, row.x, row.y, row.color, {}};
    const auto record = device.FindRecord(button.name);
    if (record != device.records.end()) {
        button.color = record->color;
        button.label = record->label;
        if (captionFromRecord) button.caption = record->commandName;
    }
    return button;
}

std::vector<PanelButtonLayout> FromRows(const Device& device, std::span<const TemplateRow> rows, bool captions) {
    std::vector<PanelButtonLayout> buttons;
    for (const TemplateRow& row : rows) buttons.push_back(FromRow(device, row, captions));
    return buttons;
}

}  // namespace

std::u16string_view SkinShape(std::u16string_view skin) {
    constexpr std::u16string_view kFlatPrefix = u"FLAT_";
    return skin.starts_with(kFlatPrefix) ? skin.substr(kFlatPrefix.size()) : skin;
}

std::vector<PanelButtonLayout> FunctionPanelButtons(const Device& device) {
    return FromRows(device, STANDARD_FUNCTION_PANEL, true);
}

std::vector<PanelButtonLayout> MainPanelButtons(const Device& device) {
    switch (device.deviceType) {
        case DT_RECEIVER:
            return FromRows(device, STANDARD_RECEIVER, false);
        case DT_PLAYER:
            return FromRows(device, STANDARD_PLAYER, false);
        case DT_CUSTOM:
            break;
        default:
            return {};
    }
    std::vector<PanelButtonLayout> buttons;
    for (const ButtonRecord& record : device.records) {
        if (record.panel != 0) continue;
        PanelButtonLayout button{record.name, record.skin, record.label, record.x, record.y, record.color, {}};
        // Only the function shapes, flat or not, have room for a caption.
        const std::u16string_view shape = SkinShape(record.skin);
        if (shape == u"F_LEFT" || shape == u"F_RIGHT") button.caption = record.commandName;
        buttons.push_back(std::move(button));
    }
    return buttons;
}
