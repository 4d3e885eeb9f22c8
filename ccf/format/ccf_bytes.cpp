#include "ccf/format/ccf_bytes.h"

#include <cstring>

namespace tessaly {

bool CCFBytes::ReadName(std::uint32_t offset, std::string& out) const {
    if (offset == 0 || !Has(offset, 1)) return false;
    const std::size_t length = U8(offset);
    if (!Has(std::uint64_t{offset} + 1, length)) return false;
    out.assign(reinterpret_cast<const char*>(data + offset + 1), length);
    return true;
}

std::string CCFBytes::ReadFixedString(std::uint64_t offset, std::size_t length) const {
    if (offset >= size) return {};
    const std::size_t available = size - offset < length ? size - offset : length;
    const auto* start = reinterpret_cast<const char*>(data + offset);
    const void* nul = std::memchr(start, 0, available);
    return std::string(start, nul ? static_cast<const char*>(nul) - start : available);
}

}  // namespace tessaly
