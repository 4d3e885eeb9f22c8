#include "app/ir/gui/button_properties_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "app/filechooser/device_file_choice.h"
#include "app/ir/gui/color_chooser.h"
#include "app/ir/gui/pause_dialog.h"
#include "app/ir/learning.h"
#include "app/model/gui/hint_request.h"
#include "app/panel/device_opening.h"
#include "app/panel/qt_pixels.h"
#include "app/panel/select_label_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "handheld/shell/hwnd.h"

namespace {

using D = ButtonPropertiesDialog;

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

constexpr handheld::ControlPlacement kCodePlacements[] = {
    {D::kIrCodeGroup, {2, 100, 236, 130}, {2, 74, 316, 128}},
    {D::kLearnFromIr, {8, 116, 160, 16}, {8, 88, 160, 16}},
    {D::kSelectFromFile, {8, 158, 160, 16}, {8, 130, 160, 16}},
};
// Where the preview of the button is drawn, corner radius kPreviewRadius.
const QRect kPreviewPortrait{180, 30, 50, 40};
const QRect kPreviewLandscape{265, 30, 50, 40};
constexpr int kPreviewRadius = 10;
constexpr qsizetype kMaxCommandNameChars = 260;
constexpr char kNextStepProperty[] = "nextStep";

QColor FromColorref(std::uint32_t colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

SkinPanel& ShownPanel(AppState& state, DevicePanels& panels) {
    return state.functionPanelShown ? panels.functionPanel : panels.mainPanel;
}

void WarnCommandFull() {
    ShowWarning(nullptr, u"WAR_COMMAND_FULL", u"The command can't hold more codes.");
}

// The busy sign while learning blocks the dialog.
class BusySign {
public:
    BusySign() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusySign() { QGuiApplication::restoreOverrideCursor(); }
    BusySign(const BusySign&) = delete;
    BusySign& operator=(const BusySign&) = delete;
};

}  // namespace

ButtonPropertiesDialog::ButtonPropertiesDialog(QWidget* owner, AppState& state, DevicePanels& panels,
                                               std::u16string_view buttonName)
    : HandheldDialog(owner, kResourceId, {}),
      state_(state),
      panel_(ShownPanel(state, panels)),
      buttonName_(buttonName),
      recordName_(CommandRecordName(buttonName)) {
    auto* group = new QGroupBox(Q(u"DLG_1_CTL_4", u"IR code"), this);
    group->setObjectName(QString::number(kIrCodeGroup));
    group->lower();  // a frame behind the controls it groups, never over them
    for (auto [id, key, text] : {std::tuple{kLearnFromIr, u"DLG_1_CTL_5", u"Learn from IR source"},
                                 std::tuple{kSelectFromFile, u"DLG_1_CTL_8", u"Select from file:"}}) {
        auto* radio = new QRadioButton(Q(key, text), this);
        radio->setObjectName(QString::number(id));
        // Reset unchecks "Select from file:" on its own, so the pair is kept exclusive by hand.
        radio->setAutoExclusive(false);
    }
    AddPlacements(kCodePlacements);

    Control<QLabel>(kNameLabel)->setText(Q(u"DLG_1_CTL_1", u"Command name:"));
    Control<QPushButton>(kColor)->setText(Q(u"DLG_1_CTL_2", u"Color..."));
    Control<QPushButton>(kLabel)->setText(Q(u"DLG_1_CTL_3", u"Label..."));
    Control<QCheckBox>(kHasMacros)->setText(Q(u"DLG_1_CTL_7", u"Has macros"));
    Control<QLabel>(kFileNameLabel)->setText(Q(u"DLG_1_CTL_9", u"File name:"));
    Control<QLabel>(kCodeNameLabel)->setText(Q(u"DLG_1_CTL_10", u"Code name:"));
    Control<QPushButton>(kReset)->setText(Q(u"DLG_1_CTL_11", u"Reset cmd"));
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_1_CTL_12", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_1_CTL_13", u"Cancel"));
    Control<QLineEdit>(kNameEdit)->setMaxLength(kMaxCommandNameChars);

    auto* learnFromIr = Control<QRadioButton>(kLearnFromIr);
    auto* selectFromFile = Control<QRadioButton>(kSelectFromFile);
    learnFromIr->setChecked(true);
    Control(kLabel)->setEnabled(!state.functionPanelShown);

    if (const FaceButton* button = panel_.FindButton(buttonName_)) {
        editedColor_ = button->color;
        editedLabel_ = button->label;
    }
    // The template's learn button is disabled, and stays so for a button without a record.
    SetLearnStep(0, false);
    LearnButton()->setText(Q(u"DLG_1_CTL_6", u"Read cmd 1"));
    Device& device = state.device;
    if (const auto record = device.FindRecord(recordName_); record != device.records.end()) {
        hasRecord_ = true;
        device.workRecord = *record;
        Control<QLineEdit>(kNameEdit)->setText(QString::fromStdU16String(record->commandName));
        const LearnButtonState learn = LearnStateFor(record->EntryCount());
        SetLearnStep(learn.nextStep, learn.enabled);
        if (learn.nextStep == 1) LearnButton()->setText(Q(u"LEARN_MSG_2", u"Read cmd 2"));
        Control<QCheckBox>(kHasMacros)->setChecked(learn.macros);
    }
    if (!LearnButton()->isEnabled()) {
        for (int id : {kHasMacros, kLearnFromIr, kSelectFromFile}) Control(id)->setEnabled(false);
    }
    SourceChanged();

    connect(learnFromIr, &QRadioButton::toggled, this, [this, selectFromFile](bool on) {
        if (on) selectFromFile->setChecked(false);
        SourceChanged();
    });
    connect(selectFromFile, &QRadioButton::toggled, this, [this, learnFromIr](bool on) {
        if (on) learnFromIr->setChecked(false);
        SourceChanged();
    });
    connect(LearnButton(), &QPushButton::clicked, this, &D::LearnClicked);
    connect(Control<QPushButton>(kBrowse), &QPushButton::clicked, this, &D::Browse);
    connect(Control<QComboBox>(kCodeList), &QComboBox::textActivated, this, &D::CopyCodesFromFile);
    connect(Control<QPushButton>(kReset), &QPushButton::clicked, this, &D::ResetCommands);
    connect(Control<QPushButton>(kColor), &QPushButton::clicked, this, &D::ChooseColor);
    connect(Control<QPushButton>(kLabel), &QPushButton::clicked, this, &D::ChooseLabel);
    connect(ok, &QPushButton::clicked, this, &D::Confirm);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &D::reject);
    RequestHint(this, kHint, kSecondHint);
}

