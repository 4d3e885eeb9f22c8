#include "app/dialogs/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/filechooser/file_chooser.h"
#include "app/model/gui/hint_request.h"
#include "app/panel/background_picture.h"
#include "app/shell/language_table.h"
#include "handheld/shell/hwnd.h"

namespace {

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

// The handheld's documents folder.
constexpr char16_t kDocumentsFolder[] = u"\\My Documents";
constexpr char16_t kPictureFolder[] = u"\\VUDirazu back";
constexpr char16_t kSoundFolder[] = u"\\VUDirazu sounds";
constexpr char16_t kPictureFilter[] = u"Picture files(*.bmp,*.jpg,*.gif)\0*.bmp;*.jpg;*.gif\0All files(*.*)\0*.*\0";
constexpr char16_t kSoundFilter[] = u"Sound files(*.wav)\0*.wav\0All files(*.*)\0*.*\0";
const char* const kRotations[] = {"0", "90", "180", "270"};

std::u16string Bounded(const QString& text) {
    return text.left(static_cast<int>(SettingsDialog::kMaxPathChars)).toStdU16String();
}

void SetFlag(std::uint16_t& flags, std::uint16_t bit, bool on) {
    flags = on ? static_cast<std::uint16_t>(flags | bit) : static_cast<std::uint16_t>(flags & ~bit);
}

}  // namespace

SettingsDialog::SettingsDialog(QWidget* owner, AppState& state, DevicePanels& panels, std::function<void()> repaint)
    : HandheldDialog(owner, kResourceId, {}), state_(state), panels_(panels), repaint_(std::move(repaint)) {
    Control<QPushButton>(kSetColor)->setText(Q(u"DLG_9_CTL_1", u"Set background color"));
    Control<QCheckBox>(kPictureEnabled)->setText(Q(u"DLG_9_CTL_2", u"Enable background picture"));
    Control<QCheckBox>(kTransparentButtons)->setText(Q(u"DLG_9_CTL_3", u"Transparent buttons"));
    Control<QLabel>(kPictureLabel)->setText(Q(u"DLG_9_CTL_4", u"File"));
    Control<QCheckBox>(kSoundEnabled)->setText(Q(u"DLG_9_CTL_5", u"Enable button's sound"));
    Control<QLabel>(kSoundLabel)->setText(Q(u"DLG_9_CTL_6", u"File"));
    Control<QCheckBox>(kShowHints)->setText(Q(u"DLG_9_CTL_7", u"Show hints"));
    for (int id : {kSeparator, kSecondSeparator, kColorSwatch}) Control(id)->setAutoFillBackground(true);
    for (int id : {kSeparator, kSecondSeparator}) {
        QPalette line = Control(id)->palette();
        line.setColor(QPalette::Window, Qt::gray);
        Control(id)->setPalette(line);
    }
    Control<QCheckBox>(kShowHints)->setChecked((state_.optionFlags & ApplicationSettings::kShowHints) != 0);

    const DeviceSettings* settings = state_.CurrentDeviceSettings();
    hasSettings_ = settings != nullptr;
    if (settings != nullptr) {
        pendingColor_ = settings->backgroundColor;
        Control<QCheckBox>(kPictureEnabled)->setChecked((settings->flags & DeviceSettings::kBackgroundPicture) != 0);
        Control<QCheckBox>(kTransparentButtons)
            ->setChecked((settings->flags & DeviceSettings::kTransparentButtons) != 0);
        Control<QLineEdit>(kPicturePath)->setText(QString::fromStdU16String(settings->backgroundPicture));
        Control<QCheckBox>(kSoundEnabled)->setChecked((settings->flags & DeviceSettings::kButtonSounds) != 0);
        Control<QLineEdit>(kSoundPath)->setText(QString::fromStdU16String(settings->buttonSound));
    }
    auto* rotation = Control<QComboBox>(kRotation);
    for (const char* text : kRotations) rotation->addItem(QString::fromLatin1(text));
    rotation->setCurrentIndex(state_.buttonRotation < 4 ? static_cast<int>(state_.buttonRotation) : -1);
    UpdateEnabling();
    PaintSwatch();

    connect(Control<QCheckBox>(kPictureEnabled), &QCheckBox::clicked, this, &SettingsDialog::UpdateEnabling);
    connect(Control<QCheckBox>(kSoundEnabled), &QCheckBox::clicked, this, &SettingsDialog::UpdateEnabling);
    connect(Control<QPushButton>(kSetColor), &QPushButton::clicked, this, &SettingsDialog::ChooseColor);
    connect(Control<QPushButton>(kBrowsePicture), &QPushButton::clicked, this, &SettingsDialog::BrowsePicture);
    connect(Control<QPushButton>(kBrowseSound), &QPushButton::clicked, this, &SettingsDialog::BrowseSound);
    connect(Control<QPushButton>(kOk), &QPushButton::clicked, this, &SettingsDialog::Confirm);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    HandheldDialog::showEvent(event);
    // Asked for once the dialog is up, so that the pop-up owned by it can reach its "Show hints" box.
    if (!hintRequested_) RequestHint(this, kHint);
    hintRequested_ = true;
}

