#include "app/ir/gui/pause_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "app/ir/learning.h"
#include "app/shell/language_table.h"

namespace {

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

constexpr handheld::ControlPlacement kSliderPlacement{PauseDialog::kSlider, {25, 104, 180, 24}, {25, 90, 260, 24}};

}  // namespace

int& PauseLength() {
    static int pauseLength = -1;
    return pauseLength;
}

PauseDialog::PauseDialog(QWidget* owner) : HandheldDialog(owner, kResourceId, {}) {
    auto* text = Control<QLabel>(kText);
    text->setText(Q(u"DLG_8_CTL_1", u"Can't get IR signal. You can use this command to set the necessary pause."));
    text->setWordWrap(true);
    Control<QLabel>(kSelectionLabel)->setText(Q(u"DLG_8_CTL_2", u"Your selection:"));
    Control<QLabel>(kMaxLabel)->setText(Q(u"DLG_8_CTL_3", u"2 sec"));
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_8_CTL_4", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_8_CTL_5", u"Cancel"));

    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QString::number(kSlider));
    slider->setRange(kPauseMinMs, kPauseMaxMs);
    AddPlacements({&kSliderPlacement, 1});
    connect(slider, &QSlider::valueChanged, this, &PauseDialog::ShowPosition);
    ShowPosition(slider->value());

    connect(ok, &QPushButton::clicked, this, [this] {
        PauseLength() = Slider()->value();
        done(kOk);
    });
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, [this] {
        PauseLength() = -1;
        done(kCancel);
    });
}

QSlider* PauseDialog::Slider() const {
    return Control<QSlider>(kSlider);
}

void PauseDialog::ShowPosition(int milliseconds) {
    Control<QLabel>(kPosition)->setText(QString::number(milliseconds) + u' ' + Q(u"MSEC", u"msec"));
}

bool AskForPause(QWidget* owner) {
    PauseLength() = -1;  // a dialog closed any other way is a Cancel
    PauseDialog dialog(owner);
    return dialog.Run() == PauseDialog::kOk && PauseLength() >= 0;
}
