// "No signal!": offered when a macro step saw no IR signal, so the step can be a pause of 50 ms to 2 s.
#pragma once

#include "handheld/shell/handheld_dialog.h"

class QSlider;

class PauseDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 122;
    enum ControlId : int {
        kOk = 1,
        kCancel = 2,
        kSlider = 1037,
        kPosition = 1038,
        kText = 1055,
        kSelectionLabel = 1059,
        kMaxLabel = 1060,
        kMinLabel = 1061,
    };

    explicit PauseDialog(QWidget* owner);
    QSlider* Slider() const;

private:
    void ShowPosition(int milliseconds);
};

// The program-wide result of the pause dialog: the chosen milliseconds, or -1 after Cancel.
int& PauseLength();
// Runs the pause dialog; true with PauseLength() set after OK.
bool AskForPause(QWidget* owner);
