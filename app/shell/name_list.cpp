#include "app/shell/name_list.h"

#include <algorithm>

namespace {

// 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char16_t WidenWindows1252(std::uint8_t c) {
    if (c >= 0x80 && c <= 0x9F) return kHighControlRange[c - 0x80];
    return static_cast<char16_t>(c);
}

std::u16string WidenWindows1252(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text) wide.push_back(WidenWindows1252(static_cast<std::uint8_t>(c)));
    return wide;
}

std::vector<std::u16string> ParseNameList(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> names;
    if (data == nullptr) return names;
    std::size_t pos = 0;
    while (pos < size) {
        const std::uint8_t* start = data + pos;
        const std::uint8_t* end = std::find(start, data + size, std::uint8_t{0});
        const std::size_t length = static_cast<std::size_t>(end - start);
        if (length == 0) break;  // the empty string that ends the list
        const std::string_view name(reinterpret_cast<const char*>(start), std::min(length, kMaxListNameChars));
        names.push_back(WidenWindows1252(name));
        pos += length + 1;
    }
    return names;
}
