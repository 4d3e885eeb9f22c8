#include "app/panel/select_label_dialog.h"

#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "app/panel/name_lists.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/language_table.h"

namespace {

constexpr int kCell = SelectLabelDialog::kCellPx;
constexpr int kIconSpacingPx = 50;
constexpr int kFramePx = 2;
constexpr char16_t kMaskSuffix[] = u"_MASK";
// Item value: image index in the low 16 bits, the label's index in the name list in the high 16 bits.
constexpr int kItemValueRole = Qt::UserRole;

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

// The bitmap copied centred into a white 32 x 32 cell (halves truncated toward zero).
QImage Cell(const Bitmap24& bitmap) {
    QImage cell(kCell, kCell, QImage::Format_RGB32);
    cell.fill(Qt::white);
    QPainter painter(&cell);
    painter.drawImage(QPoint((kCell - bitmap.Width()) / 2, (kCell - bitmap.Height()) / 2), ImageOnBitmap(bitmap));
    return cell;
}

}  // namespace

std::u16string& PendingLabel() {
    static std::u16string pendingLabel;
    return pendingLabel;
}

SelectLabelDialog::SelectLabelDialog(QWidget* owner, const LibraryArtwork& artwork, std::u16string_view currentLabel)
    : HandheldDialog(owner, kResourceId, {}), artwork_(artwork) {
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_7_CTL_2", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_7_CTL_3", u"Cancel"));

    QListWidget* list = List();
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(kCell, kCell));
    list->setGridSize(QSize(kIconSpacingPx, kIconSpacingPx));
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    QPalette background = list->palette();
    background.setColor(QPalette::Base, QColor(0xC8, 0xC8, 0xC8));
    list->setPalette(background);

    LoadNameList(artwork.Library(), NameListKind::Labels, names_);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        auto* item = new QListWidgetItem(list);
        item->setData(kItemValueRole, static_cast<int>(i + 1) | static_cast<int>(i << 16));
        DrawItem(item, false);
        if (!currentLabel.empty() && names_[i] == currentLabel) list->setCurrentItem(item);
    }
    if (QListWidgetItem* selected = list->currentItem()) {
        DrawItem(selected, true);
        shownSelected_ = selected;
    }
    connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* now, QListWidgetItem*) {
        if (shownSelected_ != nullptr) DrawItem(shownSelected_, false);
        shownSelected_ = now;
        if (now != nullptr) DrawItem(now, true);
    });
    connect(ok, &QPushButton::clicked, this, &SelectLabelDialog::Confirm);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &SelectLabelDialog::reject);
}

QListWidget* SelectLabelDialog::List() const {
    return Control<QListWidget>(kList);
}

std::u16string SelectLabelDialog::LabelOf(const QListWidgetItem* item) const {
    const auto index = static_cast<std::size_t>(item->data(kItemValueRole).toInt() >> 16);
    return index < names_.size() ? names_[index] : std::u16string();
}

void SelectLabelDialog::DrawItem(QListWidgetItem* item, bool selected) {
    const std::u16string key = LabelOf(item);
    const Bitmap24* picture = key.empty() ? nullptr : artwork_.Bitmap(key);
    const Bitmap24* mask = key.empty() ? nullptr : artwork_.Bitmap(key + kMaskSuffix);
    if (picture == nullptr || mask == nullptr) {
        item->setIcon(QIcon());  // no picture, yet it can be chosen
        return;
    }
    QImage cell = Cell(*picture);
    QImage maskCell = Cell(*mask);
    if (selected) {
        for (QImage* image : {&cell, &maskCell}) {
            QPainter painter(image);
            painter.setPen(QPen(Qt::red, kFramePx));
            painter.drawRect(QRect(QPoint(1, 1), QPoint(kCell - 1, kCell - 1)).adjusted(0, 0, -1, -1));
        }
    }
    // The mask is white where the panel shows through and dark where the label covers it.
    QImage icon = cell.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (maskCell.pixel(x, y) == qRgb(255, 255, 255)) icon.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    item->setIcon(QIcon(QPixmap::fromImage(icon)));
}

void SelectLabelDialog::Confirm() {
    const QListWidgetItem* selected = List()->currentItem();
    PendingLabel() = selected != nullptr && selected->isSelected() ? LabelOf(selected) : std::u16string();
    accept();
}

bool RunSelectLabelDialog(QWidget* owner, const LibraryArtwork& artwork, std::u16string_view currentLabel) {
    SelectLabelDialog dialog(owner, artwork, currentLabel);
    return dialog.Run() == QDialog::Accepted;
}
