// How any dialog asks for a hint pop-up: a message WM_USER + 1 posted to the main window, carrying the
// dialog and the two hint numbers (the first in the high half), or nothing when hints are off.
#pragma once

#include <functional>

#include "app/shell/app_state.h"
#include "handheld/types.h"

inline constexpr int kHintRequestMessage = 0x0400 + 1;  // WM_USER + 1

// Posts a message to a window of the program; the main window installs the one that reaches it.
using MessagePoster = std::function<void(handheld::HWND window, int message, handheld::HWND wParam, long lParam)>;
MessagePoster SetMessagePoster(MessagePoster poster);

// The two hint numbers as the message carries them.
inline long PackHints(int hint, int secondHint) {
    return long((unsigned(hint) & 0xFFFF) << 16 | (unsigned(secondHint) & 0xFFFF));
}

// True when a request was posted (hints on, a main window and a poster present).
bool RequestHint(const AppState& state, handheld::HWND dialog, int hint, int secondHint = 0);
bool RequestHint(handheld::HWND dialog, int hint, int secondHint = 0);
