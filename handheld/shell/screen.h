// The handheld's screen: 240 x 320 pixels in portrait, 320 x 240 in landscape. Program windows are its
// children and are placed in its pixel coordinates.
#pragma once

#include <QSize>
#include <QWidget>

#include "handheld/profile.h"

namespace handheld {

inline constexpr int kScreenShortSidePx = 240;
inline constexpr int kScreenLongSidePx = 320;
// The settings-change value by which programs learn that the screen has turned.
inline constexpr unsigned kSettingChangeScreenTurned = 0x3002;

QSize ScreenSize(Orientation orientation);

class HandheldScreen : public QWidget {
    Q_OBJECT
public:
    // The screen starts in the orientation the handheld's profile gives; it becomes the current screen.
    explicit HandheldScreen(QWidget* parent = nullptr);
    HandheldScreen(Orientation orientation, QWidget* parent);
    ~HandheldScreen() override;

    Orientation orientation() const { return orientation_; }
    // Turns the screen; its children are told by ScreenTurned (and are resized by their owners).
    void SetOrientation(Orientation orientation);
    void Rotate();

signals:
    // The screen has turned: the program answers as to the settings change kSettingChangeScreenTurned.
    void ScreenTurned(handheld::Orientation orientation);

private:
    Orientation orientation_;
};

// The screen made last and still alive, or null (message boxes without an owner are shown on it).
HandheldScreen* CurrentScreen();
// Its orientation; the profile's start orientation when there is no screen.
Orientation CurrentOrientation();

}  // namespace handheld
