// The program's message boxes, with texts and titles looked up in the language table.
#pragma once

#include "app/model/problem.h"
#include "handheld/messagebox.h"

// Error box: title "ERR_MSG_TITLE" ("Error"); the icon is the error icon unless another one is given.
int ShowError(handheld::HWND owner, const char16_t* key, const char16_t* defaultText,
              handheld::UINT flags = handheld::MB_OK | handheld::MB_ICONERROR);
// Warning box: title "WAR_MSG_TITLE" ("Warning"), exclamation icon unless other flags are given.
int ShowWarning(handheld::HWND owner, const char16_t* key, const char16_t* defaultText,
                handheld::UINT flags = handheld::MB_OK | handheld::MB_ICONEXCLAMATION);
// Any box whose title and text are both looked up.
int ShowMessage(handheld::HWND owner, const char16_t* key, const char16_t* defaultText, const char16_t* titleKey,
                const char16_t* defaultTitle, handheld::UINT flags);

// What a reader, writer or the sender reported: error boxes titled "ERR_MSG_TITLE" ("Error") with the
// problem's icon, shown one after the other in their order.
int ShowProblem(handheld::HWND owner, const Problem& problem);
void ShowProblems(handheld::HWND owner, const Problems& problems);
