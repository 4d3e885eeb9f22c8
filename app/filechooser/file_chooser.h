// The program's own file chooser: lists one folder of the handheld for a chosen file type, moves through the
// folders with a drop-down folder tree and an up-one-level button, and returns the full path of a file.
#pragma once

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <map>
#include <string>
#include <vector>

#include "app/filechooser/folder_listing.h"
#include "handheld/shell/handheld_dialog.h"
#include "handheld/types.h"

class QComboBox;
class QLineEdit;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

struct FileChooserRequest {
    const void* instance = nullptr;  // the program's module
    handheld::HWND owner = nullptr;
    const char16_t* initialFolder = nullptr;    // null: "\My Documents"
    const char16_t* filter = nullptr;           // display text, pattern, ... each zero-ended; null: all files
    char16_t* result = nullptr;                 // the caller's buffer for the chosen path
    handheld::DWORD* resultCapacity = nullptr;  // its size in characters; on a too small buffer the size needed
};

// True when a file was chosen and its path (with terminator) fitted into result; false after Cancel or when
// the buffer is too small (then *resultCapacity holds the size needed). The texts are shown unchanged.
bool ChooseFile(FileChooserRequest& request, const char16_t* nameTitle, const char16_t* typeTitle,
                const char16_t* pathTitle, const char16_t* openText, const char16_t* cancelText,
                const char16_t* sizeTitle, const char16_t* dateTitle);

// Control identifiers of the chooser.
enum FileChooserControl : int {
    kChooserOpen = 1,
    kChooserCancel = 2,
    kChooserNameLabel = 50000,
    kChooserTypeLabel = 50001,
    kChooserPathLabel = 50002,
    kChooserFileList = 50004,
    kChooserNameEdit = 50005,
    kChooserTypeList = 50006,
    kChooserFolderList = 50007,
    kChooserUpButton = 50008,
    kChooserFolderTree = 50009,
};

// The entries of the listing in three columns: name with its icon, size, date. Icons are looked up when an
// entry is first drawn; each distinct system icon goes into the image list once.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    void Reset(std::u16string folder, std::vector<FileEntry> entries);
    const std::vector<FileEntry>& Entries() const { return entries_; }
    const std::vector<QIcon>& ImageList() const { return imageList_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void SetColumnTitles(QStringList titles) { titles_ = std::move(titles); }

private:
    int IconIndexOf(std::size_t row) const;

    std::u16string folder_;
    mutable std::vector<FileEntry> entries_;
    mutable std::vector<QIcon> imageList_;
    mutable std::map<int, int> imageOfSystemIcon_;
    QStringList titles_;
};

// The up-one-level button: a 15 x 13 picture drawn pixel by pixel from colour indexes, moved by one pixel
// while pressed.
class UpOneLevelButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit UpOneLevelButton(QWidget* parent);
    static constexpr int kFaceWidthPx = 15;
    static constexpr int kFaceHeightPx = 13;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class FileChooserDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    struct Texts {
        QString name, type, path, open, cancel, size, date;
    };
    FileChooserDialog(QWidget* owner, const char16_t* initialFolder, const char16_t* filter, const Texts& texts);

    const std::u16string& Folder() const { return folder_; }
    const std::u16string& ChosenPath() const { return chosenPath_; }
    FileListModel& Listing() { return model_; }

    // What the controls do, callable by keyboard handlers and tests alike.
    void ActivateRow(int row);
    void GoUp();
    void Open();
    void ShowFolderTree();
    void HideFolderTree();
    // The tree item of a folder path, expanding the levels on the way; null when it is not there.
    QTreeWidgetItem* ExpandTreeTo(std::u16string_view folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetFolder(std::u16string folder);
    void FillFileList();
    void FillTreeItem(QTreeWidgetItem* item);

    std::u16string folder_;
    std::vector<FileTypeFilter> types_;
    std::u16string chosenPath_;
    FileListModel model_;
    QLineEdit* name_;
    QComboBox* typeList_;
    QComboBox* folderList_;
    QTreeView* fileList_;
    QTreeWidget* tree_;
};
