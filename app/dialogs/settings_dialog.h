// "Settings": the open device's background colour and picture, transparent buttons and button sound, and
// the program's hints and label turn. Closing always applies; there is no Cancel.
#pragma once

#include <functional>

#include "app/panel/device_opening.h"
#include "app/shell/app_state.h"
#include "handheld/shell/colour_chooser.h"
#include "handheld/shell/handheld_dialog.h"

class SettingsDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 104;
    static constexpr int kHint = 15;
    enum ControlId : int {
        kOk = 1,
        kPicturePath = 1001,
        kPictureEnabled = 1002,
        kTransparentButtons = 1003,
        kSoundPath = 1004,
        kSoundEnabled = 1005,
        kShowHints = 1006,
        kBrowsePicture = 1013,
        kBrowseSound = 1014,
        kRotation = 1023,
        kSetColor = 1026,
        kColorSwatch = 1027,
        kPictureLabel = 1061,
        kSoundLabel = 1062,
        kRotationLabel = 1064,
        kSeparator = 40062,
        kSecondSeparator = 40063,
    };
    static constexpr std::size_t kMaxPathChars = 260;

    // repaint: shows the panel again after OK (may be empty).
    SettingsDialog(QWidget* owner, AppState& state, DevicePanels& panels, std::function<void()> repaint);

    // False when the open device has no settings: the dialog ends as soon as it runs.
    bool HasDeviceSettings() const { return hasSettings_; }
    handheld::COLORREF PendingColor() const { return pendingColor_; }

    void ChooseColor();
    void BrowsePicture();
    void BrowseSound();
    void Confirm();

    // Where a browse button's chooser starts for the path in its field.
    static std::u16string StartFolder(std::u16string_view path, std::u16string_view defaultFolder);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateEnabling();
    void PaintSwatch();
    void Browse(int field, const char16_t* filterKey, const char16_t* defaultFilter, std::u16string_view folder);

    AppState& state_;
    DevicePanels& panels_;
    std::function<void()> repaint_;
    handheld::COLORREF pendingColor_ = DeviceSettings::kDefaultBackgroundColor;
    bool hasSettings_ = false;
    bool hintRequested_ = false;
};

// The menu's "Settings...": runs the dialog over parent for the open device and applies it on OK.
int RunSettingsDialog(QWidget* parent, AppState& state, DevicePanels& panels, std::function<void()> repaint = {});
