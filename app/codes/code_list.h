// What every code file reader gives and every writer takes: named codes in file order.
#pragma once

#include <string>
#include <vector>

#include "app/codes/ir_signal.h"

namespace codes {

struct NamedCode {
    std::string name;  // UTF-8, as the file spells it
    IrSignal signal;
};
using CodeList = std::vector<NamedCode>;

// Hostile files are refused before they cost memory or time.
inline constexpr std::size_t kMaxCodeFileBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxCodesPerFile = 10000;

enum class CodeFormat { Pronto, JsonLines };

// The file's codes; false with a reason (naming the line where there is one) for a file that is not of the
// format, has no codes, or has a code the driver cannot send.
bool ReadCodeFile(CodeFormat format, std::string_view text, CodeList& codes, std::string* error);
std::string WriteCodeFile(CodeFormat format, const CodeList& codes);

}  // namespace codes
