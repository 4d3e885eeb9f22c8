// The handheld's tap-and-hold gesture: a press held still for the platform's hold time, with a ring of red
// dots filling in around the stylus while it is held, or a right click on the desktop. The gesture is
// reported instead of the press: the widget sees no click.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

namespace handheld {

class TapAndHold : public QObject {
    Q_OBJECT
public:
    // Watches presses on `target`. `accepts` decides, from the press point in target's pixels, whether a
    // press there may become the gesture (null: everywhere); other presses pass untouched.
    explicit TapAndHold(QWidget* target, std::function<bool(QPoint)> accepts = {});

    // A press is being held still and the dots are showing.
    bool Holding() const { return holdTimer_.isActive(); }
    // Ends the hold now, as its time running out would (tests, instead of waiting).
    void CompleteHold();
    int HoldTimeMs() const { return holdTimer_.interval(); }
    // Dots shown so far out of kDotCount.
    int DotsShown() const;
    static constexpr int kDotCount = 8;

signals:
    // The gesture at a point in target's pixels.
    void Held(QPoint point);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Cancel();

    QWidget* target_;
    std::function<bool(QPoint)> accepts_;
    QTimer holdTimer_;
    QTimer dotTimer_;
    QPoint pressPoint_;
    bool swallowRelease_ = false;
    QPointer<QWidget> dots_;
};

}  // namespace handheld
