// Flipper ".ir" signal files: a "Filetype: IR signals file" / "Version: 1" head, then blocks of "key: value"
// lines, each starting at "name:". A "raw" block carries frequency, duty_cycle and data (microseconds,
// bursts and pauses in turn); a "parsed" block a protocol with address and command bytes (little-endian hex),
// which are encoded into timings here.
#pragma once

#include <string>
#include <string_view>

#include "app/codes/code_list.h"

namespace codes {

bool ReadFlipperIr(std::string_view text, CodeList& codes, std::string* error);
// Every code as a raw block; the repeat part is not kept by the format.
std::string WriteFlipperIr(const CodeList& codes);

}  // namespace codes
