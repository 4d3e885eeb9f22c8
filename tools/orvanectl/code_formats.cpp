#include "tools/orvanectl/code_formats.h"

#include <cstdio>

namespace orvanectl {

bool FormatFromArguments(const std::string& formatName, const std::string& file, codes::CodeFormat& format) {
    const auto endsWith = [&file](std::string_view suffix) {
        return file.size() >= suffix.size() && file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (formatName == "lirc" || (formatName.empty() && endsWith(".conf"))) {
        format = codes::CodeFormat::Lirc;
        return true;
    }
    if (formatName == "flipper" || (formatName.empty() && endsWith(".ir"))) {
        format = codes::CodeFormat::FlipperIr;
        return true;
    }
    if (formatName == "pronto" || (formatName.empty() && !endsWith(".jsonl") && !endsWith(".json"))) {
        format = codes::CodeFormat::Pronto;
        return true;
    }
    if (formatName == "json" || formatName.empty()) {
        format = codes::CodeFormat::JsonLines;
        return true;
    }
    std::fprintf(stderr, "orvanectl: the format %s is not offered (pronto, json, flipper, lirc)\n", formatName.c_str());
    return false;
}

}  // namespace orvanectl
