// Pop-up menus of the handheld: opened at a point of the handheld's screen and kept inside it. Tests answer
// them from a script instead of a person.
#pragma once

#include <QMenu>
#include <QPoint>
#include <functional>

namespace handheld {

class HandheldScreen;

// While a menu is open it lies on this cover, a child of the screen as large as the screen.
class MenuCover : public QWidget {
    Q_OBJECT
public:
    explicit MenuCover(HandheldScreen* screen);
signals:
    void Dismissed();  // tapped beside the menu

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Shows the menu inside the handheld's screen (as its child, not a desktop window) with its top-left corner
// at a point of the screen (moved so the whole menu stays on the screen) and returns the chosen action, or
// null when none was chosen. `context` is any widget on the screen; screenPoint is in the screen's pixels.
QAction* TrackPopupMenu(QMenu& menu, QPoint screenPoint, QWidget* context);

// Where a menu of this size opened at this point lies on a screen of this size.
QPoint PlacePopup(QPoint screenPoint, QSize menuSize, QSize screenSize);

// Scripted answers: the next menu tracked takes the first queued answer instead of showing: the action
// whose object name is the given command number ("40050"), or none for 0. A disabled or missing action
// answers null, as a tap on a grayed item does.
void QueueMenuAnswer(int command);
// The menu last answered from the script, with the point it was asked for, as it looked then (the menu
// itself is usually gone by the time a test looks).
struct ScriptedMenuItem {
    QString command;  // the action's object name
    QString text;
    bool enabled;
};
struct ScriptedMenu {
    QPoint screenPoint;
    QList<ScriptedMenuItem> items;
};
const ScriptedMenu& LastScriptedMenu();

}  // namespace handheld
