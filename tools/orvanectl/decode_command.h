// orvanectl ir decode, and the protocol object that kdr show puts on every entry with samples.
#pragma once

#include <string>
#include <vector>

#include "app/codes/protocol.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

// {"protocol":"NEC1","device":4,"subdevice":-1,"function":8,"toggle":null,"frequency_hz":38000}
void WriteProtocolJson(JsonWriter& out, const codes::ProtocolFields& fields);

// The arguments after "ir" ({"decode", ...}).
int RunIrDecode(std::vector<std::string>& args);

}  // namespace orvanectl
