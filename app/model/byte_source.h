// Where the readers of the program's own files take their bytes from: an open file, or memory (tools and
// fuzzing), so that one reader serves both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "handheld/files.h"

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `bytes` bytes; the count that came (0 at the end or on a failing read).
    virtual std::size_t Read(void* buffer, std::size_t bytes) = 0;
    // Passes over up to `bytes` bytes; the count that was there.
    std::size_t Skip(std::uint64_t bytes);
    // One little-endian field; false (value untouched) unless all its bytes came.
    bool TakeU16(std::uint16_t& value);
    bool TakeU32(std::uint32_t& value);
};

// Reads an open handle from its current position; does not own it.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(handheld::HANDLE file) : file_(file) {}
    std::size_t Read(void* buffer, std::size_t bytes) override;

private:
    handheld::HANDLE file_;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t bytes) override;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};
