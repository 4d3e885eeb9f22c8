#include "handheld/shell/input_recorder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "handheld/input.h"

namespace handheld {

namespace {

constexpr int kVkReturn = 0x0D;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

void Record(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) SetKeyDown(VK_LBUTTON, true);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) SetKeyDown(VK_LBUTTON, false);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            if (const int vk = VirtualKeyOf(key->key())) SetKeyDown(vk, event->type() == QEvent::KeyPress);
            break;
        }
        default:
            break;
    }
}

}  // namespace

int VirtualKeyOf(int qtKey) {
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kVkReturn;
        case Qt::Key_Left:
            return kVkLeft;
        case Qt::Key_Up:
            return kVkUp;
        case Qt::Key_Right:
            return kVkRight;
        case Qt::Key_Down:
            return kVkDown;
        default:
            return 0;
    }
}

InputRecorder::InputRecorder() {
    QCoreApplication::instance()->installEventFilter(this);
    SetInputPump([this] { Pump(); });
}

InputRecorder::~InputRecorder() {
    SetInputPump(nullptr);
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool InputRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (!IsInput(event->type())) return false;
    Record(event);
    if (!pumping_) return false;
    held_.push_back({QPointer<QObject>(watched), std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void InputRecorder::Pump() {
    if (busyDepth_ == 0 || pumping_) return;
    pumping_ = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pumping_ = false;
}

void InputRecorder::EndBusy() {
    if (--busyDepth_ > 0) return;
    std::vector<HeldEvent> held;
    held.swap(held_);
    for (auto& h : held) {
        if (h.receiver) QCoreApplication::postEvent(h.receiver, h.event.release());
    }
}

}  // namespace handheld
