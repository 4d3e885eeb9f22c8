// The desktop keyboard standing in for the handheld's hardware buttons: F1-F5 are the application keys
// 0xC1-0xC5 of the shell's key list, the arrow keys and Enter are themselves. A key registered as a hot key
// reaches its owner as a HotKeyEvent; any other key is delivered as a key press carrying its handheld code.
#pragma once

#include <QEvent>
#include <QObject>

#include "handheld/types.h"

namespace handheld {

// The handheld's virtual-key code of a desktop key (Qt::Key), or 0 for a key the handheld does not have.
UINT HandheldKeyOf(int qtKey);
// The desktop key that stands for a handheld code, or 0.
int DesktopKeyOf(UINT virtualKey);

// The registered-hot-key message: identifier and key as registered.
class HotKeyEvent : public QEvent {
public:
    HotKeyEvent(int id, UINT virtualKey) : QEvent(EventType()), id_(id), virtualKey_(virtualKey) {}
    static QEvent::Type EventType();
    int Id() const { return id_; }
    UINT VirtualKey() const { return virtualKey_; }

private:
    int id_;
    UINT virtualKey_;
};

// Routes the handheld's keys of the whole application (installed once; later calls do nothing).
void InstallHardwareKeyMap();
// Presses and releases a handheld key as the keyboard would, on the widget that has the focus (or target).
void PressHardwareKey(UINT virtualKey, QObject* target = nullptr);

}  // namespace handheld
