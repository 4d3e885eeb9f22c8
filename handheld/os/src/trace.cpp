#include "handheld/trace.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

namespace handheld {

namespace {
const std::string& TraceSetting() {
    static const std::string setting = [] {
        const char* value = std::getenv("ORVANE_TRACE");
        return std::string(value ? value : "");
    }();
    return setting;
}
}  // namespace

bool TraceEnabled(const char* channel) {
    const std::string& setting = TraceSetting();
    if (setting.empty()) return false;
    if (setting == "all") return true;
    const std::size_t length = std::strlen(channel);
    std::size_t start = 0;
    while (start <= setting.size()) {
        std::size_t end = setting.find(',', start);
        if (end == std::string::npos) end = setting.size();
        if (end - start == length && setting.compare(start, length, channel) == 0) return true;
        start = end + 1;
    }
    return false;
}

void TraceLine(const char* channel, const char* format, ...) {
    std::fprintf(stderr, "trace:%s: ", channel);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

}  // namespace handheld
