#include "handheld/shell/tap_and_hold.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWidget>
#include <cmath>
#include <numbers>

namespace handheld {

namespace {

constexpr int kRingDiameterPx = 24;
constexpr int kDotDiameterPx = 4;

// The ring of red dots: the first `shown` dots of the ring, clockwise from the top.
class HoldDots : public QWidget {
public:
    HoldDots(QWidget* parent, QPoint centre) : QWidget(parent) {
        setObjectName(QStringLiteral("TapAndHoldDots"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(centre.x() - kRingDiameterPx / 2, centre.y() - kRingDiameterPx / 2, kRingDiameterPx,
                    kRingDiameterPx);
        show();
        raise();
    }
    int shown = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::red);
        const double radius = (kRingDiameterPx - kDotDiameterPx) / 2.0;
        for (int i = 0; i < shown; ++i) {
            const double angle = 2 * std::numbers::pi * i / TapAndHold::kDotCount;
            const QPointF centre(kRingDiameterPx / 2.0 + radius * std::sin(angle),
                                 kRingDiameterPx / 2.0 - radius * std::cos(angle));
            painter.drawEllipse(centre, kDotDiameterPx / 2.0, kDotDiameterPx / 2.0);
        }
    }
};

}  // namespace

TapAndHold::TapAndHold(QWidget* target, std::function<bool(QPoint)> accepts)
    : QObject(target), target_(target), accepts_(std::move(accepts)) {
    holdTimer_.setSingleShot(true);
    holdTimer_.setInterval(QGuiApplication::styleHints()->mousePressAndHoldInterval());
    dotTimer_.setInterval(std::max(1, holdTimer_.interval() / kDotCount));
    connect(&holdTimer_, &QTimer::timeout, this, &TapAndHold::CompleteHold);
    connect(&dotTimer_, &QTimer::timeout, this, [this] {
        if (auto* dots = static_cast<HoldDots*>(dots_.data()); dots && dots->shown < kDotCount) {
            ++dots->shown;
            dots->update();
        }
    });
    target_->installEventFilter(this);
}

int TapAndHold::DotsShown() const {
    return dots_ ? static_cast<HoldDots*>(dots_.data())->shown : 0;
}

void TapAndHold::Cancel() {
    holdTimer_.stop();
    dotTimer_.stop();
    delete dots_.data();
}

void TapAndHold::CompleteHold() {
    if (!holdTimer_.isActive() && !dotTimer_.isActive()) return;
    Cancel();
    swallowRelease_ = true;
    emit Held(pressPoint_);
}

bool TapAndHold::eventFilter(QObject* watched, QEvent* event) {
    if (watched != target_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint point = mouse->position().toPoint();
            Cancel();
            if (accepts_ && !accepts_(point)) return false;
            if (mouse->button() == Qt::RightButton) {
                swallowRelease_ = true;
                emit Held(point);
                return true;
            }
            if (mouse->button() != Qt::LeftButton) return false;
            pressPoint_ = point;
            dots_ = new HoldDots(target_, point);
            holdTimer_.start();
            dotTimer_.start();
            return false;  // an ordinary tap until the hold time has passed
        }
        case QEvent::MouseMove: {
            const QPoint moved = static_cast<QMouseEvent*>(event)->position().toPoint() - pressPoint_;
            if (Holding() && moved.manhattanLength() >= QApplication::startDragDistance()) Cancel();
            return false;
        }
        case QEvent::MouseButtonRelease:
            Cancel();
            if (swallowRelease_) {
                swallowRelease_ = false;
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace handheld