QPushButton* ButtonPropertiesDialog::LearnButton() const {
    return Control<QPushButton>(kLearn);
}

std::uint16_t ButtonPropertiesDialog::NextStep() const {
    return static_cast<std::uint16_t>(LearnButton()->property(kNextStepProperty).toUInt());
}

void ButtonPropertiesDialog::SetLearnStep(std::uint16_t nextStep, bool enabled) {
    QPushButton* learn = LearnButton();
    learn->setProperty(kNextStepProperty, static_cast<unsigned>(nextStep));
    if (nextStep == kAllLearned) {
        learn->setText(Q(u"LEARN_MSG_3", u"Learned"));
        enabled = false;
    } else if (nextStep == 0) {
        learn->setText(Q(u"LEARN_MSG_1", u"Read cmd 1"));
    } else {
        learn->setText(Q(u"LEARN_MSG_0", u"Read cmd") + u' ' + QString::number(nextStep + 1));
    }
    learn->setEnabled(enabled);
}

void ButtonPropertiesDialog::LearnClicked() {
    const std::uint16_t step = NextStep();
    const bool macros = Control<QCheckBox>(kHasMacros)->isChecked();
    LearnButton()->setEnabled(false);
    switch (LearnEntry(recordName_, EntryIndexOfStep(step, macros))) {
        case LearnResult::Learned: {
            const std::uint16_t next = StepAfter(step, macros);
            SetLearnStep(next, next != kAllLearned);
            break;
        }
        case LearnResult::Failed:
            LearnButton()->setEnabled(true);
            break;
        case LearnResult::Full:
            SetLearnStep(kAllLearned, false);
            break;
    }
}

ButtonPropertiesDialog::LearnResult ButtonPropertiesDialog::LearnEntry(const std::u16string& recordName, int index) {
    Device& device = state_.device;
    if (device.FindRecord(recordName) == device.records.end()) {
        ShowError(nullptr, u"ERR_1", u"Can't find record");
        return LearnResult::Failed;
    }
    IrCode code{};
    bool seen = false;
    {
        BusySign busy;
        seen = LearnIrCode(code);
    }
    StoreResult stored = StoreResult::Stored;
    if (seen) {
        stored = StoreLearnedCode(device.workRecord, index, code);
    } else if (index < kFirstMacroIndex) {
        ShowWarning(nullptr, u"WAR_4", u"Can't get IR signal. Try again!");
        return LearnResult::Failed;
    } else {
        if (!AskForPause(this)) return LearnResult::Failed;
        stored = StorePause(device.workRecord, index, PauseLength());
    }
    if (stored == StoreResult::TooLarge) {
        WarnCommandFull();
        return LearnResult::Full;
    }
    return LearnResult::Learned;
}

void ButtonPropertiesDialog::SourceChanged() {
    const bool fromFile = Control<QRadioButton>(kSelectFromFile)->isChecked();
    for (int id : {kFilePath, kBrowse, kCodeList, kFileNameLabel, kCodeNameLabel}) Control(id)->setEnabled(fromFile);
    LearnButton()->setEnabled(!fromFile && hasRecord_ && NextStep() != kAllLearned);
    if (Control(kLearnFromIr)->isEnabled()) Control(kHasMacros)->setEnabled(!fromFile);
}

void ButtonPropertiesDialog::Browse() {
    const QString chosen = ChooseDeviceFile(this);
    if (chosen.isEmpty()) return;
    auto* path = Control<QLineEdit>(kFilePath);
    path->setText(chosen);
    path->selectAll();
    ListCodesOfFile();
}

