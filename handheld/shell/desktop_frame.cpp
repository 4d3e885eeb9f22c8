#include "handheld/shell/desktop_frame.h"

#include <QAction>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "handheld/led.h"
#include "handheld/shell/hardware_key_map.h"
#include "handheld/shell/remote_source.h"

namespace handheld {

int TakeZoomOption(int& argc, char** argv) {
    int zoom = kDefaultDesktopZoom;
    bool given = false;
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (std::strcmp(argv[i], "--zoom") == 0 && i + 1 < argc) {
            value = argv[++i];
        } else if (std::strncmp(argv[i], "--zoom=", 7) == 0) {
            value = argv[i] + 7;
        } else {
            argv[out++] = argv[i];
            continue;
        }
        const int asked = std::atoi(value);
        if (asked >= 1 && asked <= kMaxDesktopZoom) {
            zoom = asked;
            given = true;
        } else {
            std::fprintf(stderr, "--zoom takes a whole number from 1 to %d; using %d\n", kMaxDesktopZoom, zoom);
        }
    }
    argc = out;
    argv[argc] = nullptr;
    const char* userScale = std::getenv("QT_SCALE_FACTOR");
    if (userScale != nullptr && !given) return std::max(1, std::atoi(userScale));
    setenv("QT_SCALE_FACTOR", std::to_string(zoom).c_str(), 1);
    return zoom;
}

DesktopFrame::DesktopFrame() : screen_(new HandheldScreen(this)) {
    setObjectName(QStringLiteral("DesktopFrame"));
    setWindowTitle(QStringLiteral("Orvane handheld (Ctrl+R turns it)"));
    auto* rotate = new QAction(QStringLiteral("Turn the handheld"), this);
    rotate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    rotate->setShortcutContext(Qt::ApplicationShortcut);
    connect(rotate, &QAction::triggered, this, &DesktopFrame::Rotate);
    addAction(rotate);
    InstallHardwareKeyMap();
    AddPointRemoteCommand(this);
    // The LED is set by the handheld's programs without telling anyone; the strip looks a few times a second.
    ledTimer_.setInterval(100);
    connect(&ledTimer_, &QTimer::timeout, this, &DesktopFrame::ShowLed);
    ledTimer_.start();
    FitToScreen();
}

void DesktopFrame::ShowLed() {
    NLED_SETTINGS_INFO led{};
    led.LedNum = 0;
    const bool on = NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &led) && led.OffOnBlink != LED_OFF;
    if (on == ledOn_) return;
    ledOn_ = on;
    update();
}

void DesktopFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect strip(0, screen_->height(), width(), kLedStripPx);
    painter.fillRect(strip, QColor(40, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ledOn_ ? QColor(0, 230, 0) : QColor(70, 90, 70));
    painter.drawEllipse(QRect(strip.right() - 10, strip.top() + 2, 8, 8));
    painter.setPen(QColor(200, 200, 200));
    QFont font = painter.font();
    font.setPixelSize(8);
    painter.setFont(font);
    painter.drawText(strip.adjusted(3, 0, -14, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("F1-F5 keys  Ctrl+R turn"));
}

void DesktopFrame::Rotate() {
    screen_->Rotate();
    FitToScreen();
}

void DesktopFrame::FitToScreen() {
    screen_->move(0, 0);
    setFixedSize(screen_->width(), screen_->height() + kLedStripPx);
}

}  // namespace handheld
