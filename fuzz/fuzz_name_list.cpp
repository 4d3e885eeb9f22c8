// Any bytes as a "STRINGS" name list: never a read past the end, never an empty or over-long name.
#include <cstdint>
#include <cstdlib>

#include "app/shell/name_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t consumed = 0;
    for (const auto& name : ParseNameList(data, size)) {
        if (name.empty() || name.size() > kMaxListNameChars) std::abort();
        consumed += name.size();
    }
    if (consumed > size) std::abort();
    return 0;
}
