// LIRC "lircd.conf" files: remotes between "begin remote" and "end remote", each either raw ("begin
// raw_codes": "name" then bursts and pauses) or encoded (space-encoded, RC5 or RC6 bits with header, one,
// zero, plead, ptrail, pre_data, post_data, pre, post, repeat, gap, toggle and the flags that shape them).
#pragma once

#include <string>
#include <string_view>

#include "app/codes/code_list.h"

namespace codes {

bool ReadLircConf(std::string_view text, CodeList& codes, std::string* error);
// Raw remotes, one for each run of codes that share carrier and closing gap.
std::string WriteLircConf(const CodeList& codes);

}  // namespace codes
