#include "app/model/gui/create_device_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/filechooser/device_file_choice.h"
#include "app/model/device_creation.h"
#include "app/model/device_library.h"
#include "app/model/gui/hint_request.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "app/shell/stored_files.h"
#include "handheld/shell/hwnd.h"
#include "handheld/text.h"

namespace {

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

void WarnBadName(QWidget* owner, DeviceNameCheck check) {
    if (check == DeviceNameCheck::Empty) {
        ShowWarning(handheld::ToHwnd(owner), u"WAR_6", u"Set all necessary values.");
    } else {
        ShowWarning(handheld::ToHwnd(owner), u"WAR_DEVICE_NAME", u"This name can't be used for a device.");
    }
}

}  // namespace

CreateDeviceDialog::CreateDeviceDialog(QWidget* owner)
    : HandheldDialog(owner, kResourceId, QStringLiteral("Create device")) {
    Control<QLabel>(kNameLabel)->setText(Q(u"DLG_3_CTL_1", u"Device name:"));
    Control<QLabel>(kTypeLabel)->setText(Q(u"DLG_3_CTL_2", u"Device type:"));
    Control<QCheckBox>(kUseTemplate)->setText(Q(u"DLG_3_CTL_3", u"Use existing device as template"));
    Control<QCheckBox>(kWithoutIrCodes)->setText(Q(u"DLG_3_CTL_4", u"Copy device without IR codes"));
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_3_CTL_5", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_3_CTL_6", u"Cancel"));

    auto* types = Control<QComboBox>(kTypeList);
    types->addItem(Q(u"DT_RECEIVER", u"Receiver"), static_cast<int>(DT_RECEIVER));
    types->addItem(Q(u"DT_PLAYER", u"Player"), static_cast<int>(DT_PLAYER));
    types->addItem(Q(u"DT_CUSTOM", u"Custom"), static_cast<int>(DT_CUSTOM));
    types->setCurrentIndex(-1);  // the user chooses; OK without a type warns

    for (int id : {kUseTemplate, kWithoutIrCodes, kTemplatePath, kBrowse}) Control(id)->setEnabled(false);

    connect(types, &QComboBox::currentIndexChanged, this, &CreateDeviceDialog::TypeChanged);
    connect(Control<QCheckBox>(kUseTemplate), &QCheckBox::toggled, this, &CreateDeviceDialog::TemplateToggled);
    connect(Control<QPushButton>(kBrowse), &QPushButton::clicked, this, &CreateDeviceDialog::Browse);
    connect(ok, &QPushButton::clicked, this, &CreateDeviceDialog::Confirm);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &CreateDeviceDialog::reject);
    RequestHint(this, kHint);
}

void CreateDeviceDialog::TypeChanged() {
    const QString custom = Q(u"DT_CUSTOM", u"Custom");
    const bool isCustom = Control<QComboBox>(kTypeList)->currentText().compare(custom, Qt::CaseInsensitive) == 0;
    Control(kUseTemplate)->setEnabled(isCustom);
}

void CreateDeviceDialog::TemplateToggled(bool checked) {
    for (int id : {kWithoutIrCodes, kTemplatePath, kBrowse}) Control(id)->setEnabled(checked);
    Control(kTypeList)->setEnabled(!checked);
}

void CreateDeviceDialog::Browse() {
    const QString chosen = ChooseDeviceFile(this);
    if (chosen.isEmpty()) return;
    auto* path = Control<QLineEdit>(kTemplatePath);
    path->setText(chosen);
    path->selectAll();
}

void CreateDeviceDialog::Confirm() {
    const std::u16string name = Control<QLineEdit>(kNameEdit)->text().toStdU16String();
    const bool fromTemplate = Control<QCheckBox>(kUseTemplate)->isChecked();
    if (fromTemplate ? ConfirmFromTemplate(name) : ConfirmStandard(name)) accept();
}

bool CreateDeviceDialog::ConfirmStandard(const std::u16string& name) {
    const auto* types = Control<QComboBox>(kTypeList);
    if (name.empty() || types->currentIndex() < 0) {
        WarnBadName(this, DeviceNameCheck::Empty);
        return false;
    }
    if (const auto check = CheckDeviceName(DeviceFolder(), name); check != DeviceNameCheck::Valid) {
        WarnBadName(this, check);
        return false;
    }
    // The file's header holds the name itself, so a longer one could not be written.
    if (name.size() > kMaxHeaderNameChars) {
        ShowWarning(handheld::ToHwnd(this), u"WAR_DEVICE_NAME_LONG", u"Too long device name");
        return false;
    }
    // The writer reports its own failures (an existing device of that name is never replaced).
    CreateStandardDeviceFile(name, static_cast<DeviceType>(types->currentData().toInt()));
    return true;
}

bool CreateDeviceDialog::ConfirmFromTemplate(const std::u16string& name) {
    const std::u16string templatePath = Control<QLineEdit>(kTemplatePath)->text().toStdU16String();
    if (name.empty() || templatePath.empty()) {
        WarnBadName(this, DeviceNameCheck::Empty);
        return false;
    }
    if (const auto check = CheckDeviceName(DeviceFolder(), name); check != DeviceNameCheck::Valid) {
        WarnBadName(this, check);
        return false;
    }
    const bool withoutIrCodes = Control<QCheckBox>(kWithoutIrCodes)->isChecked();
    Problems problems;
    const TemplateCopyResult copied =
        CreateDeviceFromTemplate(templatePath, DeviceFolder(), name, withoutIrCodes, &problems);
    ShowProblems(nullptr, problems);
    switch (copied) {
        case TemplateCopyResult::Created:
            return true;
        case TemplateCopyResult::CopyFailed: {
            const std::u16string text =
                Text(u"ERR_14", u"Can't create or rewrite file \"") + DeviceFilePath(DeviceFolder(), name) + u"\"";
            const std::u16string title = Text(u"ERR_MSG_TITLE", u"Error");
            handheld::MessageBoxW(handheld::ToHwnd(this), text.c_str(), title.c_str(),
                                  handheld::MB_OK | handheld::MB_ICONERROR);
            return false;
        }
        case TemplateCopyResult::CopyUnreadable:
        case TemplateCopyResult::SaveFailed:
            return false;  // the reader's or writer's problem is shown; nothing is left behind
    }
    return false;
}
