#include "app/filechooser/file_chooser.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include "handheld/shell/fonts.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/system_icons.h"
#include "handheld/text.h"

namespace {

using handheld::ControlPlacement;

// Columns of the file list and their widths in pixels.
constexpr int kNameColumnPx = 116;
constexpr int kSizeColumnPx = 54;
constexpr int kDateColumnPx = 55;
constexpr int kChooserFontPx = 13;
constexpr int kPathRole = Qt::UserRole;
constexpr int kPlaceholderRole = Qt::UserRole + 1;

const ControlPlacement kChooserPlacements[] = {
    {kChooserPathLabel, {3, 32, 36, 16}, {3, 32, 36, 16}},
    {kChooserFolderList, {39, 29, 166, 20}, {39, 29, 241, 20}},
    {kChooserUpButton, {210, 29, 25, 20}, {285, 29, 25, 20}},
    {kChooserNameLabel, {3, 56, 36, 16}, {3, 56, 36, 16}},
    {kChooserNameEdit, {39, 53, 136, 20}, {39, 53, 150, 20}},
    {kChooserOpen, {180, 53, 54, 20}, {193, 53, 54, 20}},
    {kChooserTypeLabel, {3, 80, 36, 16}, {3, 80, 36, 16}},
    {kChooserTypeList, {39, 77, 136, 20}, {39, 77, 150, 20}},
    {kChooserCancel, {180, 77, 54, 20}, {251, 53, 54, 20}},
    {kChooserFileList, {0, 102, 240, 218}, {0, 102, 320, 138}},
    {kChooserFolderTree, {39, 54, 168, 214}, {39, 54, 245, 134}},
};

// The up-one-level face: a folder with an arrow. 0 is the button's own background.
constexpr const char* kUpFace[UpOneLevelButton::kFaceHeightPx] = {
    "000000000000000", "000111110000000", "001222221000000", "011111111111110", "012222212222210",
    "012222111222210", "012221111122210", "012211111112210", "012222111222210", "012222111222210",
    "012222111222210", "011111111111110", "000000000000000",
};
const QColor kUpFaceColours[] = {QColor(), QColor(0, 0, 0), QColor(255, 214, 90)};

template <class Widget>
Widget* Make(QWidget* parent, int id, bool bold = false) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::number(id));
    widget->setFont(handheld::DialogFont(kChooserFontPx, bold));
    return widget;
}

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

// --- file list -------------------------------------------------------------------------------------------

void FileListModel::Reset(std::u16string folder, std::vector<FileEntry> entries) {
    beginResetModel();
    folder_ = std::move(folder);
    entries_ = std::move(entries);
    imageList_.clear();
    imageOfSystemIcon_.clear();
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

int FileListModel::IconIndexOf(std::size_t row) const {
    FileEntry& entry = entries_[row];
    if (entry.iconIndex >= 0) return entry.iconIndex;
    const int systemIndex = handheld::SystemIconIndex(JoinPath(folder_, entry.name), !entry.isFile);
    auto known = imageOfSystemIcon_.find(systemIndex);
    if (known == imageOfSystemIcon_.end()) {
        imageList_.push_back(handheld::SystemSmallIcon(systemIndex));
        known = imageOfSystemIcon_.emplace(systemIndex, static_cast<int>(imageList_.size()) - 1).first;
    }
    entry.iconIndex = known->second;
    return entry.iconIndex;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(entries_.size())) return {};
    const FileEntry& entry = entries_[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case 0:
                return Q(entry.name);
            case 1:
                return Q(entry.sizeText);
            default:
                return Q(entry.dateText);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) return imageList_[IconIndexOf(index.row())];
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < titles_.size()) return titles_[section];
    return {};
}

// --- up one level ------------------------------------------------------------------------------------------

UpOneLevelButton::UpOneLevelButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName(QString::number(kChooserUpButton));
    setFocusPolicy(Qt::StrongFocus);
}

void UpOneLevelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Button);
    painter.fillRect(rect(), background);
    painter.setPen(isDown() ? Qt::darkGray : Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int shift = isDown() ? 1 : 0;
    const int left = (width() - kFaceWidthPx) / 2 + shift;
    const int top = (height() - kFaceHeightPx) / 2 + shift;
    for (int y = 0; y < kFaceHeightPx; ++y) {
        for (int x = 0; x < kFaceWidthPx; ++x) {
            const int colour = kUpFace[y][x] - '0';
            painter.setPen(colour == 0 ? background : kUpFaceColours[colour]);
            painter.drawPoint(left + x, top + y);
        }
    }
}

