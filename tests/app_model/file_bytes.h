// Builds expected file bytes field by field from the format tables, independently of the writers under test.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace app_model_test {

class FileBytes {
public:
    FileBytes& U8(std::uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    FileBytes& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
    FileBytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    FileBytes& Ascii(std::string_view text) {
        for (char c : text) U8(static_cast<std::uint8_t>(c));
        return *this;
    }
    FileBytes& Chars(std::u16string_view text) {
        for (char16_t c : text) U16(c);
        return *this;
    }
    // u16 byte length, then the characters.
    FileBytes& String(std::u16string_view text) { return U16(static_cast<std::uint16_t>(text.size() * 2)).Chars(text); }
    FileBytes& Zeros(std::size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }
    FileBytes& Append(const std::vector<unsigned char>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

// A device file header: "KCR", version, type, 0, name byte length, name zero-filled to 48 bytes.
inline FileBytes DeviceHeader(std::u16string_view name, std::uint8_t type, std::uint16_t version = 1) {
    FileBytes out;
    out.Ascii("KCR").U16(version).U8(type).U8(0).U8(static_cast<std::uint8_t>(name.size() * 2)).Chars(name);
    out.Zeros(48 - out.Size());
    return out;
}

struct EntryBytes {
    std::uint16_t codeInfo;
    std::vector<std::int32_t> samples;
};

// One button record with its size word computed from its parts.
inline std::vector<unsigned char> RecordBytes(std::u16string_view name, std::u16string_view commandName,
                                              std::u16string_view skin, std::u16string_view label,
                                              std::uint16_t reserved, std::uint32_t color, std::uint16_t hardwareKey,
                                              std::uint16_t x, std::uint16_t y, std::uint16_t panel,
                                              const std::vector<EntryBytes>& entries) {
    FileBytes body;
    body.U16(reserved).U32(color).U16(hardwareKey).U16(x).U16(y).U16(panel);
    body.String(name).String(commandName).String(skin).String(label);
    body.U16(static_cast<std::uint16_t>(entries.size()));
    for (const EntryBytes& entry : entries) {
        body.U16(static_cast<std::uint16_t>(4 + 4 * entry.samples.size())).U16(entry.codeInfo);
        for (std::int32_t sample : entry.samples) body.U32(static_cast<std::uint32_t>(sample));
    }
    FileBytes record;
    record.U16(static_cast<std::uint16_t>(body.Size() + 2)).Append(body.Bytes());
    return record.Bytes();
}

}  // namespace app_model_test
