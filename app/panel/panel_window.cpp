#include "app/panel/panel_window.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/panel/qt_pixels.h"

Bitmap24 PaintedPanel(const SkinPanel& panel, int orientation, bool normalMode, const TextPainter* text) {
    const bool landscape = orientation == kOrientationLandscape;
    Bitmap24 pixels(landscape ? kPictureHeightPx : kPictureWidthPx, landscape ? kPictureWidthPx : kPictureHeightPx);
    DeviceContext dc{pixels, orientation, text};
    PaintPanel(panel, dc, normalMode);
    return pixels;
}

QImage ToRgbImage(const Bitmap24& pixels) {
    return ImageOnBitmap(pixels).convertToFormat(QImage::Format_RGB888);
}

PanelWindow::PanelWindow(AppState& state, DevicePanels& panels, QWidget* parent)
    : QWidget(parent), state_(state), panels_(panels) {
    setObjectName(QStringLiteral("DeviceWindow"));
}

void PanelWindow::SetOrientation(int orientation) {
    orientation_ = orientation;
    update();
}

const SkinPanel& PanelWindow::ShownPanel() const {
    return state_.functionPanelShown ? panels_.functionPanel : panels_.mainPanel;
}

QPoint PanelWindow::ToPortrait(QPoint windowPoint) const {
    if (orientation_ != kOrientationLandscape) return windowPoint;
    // The landscape panel is the portrait one turned counter-clockwise.
    return QPoint(kPortraitWidthPx - 1 - windowPoint.y(), windowPoint.x());
}

void PanelWindow::paintEvent(QPaintEvent*) {
    Bitmap24 shown(width(), height());
    DeviceContext dc{shown, orientation_, &text_};
    PaintPanel(ShownPanel(), dc, !state_.editMode);
    if (!pressed_.empty() && !state_.editMode) RedrawButton(ShownPanel(), dc, STATE_PRESSED, pressed_);
    QPainter(this).drawImage(0, 0, ImageOnBitmap(std::as_const(shown)));
}

void PanelWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = ToPortrait(event->position().toPoint());
    pressed_ = ShownPanel().ButtonNameAt(at.x(), at.y());
    if (pressed_.empty()) return;
    state_.pressedName = pressed_;
    // At once: the command sent next holds the user-interface thread.
    if (!state_.editMode) repaint();
}

void PanelWindow::mouseReleaseEvent(QMouseEvent*) {
    if (pressed_.empty()) return;
    pressed_.clear();
    repaint();
}
