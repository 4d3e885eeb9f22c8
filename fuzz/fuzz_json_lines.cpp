// Any bytes as signal lines: never a crash, however deep the nesting, and what is read writes and reads back
// the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/codes/code_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    codes::CodeList list;
    if (!codes::ReadCodeFile(codes::CodeFormat::JsonLines, text, list, nullptr)) return 0;
    codes::CodeList again;
    if (!codes::ReadCodeFile(codes::CodeFormat::JsonLines, codes::WriteCodeFile(codes::CodeFormat::JsonLines, list),
                             again, nullptr) ||
        again.size() != list.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (again[i].name != list[i].name || again[i].signal.durationsUs != list[i].signal.durationsUs) std::abort();
    }
    return 0;
}
