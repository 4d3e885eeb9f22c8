// What every code file reader gives and every writer takes: named codes in file order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/codes/ir_signal.h"

namespace codes {

struct NamedCode {
    std::string name;  // UTF-8, as the file spells it
    IrSignal signal;
    IrSignal toggled;  // the other toggle state, where the file says which bits toggle; else empty
};
using CodeList = std::vector<NamedCode>;

// Hostile files are refused before they cost memory or time.
inline constexpr std::size_t kMaxCodeFileBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxCodesPerFile = 10000;

enum class CodeFormat { Pronto, JsonLines, FlipperIr, Lirc };

// The line without the blanks around it (and a Windows line end).
std::string_view TrimmedLine(std::string_view text);

// The steps every reader shares. AcceptCode adds a code read at lineNumber, named "Code N" when the file
// gives no name; false (with the line) when the driver cannot send it or the file has too many codes.
bool AcceptCode(CodeList& codes, NamedCode code, std::size_t lineNumber, std::string* error);
// A file of one code a line; parseLine reads one non-blank line, returning false with a reason, or true with
// the code's durations empty for a line that holds no code.
bool ReadCodeLines(std::string_view text,
                   const std::function<bool(std::string_view line, NamedCode& code, std::string& reason)>& parseLine,
                   CodeList& codes, std::string* error);

// The file's codes; false with a reason (naming the line where there is one) for a file that is not of the
// format, has no codes, or has a code the driver cannot send.
bool ReadCodeFile(CodeFormat format, std::string_view text, CodeList& codes, std::string* error);
std::string WriteCodeFile(CodeFormat format, const CodeList& codes);

}  // namespace codes
