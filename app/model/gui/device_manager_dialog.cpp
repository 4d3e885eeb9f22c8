#include "app/model/gui/device_manager_dialog.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <map>

#include "app/model/device_creation.h"
#include "app/model/gui/create_device_dialog.h"
#include "app/model/gui/hint_request.h"
#include "app/shell/app_state.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/popup_menu.h"
#include "handheld/shell/tap_and_hold.h"

namespace {

constexpr int kTypeRole = Qt::UserRole;

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

std::u16string NameOf(const QListWidgetItem* item) {
    return item->text().toStdU16String();
}

}  // namespace

QIcon DeviceManagerDialog::TypeIcon(DeviceType type) {
    switch (type) {
        case DT_RECEIVER:
            return QIcon(QStringLiteral(":/icons/129.xpm"));
        case DT_PLAYER:
            return QIcon(QStringLiteral(":/icons/130.xpm"));
        default:  // custom and CCF devices share one icon
            return QIcon(QStringLiteral(":/icons/131.xpm"));
    }
}

DeviceManagerDialog::DeviceManagerDialog(QWidget* owner, AppState& state, MenuStateCallback menuState)
    : HandheldDialog(owner, kResourceId, QStringLiteral("Select device")),
      state_(state),
      menuState_(menuState),
      folder_(DeviceFolder()) {
    Control<QPushButton>(kCreate)->setText(Q(u"DLG_5_CTL_2", u"Create..."));
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_5_CTL_3", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_5_CTL_4", u"Cancel"));

    QListWidget* list = List();
    list->setIconSize(QSize(kTypeIconPx, kTypeIconPx));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);  // names are edited through "Rename" only
    gesture_ = new handheld::TapAndHold(list->viewport(), [this](QPoint point) { return OnItemText(point); });
    connect(gesture_, &handheld::TapAndHold::Held, this,
            [this](QPoint point) { OpenItemMenu(List()->itemAt(point), point); });
    connect(list, &QListWidget::itemChanged, this, &DeviceManagerDialog::ItemChanged);
    connect(list->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] { renaming_ = nullptr; });

    connect(Control<QPushButton>(kCreate), &QPushButton::clicked, this, &DeviceManagerDialog::CreateDevice);
    connect(ok, &QPushButton::clicked, this, &DeviceManagerDialog::Confirm);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &DeviceManagerDialog::reject);
    Rescan();
    RequestHint(this, kHint);
}

QListWidget* DeviceManagerDialog::List() const {
    return Control<QListWidget>(kDeviceList);
}

QListWidgetItem* DeviceManagerDialog::Item(std::u16string_view name) const {
    QListWidget* list = List();
    for (int i = 0; i < list->count(); ++i) {
        if (NameOf(list->item(i)) == name) return list->item(i);
    }
    return nullptr;
}

void DeviceManagerDialog::Rescan() {
    QListWidget* list = List();
    std::map<std::u16string, bool> ticksBefore;
    for (int i = 0; i < list->count(); ++i) {
        ticksBefore[NameOf(list->item(i))] = list->item(i)->checkState() == Qt::Checked;
    }
    const DeviceScan scan = ScanDeviceFolder(folder_, state_.shownDevices, state_.currentDevice);
    ShowProblems(nullptr, scan.problems);
    const QSignalBlocker quiet(list);
    list->clear();
    for (const DeviceSettings& device : scan.available) {
        auto* item = new QListWidgetItem(TypeIcon(device.deviceType), QString::fromStdU16String(device.deviceName));
        item->setData(kTypeRole, static_cast<int>(device.deviceType));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
        bool ticked = std::any_of(state_.shownDevices.begin(), state_.shownDevices.end(),
                                  [&](const DeviceSettings& s) { return s.deviceName == device.deviceName; });
        if (const auto before = ticksBefore.find(device.deviceName); before != ticksBefore.end()) {
            ticked = before->second;
        }
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        list->addItem(item);
    }
}

bool DeviceManagerDialog::OnItemText(QPoint viewportPoint) const {
    QListWidget* list = List();
    const QListWidgetItem* item = list->itemAt(viewportPoint);
    if (item == nullptr) return false;
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration |
                      QStyleOptionViewItem::HasCheckIndicator;
    option.decorationSize = list->iconSize();
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.text = item->text();
    option.icon = item->icon();
    option.font = list->font();
    const QRect label = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
    const int textWidthPx = list->fontMetrics().horizontalAdvance(item->text());
    return label.contains(viewportPoint) && viewportPoint.x() <= label.left() + textWidthPx;
}

