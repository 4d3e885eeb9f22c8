// The code file formats import and export offer, by name or by the file's extension.
#pragma once

#include <string>

#include "app/codes/code_list.h"

namespace orvanectl {

// The named format, or when none is named the one the file's extension says (Pronto hex otherwise); false
// (after saying why) for a name that is not offered.
bool FormatFromArguments(const std::string& formatName, const std::string& file, codes::CodeFormat& format);

}  // namespace orvanectl
