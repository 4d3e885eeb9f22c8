#include "handheld/shell/popup_menu.h"

#include <deque>

#include "handheld/shell/handheld_dialog.h"
#include "handheld/shell/screen.h"

namespace handheld {

namespace {

std::deque<int>& MenuAnswers() {
    static std::deque<int> answers;
    return answers;
}

ScriptedMenu& Last() {
    static ScriptedMenu last;
    return last;
}

}  // namespace

void QueueMenuAnswer(int command) {
    MenuAnswers().push_back(command);
}

const ScriptedMenu& LastScriptedMenu() {
    return Last();
}

QPoint PlacePopup(QPoint screenPoint, QSize menuSize, QSize screenSize) {
    const int x = std::clamp(screenPoint.x(), 0, std::max(0, screenSize.width() - menuSize.width()));
    const int y = std::clamp(screenPoint.y(), 0, std::max(0, screenSize.height() - menuSize.height()));
    return {x, y};
}

QAction* TrackPopupMenu(QMenu& menu, QPoint screenPoint, QWidget* context) {
    if (!MenuAnswers().empty()) {
        const int command = MenuAnswers().front();
        MenuAnswers().pop_front();
        Last() = {screenPoint, {}};
        for (const QAction* action : menu.actions()) {
            Last().items.push_back({action->objectName(), action->text(), action->isEnabled()});
        }
        for (QAction* action : menu.actions()) {
            if (action->objectName() == QString::number(command)) return action->isEnabled() ? action : nullptr;
        }
        return nullptr;
    }
    HandheldScreen* screen = HandheldDialog::ScreenOf(context);
    if (screen == nullptr) return menu.exec(context ? context->mapToGlobal(screenPoint) : screenPoint);
    const QPoint place = PlacePopup(screenPoint, menu.sizeHint(), screen->size());
    return menu.exec(screen->mapToGlobal(place));
}

}  // namespace handheld
