#include "app/model/byte_source.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "app/model/little_endian.h"

namespace {
constexpr std::size_t kSkipChunkBytes = 4096;
}  // namespace

std::size_t ByteSource::Skip(std::uint64_t bytes) {
    std::array<std::uint8_t, kSkipChunkBytes> scratch;
    std::uint64_t skipped = 0;
    while (skipped < bytes) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(scratch.size(), bytes - skipped));
        const std::size_t got = Read(scratch.data(), chunk);
        skipped += got;
        if (got < chunk) break;
    }
    return static_cast<std::size_t>(std::min<std::uint64_t>(skipped, std::numeric_limits<std::size_t>::max()));
}

bool ByteSource::TakeU16(std::uint16_t& value) {
    std::uint8_t bytes[2];
    if (Read(bytes, sizeof bytes) != sizeof bytes) return false;
    value = ReadU16(bytes);
    return true;
}

bool ByteSource::TakeU32(std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (Read(bytes, sizeof bytes) != sizeof bytes) return false;
    value = ReadU32(bytes);
    return true;
}

std::size_t FileByteSource::Read(void* buffer, std::size_t bytes) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t total = 0;
    while (total < bytes) {
        const auto chunk = static_cast<handheld::DWORD>(std::min<std::size_t>(bytes - total, 0x7FFFFFFF));
        handheld::DWORD got = 0;
        if (!handheld::ReadFile(file_, out + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

std::size_t MemoryByteSource::Read(void* buffer, std::size_t bytes) {
    const std::size_t count = std::min(bytes, bytes_.size() - position_);
    if (count != 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
}