// --- the dialog ---------------------------------------------------------------------------------------------

FileChooserDialog::FileChooserDialog(QWidget* owner, const char16_t* initialFolder, const char16_t* filter,
                                     const Texts& texts)
    : HandheldDialog(owner, 0, texts.open),
      folder_(ChooserStartFolder(initialFolder)),
      types_(ParseFileFilter(filter)) {
    setObjectName(QStringLiteral("FileChooser"));
    Make<QLabel>(this, kChooserNameLabel)->setText(texts.name);
    Make<QLabel>(this, kChooserTypeLabel)->setText(texts.type);
    Make<QLabel>(this, kChooserPathLabel)->setText(texts.path);
    name_ = Make<QLineEdit>(this, kChooserNameEdit);
    name_->setMaxLength(static_cast<int>(FileEntry::kMaxNameChars));
    typeList_ = Make<QComboBox>(this, kChooserTypeList);
    folderList_ = Make<QComboBox>(this, kChooserFolderList);
    auto* open = Make<QPushButton>(this, kChooserOpen, true);
    open->setText(texts.open);
    open->setDefault(true);
    auto* cancel = Make<QPushButton>(this, kChooserCancel, true);
    cancel->setText(texts.cancel);
    auto* up = new UpOneLevelButton(this);
    fileList_ = Make<QTreeView>(this, kChooserFileList);
    tree_ = Make<QTreeWidget>(this, kChooserFolderTree);

    model_.SetColumnTitles({texts.name, texts.size, texts.date});
    fileList_->setModel(&model_);
    fileList_->setRootIsDecorated(false);
    fileList_->setUniformRowHeights(true);
    fileList_->setIconSize(QSize(handheld::kSmallIconPx, handheld::kSmallIconPx));
    fileList_->header()->setStretchLastSection(false);
    fileList_->setColumnWidth(0, kNameColumnPx);
    fileList_->setColumnWidth(1, kSizeColumnPx);
    fileList_->setColumnWidth(2, kDateColumnPx);
    fileList_->installEventFilter(this);
    // One tap activates, as the handheld's lists do.
    connect(fileList_, &QTreeView::clicked, this, [this](const QModelIndex& index) { ActivateRow(index.row()); });

    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(handheld::kSmallIconPx, handheld::kSmallIconPx));
    tree_->hide();
    tree_->installEventFilter(this);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { FillTreeItem(item); });
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        HideFolderTree();
        SetFolder(item->data(0, kPathRole).toString().toStdU16String());
    });

    folderList_->addItem(Q(FolderDisplayName(folder_)));
    folderList_->installEventFilter(this);
    for (const FileTypeFilter& type : types_) typeList_->addItem(Q(type.displayText));
    connect(typeList_, &QComboBox::currentIndexChanged, this, [this] { FillFileList(); });

    connect(open, &QPushButton::clicked, this, &FileChooserDialog::Open);
    connect(cancel, &QPushButton::clicked, this, &FileChooserDialog::reject);
    connect(up, &QAbstractButton::clicked, this, &FileChooserDialog::GoUp);

    AddPlacements(kChooserPlacements);
    FillFileList();
}

void FileChooserDialog::FillFileList() {
    const int type = typeList_->currentIndex();
    std::vector<FileEntry> entries;
    if (type >= 0 && type < static_cast<int>(types_.size())) entries = ListFolder(folder_, types_[type].patterns);
    model_.Reset(folder_, std::move(entries));
}

void FileChooserDialog::SetFolder(std::u16string folder) {
    if (folder.size() > kMaxChooserPathChars) return;
    folder_ = std::move(folder);
    folderList_->setItemText(0, Q(FolderDisplayName(folder_)));
    FillFileList();
    name_->clear();
}

void FileChooserDialog::ActivateRow(int row) {
    const auto& entries = model_.Entries();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;
    const FileEntry entry = entries[row];
    if (entry.isFile) {
        name_->setText(Q(entry.name));
        Open();
    } else {
        SetFolder(JoinPath(folder_, entry.name));
    }
}

void FileChooserDialog::GoUp() {
    if (folder_ == u"\\") return;  // the root has no parent
    SetFolder(ParentFolder(folder_));
}

void FileChooserDialog::Open() {
    const std::u16string name = name_->text().left(static_cast<int>(FileEntry::kMaxNameChars)).toStdU16String();
    if (name.empty()) return;
    std::u16string path = JoinPath(folder_, name);
    if (path.size() > kMaxChooserPathChars) return;  // no file of the handheld can have such a path
    chosenPath_ = std::move(path);
    accept();
}

