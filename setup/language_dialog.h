// The "Language" dialog (resource 129): at the end of an installation the user chooses the language of the
// program and of its help. It is placed inside the handheld's screen, full-screen, from a portrait and a
// landscape table, and keeps its control identifiers as object names ("1000" ... "1003").
#pragma once

#include <QDialog>
#include <functional>

#include "handheld/profile.h"
#include "setup/core/language_installation.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace pravon {

inline constexpr int kLanguageDialogId = 129;
inline constexpr int kUiLanguagesId = 1000;
inline constexpr int kHelpLanguagesId = 1001;
inline constexpr int kOkId = 1002;
inline constexpr int kDefaultsId = 1003;

// Ends the installer process with the given exit code. Tests put a recorder in its place; when it returns,
// the dialog ends without doing anything more.
using ProcessEnd = std::function<void(int exitCode)>;
// Flushes what was written and ends the process at once (the installer is in the middle of a modal loop).
void EndInstallerProcess(int exitCode);

class LanguageDialog : public QDialog {
public:
    // installFolder: the handheld folder the package went to; screen: the handheld screen to show on.
    LanguageDialog(std::u16string_view installFolder, QWidget* screen, ProcessEnd processEnd = EndInstallerProcess);

    // Opens the dialog: finds the program and the languages (a failure is shown and ends the installer), then
    // runs it modally. Returns the dialog's result; 0 when the installer was ended.
    int Run();

    const LanguageInstallation& Installation() const { return installation_; }

private:
    void Place(handheld::Orientation orientation);
    void SelectDefaults();
    void Accept();
    void reject() override;
    void paintEvent(QPaintEvent* event) override;
    // Shows a failure; ends the installer when the failure asks for it.
    void Report(const Failure& failure);
    void Note(std::u16string_view text, unsigned iconFlags);

    LanguageInstallation installation_;
    ProcessEnd processEnd_;
    QComboBox* uiLanguages_;
    QComboBox* helpLanguages_;
    QPushButton* ok_;
    QPushButton* defaults_;
    QPushButton* close_;
    QLabel* programName_;
    QLabel* finalStep_;
    QLabel* choose_;
    QLabel* uiLabel_;
    QLabel* helpLabel_;
    QLabel* laterNote_;
};

}  // namespace pravon
