// gen_lang SOURCE.txt OUTPUT.ln1
//
// The source is UTF-8, one entry a line: the key, one or more blanks (a tab by habit), the value. Lines whose
// first non-blank characters are "//" are comments; empty lines are skipped. The output is what the program's
// language table reads: the UTF-16LE byte-order mark, then "KEY<tab>value" lines ended by CR LF.
//
// A source the file format cannot carry faithfully is refused, so a translation never loses text silently:
// a "/" in a value (the reader takes it as the start of a comment), trailing blanks (the reader cuts them),
// a duplicate key (the reader keeps only the first), a key without value, bad UTF-8 or control characters.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "handheld/text.h"
#include "tools/host_file/host_file.h"

namespace {

struct SourceError {
    std::size_t line;
    std::string message;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void AppendUtf16Le(std::string& out, std::u16string_view text) {
    for (const char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
}

// The whole conversion; errors are collected so that a translator sees every bad line in one run.
std::string Convert(const std::string& source, std::vector<SourceError>& errors) {
    std::string output = "\xFF\xFE";
    std::set<std::string> keys;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    if (source.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    while (pos < source.size()) {
        std::size_t end = source.find('\n', pos);
        if (end == std::string::npos) end = source.size();
        std::string_view line(source.data() + pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::size_t start = 0;
        while (start < line.size() && IsBlank(line[start])) ++start;
        if (start == line.size()) continue;
        if (line.compare(start, 2, "//") == 0) continue;

        std::size_t keyEnd = start;
        while (keyEnd < line.size() && !IsBlank(line[keyEnd])) ++keyEnd;
        const std::string key(line.substr(start, keyEnd - start));
        std::size_t valueStart = keyEnd;
        while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
        const std::string_view value = line.substr(valueStart);

        const std::size_t before = errors.size();
        if (key.find('/') != std::string::npos) {
            errors.push_back({lineNumber, "key \"" + key + "\" contains \"/\", which starts a comment"});
        }
        if (value.empty()) {
            errors.push_back({lineNumber, "key \"" + key + "\" has no value"});
        } else if (value.find('/') != std::string_view::npos) {
            errors.push_back({lineNumber, "the value of \"" + key +
                                              "\" contains \"/\", which the language file cannot hold "
                                              "(it starts a comment)"});
        } else if (IsBlank(value.back())) {
            errors.push_back({lineNumber, "the value of \"" + key + "\" ends in a blank, which would be cut"});
        }
        for (const char c : line) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
                errors.push_back({lineNumber, "control character in the line"});
                break;
            }
        }
        if (!keys.insert(key).second) {
            errors.push_back({lineNumber, "duplicate key \"" + key + "\" (only the first would count)"});
        }
        std::u16string wideKey;
        std::u16string wideValue;
        if (!handheld::TryFromUtf8(key, wideKey) || !handheld::TryFromUtf8(value, wideValue)) {
            errors.push_back({lineNumber, "not valid UTF-8"});
        }
        if (errors.size() != before) continue;

        AppendUtf16Le(output, wideKey);
        AppendUtf16Le(output, u"\t");
        AppendUtf16Le(output, wideValue);
        AppendUtf16Le(output, u"\r\n");
    }
    return output;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_lang SOURCE.txt OUTPUT.ln1\n");
        return 2;
    }
    const std::filesystem::path sourcePath = argv[1];
    const std::filesystem::path outputPath = argv[2];
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "gen_lang: cannot read %s\n", sourcePath.c_str());
        return 1;
    }
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::vector<SourceError> errors;
    const std::string output = Convert(source, errors);
    if (!errors.empty()) {
        for (const auto& error : errors) {
            std::fprintf(stderr, "%s:%zu: error: %s\n", sourcePath.c_str(), error.line, error.message.c_str());
        }
        return 1;
    }

    // A failed run never leaves half a language file.
    std::string error;
    if (!host_file::WriteAtomically(outputPath, output, error)) {
        std::fprintf(stderr, "gen_lang: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
