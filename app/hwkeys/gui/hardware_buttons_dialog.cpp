#include "app/hwkeys/gui/hardware_buttons_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "app/shell/stored_files.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/system_icons.h"
#include "handheld/text.h"

namespace {

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

// The shell's programs live in the handheld's read-only memory, not in its storage: every program file has
// the program icon as its first icon.
class ProgramIcons : public HardwareKeyIcons {
public:
    explicit ProgramIcons(std::vector<QIcon>& images) : images_(images) {}

    int AddFileIcon(std::u16string_view file, int index) override {
        const std::u16string upper = handheld::ToUpper(file);
        if (index != 0 || !(upper.ends_with(u".EXE") || upper.ends_with(u".DLL"))) return -1;
        return Append(handheld::SystemSmallIcon(handheld::kIconProgram));
    }
    int AddProgramIcon(int resourceId) override {
        const QIcon icon(QStringLiteral(":/icons/%1.xpm").arg(resourceId));
        if (icon.availableSizes().isEmpty()) return -1;
        return Append(icon);
    }
    std::u16string Text(const char16_t* key, const char16_t* defaultText) override { return ::Text(key, defaultText); }
    void ShowError(const char16_t* key, const char16_t* defaultText) override {
        ::ShowError(nullptr, key, defaultText);
    }

private:
    int Append(const QIcon& icon) {
        images_.push_back(icon);
        return static_cast<int>(images_.size()) - 1;
    }
    std::vector<QIcon>& images_;
};

constexpr int kColumnWidthPx = 100;
constexpr int kCodeRole = Qt::UserRole;

const handheld::ControlPlacement kKeyListPlacement{
    HardwareButtonsDialog::kKeyList, {5, 58, 230, 155}, {5, 58, 310, 120}};

}  // namespace

void StartHardwareButtons(HardwareButtons& buttons, QWidget* mainWindow, const Device& device) {
    buttons.images.clear();
    ProgramIcons icons(buttons.images);
    BuildHardwareKeyList(buttons.list, nullptr, handheld::ToHwnd(mainWindow), icons);
    RegisterDeviceKeys(buttons.list, device, true, false);
    RegisterDeviceKeys(buttons.list, device, true, true);
}

HardwareButtonsDialog::HardwareButtonsDialog(QWidget* owner, AppState& state, HardwareButtons& buttons)
    : HandheldDialog(owner, kResourceId, {}), state_(state), buttons_(buttons) {
    Control<QLabel>(kIntroText)->setText(Q(u"DLG_6_CTL_1", u"Choose a hardware button,\n and assign a function"));
    Control<QLabel>(kAssignmentLabel)->setText(Q(u"DLG_6_CTL_2", u"Button assigment:"));
    Control<QPushButton>(kSet)->setText(Q(u"DLG_6_CTL_3", u"Set"));
    Control<QCheckBox>(kUnmapWhenMinimized)->setText(Q(u"DLG_6_CTL_4", u"Un-map buttons when minimized"));
    Control<QCheckBox>(kUseSystemButton)->setText(Q(u"DLG_6_CTL_5", u"Use system button when <Empty>"));
    Control(kUseSystemButton)->hide();

    auto* keys = new QTreeWidget(this);
    keys->setObjectName(QString::number(kKeyList));
    keys->setRootIsDecorated(false);
    keys->setColumnCount(2);
    keys->setHeaderLabels({Q(u"HB_NAME", u"Hardware buttons"), Q(u"FUNCTION", u"Function")});
    keys->setColumnWidth(0, kColumnWidthPx);
    keys->setColumnWidth(1, kColumnWidthPx);
    keys->setIconSize(QSize(handheld::kSmallIconPx, handheld::kSmallIconPx));
    AddPlacements(std::span(&kKeyListPlacement, 1));
    FillKeyList();
    FillCommands();
    Control<QCheckBox>(kUnmapWhenMinimized)
        ->setChecked((state_.optionFlags & ApplicationSettings::kUnmapButtonsWhenMinimized) != 0);

    auto* set = Control<QPushButton>(kSet);
    set->setEnabled(false);
    connect(Control<QComboBox>(kCommandList), &QComboBox::activated, set, [set] { set->setEnabled(true); });
    connect(set, &QPushButton::clicked, this, &HardwareButtonsDialog::Set);
    connect(Control<QPushButton>(kOk), &QPushButton::clicked, this, &HardwareButtonsDialog::Confirm);
}

