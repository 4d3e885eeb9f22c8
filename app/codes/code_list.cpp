#include "app/codes/code_list.h"

#include "app/codes/json_lines.h"
#include "app/codes/pronto.h"

namespace codes {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// One code a line, "NAME: HEX" or the bare hex; '#' starts a comment line.
bool ReadProntoFile(std::string_view text, CodeList& out, std::string* error) {
    CodeList list;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::size_t colon = line.rfind(':');
        NamedCode code;
        code.name = colon == std::string_view::npos ? "Code " + std::to_string(list.size() + 1)
                                                    : std::string(Trimmed(line.substr(0, colon)));
        std::string reason;
        if (code.name.empty() ||
            !ReadPronto(colon == std::string_view::npos ? line : line.substr(colon + 1), code.signal, &reason) ||
            !FitsDriver(code.signal, &reason)) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": " + (reason.empty() ? "no name" : reason);
            return false;
        }
        if (list.size() == kMaxCodesPerFile) {
            if (error) *error = "more than " + std::to_string(kMaxCodesPerFile) + " codes";
            return false;
        }
        list.push_back(std::move(code));
    }
    if (list.empty()) {
        if (error) *error = "the file holds no codes";
        return false;
    }
    out = std::move(list);
    return true;
}

}  // namespace

bool ReadCodeFile(CodeFormat format, std::string_view text, CodeList& codes, std::string* error) {
    if (text.size() > kMaxCodeFileBytes) {
        if (error) *error = "the file is larger than " + std::to_string(kMaxCodeFileBytes / (1024 * 1024)) + " MB";
        return false;
    }
    switch (format) {
        case CodeFormat::Pronto:
            return ReadProntoFile(text, codes, error);
        case CodeFormat::JsonLines:
            return ReadJsonLines(text, codes, error);
    }
    return false;
}

std::string WriteCodeFile(CodeFormat format, const CodeList& codes) {
    std::string out;
    switch (format) {
        case CodeFormat::Pronto:
            for (const NamedCode& code : codes) out += code.name + ": " + WritePronto(code.signal) + "\n";
            break;
        case CodeFormat::JsonLines:
            out = WriteJsonLines(codes);
            break;
    }
    return out;
}

}  // namespace codes
