#include "app/shell/language_table.h"

#include <limits>

#include "app/model/little_endian.h"
#include "handheld/files.h"
#include "handheld/home.h"
#include "handheld/owners.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace {

constexpr const char* kTrace = "language";

// The table's count is 16 bits wide; entries past it are dropped rather than wrapping the count.
constexpr std::size_t kMaxEntries = std::numeric_limits<std::uint16_t>::max();

constexpr std::size_t kMarkBytes = 2;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// One line's content (already cut at a NUL) into key and value; false when it yields no entry.
bool ParseEntryLine(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
    // Everything from the first "/" on is a comment, so a key or value cannot begin with one.
    const std::size_t slash = line.find(u'/');
    if (slash != std::u16string_view::npos) line = line.substr(0, slash);

    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    const std::size_t keyStart = pos;
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    if (pos == keyStart) return false;
    key = line.substr(keyStart, pos - keyStart);

    // At least one blank separates key and value; the key ran to a blank or to the end.
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::size_t end = line.size();
    while (end > pos && IsBlank(line[end - 1])) --end;
    if (end == pos) return false;
    value = line.substr(pos, end - pos);
    return true;
}

char16_t CharAt(const std::uint8_t* data, std::size_t index) {
    return static_cast<char16_t>(ReadU16(data + kMarkBytes + 2 * index));
}

}  // namespace

LanguageTable& LanguageTable::Instance() {
    static LanguageTable table;
    return table;
}

bool LanguageTable::HasLanguageMark(const std::uint8_t* data, std::size_t size) {
    return data != nullptr && size >= 3 && data[0] == 0xFF && data[1] == 0xFE && data[2] != 0;
}

void LanguageTable::Clear() {
    keys_.clear();
    values_.clear();
}

void LanguageTable::LoadLanguageBytes(const std::uint8_t* data, std::size_t size) {
    Clear();
    if (!HasLanguageMark(data, size)) {
        HH_TRACE(kTrace, "no UTF-16LE byte-order mark: no entries (%zu bytes)", size);
        return;
    }
    // A stray last byte of an odd-sized file is not half a character to be read.
    const std::size_t charCount = (size - kMarkBytes) / 2;

    std::u16string line;
    std::size_t index = 0;
    while (index < charCount) {
        line.clear();
        bool contentEnded = false;  // a NUL ends the content; the rest of its line is skipped
        std::size_t next = index;
        while (next < charCount) {
            const char16_t c = CharAt(data, next);
            if (c == u'\r' || c == u'\n') break;
            if (c == 0) contentEnded = true;
            if (!contentEnded) line.push_back(c);
            ++next;
        }
        // CR LF ends a line; a lone CR or LF is taken as a line end too rather than kept in a value.
        if (next < charCount) {
            const char16_t end = CharAt(data, next);
            ++next;
            if (end == u'\r' && next < charCount && CharAt(data, next) == u'\n') ++next;
        }
        index = next;

        std::u16string_view key;
        std::u16string_view value;
        if (!ParseEntryLine(line, key, value)) continue;
        if (keys_.size() >= kMaxEntries) {
            HH_TRACE(kTrace, "more than %zu entries: the rest is ignored", kMaxEntries);
            break;
        }
        keys_.emplace_back(key);
        values_.emplace_back(value);
    }
    HH_TRACE(kTrace, "%zu entries", keys_.size());
}

void LanguageTable::LoadLanguageFile(std::u16string_view path) {
    Clear();
    const std::u16string zeroTerminated(path);
    const std::string pathUtf8 = handheld::ToUtf8(path);
    const handheld::UniqueHandle file(
        handheld::CreateFileForMappingW(zeroTerminated.c_str(), handheld::GENERIC_READ, handheld::FILE_SHARE_READ,
                                        nullptr, handheld::OPEN_EXISTING, handheld::FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        HH_TRACE(kTrace, "%s: cannot open (error %u): defaults apply", pathUtf8.c_str(), handheld::GetLastError());
        return;
    }
    handheld::DWORD sizeHigh = 0;
    const handheld::DWORD size = handheld::GetFileSize(file.get(), &sizeHigh);
    if (size == handheld::INVALID_FILE_SIZE || sizeHigh != 0) {
        HH_TRACE(kTrace, "%s: no usable size: defaults apply", pathUtf8.c_str());
        return;
    }
    if (size < 3) {
        // Too short for the mark and one character; an empty file cannot even be mapped.
        HH_TRACE(kTrace, "%s: %u bytes: no entries", pathUtf8.c_str(), size);
        return;
    }
    // Mapping and view are asked for the size just read, so the parser's bound is the view's size.
    const handheld::UniqueHandle mapping(
        handheld::CreateFileMappingW(file.get(), nullptr, handheld::PAGE_READONLY, 0, size, nullptr));
    if (!mapping) {
        HH_TRACE(kTrace, "%s: cannot map (error %u): defaults apply", pathUtf8.c_str(), handheld::GetLastError());
        return;
    }
    const handheld::UniqueView view(handheld::MapViewOfFile(mapping.get(), handheld::FILE_MAP_READ, 0, 0, size));
    if (!view) {
        HH_TRACE(kTrace, "%s: cannot map a view (error %u): defaults apply", pathUtf8.c_str(),
                 handheld::GetLastError());
        return;
    }
    LoadLanguageBytes(static_cast<const std::uint8_t*>(view.get()), size);
}

const char16_t* LanguageTable::Lookup(const char16_t* key, const char16_t* defaultText) const {
    if (key == nullptr) return defaultText;
    const std::u16string_view wanted(key);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] == wanted) return values_[i].c_str();
    }
    return defaultText;
}

std::u16string Text(const char16_t* key, const char16_t* defaultText) {
    const char16_t* text = LanguageTable::Instance().Lookup(key, defaultText);
    return text != nullptr ? std::u16string(text) : std::u16string();
}
