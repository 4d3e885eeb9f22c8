// Keeps the handheld's asynchronous stylus and key state current from Qt's input. Sending blocks the
// user-interface thread as on the handheld; inside a BusySection every check of the key state first takes
// the input that arrived meanwhile off the queue and records it. Nothing runs meanwhile: timers stay due,
// and the input, paints and posted events the queue hands over are held back and delivered in their order
// once the section has ended and control is back in the event loop. A check with no section open is taken
// as made from a busy thread too, until control is back in an event loop.
#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>
#include <vector>

class QEvent;

namespace handheld {

class InputRecorder : public QObject {
    Q_OBJECT
public:
    // Watches the application's input and becomes the platform's input pump.
    InputRecorder();
    ~InputRecorder() override;
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    // The recorder made last and still alive, or null.
    static InputRecorder* Active();

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Opened by whoever blocks the user-interface thread (a send) for as long as it blocks it.
    class BusySection {
    public:
        explicit BusySection(InputRecorder& recorder) : recorder_(&recorder) { recorder_->BeginBusy(); }
        // With the active recorder; does nothing without one.
        BusySection() : recorder_(Active()) {
            if (recorder_) recorder_->BeginBusy();
        }
        ~BusySection() {
            if (recorder_) recorder_->EndBusy();
        }
        BusySection(const BusySection&) = delete;
        BusySection& operator=(const BusySection&) = delete;

    private:
        QPointer<InputRecorder> recorder_;
    };

    std::size_t HeldEventCount() const { return held_.size(); }

protected:
    bool event(QEvent* event) override;

private:
    void BeginBusy() { ++busyDepth_; }
    void EndBusy();
    void Pump();
    void PostImplicitEnd();
    void PostDelivery();
    void DeliverHeld();
    bool Records() const;

    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::deque<HeldEvent> held_;
    int busyDepth_ = 0;
    bool pumping_ = false;
    bool deliveryPosted_ = false;
    bool implicitBusy_ = false;  // opened by a key-state read outside any section
    bool implicitEndTakenByPump_ = false;
    // The event loop each held event being delivered runs in, innermost last.
    std::vector<int> replayLoopLevels_;
};

// The handheld's virtual-key code of a Qt key, 0 for keys the handheld has no code for.
int VirtualKeyOf(int qtKey);

}  // namespace handheld
