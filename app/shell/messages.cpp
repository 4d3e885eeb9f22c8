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
