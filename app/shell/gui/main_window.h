// The main window: grey, with the frame of picture widgets and the panel window at its place for the
// orientation. Taps on the widgets switch devices and panels and flip the sound setting.
#pragma once

#include <QWidget>
#include <memory>
#include <string_view>

#include "app/panel/device_opening.h"
#include "app/panel/frame_widgets.h"
#include "app/panel/panel_window.h"
#include "app/shell/app_state.h"
#include "handheld/shell/screen.h"

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(AppState& state, DevicePanels& panels, const ButtonArtwork& library, handheld::Orientation orientation,
               QWidget* parent = nullptr);

    // Opens a device by name as every caller of the program does; true when it is shown.
    bool Open(std::u16string_view name);
    // The screen has turned: widgets, size and panel window follow.
    void SetOrientation(handheld::Orientation orientation);

    FrameWidgets& Widgets() { return widgets_; }
    PanelWindow* Panel() const { return panel_; }

signals:
    // The top button was tapped: the program ends.
    void ExitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PlacePanel();
    void StepDevice(int step);
    void ShowDeviceSettings();

    AppState& state_;
    DevicePanels& panels_;
    DeviceOpening opening_;
    handheld::Orientation orientation_;
    FrameWidgets widgets_;
    PanelWindow* panel_;
    bool ccfShown_ = false;
};