void SettingsDialog::UpdateEnabling() {
    const bool picture = Control<QCheckBox>(kPictureEnabled)->isChecked();
    for (int id : {kPicturePath, kBrowsePicture, kTransparentButtons}) Control(id)->setEnabled(picture);
    const bool sound = Control<QCheckBox>(kSoundEnabled)->isChecked();
    for (int id : {kSoundPath, kBrowseSound}) Control(id)->setEnabled(sound);
}

void SettingsDialog::PaintSwatch() {
    QPalette swatch = Control(kColorSwatch)->palette();
    swatch.setColor(QPalette::Window, handheld::ColorOf(pendingColor_));
    Control(kColorSwatch)->setPalette(swatch);
    Control(kColorSwatch)->update();
}

void SettingsDialog::ChooseColor() {
    const DeviceSettings* settings = state_.CurrentDeviceSettings();
    handheld::CHOOSECOLOR request;
    request.owner = handheld::ToHwnd(this);
    request.rgbResult = settings != nullptr ? settings->backgroundColor : pendingColor_;
    request.customColors = handheld::RunCustomColors().data();
    request.flags = handheld::CC_FULLOPEN | handheld::CC_RGBINIT;
    if (!handheld::ChooseColorW(&request)) return;
    pendingColor_ = request.rgbResult;
    PaintSwatch();
}

std::u16string SettingsDialog::StartFolder(std::u16string_view path, std::u16string_view defaultFolder) {
    const std::size_t last = path.rfind(u'\\');
    if (last != std::u16string_view::npos && last > 0) return std::u16string(path.substr(0, last + 1));
    return std::u16string(defaultFolder);
}

void SettingsDialog::Browse(int field, const char16_t* filterKey, const char16_t* defaultFilter,
                            std::u16string_view folder) {
    auto* edit = Control<QLineEdit>(field);
    const std::u16string start =
        StartFolder(edit->text().toStdU16String(), std::u16string(kDocumentsFolder) + std::u16string(folder));
    char16_t chosen[handheld::MAX_PATH] = {};
    handheld::DWORD capacity = handheld::MAX_PATH;
    FileChooserRequest request;
    request.owner = handheld::ToHwnd(this);
    request.initialFolder = start.c_str();
    request.filter = LanguageTable::Instance().Lookup(filterKey, defaultFilter);
    request.result = chosen;
    request.resultCapacity = &capacity;
    if (!ChooseFile(request, u"Name", u"Type", u"Path", u"Open", u"Cancel", u"Size", u"Date")) return;
    edit->setText(QString::fromUtf16(chosen));
    edit->selectAll();
}

void SettingsDialog::BrowsePicture() {
    Browse(kPicturePath, u"FILTER_BACK_PICT", kPictureFilter, kPictureFolder);
}

void SettingsDialog::BrowseSound() {
    Browse(kSoundPath, u"FILTER_SOUND", kSoundFilter, kSoundFolder);
}

void SettingsDialog::Confirm() {
    SetFlag(state_.optionFlags, ApplicationSettings::kShowHints, Control<QCheckBox>(kShowHints)->isChecked());
    DeviceSettings* settings = state_.CurrentDeviceSettings();
    if (settings != nullptr) {
        settings->backgroundPicture = Bounded(Control<QLineEdit>(kPicturePath)->text());
        settings->backgroundColor = pendingColor_;
        SkinPanel& shown = state_.functionPanelShown ? panels_.functionPanel : panels_.mainPanel;
        shown.SetBackgroundColor(pendingColor_);
        SetFlag(settings->flags, DeviceSettings::kTransparentButtons,
                Control<QCheckBox>(kTransparentButtons)->isChecked());
        SetFlag(settings->flags, DeviceSettings::kBackgroundPicture, Control<QCheckBox>(kPictureEnabled)->isChecked());
        settings->buttonSound = Bounded(Control<QLineEdit>(kSoundPath)->text());
        SetFlag(settings->flags, DeviceSettings::kButtonSounds, Control<QCheckBox>(kSoundEnabled)->isChecked());
        if ((settings->flags & DeviceSettings::kBackgroundPicture) != 0) {
            panels_.mainPanel.SetTransparentButtons((settings->flags & DeviceSettings::kTransparentButtons) != 0);
            LoadBackgroundPicture(panels_.mainPanel, handheld::ToHwnd(Owner()), settings->backgroundPicture);
        } else {
            panels_.mainPanel.FreePicture();
        }
        const int rotation = Control<QComboBox>(kRotation)->currentIndex();
        if (rotation >= 0) {
            panels_.mainPanel.SetLabelRotation(rotation);
            state_.buttonRotation = static_cast<std::uint32_t>(rotation);
        }
        if (repaint_) repaint_();
    }
    accept();
}

int RunSettingsDialog(QWidget* parent, AppState& state, DevicePanels& panels, std::function<void()> repaint) {
    SettingsDialog dialog(parent, state, panels, std::move(repaint));
    if (!dialog.HasDeviceSettings()) return QDialog::Rejected;
    return dialog.Run();
}