void FileChooserDialog::FillTreeItem(QTreeWidgetItem* item) {
    if (item->childCount() != 1 || !item->child(0)->data(0, kPlaceholderRole).toBool()) return;
    delete item->takeChild(0);
    const std::u16string folder = item->data(0, kPathRole).toString().toStdU16String();
    const auto subfolders = ListSubfolders(folder);
    if (subfolders.empty()) {
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
        return;
    }
    for (const std::u16string& name : subfolders) {
        const std::u16string path = JoinPath(folder, name);
        if (path.size() > kMaxChooserPathChars) continue;
        auto* child = new QTreeWidgetItem(item, {Q(name)});
        child->setData(0, kPathRole, Q(path));
        child->setIcon(0, handheld::SystemSmallIcon(handheld::kIconFolder));
        auto* placeholder = new QTreeWidgetItem(child);
        placeholder->setData(0, kPlaceholderRole, true);
    }
}

QTreeWidgetItem* FileChooserDialog::ExpandTreeTo(std::u16string_view folder) {
    QTreeWidgetItem* item = tree_->invisibleRootItem();
    std::size_t start = 1;  // after the root's "\"
    while (start < folder.size()) {
        const std::size_t end = std::min(folder.find(u'\\', start), folder.size());
        const std::u16string_view component = folder.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        FillTreeItem(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && next == nullptr; ++i) {
            if (handheld::EqualsIgnoreCase(item->child(i)->text(0).toStdU16String(), component)) next = item->child(i);
        }
        if (next == nullptr) return nullptr;
        if (item != tree_->invisibleRootItem()) item->setExpanded(true);
        item = next;
    }
    return item == tree_->invisibleRootItem() ? nullptr : item;
}

void FileChooserDialog::ShowFolderTree() {
    tree_->clear();
    QTreeWidgetItem* root = tree_->invisibleRootItem();
    root->setData(0, kPathRole, QStringLiteral("\\"));
    auto* placeholder = new QTreeWidgetItem(root);
    placeholder->setData(0, kPlaceholderRole, true);
    FillTreeItem(root);
    if (QTreeWidgetItem* current = ExpandTreeTo(folder_)) {
        tree_->setCurrentItem(current);
        tree_->scrollToItem(current);
    }
    tree_->show();
    tree_->raise();
    tree_->setFocus();
}

void FileChooserDialog::HideFolderTree() {
    tree_->hide();
}

bool FileChooserDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == folderList_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress)) {
        if (!tree_->isVisible()) ShowFolderTree();
        return event->type() == QEvent::MouseButtonPress;  // the tree replaces the list's own drop-down
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == fileList_ && enter) {
            ActivateRow(fileList_->currentIndex().row());
            return true;
        }
        if (watched == tree_ && enter && tree_->currentItem() != nullptr) {
            HideFolderTree();
            SetFolder(tree_->currentItem()->data(0, kPathRole).toString().toStdU16String());
            return true;
        }
        if (watched == tree_ && key == Qt::Key_Escape) {
            HideFolderTree();
            return true;
        }
    }
    return HandheldDialog::eventFilter(watched, event);
}

void FileChooserDialog::mousePressEvent(QMouseEvent* event) {
    HideFolderTree();
    HandheldDialog::mousePressEvent(event);
}

bool ChooseFile(FileChooserRequest& request, const char16_t* nameTitle, const char16_t* typeTitle,
                const char16_t* pathTitle, const char16_t* openText, const char16_t* cancelText,
                const char16_t* sizeTitle, const char16_t* dateTitle) {
    auto text = [](const char16_t* t) { return t != nullptr ? QString::fromUtf16(t) : QString(); };
    const FileChooserDialog::Texts texts{text(nameTitle),  text(typeTitle), text(pathTitle), text(openText),
                                         text(cancelText), text(sizeTitle), text(dateTitle)};
    FileChooserDialog dialog(handheld::FromHwnd(request.owner), request.initialFolder, request.filter, texts);
    if (dialog.Run() != QDialog::Accepted) return false;
    const std::u16string& path = dialog.ChosenPath();
    const auto needed = static_cast<handheld::DWORD>(path.size() + 1);
    if (request.resultCapacity == nullptr) return false;
    if (request.result == nullptr || *request.resultCapacity < needed) {
        *request.resultCapacity = needed;
        return false;
    }
    std::copy(path.begin(), path.end(), request.result);
    request.result[path.size()] = u'\0';
    return true;
}
