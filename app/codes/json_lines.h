// Signal lines: one JSON object a line, {"name":"Power","carrier_hz":38000,"durations_us":[9000,-4500,...],
// "repeat":1}, as the simulated remote of "ir learn --from" takes them. "repeat_start" keeps a code's
// repeat part; other members are ignored.
#pragma once

#include <string>
#include <string_view>

#include "app/codes/code_list.h"

namespace codes {

// One line; false with a reason for a line that is not such an object.
bool ReadJsonLine(std::string_view line, NamedCode& code, std::string& reason);
std::string WriteJsonLines(const CodeList& codes);

}  // namespace codes
