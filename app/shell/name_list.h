// The name lists of the button library ("STRINGS" resources "BTNLIST" and "LABELLIST"): NUL-terminated 8-bit
// strings in the handheld's code page (Windows-1252), ended by an empty string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Longest name kept, in characters; a longer one is cut to this length.
inline constexpr std::size_t kMaxListNameChars = 260;

// The names in list order, widened to UTF-16. Reads nothing past size: a last name without its terminator
// ends at the end of the data, and data without the closing empty string simply ends the list there.
std::vector<std::u16string> ParseNameList(const std::uint8_t* data, std::size_t size);

// One Windows-1252 character as UTF-16 (the five unassigned bytes keep their value, as the handheld does).
char16_t WidenWindows1252(std::uint8_t c);
std::u16string WidenWindows1252(std::string_view text);
