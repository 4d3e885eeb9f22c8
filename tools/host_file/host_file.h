// Files the tools, the generators and the test support write on the host, written whole or not at all: the
// bytes go to a temporary file beside the target, are flushed to the disk and renamed over the target. A
// failed write leaves the target as it was and no temporary behind, and says why.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace host_file {

// Writes `bytes` to `target`, making its missing folders; an existing target keeps its permissions. On
// failure returns false and sets `error` to "cannot write TARGET: reason".
bool WriteAtomically(const std::filesystem::path& target, std::string_view bytes, std::string& error);

inline bool WriteAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                            std::string& error) {
    return WriteAtomically(target, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

// Copies `source` to `target` the same way.
bool CopyAtomically(const std::filesystem::path& source, const std::filesystem::path& target, std::string& error);

}  // namespace host_file
