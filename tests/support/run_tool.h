// Runs one of the built command-line programs as a user would, capturing what it prints.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane_test {

struct ToolRun {
    int exitCode = -1;  // -1 when the program could not be run or did not exit normally
    std::string out;
    std::string err;
};

// Runs build/bin/<program> with the arguments (each passed as one argument, no shell quoting needed).
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace orvane_test
