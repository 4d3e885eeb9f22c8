#include "app/shell/messages.h"

#include "app/shell/language_table.h"

int ShowMessage(handheld::HWND owner, const char16_t* key, const char16_t* defaultText, const char16_t* titleKey,
                const char16_t* defaultTitle, handheld::UINT flags) {
    const std::u16string text = Text(key, defaultText);
    const std::u16string title = Text(titleKey, defaultTitle);
    return handheld::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

int ShowError(handheld::HWND owner, const char16_t* key, const char16_t* defaultText, handheld::UINT flags) {
    return ShowMessage(owner, key, defaultText, u"ERR_MSG_TITLE", u"Error", flags);
}

int ShowWarning(handheld::HWND owner, const char16_t* key, const char16_t* defaultText, handheld::UINT flags) {
    return ShowMessage(owner, key, defaultText, u"WAR_MSG_TITLE", u"Warning", flags);
}

namespace {

handheld::UINT IconFlags(ProblemIcon icon) {
    switch (icon) {
        case ProblemIcon::Exclamation:
            return handheld::MB_ICONEXCLAMATION;
        case ProblemIcon::Information:
            return handheld::MB_ICONINFORMATION;
        case ProblemIcon::Error:
            break;
    }
    return handheld::MB_ICONERROR;
}

}  // namespace

int ShowProblem(handheld::HWND owner, const Problem& problem) {
    std::u16string text = Text(std::u16string(problem.key).c_str(), std::u16string(problem.defaultText).c_str());
    if (!problem.quotedPath.empty()) text += problem.quotedPath + u"\"";
    const std::u16string title = Text(u"ERR_MSG_TITLE", u"Error");
    return handheld::MessageBoxW(owner, text.c_str(), title.c_str(), handheld::MB_OK | IconFlags(problem.icon));
}

void ShowProblems(handheld::HWND owner, const Problems& problems) {
    for (const Problem& problem : problems) ShowProblem(owner, problem);
}
