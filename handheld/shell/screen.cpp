#include "handheld/shell/screen.h"

#include <QPalette>

namespace handheld {

namespace {
HandheldScreen* g_currentScreen = nullptr;
}

QSize ScreenSize(Orientation orientation) {
    return orientation == Orientation::Portrait ? QSize(kScreenShortSidePx, kScreenLongSidePx)
                                                : QSize(kScreenLongSidePx, kScreenShortSidePx);
}

HandheldScreen::HandheldScreen(QWidget* parent) : HandheldScreen(Profile().orientationAtStart, parent) {}

HandheldScreen::HandheldScreen(Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation) {
    setObjectName(QStringLiteral("HandheldScreen"));
    setFixedSize(ScreenSize(orientation_));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    g_currentScreen = this;
}

HandheldScreen::~HandheldScreen() {
    if (g_currentScreen == this) g_currentScreen = nullptr;
}

void HandheldScreen::SetOrientation(Orientation orientation) {
    if (orientation == orientation_) return;
    orientation_ = orientation;
    setFixedSize(ScreenSize(orientation_));
    emit ScreenTurned(orientation_);
}

void HandheldScreen::Rotate() {
    SetOrientation(orientation_ == Orientation::Portrait ? Orientation::Landscape : Orientation::Portrait);
}

HandheldScreen* CurrentScreen() {
    return g_currentScreen;
}

Orientation CurrentOrientation() {
    return g_currentScreen ? g_currentScreen->orientation() : Profile().orientationAtStart;
}

}  // namespace handheld
