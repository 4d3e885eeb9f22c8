// The list from which the viewer's control strip picks a device or a macro by name.
#pragma once

// The model before Qt: a model field is named like one of Qt's keyword macros.
#include "ccf/model/ccf_model.h"
// Then Qt.
#include <string>

#include "handheld/shell/handheld_dialog.h"

class QListWidget;

class CItemListDialog : public handheld::HandheldDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 1010;
    static constexpr int kListId = 1000;
    static constexpr int kOkId = 1;
    static constexpr int kKindDevices = 2;
    static constexpr int kKindMacros = 3;

    // The caption is "Device" for kind 2, "Macro" for kind 3, else "Dialog"; the list holds the names of the
    // kind's chain in file order.
    CItemListDialog(QWidget* owner, const CCFFile* file, int kind);
    // Lets the user choose a name: the chosen one, or empty when the list was empty (the dialog then closes
    // at once), had no selection, or was closed other than by "Ok".
    std::u16string Choose();
    // A dialog of the kind, run once.
    static std::u16string ChooseName(QWidget* owner, const CCFFile* file, int kind);
    int Kind() const { return kind_; }
    QListWidget* List() const { return list_; }

private:
    void Fill();
    void Accept();

    const CCFFile* file_;
    int kind_;
    std::u16string selectedName_;
    QListWidget* list_;
};