void ButtonPropertiesDialog::ListCodesOfFile() {
    auto* codes = Control<QComboBox>(kCodeList);
    codes->clear();
    Device other;
    if (!other.Load(Control<QLineEdit>(kFilePath)->text().toStdU16String(), false)) return;
    for (const ButtonRecord& record : other.records) {
        if (!record.commandName.empty()) codes->addItem(QString::fromStdU16String(record.commandName));
    }
}

void ButtonPropertiesDialog::CopyCodesFromFile(const QString& commandName) {
    Device other;
    if (!other.Load(Control<QLineEdit>(kFilePath)->text().toStdU16String(), false)) return;
    const std::u16string wanted = commandName.toStdU16String();
    for (const ButtonRecord& record : other.records) {
        if (record.commandName != wanted) continue;
        if (CopyEntries(record, state_.device.workRecord) == StoreResult::TooLarge) {
            WarnCommandFull();
            SetLearnStep(kAllLearned, false);
        }
        return;
    }
}

void ButtonPropertiesDialog::ResetCommands() {
    const int answer = ShowWarning(handheld::ToHwnd(this), u"WAR_7", u"Clear command set?",
                                   handheld::MB_YESNO | handheld::MB_ICONEXCLAMATION);
    if (answer == handheld::IDNO) return;
    auto* learnFromIr = Control<QRadioButton>(kLearnFromIr);
    auto* selectFromFile = Control<QRadioButton>(kSelectFromFile);
    if (hasRecord_) {
        state_.device.workRecord.ClearCommandSet();
        SetLearnStep(0, true);
        learnFromIr->setEnabled(true);
        learnFromIr->setChecked(true);
        selectFromFile->setEnabled(true);
        auto* macros = Control<QCheckBox>(kHasMacros);
        macros->setEnabled(true);
        macros->setChecked(false);
    }
    selectFromFile->setChecked(false);
    SourceChanged();
}

void ButtonPropertiesDialog::ChooseColor() {
    if (ChooseColorInScreen(this, editedColor_)) update();
}

void ButtonPropertiesDialog::ChooseLabel() {
    const FaceButton* button = panel_.FindButton(buttonName_);
    const auto* artwork = button != nullptr ? dynamic_cast<const LibraryArtwork*>(button->library) : nullptr;
    if (artwork == nullptr) return;
    if (RunSelectLabelDialog(this, *artwork, button->label)) {
        editedLabel_ = PendingLabel();
        update();
    }
}

void ButtonPropertiesDialog::Confirm() {
    const std::u16string text = Control<QLineEdit>(kNameEdit)->text().left(kMaxCommandNameChars).toStdU16String();
    Device& device = state_.device;
    if (const auto record = device.FindRecord(recordName_); record != device.records.end()) {
        *record = device.workRecord;
        record->commandName = text;
        // The colour and label belong to the button itself (F1, not FUNC1), so reopening the device keeps them.
        if (const auto own = device.FindRecord(buttonName_); own != device.records.end()) {
            own->color = editedColor_;
            own->label = editedLabel_;
        }
        if (FaceButton* button = panel_.FindButton(buttonName_)) {
            button->caption = text;
            button->SetColor(editedColor_);
            button->SetLabel(editedLabel_);
        }
    }
    done(kOk);
}

QRect ButtonPropertiesDialog::PreviewRect() const {
    return CurrentLayout() == handheld::Orientation::Portrait ? kPreviewPortrait : kPreviewLandscape;
}

void ButtonPropertiesDialog::paintEvent(QPaintEvent* event) {
    HandheldDialog::paintEvent(event);
    const FaceButton* button = panel_.FindButton(buttonName_);
    if (button == nullptr || button->library == nullptr || button->library->Bitmap(button->skinName) == nullptr) {
        return;  // no skin, no preview
    }
    FaceButton preview = *button;
    preview.SetPosition(0, 0);
    preview.SetColor(editedColor_);
    preview.SetLabel(editedLabel_);
    preview.caption.clear();
    Bitmap24 pixels(preview.width, preview.height);
    pixels.Fill(editedColor_);  // where the face does not cover, the background shows
    DeviceContext dc{pixels, kOrientationPortrait, nullptr};
    DrawFaceButton(preview, dc, STATE_NORMAL, ButtonBackground{editedColor_, nullptr}, true, 0);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = PreviewRect();
    painter.setPen(Qt::black);
    painter.setBrush(FromColorref(editedColor_));
    painter.drawRoundedRect(area, kPreviewRadius, kPreviewRadius);
    const QImage image = ImageOnBitmap(pixels);
    const QSize fitted = image.size().scaled(area.size() - QSize(6, 6), Qt::KeepAspectRatio);
    const QRect target(area.center() - QPoint(fitted.width() / 2, fitted.height() / 2), fitted);
    painter.drawImage(target, image);
}

int RunButtonPropertiesDialog(QWidget* parent, AppState& state, DevicePanels& panels, std::u16string_view buttonName) {
    ButtonPropertiesDialog dialog(parent, state, panels, buttonName);
    return dialog.Run();
}
