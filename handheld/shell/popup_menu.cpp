#include "handheld/shell/popup_menu.h"

#include <QEventLoop>
#include <deque>

#include "handheld/shell/fonts.h"
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

MenuCover::MenuCover(HandheldScreen* screen) : QWidget(screen) {
    setObjectName(QStringLiteral("MenuCover"));
    setGeometry(screen->rect());
}

void MenuCover::mousePressEvent(QMouseEvent*) {
    emit Dismissed();
}

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

    // The menu is shown as a child of the screen, over a cover that takes every tap beside it: a tap there,
    // Escape or a turn of the screen closes it with no choice.
    MenuCover cover(screen);
    QWidget* const oldParent = menu.parentWidget();
    const Qt::WindowFlags oldFlags = menu.windowFlags();
    menu.setParent(&cover, Qt::Widget);
    menu.setFont(DialogFont());
    menu.adjustSize();
    menu.move(PlacePopup(screenPoint, menu.size(), screen->size()));

    QEventLoop loop;
    QAction* chosen = nullptr;
    const auto triggered = QObject::connect(&menu, &QMenu::triggered, &loop, [&](QAction* action) {
        chosen = action;
        loop.quit();
    });
    const auto hidden = QObject::connect(&menu, &QMenu::aboutToHide, &loop, &QEventLoop::quit);
    QObject::connect(&cover, &MenuCover::Dismissed, &loop, &QEventLoop::quit);
    QObject::connect(screen, &HandheldScreen::ScreenTurned, &loop, &QEventLoop::quit);
    cover.show();
    cover.raise();
    menu.setActiveAction(nullptr);  // opens with nothing highlighted, as a fresh pop-up does
    menu.show();
    menu.setFocus();
    loop.exec();
    QObject::disconnect(triggered);
    QObject::disconnect(hidden);
    menu.hide();
    menu.setParent(oldParent, oldFlags);
    return chosen;
}

}  // namespace handheld
