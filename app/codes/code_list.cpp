#include "app/codes/code_list.h"

#include "app/codes/flipper_ir.h"
#include "app/codes/json_lines.h"
#include "app/codes/lirc_conf.h"
#include "app/codes/pronto.h"

namespace codes {
namespace {

// One code a line, "NAME: HEX" or the bare hex; '#' starts a comment line.
bool ReadProntoLine(std::string_view line, NamedCode& code, std::string& reason) {
    line = TrimmedLine(line);
    if (line.front() == '#') return true;
    const std::size_t colon = line.rfind(':');
    if (colon != std::string_view::npos) {
        code.name = TrimmedLine(line.substr(0, colon));
        if (code.name.empty()) {
            reason = "a code without a name before its colon";
            return false;
        }
        line = line.substr(colon + 1);
    }
    return ReadPronto(line, code.signal, &reason);
}

}  // namespace

std::string_view TrimmedLine(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool AcceptCode(CodeList& codes, NamedCode code, std::size_t lineNumber, std::string* error) {
    std::string reason;
    if (!FitsDriver(code.signal, &reason) ||
        (!code.toggled.durationsUs.empty() && !FitsDriver(code.toggled, &reason))) {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + reason;
        return false;
    }
    if (codes.size() == kMaxCodesPerFile) {
        if (error) *error = "more than " + std::to_string(kMaxCodesPerFile) + " codes";
        return false;
    }
    if (code.name.empty()) code.name = "Code " + std::to_string(codes.size() + 1);
    codes.push_back(std::move(code));
    return true;
}

bool ReadCodeLines(std::string_view text,
                   const std::function<bool(std::string_view line, NamedCode& code, std::string& reason)>& parseLine,
                   CodeList& out, std::string* error) {
    CodeList list;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (TrimmedLine(line).empty()) continue;
        NamedCode code;
        std::string reason;
        if (!parseLine(line, code, reason)) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
        if (!code.signal.durationsUs.empty() && !AcceptCode(list, std::move(code), lineNumber, error)) return false;
    }
    if (list.empty()) {
        if (error) *error = "the file holds no codes";
        return false;
    }
    out = std::move(list);
    return true;
}

bool ReadCodeFile(CodeFormat format, std::string_view text, CodeList& codes, std::string* error) {
    if (text.size() > kMaxCodeFileBytes) {
        if (error) *error = "the file is larger than " + std::to_string(kMaxCodeFileBytes / (1024 * 1024)) + " MB";
        return false;
    }
    switch (format) {
        case CodeFormat::Pronto:
            return ReadCodeLines(text, ReadProntoLine, codes, error);
        case CodeFormat::JsonLines:
            return ReadCodeLines(text, ReadJsonLine, codes, error);
        case CodeFormat::FlipperIr:
            return ReadFlipperIr(text, codes, error);
        case CodeFormat::Lirc:
            return ReadLircConf(text, codes, error);
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
        case CodeFormat::FlipperIr:
            out = WriteFlipperIr(codes);
            break;
        case CodeFormat::Lirc:
            out = WriteLircConf(codes);
            break;
    }
    return out;
}

}  // namespace codes
