// The "Help" pop-up: a hint text from the language file on light yellow, sized to its text, with a
// "don't show again" box that switches every hint off.
#pragma once

#include <QLabel>
#include <string>

#include "app/shell/app_state.h"
#include "handheld/shell/handheld_dialog.h"

class QPlainTextEdit;

// The text of a hint request: the language text of the first number, then the second's when it is not 0,
// at most kHintTextChars - 1 characters in all. A number without text adds nothing.
inline constexpr std::size_t kHintTextChars = 1024;
std::u16string ComposeHintText(int first, int second);

// A picture that reacts to taps.
class TapPicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Tapped();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class HintDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 136;
    enum ControlId : int { kText = 1001, kDontShowAgain = 1002, kClose = 1048 };
    static constexpr int kPortraitWidthPx = 200;
    static constexpr int kLandscapeWidthPx = 280;
    static constexpr int kPortraitMaxLines = 14;
    static constexpr int kLandscapeMaxLines = 10;

    HintDialog(QWidget* owner, AppState& state, const std::u16string& text);

    int LineCount() const { return lineCount_; }
    int ShownLines() const { return shownLines_; }
    QPlainTextEdit* TextEdit() const;
    // The close picture: "don't show again" switches hints off, also in the owner's "Show hints" box.
    void Close();

protected:
    void OnScreenTurned(handheld::Orientation) override { Place(); }

private:
    void Place();
    AppState& state_;
    int lineCount_ = 0;
    int shownLines_ = 0;
};

// Shows the pop-up for a hint request, owned by the requesting dialog.
int ShowHint(QWidget* requester, int first, int second, AppState& state = TheAppState());
// Makes hint requests post their pop-up to run once the requesting dialog is up, as the main window does.
void InstallHintPopups(AppState& state = TheAppState());
