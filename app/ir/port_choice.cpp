#include "app/ir/port_choice.h"

#include "driver/irdriver/lumbra.h"
#include "handheld/comm.h"
#include "handheld/text.h"
#include "handheld/trace.h"

using namespace handheld;

namespace {

// Longest subkey name (characters) and string value (bytes) the menu reads.
constexpr ActiveDriverLimits kRegistryLimits{512, 512};
constexpr std::u16string_view kPortPrefix = u"COM";

}  // namespace

bool ApplyPortName(std::u16string& portName, std::u16string_view name) {
    if (portName == name) return false;
    portName = name;
    if (CLumbra* driver = CLumbra::Instance()) {
        driver->SetPort(portName.c_str());
    } else {
        HH_TRACE("ir", "no driver to take the IR port setting");
    }
    return true;
}

std::vector<PortEntry> EnumeratePorts() {
    std::vector<PortEntry> ports;
    ForEachActiveComDriver(kRegistryLimits, [&](const ActiveComDriver& driver) {
        ports.push_back(PortEntry{driver.name, driver.friendlyName});
        return true;
    });
    return ports;
}

PortMenu BuildPortMenu(const std::vector<PortEntry>& ports, std::u16string_view portName) {
    PortMenu menu;
    menu.itemTexts.emplace_back(kAutoPortText);
    menu.checked.push_back(true);
    for (const PortEntry& port : ports) {
        const bool stored = !portName.empty() && EqualsIgnoreCase(port.name, portName);
        if (stored) menu.checked[0] = false;
        menu.itemTexts.push_back(port.Text());
        menu.checked.push_back(stored);
    }
    return menu;
}

std::u16string PortNameFromItemText(std::u16string_view itemText) {
    if (!itemText.starts_with(kPortPrefix)) return {};
    return std::u16string(itemText.substr(0, itemText.find(u' ')));
}

bool ChoosePortItem(PortMenu& menu, std::size_t position, std::u16string& portName) {
    if (position >= menu.itemTexts.size()) return false;
    ApplyPortName(portName, PortNameFromItemText(menu.itemTexts[position]));
    for (std::size_t i = 0; i < menu.checked.size(); ++i) menu.checked[i] = (i == position);
    return true;
}
