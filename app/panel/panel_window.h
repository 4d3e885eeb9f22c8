// The window that shows the open device's panel: the function panel while the application's function-panel
// flag is set, the main panel otherwise, painted in one block and redrawn pressed under the stylus.
#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "app/panel/device_opening.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"

// The panel as the window paints it: client size by orientation (240 x 270 portrait, 270 x 240 landscape).
Bitmap24 PaintedPanel(const SkinPanel& panel, int orientation, bool normalMode, const TextPainter* text);
// An 8-bit RGB copy of a buffer.
QImage ToRgbImage(const Bitmap24& pixels);

class PanelWindow : public QWidget {
    Q_OBJECT
public:
    PanelWindow(AppState& state, DevicePanels& panels, QWidget* parent);

    // Follows the screen: 1 portrait, 2 landscape.
    void SetOrientation(int orientation);
    int Orientation() const { return orientation_; }
    // The panel shown now.
    const SkinPanel& ShownPanel() const;
    // The portrait panel point under a point of the window.
    QPoint ToPortrait(QPoint windowPoint) const;
    const std::u16string& PressedButton() const { return pressed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    AppState& state_;
    DevicePanels& panels_;
    CaptionTextPainter text_;
    std::u16string pressed_;
    int orientation_ = kOrientationPortrait;
};