void DeviceManagerDialog::OpenItemMenu(QListWidgetItem* item, QPoint viewportPoint) {
    if (item == nullptr) return;
    QMenu menu(this);
    QAction* rename = menu.addAction(Q(u"MNU_ITEM_16", u"Rename"));
    rename->setObjectName(QString::number(kRename));
    QAction* remove = menu.addAction(Q(u"MNU_ITEM_17", u"Delete"));
    remove->setObjectName(QString::number(kDelete));
    // A CCF device has no device file of its own to rename or delete; the same name's ".kdr" file may be
    // another device.
    const bool isCcf = item->data(kTypeRole).toInt() == DT_CCF;
    rename->setEnabled(!isCcf);
    remove->setEnabled(!isCcf);
    const QPoint screenPoint = List()->viewport()->mapTo(parentWidget() ? parentWidget() : this, viewportPoint);
    QAction* chosen = handheld::TrackPopupMenu(menu, screenPoint, this);
    if (chosen == rename) StartRename(item);
    if (chosen == remove) AskDelete(item);
}

void DeviceManagerDialog::StartRename(QListWidgetItem* item) {
    if (item == nullptr || item->data(kTypeRole).toInt() == DT_CCF) return;
    renaming_ = item;
    nameBeforeRename_ = item->text();
    List()->setCurrentItem(item);
    List()->editItem(item);
}

void DeviceManagerDialog::ItemChanged(QListWidgetItem* item) {
    if (item != renaming_ || item->text() == nameBeforeRename_) return;
    const std::u16string oldName = nameBeforeRename_.toStdU16String();
    const std::u16string newName = NameOf(item);
    const RenameResult result =
        RenameDevice(folder_, oldName, newName, state_.shownDevices, state_.currentDevice, state_.device);
    if (result == RenameResult::Renamed) {
        nameBeforeRename_ = item->text();
        return;
    }
    // An empty text changes nothing; any other refusal is the rename failing.
    if (!newName.empty()) ShowError(handheld::ToHwnd(this), u"ERR_16", u"Can't rename this device.");
    const QSignalBlocker quiet(List());
    item->setText(nameBeforeRename_);
}

void DeviceManagerDialog::AskDelete(QListWidgetItem* item) {
    if (item == nullptr || item->data(kTypeRole).toInt() == DT_CCF) return;
    const std::u16string name = NameOf(item);
    const std::u16string question = Text(u"WAR_5", u"Delete device \"") + name + u"\"?";
    const std::u16string title = Text(u"WAR_MSG_TITLE", u"Warning");
    const int answer = handheld::MessageBoxW(handheld::ToHwnd(this), question.c_str(), title.c_str(),
                                             handheld::MB_YESNO | handheld::MB_ICONEXCLAMATION);
    if (answer != handheld::IDYES) return;
    if (!DeleteDevice(folder_, name, state_.shownDevices, state_.device)) {
        ShowError(handheld::ToHwnd(this), u"ERR_DEVICE_DELETE", u"Can't delete this device.");
        return;
    }
    delete List()->takeItem(List()->row(item));
}

void DeviceManagerDialog::CreateDevice() {
    CreateDeviceDialog create(this);
    create.Run();
    Rescan();
}

void DeviceManagerDialog::Confirm() {
    std::vector<ListedDevice> rows;
    QListWidget* list = List();
    for (int i = 0; i < list->count(); ++i) {
        rows.push_back({NameOf(list->item(i)), list->item(i)->checkState() == Qt::Checked});
    }
    ApplyShownDevices(rows, state_.shownDevices, state_.currentDevice);
    OpenDeviceByName(handheld::ToHwnd(Owner()), state_.currentDevice, menuState_);
    accept();
}

void DeviceManagerDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // While a name is edited, Enter only ends the editing; it must not press OK.
    if (enter && Renaming()) {
        event->accept();
        return;
    }
    HandheldDialog::keyPressEvent(event);
}

bool RunDeviceManagerWhenNothingShown(QWidget* owner, AppState& state, MenuStateCallback menuState) {
    if (!state.shownDevices.empty()) return false;
    DeviceManagerDialog manager(owner, state, menuState);
    manager.Run();
    return true;
}
