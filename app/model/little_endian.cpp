#include "app/model/little_endian.h"

std::u16string ReadUtf16(const std::uint8_t* p, std::size_t byteLength) {
    std::u16string text(byteLength / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(ReadU16(p + 2 * i));
    return text;
}

void PutU16(std::uint8_t*& p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p += 2;
}

void PutU32(std::uint8_t*& p, std::uint32_t value) {
    PutU16(p, static_cast<std::uint16_t>(value));
    PutU16(p, static_cast<std::uint16_t>(value >> 16));
}

void PutUtf16(std::uint8_t*& p, std::u16string_view text) {
    for (char16_t c : text) PutU16(p, c);
}

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    AppendU16(out, static_cast<std::uint16_t>(value));
    AppendU16(out, static_cast<std::uint16_t>(value >> 16));
}

void AppendUtf16(std::vector<std::uint8_t>& out, std::u16string_view text) {
    for (char16_t c : text) AppendU16(out, c);
}
