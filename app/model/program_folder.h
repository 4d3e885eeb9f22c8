// Where the program's own files lie: beside the program's module.
#pragma once

#include <string>
#include <string_view>

// The program's module path, whole however long it is; "" when the platform reports none.
std::u16string ProgramModulePath();

// The program's folder: its module path up to (not including) the last backslash, taken once.
const std::u16string& GetProgramFolder();
// The same cut for any module path; "" when the path has no backslash.
std::u16string ProgramFolderOf(std::u16string_view modulePath);
