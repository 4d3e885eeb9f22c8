#include "tools/orvanectl/code_formats.h"

#include <cstdio>

namespace orvanectl {

bool FormatFromArguments(const std::string& formatName, const std::string& file, codes::CodeFormat& format) {
    (void)file;
    if (formatName.empty() || formatName == "pronto") {
        format = codes::CodeFormat::Pronto;
        return true;
    }
    std::fprintf(stderr, "orvanectl: the format %s is not offered (pronto)\n", formatName.c_str());
    return false;
}

}  // namespace orvanectl