QTreeWidget* HardwareButtonsDialog::KeyList() const {
    return Control<QTreeWidget>(kKeyList);
}

void HardwareButtonsDialog::FillKeyList() {
    QTreeWidget* keys = KeyList();
    keys->clear();
    for (const auto& [keyValue, name] : buttons_.list.keys) {
        const std::uint32_t code = HardwareKeyList::CodeOf(keyValue);
        auto* row = new QTreeWidgetItem(keys);
        row->setText(0, QString::fromStdU16String(name));
        const int image = HardwareKeyList::ImageOf(keyValue);
        if (image < static_cast<int>(buttons_.images.size())) row->setIcon(0, buttons_.images[image]);
        row->setData(0, kCodeRole, code);
        if (code == kNextDeviceKey) {
            row->setText(1, Q(u"NEXT_DEVICE", u"<Next device>"));
        } else if (const ButtonRecord* record = RecordOfHardwareKey(state_.device, code)) {
            row->setText(1, QString::fromStdU16String(record->commandName));
        }
    }
}

void HardwareButtonsDialog::FillCommands() {
    auto* commands = Control<QComboBox>(kCommandList);
    commands->clear();
    commands->addItem(Q(u"ACT_EMPTY", u"<Empty>"));
    for (const ButtonRecord& record : state_.device.records) {
        if (!record.commandName.empty()) commands->addItem(QString::fromStdU16String(record.commandName));
    }
    commands->setCurrentIndex(-1);
}

void HardwareButtonsDialog::Set() {
    const handheld::HWND mainWindow = buttons_.list.mainWindow;
    QTreeWidgetItem* row = KeyList()->currentItem();
    const auto* commands = Control<QComboBox>(kCommandList);
    if (row == nullptr || !row->isSelected() || commands->currentIndex() < 0) {
        ShowMessage(mainWindow, u"WAR_3", u"To set you should select the itemin the List View", u"WAR_DLG_TITLE",
                    u"Warning", handheld::MB_OK | handheld::MB_ICONEXCLAMATION);
        return;
    }
    const std::uint32_t code = row->data(0, kCodeRole).toUInt();
    if (code == kNextDeviceKey) {
        ShowWarning(mainWindow, u"WAR_1", u"This item is read only");
        return;
    }
    if (commands->currentIndex() == 0) {
        row->setText(1, {});
        if (ButtonRecord* record = RecordOfHardwareKey(state_.device, code)) {
            record->hardwareKey = 0;
            RegisterAssignedKey(buttons_.list, code, false);
        }
        return;
    }
    const std::u16string chosen = commands->currentText().toStdU16String();
    auto record = std::find_if(state_.device.records.begin(), state_.device.records.end(),
                               [&](const ButtonRecord& r) { return r.commandName == chosen; });
    if (record == state_.device.records.end()) return;
    if (record->hardwareKey != 0) {
        ShowMessage(handheld::ToHwnd(this), u"WAR_2", u"This command is alreadyassigned to other hard button",
                    u"WAR_DLG_TITLE", u"Warning", handheld::MB_OK | handheld::MB_ICONEXCLAMATION);
        return;
    }
    row->setText(1, commands->currentText());
    record->hardwareKey = static_cast<std::uint16_t>(code);
    RegisterAssignedKey(buttons_.list, code, true);
}

void HardwareButtonsDialog::Confirm() {
    if (Control<QCheckBox>(kUnmapWhenMinimized)->isChecked()) {
        state_.optionFlags |= ApplicationSettings::kUnmapButtonsWhenMinimized;
    } else {
        state_.optionFlags &= static_cast<std::uint16_t>(~ApplicationSettings::kUnmapButtonsWhenMinimized);
    }
    // The writer reports its own failures; the assignments stay in effect for this run either way.
    SaveDevice(state_.device, true);
    accept();
}

int RunHardwareButtonsDialog(QWidget* owner, AppState& state, HardwareButtons& buttons) {
    HardwareButtonsDialog dialog(owner, state, buttons);
    return dialog.Run();
}
