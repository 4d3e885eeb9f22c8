// Any bytes as a language file: the parser must never read past the end, and whatever it yields must be what
// a lookup can use: non-empty keys and values with no blank, "/" or line end where the format forbids one.
#include <cstdint>
#include <cstdlib>

#include "app/shell/language_table.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool EndsLine(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LanguageTable table;
    table.LoadLanguageBytes(data, size);
    Check(table.Keys().size() == table.Values().size());
    Check(table.Count() <= 65535);
    if (!LanguageTable::HasLanguageMark(data, size)) Check(table.Count() == 0);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const std::u16string& key = table.Keys()[i];
        const std::u16string& value = table.Values()[i];
        Check(!key.empty() && !value.empty());
        Check(!IsBlank(value.front()) && !IsBlank(value.back()));
        for (const char16_t c : key) Check(!IsBlank(c) && !EndsLine(c) && c != u'/');
        for (const char16_t c : value) Check(!EndsLine(c) && c != u'/');
        // The first entry of a key is the one looked up.
        const char16_t* found = table.Lookup(key.c_str(), nullptr);
        Check(found != nullptr);
        for (std::size_t j = 0; j < i; ++j) {
            if (table.Keys()[j] == key) {
                Check(found == table.Values()[j].c_str());
                break;
            }
        }
    }
    return 0;
}
