#include "app/panel/select_button_dialog.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "app/panel/device_opening.h"
#include "app/panel/name_lists.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"
#include "app/shell/language_table.h"
#include "handheld/shell/hwnd.h"

namespace {

using D = SelectButtonDialog;

QString Q(const char16_t* key, const char16_t* defaultText) {
    return QString::fromStdU16String(Text(key, defaultText));
}

constexpr char16_t kFlatPrefix[] = u"FLAT_";
constexpr char16_t kNewButtonName[] = u"CUSTOM$";
// The preview is centred on this width and framed from kPreviewLeft to kPreviewRight.
constexpr int kPreviewCentreWidth = 238;
constexpr int kPreviewLeft = 10;
constexpr int kPreviewRight = 228;

QColor FromColorref(std::uint32_t colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}

}  // namespace

SelectButtonDialog::SelectButtonDialog(QWidget* owner, AppState& state, DevicePanels& panels,
                                       const LibraryArtwork& artwork, QPoint tap, std::function<void()> moveCommand)
    : HandheldDialog(owner, kResourceId, {}),
      state_(state),
      panels_(panels),
      artwork_(artwork),
      moveCommand_(std::move(moveCommand)) {
    Control<QLabel>(kPositionLabel)->setText(Q(u"DLG_4_CTL_1", u"Top left corner's position:"));
    Control<QLabel>(kHorizontalLabel)->setText(Q(u"DLG_4_CTL_2", u"Horizontal:"));
    Control<QLabel>(kVerticalLabel)->setText(Q(u"DLG_4_CTL_3", u"Vertical:"));
    Control<QCheckBox>(kThreeD)->setText(Q(u"DLG_4_CTL_4", u"3D buttons"));
    auto* ok = Control<QPushButton>(kOk);
    ok->setText(Q(u"DLG_4_CTL_5", u"OK"));
    ok->setDefault(true);
    Control<QPushButton>(kCancel)->setText(Q(u"DLG_4_CTL_6", u"Cancel"));
    for (auto [id, value] : {std::pair{kHorizontal, tap.x()}, std::pair{kVertical, tap.y()}}) {
        auto* field = Control<QLineEdit>(id);
        field->setValidator(new QIntValidator(-32768, 32767, field));  // numbers only
        field->setText(QString::number(value));
    }

    LoadNameList(artwork.Library(), NameListKind::Buttons, names_);
    connect(Control<QPushButton>(kFirst), &QPushButton::clicked, this, [this] { Step(0); });
    connect(Control<QPushButton>(kPrevious), &QPushButton::clicked, this, [this] { Step(previewIndex_ - 1); });
    connect(Control<QPushButton>(kNext), &QPushButton::clicked, this, [this] { Step(previewIndex_ + 1); });
    connect(Control<QPushButton>(kLast), &QPushButton::clicked, this, [this] { Step(Count() - 1); });
    connect(Control<QCheckBox>(kThreeD), &QCheckBox::clicked, this, [this] { Step(previewIndex_); });
    connect(ok, &QPushButton::clicked, this, &D::Confirm);
    connect(Control<QPushButton>(kCancel), &QPushButton::clicked, this, &D::reject);
    BuildPreview();
}

std::pair<int, int> SelectButtonDialog::PreviewArea() const {
    return CurrentLayout() == handheld::Orientation::Portrait ? std::pair{100, 225} : std::pair{75, 182};
}

void SelectButtonDialog::Step(int index) {
    previewIndex_ = std::clamp(index, 0, std::max(Count() - 1, 0));
    BuildPreview();
    update();
}

void SelectButtonDialog::BuildPreview() {
    previewButton_ = FaceButton{};
    if (previewIndex_ < 0 || previewIndex_ >= Count()) return;
    std::u16string skin = names_[previewIndex_];
    if (!Control<QCheckBox>(kThreeD)->isChecked()) skin = kFlatPrefix + skin;
    previewButton_.Create(&artwork_, handheld::ToHwnd(this), kNewButtonName, 0, 0, STATE_NORMAL, skin, true);
    previewButton_.Measure();
    previewButton_.SetColor(kPreviewColor);
    const auto [top, bottom] = PreviewArea();
    previewButton_.SetPosition((kPreviewCentreWidth - previewButton_.width) / 2,
                               (top + bottom - previewButton_.height) / 2);
}

void SelectButtonDialog::paintEvent(QPaintEvent* event) {
    HandheldDialog::paintEvent(event);
    if (previewButton_.name.empty()) return;
    BuildPreview();  // the area depends on the orientation, which may have turned
    const auto [top, bottom] = PreviewArea();
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(FromColorref(kPreviewBackground));
    painter.drawRect(QRect(QPoint(kPreviewLeft, top), QPoint(kPreviewRight, bottom)));
    FaceButton drawn = previewButton_;
    drawn.SetPosition(0, 0);
    Bitmap24 pixels(drawn.width, drawn.height);
    pixels.Fill(kPreviewBackground);  // where the face does not cover, the background shows
    DeviceContext dc{pixels, kOrientationPortrait, nullptr};
    DrawFaceButton(drawn, dc, STATE_NORMAL, ButtonBackground{kPreviewBackground, nullptr}, true, 0);
    painter.drawImage(QPoint(previewButton_.x, previewButton_.y), ImageOnBitmap(pixels));
}

void SelectButtonDialog::Confirm() {
    if (previewButton_.name.empty()) return;  // nothing to add without a skin
    FaceButton added = previewButton_;
    // Typed positions stay on the panel, as dragging keeps them.
    const int x = Control<QLineEdit>(kHorizontal)->text().toInt();
    const int y = Control<QLineEdit>(kVertical)->text().toInt();
    added.SetPosition(std::clamp(x, 0, std::max(kPictureWidthPx - added.width, 0)),
                      std::clamp(y, 0, std::max(kPictureHeightPx - added.height, 0)));
    added.window = panels_.mainPanel.window;
    panels_.mainPanel.AddButton(added, true);
    const FaceButton& placed = panels_.mainPanel.buttons.back();

    ButtonRecord record;
    record.name = placed.name;
    record.commandName = placed.caption;
    record.color = placed.color;
    record.skin = placed.skinName;
    record.x = static_cast<std::uint16_t>(placed.x);
    record.y = static_cast<std::uint16_t>(placed.y);
    record.panel = 0;
    state_.device.AppendRecord(record);

    state_.pressedName = placed.name;
    if (moveCommand_) moveCommand_();
    accept();
}

int RunSelectButtonDialog(QWidget* parent, AppState& state, DevicePanels& panels, const LibraryArtwork& artwork,
                          QPoint tap, std::function<void()> moveCommand) {
    SelectButtonDialog dialog(parent, state, panels, artwork, tap, std::move(moveCommand));
    return dialog.Run();
}
