// "Select button": adds a new button to a custom device's main panel. The user browses the skins of the
// button library (flat or 3D) in a centred preview and gives the top left corner, which starts at the tap.
#pragma once

#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "app/panel/face_button.h"
#include "handheld/shell/handheld_dialog.h"

struct AppState;
struct DevicePanels;
class LibraryArtwork;

class SelectButtonDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 134;
    static constexpr std::uint32_t kPreviewColor = 0x00969696;
    static constexpr std::uint32_t kPreviewBackground = 0x00C8C8C8;
    enum ControlId : int {
        kOk = 1,
        kCancel = 2,
        kHorizontal = 1001,
        kVertical = 1002,
        kThreeD = 1003,
        kFirst = 1008,
        kPrevious = 1009,
        kNext = 1010,
        kLast = 1013,
        kPositionLabel = 1055,
        kHorizontalLabel = 1056,
        kVerticalLabel = 1057,
    };

    // tap: where the user tapped, in panel coordinates. moveCommand: the panel window's Move command, sent
    // once the new button is added.
    SelectButtonDialog(QWidget* owner, AppState& state, DevicePanels& panels, const LibraryArtwork& artwork, QPoint tap,
                       std::function<void()> moveCommand);

    int PreviewIndex() const { return previewIndex_; }
    int Count() const { return static_cast<int>(names_.size()); }
    // The preview's button as last built; empty name when there is nothing to preview.
    const FaceButton& PreviewButton() const { return previewButton_; }
    // Area of the preview for the current orientation (top, bottom).
    std::pair<int, int> PreviewArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Step(int index);
    void BuildPreview();
    void Confirm();

    AppState& state_;
    DevicePanels& panels_;
    const LibraryArtwork& artwork_;
    std::function<void()> moveCommand_;
    std::vector<std::u16string> names_;
    int previewIndex_ = 0;
    FaceButton previewButton_;
};

// Runs the dialog; QDialog::Accepted when a button was added.
int RunSelectButtonDialog(QWidget* parent, AppState& state, DevicePanels& panels, const LibraryArtwork& artwork,
                          QPoint tap, std::function<void()> moveCommand = {});
