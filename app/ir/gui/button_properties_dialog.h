// "Button properties": in edit mode, a button's command name, colour and label, and its command set, learned
// from another remote code by code (with pauses in macros) or copied from another device file. Every edit
// goes to the device's work record and reaches the button's record only on OK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "handheld/shell/handheld_dialog.h"

struct AppState;
struct DevicePanels;
struct FaceButton;
struct SkinPanel;
class QPushButton;

class ButtonPropertiesDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 119;
    static constexpr int kHint = 30;
    static constexpr int kSecondHint = 31;
    enum ControlId : int {
        kOk = 1,
        kCancel = 2,
        kNameEdit = 1001,
        kHasMacros = 1002,
        kFilePath = 1005,
        kLearn = 1008,
        kLearnFromIr = 1024,
        kSelectFromFile = 1023,
        kCodeList = 1025,
        kColor = 1026,
        kLabel = 1028,
        kReset = 1035,
        kFileNameLabel = 1039,
        kCodeNameLabel = 1040,
        kBrowse = 1042,
        kNameLabel = 1051,
        kIrCodeGroup = 1052,
    };
    enum class LearnResult { Learned, Failed, Full };

    // buttonName: the pressed button of the shown panel.
    ButtonPropertiesDialog(QWidget* owner, AppState& state, DevicePanels& panels, std::u16string_view buttonName);

    std::uint16_t NextStep() const;
    std::uint32_t EditedColor() const { return editedColor_; }
    const std::u16string& EditedLabel() const { return editedLabel_; }
    // The preview's place in the dialog for the current orientation.
    QRect PreviewRect() const;

    // Learns entry index of the work command set: the driver's code, or after a silent macro step a pause.
    LearnResult LearnEntry(const std::u16string& recordName, int index);
    // Reads the device file of the path field and lists its named commands.
    void ListCodesOfFile();
    // Copies the commands listed under name from the device file of the path field.
    void CopyCodesFromFile(const QString& commandName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* LearnButton() const;
    void SetLearnStep(std::uint16_t nextStep, bool enabled);
    void LearnClicked();
    void SourceChanged();
    void Browse();
    void ResetCommands();
    void ChooseColor();
    void ChooseLabel();
    void Confirm();

    AppState& state_;
    SkinPanel& panel_;
    std::u16string buttonName_;
    std::u16string recordName_;
    bool hasRecord_ = false;
    std::uint32_t editedColor_ = 0;
    std::u16string editedLabel_;
};

// Opens the dialog for the shown panel's button and returns its result; OK updates the record and the button.
int RunButtonPropertiesDialog(QWidget* parent, AppState& state, DevicePanels& panels, std::u16string_view buttonName);
