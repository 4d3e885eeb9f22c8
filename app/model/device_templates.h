// The fixed button tables that give the standard devices their look: written as records into a new
// standard device, and consulted on every opening for where each standard button stands and its skin.
#pragma once

#include <cstdint>
#include <span>

struct TemplateRow {
    const char16_t* name;   // the record key
    const char16_t* skin;   // shape name in the button library
    const char16_t* label;  // default label key
    int x;                  // top-left corner in portrait panel pixels
    int y;
    std::uint32_t color;  // 0x00BBGGRR
};

extern const std::span<const TemplateRow> STANDARD_RECEIVER;        // 23 rows, panel 0
extern const std::span<const TemplateRow> STANDARD_PLAYER;          // 20 rows, panel 0
extern const std::span<const TemplateRow> STANDARD_FUNCTION_PANEL;  // 12 rows, panel 1, shared by every device
