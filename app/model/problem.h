// What went wrong in reading or writing the program's files, as the user is to be told it: readers and
// writers hand these back and the shell shows them as error boxes (title "ERR_MSG_TITLE"), in their order.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class ProblemIcon { Error, Exclamation, Information };

struct Problem {
    Problem(std::u16string_view key, std::u16string_view defaultText, ProblemIcon icon = ProblemIcon::Error,
            std::u16string quotedPath = {})
        : key(key), defaultText(defaultText), icon(icon), quotedPath(std::move(quotedPath)) {}

    // Key and text are string literals of the program: the views outlive any problem.
    std::u16string_view key;          // language-table key of the message
    std::u16string_view defaultText;  // built-in text when the table has no such key
    ProblemIcon icon;
    // When not empty: shown right after the text and closed by a double quote (the text opens it).
    std::u16string quotedPath;

    bool operator==(const Problem&) const = default;
};

using Problems = std::vector<Problem>;

// Success or failure of one file operation, with what the user is to be told either way (a device file
// with a damaged tail loads, and still reports the damage).
struct [[nodiscard]] FileResult {
    bool succeeded = false;
    Problems problems;

    explicit operator bool() const { return succeeded; }
    static FileResult Success() { return {true, {}}; }
    static FileResult Failure(Problem problem) { return {false, {std::move(problem)}}; }
    static FileResult Failure() { return {false, {}}; }
};
