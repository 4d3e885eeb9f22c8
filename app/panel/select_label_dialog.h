// "Select label": the label pictures of the button library as a list of 32 x 32 icons; the chosen one
// becomes the pending label that the "Button properties" dialog gives the button on its own OK.
#pragma once

#include <string>
#include <string_view>

#include "handheld/shell/handheld_dialog.h"

class LibraryArtwork;
class QListWidget;
class QListWidgetItem;

class SelectLabelDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 135;
    static constexpr int kCellPx = 32;
    enum ControlId : int { kOk = 1, kCancel = 2, kList = 1016 };

    // currentLabel: the button's label, whose item starts selected.
    SelectLabelDialog(QWidget* owner, const LibraryArtwork& artwork, std::u16string_view currentLabel);
    QListWidget* List() const;
    // The label key an item stands for.
    std::u16string LabelOf(const QListWidgetItem* item) const;

private:
    // The item's icon: its label in a cell, with the red frame when selected; none when a bitmap is missing.
    void DrawItem(QListWidgetItem* item, bool selected);
    void Confirm();

    const LibraryArtwork& artwork_;
    std::vector<std::u16string> names_;
    QListWidgetItem* shownSelected_ = nullptr;
};

// The label chosen by the last "Select label" ended with OK (empty: no label).
std::u16string& PendingLabel();
// Runs the dialog; true after OK, with PendingLabel() set.
bool RunSelectLabelDialog(QWidget* owner, const LibraryArtwork& artwork, std::u16string_view currentLabel);
