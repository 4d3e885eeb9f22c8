// The main window: grey, with the frame of picture widgets and the panel window at its place for the
// orientation; the main menu (menu 102's first pop-up, with the "Ir Port" submenu), normal and edit mode,
// the opening of devices for every caller, hot keys and hint requests.
#pragma once

#include <QWidget>
#include <memory>
#include <string_view>

#include "app/ir/port_choice.h"
#include "app/panel/device_opening.h"
#include "app/panel/frame_widgets.h"
#include "app/panel/panel_window.h"
#include "app/shell/app_state.h"
#include "handheld/shell/screen.h"

class QMenu;

inline constexpr int kCommandExit = 1;
inline constexpr int kCommandAbout = 40003;
inline constexpr int kCommandNormalMode = 40015;
inline constexpr int kCommandEditMode = 40016;
inline constexpr int kCommandSettings = 40017;
inline constexpr int kCommandManageDevices = 40018;
inline constexpr int kCommandHardwareButtons = 40060;
inline constexpr int kCommandHelp = 40086;
// The hot key of the next shown device.
inline constexpr int kNextDeviceHotKey = 193;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(AppState& state, DevicePanels& panels, const ButtonArtwork& library, handheld::Orientation orientation,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens a device by name as every caller of the program does, through MenuStateCallback; true when a
    // device or a CCF file is shown. Anything but an own device shown leaves no path to save to.
    bool Open(std::u16string_view name);
    // The screen has turned: widgets, size and panel window follow; edit mode ends in landscape.
    void SetOrientation(handheld::Orientation orientation);
    // (Re)loads menu 102's main menu, the "Ir Port" submenu checked for the port setting read at start-up.
    void LoadMenu();
    // A command of the main menu (or its "Ir Port" submenu).
    void RunCommand(int command);
    // A registered hot key of the handheld.
    void HotKey(int id);
    // Every opening reports here: 1 a CCF file is shown, 0 an own device. Grays or enables the items that
    // need an own device and places the panel window.
    static void MenuStateCallback(int kind);
    // The main window open now, or null.
    static MainWindow* Current();

    FrameWidgets& Widgets() { return widgets_; }
    PanelWindow* Panel() const { return panel_; }
    const DevicePanels& Panels() const { return panels_; }
    QMenu& Menu() const { return *menu_; }
    const PortMenu& Ports() const { return ports_; }
    // Hint requests taken off the queue so far.
    int HintRequests() const { return hintRequests_; }

signals:
    // The program is to end (posted: never run inside the handler of the tap that asked for it).
    void ExitRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SyncPortChecks();
    void ApplyMenuState(int kind);
    void PlacePanel();
    void StepDevice(int step);
    void ChooseFromNameList();
    // The CCF name widget's pop-up: every device and macro name of the open file; the choice is shown.
    void ChooseCcfName();
    // The viewer library reports each CCF device it shows here.
    static void CcfDeviceShown(const char16_t* name);
    void ShowDeviceSettings();
    void OpenMenu();
    void EnterEditMode();
    void LeaveEditMode();
    void Close();
    // False while a modal dialog or menu is open over the window.
    bool TakesInput() const;
    template <class Run>
    void Modal(Run run);

    AppState& state_;
    DevicePanels& panels_;
    DeviceOpening opening_;
    handheld::Orientation orientation_;
    FrameWidgets widgets_;
    PanelWindow* panel_;
    std::unique_ptr<QMenu> menu_;
    PortMenu ports_;
    bool ccfShown_ = false;
    int modalDepth_ = 0;
    int hintRequests_ = 0;
};
