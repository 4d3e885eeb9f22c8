// The program's dialogs as the handheld shows them: full screen inside the handheld's screen, a drawn title
// line, controls placed from one of two fixed pixel tables (portrait, landscape) and placed again when the
// screen turns. Each control keeps its numeric identifier as its object name, so texts keys and other dialogs
// reach it by number.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>
#include <span>
#include <vector>

#include "handheld/profile.h"

namespace handheld {

class HandheldScreen;

// Title line of every dialog: bold "Tahoma" 13 px in blue at (5, 5)-(200, 20), a black rule at y = 25.
inline constexpr int kDialogTitleLineY = 25;
inline constexpr int kDialogTitleFontPx = 13;
inline const QRect kDialogTitleRect{5, 5, 195, 15};

struct ControlPlacement {
    int id;
    QRect portrait;
    QRect landscape;
};

class HandheldDialog : public QDialog {
    Q_OBJECT
public:
    // owner: the window that opened the dialog (any widget on the handheld's screen, or null). The dialog
    // itself is a child of the handheld's screen. A nonzero resourceId builds the controls of the compiled-in
    // dialog template of that number; an empty title then takes the template's.
    HandheldDialog(QWidget* owner, int resourceId, const QString& title);

    QWidget* Owner() const { return owner_; }
    int ResourceId() const { return resourceId_; }
    QString Title() const { return title_; }
    Orientation CurrentLayout() const { return orientation_; }

    QWidget* Control(int id) const;
    template <class Widget>
    Widget* Control(int id) const {
        return qobject_cast<Widget*>(Control(id));
    }

    // Runs the dialog modally and returns its result (QDialog::Accepted or Rejected). A queued dialog
    // script, when there is one, answers it instead of the user.
    int Run();
    bool IsRunning() const { return running_; }

    // Adds placements (they replace earlier ones of the same id) and places the controls at once.
    void AddPlacements(std::span<const ControlPlacement> placements);
    // Fills the screen and places every control for the screen's orientation.
    void Relayout();

    // The screen a dialog opened by this owner belongs to: the owner's screen, else the current one.
    static HandheldScreen* ScreenOf(QWidget* owner);

signals:
    // The screen has turned and the controls are placed again (the settings change 0x3002).
    void LaidOut(handheld::Orientation orientation);

protected:
    void paintEvent(QPaintEvent* event) override;
    void done(int result) override;
    // Called after every re-layout for the turned screen; dialogs with controls of their own move them here.
    virtual void OnScreenTurned(Orientation) {}

private:
    void BuildFromTemplate(int resourceId);

    QWidget* owner_;
    HandheldScreen* screen_;
    int resourceId_;
    QString title_;
    Orientation orientation_;
    bool running_ = false;
    std::vector<ControlPlacement> placements_;
};

// Scripted answers: the next dialog to run calls the first queued script once it is shown, instead of
// waiting for a person. The script ends the dialog (clicks OK, Cancel...); a dialog the script leaves open is
// cancelled, so a test never hangs. Scripts may run nested dialogs, which take the next scripts.
using DialogScript = std::function<void(HandheldDialog& dialog)>;
void QueueDialogScript(DialogScript script);
std::size_t PendingDialogScripts();
void ClearDialogScripts();

}  // namespace handheld
