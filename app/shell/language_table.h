// Every user-visible text of the program is looked up here by key, with a built-in default, so that a
// language file translates the program without rebuilding it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/program_folder.h"  // the language file lies in the program's folder

class LanguageTable {
public:
    // The one table of the process, created on first use.
    static LanguageTable& Instance();

    // Replaces the contents with the entries of the language file at a handheld path. A missing, unmappable
    // or wrongly marked file leaves the table empty, so every lookup gives its default.
    void LoadLanguageFile(std::u16string_view path);
    // Same, from bytes already in memory (tools and fuzzing).
    void LoadLanguageBytes(const std::uint8_t* data, std::size_t size);
    void Clear();

    // True when the bytes start as a language file must: the UTF-16LE byte-order mark and a third byte not 0.
    static bool HasLanguageMark(const std::uint8_t* data, std::size_t size);

    // The value of the first entry with exactly this key; the default (which may be null) when the key is
    // absent, the table is empty or no key is given. Valid until the table is next loaded or cleared.
    const char16_t* Lookup(const char16_t* key, const char16_t* defaultText) const;

    std::size_t Count() const { return keys_.size(); }
    const std::vector<std::u16string>& Keys() const { return keys_; }
    const std::vector<std::u16string>& Values() const { return values_; }

private:
    std::vector<std::u16string> keys_;
    std::vector<std::u16string> values_;
};

// Lookup as a string: the value, or the default, or "" when both are missing.
std::u16string Text(const char16_t* key, const char16_t* defaultText);
