// "Create device": a new device file from the built-in templates (receiver, player, custom), or a copy of
// an existing device file with or without its IR codes, which becomes a custom device.
#pragma once

#include "handheld/shell/handheld_dialog.h"

class CreateDeviceDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 114;
    static constexpr int kHint = 10;
    enum ControlId : int {
        kNameEdit = 1001,
        kUseTemplate = 1003,
        kWithoutIrCodes = 1006,
        kTypeList = 1021,
        kOk = 1028,
        kCancel = 1029,
        kBrowse = 1042,
        kTemplatePath = 1043,
        kNameLabel = 1053,
        kTypeLabel = 1054,
    };

    explicit CreateDeviceDialog(QWidget* owner);

    // The browse button: the file chooser on the device folder for ".kdr" files.
    void Browse();
    // OK: creates the device and closes, or warns and stays open.
    void Confirm();

private:
    void TypeChanged();
    void TemplateToggled(bool checked);
    bool ConfirmFromTemplate(const std::u16string& name);
    bool ConfirmStandard(const std::u16string& name);
};
