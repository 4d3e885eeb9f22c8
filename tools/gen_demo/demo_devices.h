// The ready-made demo devices of the program package: a receiver and a player with every standard button
// learned, and a custom amplifier panel with a macro.
#pragma once

#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"

namespace demo {

// The devices in the order they are shown; empty with a reason when a button has no code to give.
std::vector<Device> MakeDemoDevices(std::string& reason);

// Settings that show the devices in their order and open the first.
ApplicationSettings MakeDemoSettings(const std::vector<Device>& devices);

}  // namespace demo
