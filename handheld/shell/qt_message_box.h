// The Qt presenter of the handheld's message boxes: icon and buttons from the box's flags, the answer as the
// handheld's button identifier.
#pragma once

#include <QMessageBox>
#include <memory>
#include <vector>

#include "handheld/messagebox.h"
#include "handheld/shell/screen.h"

namespace handheld {

struct MessageBoxLook {
    QMessageBox::Icon icon;
    std::vector<QMessageBox::StandardButton> buttons;  // in the handheld's order, left to right
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;  // NoButton: the box cannot be escaped (yes/no)
};

// What a box with these flags looks like. Unknown button sets fall back to a single OK (traced).
MessageBoxLook DescribeMessageBox(UINT flags);

// The handheld's answer (IDOK, IDCANCEL, IDYES, ...) for a clicked button.
int AnswerOf(QMessageBox::StandardButton button);

// The box itself, not yet shown: owner as parent, caption as title (used when no handheld screen exists).
std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBoxRequest& request);

// A box inside the handheld's screen: caption line, icon, text and buttons on a panel centred on the screen,
// which the box covers whole while it runs. Its buttons are named by their answers ("1" OK, "6" Yes ...).
class ScreenMessageBox : public QDialog {
    Q_OBJECT
public:
    ScreenMessageBox(HandheldScreen* screen, const MessageBoxRequest& request);
    void reject() override;

private:
    // Fills the screen and centres the box on it (again when the screen turns).
    void Place(QSize screenSize);

    static constexpr int kMarginPx = 8;
    MessageBoxLook look_;
    QWidget* panel_ = nullptr;
};

// Shows the box modally (inside the handheld's screen when there is one) and returns the answer.
int PresentQtMessageBox(const MessageBoxRequest& request);

// Makes PresentQtMessageBox the presenter of the process; returns the previous one.
MessageBoxPresenter InstallQtMessageBoxPresenter();

}  // namespace handheld
