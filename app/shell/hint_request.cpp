#include "app/shell/hint_request.h"

#include <utility>

namespace {

MessagePoster& Poster() {
    static MessagePoster poster;
    return poster;
}

}  // namespace

MessagePoster SetMessagePoster(MessagePoster poster) {
    return std::exchange(Poster(), std::move(poster));
}

bool RequestHint(const AppState& state, handheld::HWND dialog, int hint, int secondHint) {
    if ((state.optionFlags & ApplicationSettings::kShowHints) == 0) return false;
    if (state.mainWindow == nullptr || !Poster()) return false;
    Poster()(state.mainWindow, kHintRequestMessage, dialog, PackHints(hint, secondHint));
    return true;
}

bool RequestHint(handheld::HWND dialog, int hint, int secondHint) {
    return RequestHint(TheAppState(), dialog, hint, secondHint);
}
