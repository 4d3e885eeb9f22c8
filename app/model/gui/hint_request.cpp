#include "app/model/gui/hint_request.h"

#include <utility>

#include "app/shell/app_state.h"

namespace {
HintHandler& Handler() {
    static HintHandler handler;
    return handler;
}
}  // namespace

HintHandler SetHintHandler(HintHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void RequestHint(QWidget* dialog, int hint, int secondHint) {
    if ((TheAppState().optionFlags & ApplicationSettings::kShowHints) == 0) return;
    if (Handler()) Handler()(dialog, hint, secondHint);
}
