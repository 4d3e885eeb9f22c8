#include "ccf/viewer/item_list_dialog.h"

#include <QListWidget>
#include <QPushButton>
#include <array>

namespace {

// The template's list and "Ok" button, placed on the handheld's full-screen dialog.
const std::array<handheld::ControlPlacement, 2> kPlacements{{
    {CItemListDialog::kListId, QRect(10, 32, 220, 160), QRect(10, 32, 300, 100)},
    {CItemListDialog::kOkId, QRect(150, 200, 75, 22), QRect(235, 140, 75, 22)},
}};

QString Caption(int kind) {
    return kind == CItemListDialog::kKindDevices  ? QStringLiteral("Device")
           : kind == CItemListDialog::kKindMacros ? QStringLiteral("Macro")
                                                  : QStringLiteral("Dialog");
}

}  // namespace

CItemListDialog::CItemListDialog(QWidget* owner, const CCFFile* file, int kind)
    : HandheldDialog(owner, 0, Caption(kind)), file_(file), kind_(kind), list_(new QListWidget(this)) {
    list_->setObjectName(QString::number(kListId));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QString::number(kOkId));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CItemListDialog::Accept);
    AddPlacements(kPlacements);
    Fill();
}

void CItemListDialog::Fill() {
    list_->clear();
    if (!file_) return;
    for (auto it = file_->CreateDeviceIterator(); it->IsValid(); it->Next()) {
        if (it->Chain() != kind_) continue;
        const std::u16string name = CCFWiden(it->Device()->name);
        list_->addItem(QString::fromUtf16(name.data(), qsizetype(name.size())));
    }
}

void CItemListDialog::Accept() {
    const QListWidgetItem* item = list_->currentItem();
    selectedName_ = item ? item->text().toStdU16String() : std::u16string();
    accept();
}

std::u16string CItemListDialog::Choose() {
    selectedName_.clear();
    if (list_->count() == 0) return selectedName_;
    list_->setCurrentRow(0);
    Run();
    return selectedName_;
}

std::u16string CItemListDialog::ChooseName(QWidget* owner, const CCFFile* file, int kind) {
    CItemListDialog dialog(owner, file, kind);
    return dialog.Choose();
}
