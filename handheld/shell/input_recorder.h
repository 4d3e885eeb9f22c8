// Keeps the handheld's asynchronous stylus and key state current from Qt's input. Sending blocks the
// user-interface thread as on the handheld; inside a BusySection every check of the key state first takes
// the input that arrived meanwhile off the queue, records it and holds it back, and the held input is
// delivered in order when the section ends, so no input handler ever runs inside a send.
#pragma once

#include <QObject>
#include <QPointer>
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

    bool eventFilter(QObject* watched, QEvent* event) override;

    class BusySection {
    public:
        explicit BusySection(InputRecorder& recorder) : recorder_(recorder) { recorder_.BeginBusy(); }
        ~BusySection() { recorder_.EndBusy(); }
        BusySection(const BusySection&) = delete;
        BusySection& operator=(const BusySection&) = delete;

    private:
        InputRecorder& recorder_;
    };

    std::size_t HeldEventCount() const { return held_.size(); }

private:
    void BeginBusy() { ++busyDepth_; }
    void EndBusy();
    void Pump();

    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<HeldEvent> held_;
    int busyDepth_ = 0;
    bool pumping_ = false;
};

// The handheld's virtual-key code of a Qt key, 0 for keys the handheld has no code for.
int VirtualKeyOf(int qtKey);

}  // namespace handheld
