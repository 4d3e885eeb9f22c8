// A simulated remote described in JSON, as tools and tests hand it to the receiver:
// {"carrier_hz":38000,"durations_us":[9000,-4500,...],"repeat":2}. Other members are ignored.
#pragma once

#include <string>
#include <string_view>

#include "handheld/soc/simulation.h"

namespace handheld::soc {

// False with a reason for text that is not such an object (bad JSON, a missing or non-numeric member,
// a carrier outside 1 Hz-1 MHz, a duration outside 32 bits, a repeat below 1).
bool ParseRemoteSignal(std::string_view json, RemoteSignal& signal, std::string* error);

}  // namespace handheld::soc
