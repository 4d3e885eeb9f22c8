// Which buttons a device's two panels show, where, and how they look: the template rows fix position and
// shape of the standard buttons, the records supply colour, label and (function panel) caption; a custom
// device's main panel comes from its own records. The panel code draws from these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/device.h"

struct PanelButtonLayout {
    std::u16string name;  // the button's name, the key of its record
    std::u16string skin;
    std::u16string label;
    int x = 0;  // top-left corner in portrait panel pixels
    int y = 0;
    std::uint32_t color = 0;  // 0x00BBGGRR
    std::u16string caption;   // text drawn on the button; empty for none
};

// The shape a skin is drawn with: the skin's name without a leading "FLAT_" (the flat variant of a shape).
std::u16string_view SkinShape(std::u16string_view skin);

// The twelve function buttons, for every device type.
std::vector<PanelButtonLayout> FunctionPanelButtons(const Device& device);
// The main panel by device type; empty for a type without a main panel.
std::vector<PanelButtonLayout> MainPanelButtons(const Device& device);
