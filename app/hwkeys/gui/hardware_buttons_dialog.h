// "Hardware Buttons": the handheld's keys with the command each one sends; "Set" gives the selected key a
// command of the open device (or none) and takes effect at once, OK stores the assignments in the device file.
#pragma once

#include <QIcon>
#include <vector>

#include "app/hwkeys/hardware_keys.h"
#include "app/shell/app_state.h"
#include "handheld/shell/handheld_dialog.h"

class QTreeWidget;

// The key list with the image list its rows show; one per run, kept by the program.
struct HardwareButtons {
    HardwareKeyList list;
    std::vector<QIcon> images;
};

// Start-up: lists the keys (icons of the shell's programs and the program's own 143-147) and takes key 193
// from the shell for the main window.
void StartHardwareButtons(HardwareButtons& buttons, QWidget* mainWindow, const Device& device);

class HardwareButtonsDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 141;
    enum ControlId : int {
        kOk = 1,
        kUnmapWhenMinimized = 1002,
        kUseSystemButton = 1003,
        kSet = 1008,
        kKeyList = 1016,
        kCommandList = 1022,
        kIntroText = 1055,
        kAssignmentLabel = 1058,
    };

    HardwareButtonsDialog(QWidget* owner, AppState& state, HardwareButtons& buttons);

    QTreeWidget* KeyList() const;
    void Set();
    void Confirm();

private:
    void FillKeyList();
    void FillCommands();

    AppState& state_;
    HardwareButtons& buttons_;
};

// The menu's "Hardware buttons...": runs the dialog over owner for the open device.
int RunHardwareButtonsDialog(QWidget* owner, AppState& state, HardwareButtons& buttons);
