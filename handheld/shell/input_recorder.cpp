#include "handheld/shell/input_recorder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

#include "handheld/input.h"

namespace handheld {

namespace {

constexpr int kVkReturn = 0x0D;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;

// Posted to the recorder when a busy section ends: the held events go out once control is back in the
// event loop, never from inside the handler that blocked.
const QEvent::Type kDeliverHeld = static_cast<QEvent::Type>(QEvent::registerEventType());
// Posted when the key state is read with no section open: it arrives once control is back in an event loop.
const QEvent::Type kEndImplicitBusy = static_cast<QEvent::Type>(QEvent::registerEventType());

InputRecorder* activeRecorder = nullptr;

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
        case QEvent::TouchCancel:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

// What the queue hands over while the thread is busy and still must go through at once.
bool PassesThroughWhileBusy(QEvent::Type type) {
    switch (type) {
        // The platform's own input channels read their sockets here.
        case QEvent::SockAct:
        case QEvent::SockClose:
        // A queued call cannot be copied to be made later (its copy would lose the call); the program
        // queues none.
        case QEvent::MetaCall:
        // Reports of a change already made, carrying the objects concerned.
        case QEvent::ChildAdded:
        case QEvent::ChildPolished:
        case QEvent::ChildRemoved:
        case QEvent::ParentAboutToChange:
        case QEvent::ParentChange:
        case QEvent::ThreadChange:
        case QEvent::DynamicPropertyChange:
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
        // On the handheld the stylus is the touch.
        case QEvent::TouchBegin:
            SetKeyDown(VK_LBUTTON, true);
            break;
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            SetKeyDown(VK_LBUTTON, false);
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
    activeRecorder = this;
}

InputRecorder::~InputRecorder() {
    if (activeRecorder == this) activeRecorder = nullptr;
    SetInputPump(nullptr);
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

InputRecorder* InputRecorder::Active() {
    return activeRecorder;
}

// Input was recorded when it was taken off the queue; recording it again as it is delivered late would
// turn the state back to what it was then (a held press replayed after its release).
bool InputRecorder::Records() const {
    return pumping_ || replayLoopLevels_.empty() || replayLoopLevels_.back() != QThread::currentThread()->loopLevel();
}

bool InputRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this) return false;
    if (IsInput(event->type()) && Records()) Record(event);
    if (!pumping_ || PassesThroughWhileBusy(event->type())) return false;
    held_.push_back({QPointer<QObject>(watched), std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void InputRecorder::Pump() {
    // Only the user-interface thread has a queue of input to take.
    if (pumping_ || QThread::currentThread() != thread()) return;
    // Read from a handler with no section open, the thread is just as busy until it is back in its loop.
    if (busyDepth_ == 0) {
        BeginBusy();
        implicitBusy_ = true;
        PostImplicitEnd();
    }
    pumping_ = true;
    // Timers stay due until the thread is free; whatever else the loop hands over is held by the filter.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
    pumping_ = false;
    if (implicitEndTakenByPump_) {
        implicitEndTakenByPump_ = false;
        PostImplicitEnd();
    }
}

void InputRecorder::PostImplicitEnd() {
    QCoreApplication::postEvent(this, new QEvent(kEndImplicitBusy), Qt::HighEventPriority);
}

void InputRecorder::EndBusy() {
    if (--busyDepth_ == 0) PostDelivery();
}

void InputRecorder::PostDelivery() {
    if (deliveryPosted_ || held_.empty()) return;
    deliveryPosted_ = true;
    // Ahead of anything posted since: what is held is older.
    QCoreApplication::postEvent(this, new QEvent(kDeliverHeld), Qt::HighEventPriority);
}

bool InputRecorder::event(QEvent* event) {
    if (event->type() == kEndImplicitBusy) {
        if (pumping_) {
            implicitEndTakenByPump_ = true;  // still inside the handler: posted again after the pump
        } else if (implicitBusy_) {
            implicitBusy_ = false;  // back in an event loop: what is held can go at once
            if (--busyDepth_ == 0) DeliverHeld();
        }
        return true;
    }
    if (event->type() != kDeliverHeld) return QObject::event(event);
    deliveryPosted_ = false;
    // Reached by a pump of a later busy section: its end posts the delivery again.
    if (busyDepth_ == 0) DeliverHeld();
    return true;
}

void InputRecorder::DeliverHeld() {
    // One at a time from the front: a handler may block again, and what that section holds goes behind
    // what is still waiting here.
    while (busyDepth_ == 0 && !held_.empty()) {
        HeldEvent next = std::move(held_.front());
        held_.pop_front();
        if (!next.receiver) continue;
        // A handler that runs a loop of its own (a modal dialog) gets the rest there, as it would have.
        PostDelivery();
        replayLoopLevels_.push_back(QThread::currentThread()->loopLevel());
        QCoreApplication::sendEvent(next.receiver, next.event.get());
        replayLoopLevels_.pop_back();
    }
}

}  // namespace handheld
