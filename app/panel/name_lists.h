// The button library's name lists, as the "Select button" and "Select label" dialogs offer them.
#pragma once

#include <string>
#include <vector>

#include "handheld/shell/resource_library.h"

enum class NameListKind { Buttons, Labels };

// Replaces names with the list "BTNLIST" or "LABELLIST" of the library and returns how many there are;
// 0 (and an empty list) when the library or the list is missing.
int LoadNameList(handheld::HMODULE library, NameListKind kind, std::vector<std::u16string>& names);
