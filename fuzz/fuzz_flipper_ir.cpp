// Any bytes as a Flipper .ir file: never a crash, and every accepted code is one the driver can send and that
// writes out and reads back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/codes/code_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    codes::CodeList list;
    if (!codes::ReadCodeFile(codes::CodeFormat::FlipperIr, text, list, nullptr)) return 0;
    for (const codes::NamedCode& code : list) {
        if (!codes::FitsDriver(code.signal, nullptr)) std::abort();
    }
    codes::CodeList again;
    if (!codes::ReadCodeFile(codes::CodeFormat::FlipperIr, codes::WriteCodeFile(codes::CodeFormat::FlipperIr, list),
                             again, nullptr) ||
        again.size() != list.size()) {
        std::abort();
    }
    return 0;
}
