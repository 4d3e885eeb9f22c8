// The colour chooser of the handheld: a full colour dialog inside the handheld's screen, its 16 custom
// colours kept for the whole run.
#pragma once

#include <QColor>
#include <cstdint>

#include "handheld/shell/handheld_dialog.h"

class QColorDialog;

class ColorChooserDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    enum ControlId : int { kOk = 1, kCancel = 2, kPickerArea = 700 };

    ColorChooserDialog(QWidget* owner, QColor initial);
    QColorDialog* Picker() const { return picker_; }

private:
    QColorDialog* picker_;
};

// True with colorref (0x00BBGGRR) set to the chosen colour after OK; unchanged after Cancel.
bool ChooseColorInScreen(QWidget* owner, std::uint32_t& colorref);
