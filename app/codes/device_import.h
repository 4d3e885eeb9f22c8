// Codes from a file as custom devices: one button per code on the main panel, in a grid of the button
// library's skins, labelled where the code's name says what the button does; and the way back out.
#pragma once

#include <string>
#include <vector>

#include "app/codes/code_list.h"
#include "app/model/device.h"

namespace codes {

// The grid: five columns of the library's "CHANAL" skin, as the standard receiver lays out its digits.
inline constexpr int kGridColumns = 5;
inline constexpr int kGridRows = 6;
inline constexpr int kButtonsPerPanel = kGridColumns * kGridRows;

// The label key of the button library that says what a code of this name does; empty when none does.
std::u16string LabelForCodeName(std::string_view codeName);

// One device, or with split as many as the codes need (named "NAME 1", "NAME 2"...); false with a reason when
// the codes do not fit one panel and split is not asked for, or a code cannot be stored.
bool BuildImportedDevices(const CodeList& codes, std::u16string_view deviceName, bool split,
                          std::vector<Device>& devices, std::string* error);

// Every button's learned code (entry 0), under its command name or else its button name.
CodeList LearnedCodes(const Device& device);

}  // namespace codes
