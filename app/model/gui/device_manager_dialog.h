// "Select device": every device of the device folder with a tick for "shown"; rename and delete by
// tap-and-hold on a name, "Create..." for a new device, OK takes the ticks and opens the current device.
#pragma once

#include <QIcon>
#include <QPointer>

#include "app/model/device_library.h"
#include "handheld/shell/handheld_dialog.h"

class QListWidget;
class QListWidgetItem;
class QMenu;
struct AppState;
namespace handheld {
class TapAndHold;
}

class DeviceManagerDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 113;
    static constexpr int kHint = 5;
    enum ControlId : int { kCreate = 1008, kDeviceList = 1016, kOk = 1028, kCancel = 1029 };
    enum Command : int { kRename = 40050, kDelete = 40051 };
    static constexpr int kTypeIconPx = 22;

    // state: the shown devices, the current name and the open device; menuState: given to the opening of
    // the current device on OK.
    DeviceManagerDialog(QWidget* owner, AppState& state, MenuStateCallback menuState = nullptr);

    QListWidget* List() const;
    QListWidgetItem* Item(std::u16string_view name) const;
    handheld::TapAndHold* Gesture() const { return gesture_; }
    // True while a name is being edited (Enter then only ends the editing).
    bool Renaming() const { return renaming_ != nullptr; }

    // The folder scanned again into the list; ticks the user changed since are kept.
    void Rescan();
    // The item pop-up menu ("Rename", "Delete") for an item, at a point of the list's viewport.
    void OpenItemMenu(QListWidgetItem* item, QPoint viewportPoint);
    void StartRename(QListWidgetItem* item);
    void AskDelete(QListWidgetItem* item);
    void CreateDevice();
    void Confirm();
    // Whether a point of the viewport lies on an item's text (where tap-and-hold opens the item menu).
    bool OnItemText(QPoint viewportPoint) const;

    static QIcon TypeIcon(DeviceType type);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ItemChanged(QListWidgetItem* item);

    AppState& state_;
    MenuStateCallback menuState_;
    std::u16string folder_;
    handheld::TapAndHold* gesture_ = nullptr;
    QListWidgetItem* renaming_ = nullptr;
    QString nameBeforeRename_;
};

// The first start on an empty handheld: when no device is shown, the device manager runs (owned by owner).
// True when it ran.
bool RunDeviceManagerWhenNothingShown(QWidget* owner, AppState& state, MenuStateCallback menuState = nullptr);
