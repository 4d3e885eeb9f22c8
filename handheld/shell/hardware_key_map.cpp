#include "handheld/shell/hardware_key_map.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "handheld/hotkeys.h"
#include "handheld/input.h"
#include "handheld/shell/hwnd.h"

namespace handheld {

namespace {

struct KeyPair {
    int qtKey;
    UINT virtualKey;
};
constexpr KeyPair kKeyMap[] = {
    {Qt::Key_F1, 0xC1}, {Qt::Key_F2, 0xC2},   {Qt::Key_F3, 0xC3},  {Qt::Key_F4, 0xC4},
    {Qt::Key_F5, 0xC5}, {Qt::Key_Left, 37},   {Qt::Key_Up, 38},    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
};

class KeyMapFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const UINT code = HandheldKeyOf(key->key());
        // Events already carrying their handheld code are the ones sent below.
        if (code == 0 || key->nativeVirtualKey() == code) return false;
        const bool down = event->type() == QEvent::KeyPress;
        SetKeyDown(static_cast<int>(code), down);
        if (const auto hotKey = FindHotKey(code)) {
            if (down && hotKey->owner != nullptr) {
                QCoreApplication::postEvent(FromHwnd(hotKey->owner), new HotKeyEvent(hotKey->id, code));
            }
            return true;
        }
        QKeyEvent forwarded(event->type(), key->key(), key->modifiers(), key->nativeScanCode(), code,
                            key->nativeModifiers(), key->text(), key->isAutoRepeat(), key->count());
        QCoreApplication::sendEvent(watched, &forwarded);
        event->setAccepted(forwarded.isAccepted());
        return true;
    }
};

}  // namespace

UINT HandheldKeyOf(int qtKey) {
    for (const KeyPair& pair : kKeyMap) {
        if (pair.qtKey == qtKey) return pair.virtualKey;
    }
    return 0;
}

int DesktopKeyOf(UINT virtualKey) {
    for (const KeyPair& pair : kKeyMap) {
        if (pair.virtualKey == virtualKey) return pair.qtKey;
    }
    return 0;
}

QEvent::Type HotKeyEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void InstallHardwareKeyMap() {
    static KeyMapFilter* filter = nullptr;
    if (filter != nullptr || qApp == nullptr) return;
    filter = new KeyMapFilter(qApp);
    qApp->installEventFilter(filter);
}

void PressHardwareKey(UINT virtualKey, QObject* target) {
    const int qtKey = DesktopKeyOf(virtualKey);
    if (target == nullptr) target = QApplication::focusWidget();
    if (target == nullptr || qtKey == 0) return;
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace handheld
