// The window that shows the open device's panel: the function panel while the application's function-panel
// flag is set, the main panel otherwise. In normal mode a tap or a mapped key sends the button's command
// with the pressed look on the screen; in edit mode tap-and-hold menus select, move, delete and add buttons.
#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "app/panel/device_opening.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"

class QMenu;
namespace handheld {
class TapAndHold;
}

// The panel as the window paints it: client size by orientation (240 x 270 portrait, 270 x 240 landscape).
Bitmap24 PaintedPanel(const SkinPanel& panel, int orientation, bool normalMode, const TextPainter* text);
// An 8-bit RGB copy of a buffer.
QImage ToRgbImage(const Bitmap24& pixels);

// The commands of the panel's pop-up menus.
inline constexpr int kCommandProperties = 40043;
inline constexpr int kCommandMove = 40053;
inline constexpr int kCommandDelete = 40054;
inline constexpr int kCommandAddButton = 40059;

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
    // The button shown pressed, empty when none.
    std::u16string PressedButton() const { return pressedLook_ ? state_.pressedName : std::u16string(); }
    bool ShowsPressedLook() const { return pressedLook_; }
    QPoint LastTap() const { return lastTap_; }
    QPoint GrabOffset() const { return grabOffset_; }
    handheld::TapAndHold* Gesture() const { return gesture_; }

    // A command of the button or skin menu, on the main panel's button named pressedName.
    void RunCommand(int command);
    // A key of the handheld (virtual-key code) going down and up: in normal mode the mapped button is pressed,
    // sent and released; in edit mode the arrows nudge the moving button.
    void KeyDown(int virtualKey);
    void KeyUp();
    // Leaving edit mode: a button still moving is dropped where it stands, its position written.
    void DropMovingButton();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool DeviceIsEditable() const;
    FaceButton* MovingMainButton();
    // Whether a press at a portrait point in edit mode may turn into the tap-and-hold menu.
    bool MenuMayFollow(QPoint portraitPoint) const;
    void EditPress();
    void Held(QPoint windowPoint);
    void DragTo(QPoint portraitPoint);
    void Drop(FaceButton& button);
    void SendPressed();
    void ReleasePressed();
    // Repaints a portrait panel rectangle grown by 10 pixels on every side, at once.
    void RepaintAround(const PixelRect& portrait);

    AppState& state_;
    DevicePanels& panels_;
    CaptionTextPainter text_;
    handheld::TapAndHold* gesture_;
    int orientation_ = kOrientationPortrait;
    bool pressedLook_ = false;
    bool pressOnly_ = false;  // the next paint is the pressed button alone, at pressedRect_
    QRect pressedRect_;
    bool menuPending_ = false;  // an edit-mode press that becomes the menu when held, else the properties
    QPoint lastTap_;
    QPoint grabOffset_;
};
