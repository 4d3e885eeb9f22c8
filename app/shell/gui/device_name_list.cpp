#include "app/shell/gui/device_name_list.h"

#include <QListWidget>
#include <QPainter>

#include "handheld/shell/screen.h"

namespace {

constexpr int kSidePx = 180;

}  // namespace

DeviceNameList::DeviceNameList(QWidget* owner, const std::vector<std::u16string>& names)
    : HandheldDialog(owner, 0, QString()), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("DeviceNameList"));
    list_->setObjectName(QString::number(kListId));
    for (const auto& name : names) list_->addItem(QString::fromStdU16String(name));
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        chosen_ = item->text().toStdU16String();
        accept();
    });
    OnScreenTurned(handheld::CurrentOrientation());
}

void DeviceNameList::OnScreenTurned(handheld::Orientation orientation) {
    const QSize screen = handheld::ScreenSize(orientation);
    setGeometry((screen.width() - kSidePx) / 2, (screen.height() - kSidePx) / 2, kSidePx, kSidePx);
    list_->setGeometry(1, 1, kSidePx - 2, kSidePx - 2);
}

void DeviceNameList::showEvent(QShowEvent* event) {
    HandheldDialog::showEvent(event);
    OnScreenTurned(CurrentLayout());
}

void DeviceNameList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

std::u16string ChooseDeviceName(QWidget* owner, const std::vector<std::u16string>& names) {
    DeviceNameList list(owner, names);
    list.Run();
    return list.Chosen();
}
