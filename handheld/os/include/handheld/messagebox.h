// Message boxes: every one goes through MessageBoxW to the presenter installed for the process.
#pragma once

#include <functional>
#include <string>

#include "handheld/types.h"

namespace handheld {

inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONHAND = MB_ICONERROR;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_ICONMASK = 0xF0;
inline constexpr UINT MB_TYPEMASK = 0x0F;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxRequest {
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT flags;
};

using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// Installs the presenter and returns the previous one. The default presenter prints
// "caption: text" to standard error and answers IDOK (or IDYES for yes/no boxes).
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);

}  // namespace handheld
