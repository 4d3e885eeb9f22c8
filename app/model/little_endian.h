// The byte order of the program's own files (device file, configuration file) and of the samples the IR
// driver delivers: integers little-endian, strings as UTF-16LE code units. Readers take a pointer to bytes
// their caller has checked are there; writers either advance a pointer into a buffer sized beforehand or
// append to a vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(ReadU16(p)) | static_cast<std::uint32_t>(ReadU16(p + 2)) << 16;
}
inline std::int32_t ReadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}
// byteLength / 2 code units; an odd last byte is not part of any character.
std::u16string ReadUtf16(const std::uint8_t* p, std::size_t byteLength);

void PutU16(std::uint8_t*& p, std::uint16_t value);
void PutU32(std::uint8_t*& p, std::uint32_t value);
void PutUtf16(std::uint8_t*& p, std::u16string_view text);

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value);
void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value);
void AppendUtf16(std::vector<std::uint8_t>& out, std::u16string_view text);
