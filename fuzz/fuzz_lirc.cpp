// Any bytes as a lircd.conf file: never a crash, however many bits, flags or durations it claims, and every
// accepted code is one the driver can send.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/codes/code_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    codes::CodeList list;
    if (!codes::ReadCodeFile(codes::CodeFormat::Lirc, text, list, nullptr)) return 0;
    for (const codes::NamedCode& code : list) {
        if (!codes::FitsDriver(code.signal, nullptr)) std::abort();
    }
    codes::CodeList again;
    if (!codes::ReadCodeFile(codes::CodeFormat::Lirc, codes::WriteCodeFile(codes::CodeFormat::Lirc, list), again,
                             nullptr)) {
        std::abort();
    }
    return 0;
}
