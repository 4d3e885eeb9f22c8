// UTF-16 text as the handheld keeps it, and its conversions at the host boundary.
#pragma once

#include <string>
#include <string_view>

namespace handheld {

// Length of a zero-terminated wide string (0 for null).
std::size_t WideLength(const char16_t* text);

// UTF-8 <-> UTF-16. Invalid input never fails: bad sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);
// Strict form: false (out unspecified) on any malformed, cut, overlong or surrogate sequence.
bool TryFromUtf8(std::string_view text, std::u16string& out);
std::string ToUtf8(std::u16string_view text);

// Upper-casing as the handheld's file system and string calls do it: ASCII and Latin-1 letters.
char16_t ToUpper(char16_t c);
std::u16string ToUpper(std::u16string_view text);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// Copies at most capacity - 1 characters and a terminator; capacity 0 writes nothing.
void CopyTruncated(char16_t* destination, std::size_t capacity, std::u16string_view source);

}  // namespace handheld
