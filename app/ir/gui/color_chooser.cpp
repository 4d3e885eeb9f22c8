#include "app/ir/gui/color_chooser.h"

#include <QColorDialog>
#include <QPushButton>
#include <QScrollArea>

namespace {

constexpr handheld::ControlPlacement kPlacements[] = {
    {ColorChooserDialog::kPickerArea, {0, 26, 240, 262}, {0, 26, 320, 182}},
    {ColorChooserDialog::kOk, {110, 294, 60, 20}, {190, 214, 60, 20}},
    {ColorChooserDialog::kCancel, {174, 294, 60, 20}, {254, 214, 60, 20}},
};

}  // namespace

ColorChooserDialog::ColorChooserDialog(QWidget* owner, QColor initial)
    : HandheldDialog(owner, 0, QStringLiteral("Color")) {
    // The picker is larger than the handheld's screen, so it scrolls inside it instead of leaving it.
    auto* area = new QScrollArea(this);
    area->setObjectName(QString::number(kPickerArea));
    picker_ = new QColorDialog(initial);
    picker_->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    picker_->setWindowFlags(Qt::Widget);
    area->setWidget(picker_);
    // The platform's own dialog: its texts are the platform's, not the program's language file.
    for (auto [id, text] : {std::pair{kOk, "OK"}, std::pair{kCancel, "Cancel"}}) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::number(id));
    }
    Control<QPushButton>(kOk)->setDefault(true);
    AddPlacements(kPlacements);
    connect(Control<QPushButton>(kOk), &QPushButton::clicked, this, &ColorChooserDialog::accept);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &ColorChooserDialog::reject);
}

bool ChooseColorInScreen(QWidget* owner, std::uint32_t& colorref) {
    const QColor initial(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
    ColorChooserDialog dialog(owner, initial);
    if (dialog.Run() != QDialog::Accepted) return false;
    const QColor chosen = dialog.Picker()->currentColor();
    colorref = static_cast<std::uint32_t>(chosen.red()) | static_cast<std::uint32_t>(chosen.green()) << 8 |
               static_cast<std::uint32_t>(chosen.blue()) << 16;
    return true;
}
