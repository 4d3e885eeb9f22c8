// Subcommand groups of orvanectl. Each group lives in a file of its own and registers itself with one
// OrvaneCommand object, so main() knows none of them by name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvanectl {

// Runs a group with the arguments after its name ("kdr show FILE" gets {"show", "FILE"}); returns the
// process exit code. Errors go to standard error; results to standard output.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct OrvaneCommand {
    OrvaneCommand(std::string_view name, std::string_view usage, CommandFunction run);
    std::string_view name;
    std::string_view usage;
    CommandFunction run;
};

const std::vector<const OrvaneCommand*>& RegisteredCommands();

// Small helpers every group needs.
bool HasFlag(std::vector<std::string>& args, std::string_view flag);  // removes the flag when present
bool TakeOption(std::vector<std::string>& args, std::string_view name, std::string& value);  // "--x V" or "--x=V"
int UsageError(std::string_view usage);  // prints "usage: orvanectl ..." and returns 2
// The bytes of a host file, or of a handheld file when the argument starts with a backslash.
bool ReadFileArgument(const std::string& argument, std::vector<std::uint8_t>& bytes);

}  // namespace orvanectl
