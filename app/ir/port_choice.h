// The IR port setting and the "Ir Port" submenu's contents: "<Auto>" (the driver chooses) or one of the
// handheld's active COM drivers. The shell builds the Qt menu from PortMenu and reports choices back here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Sets portName and tells the driver, unless name is already the setting (then the driver is not called).
// True when the setting changed.
bool ApplyPortName(std::u16string& portName, std::u16string_view name);

struct PortEntry {
    std::u16string name;          // the driver's "Name", such as "COM3:"
    std::u16string friendlyName;  // may be empty
    std::u16string Text() const { return name + u"   " + friendlyName; }
};

// The active COM drivers in registry order; empty when the driver list cannot be opened.
std::vector<PortEntry> EnumeratePorts();

inline constexpr unsigned kPortMenuFirstCommand = 40065;  // "<Auto>"; ports follow at 40066, 40067, ...
inline constexpr std::u16string_view kAutoPortText = u"<Auto>";

struct PortMenu {
    std::vector<std::u16string> itemTexts;  // "<Auto>" first, then one per port
    std::vector<bool> checked;              // one per item
};

// The submenu for the stored setting: "<Auto>" checked unless a port's name equals portName ignoring case.
PortMenu BuildPortMenu(const std::vector<PortEntry>& ports, std::u16string_view portName);

// The setting an item's text stands for: a port text up to its first blank, or empty for "<Auto>".
std::u16string PortNameFromItemText(std::u16string_view itemText);

// A chosen item (position = command - kPortMenuFirstCommand): applies its port and checks it alone.
// False for a position the menu does not have.
bool ChoosePortItem(PortMenu& menu, std::size_t position, std::u16string& portName);
