// The pop-up list of the device name widget: 180 x 180 pixels centred on the handheld's screen, a thin
// border around one list of the shown devices' names; a double tap on a row chooses it.
#pragma once

#include <string>
#include <vector>

#include "handheld/shell/handheld_dialog.h"

class QListWidget;

class DeviceNameList : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1000;
    DeviceNameList(QWidget* owner, const std::vector<std::u16string>& names);

    QListWidget* List() const { return list_; }
    // The row chosen by a double tap; empty when the list was closed otherwise.
    const std::u16string& Chosen() const { return chosen_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Every showing fills the screen first; the list then takes its own place.
    void showEvent(QShowEvent* event) override;
    void OnScreenTurned(handheld::Orientation orientation) override;

private:
    QListWidget* list_;
    std::u16string chosen_;
};

// Shows the list and returns the name chosen, empty when none.
std::u16string ChooseDeviceName(QWidget* owner, const std::vector<std::u16string>& names);
