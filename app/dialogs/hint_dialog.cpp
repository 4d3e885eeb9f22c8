#include "app/dialogs/hint_dialog.h"

#include <QCheckBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>

#include "app/model/gui/hint_request.h"
#include "app/shell/language_table.h"

namespace {

const QColor kHintYellow(255, 255, 150);  // COLORREF 0x0096FFFF
constexpr int kClosePx = 19;
constexpr int kEditTop = 30;
constexpr int kBelowEditPx = 55;

std::u16string HintText(int number) {
    if (number == 0) return {};
    const std::u16string key = [&] {
        const std::string digits = std::to_string(number);
        return std::u16string(digits.begin(), digits.end());
    }();
    return Text(key.c_str(), nullptr);
}

// The close picture (bitmap 140): a framed cross, drawn here.
QPixmap ClosePicture() {
    QPixmap picture(kClosePx, kClosePx);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(0, 0, kClosePx - 1, kClosePx - 1);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(5, 5, kClosePx - 6, kClosePx - 6);
    painter.drawLine(kClosePx - 6, 5, 5, kClosePx - 6);
    return picture;
}

// Lines of text as an edit control of that width breaks them.
int CountLines(const QString& text, const QFont& font, int widthPx) {
    int lines = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.beginLayout();
        int inParagraph = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthPx);
            ++inParagraph;
        }
        layout.endLayout();
        lines += std::max(inParagraph, 1);
    }
    return lines;
}

}  // namespace

std::u16string ComposeHintText(int first, int second) {
    std::u16string text = HintText(first);
    if (second != 0) text += HintText(second);
    if (text.size() > kHintTextChars - 1) text.resize(kHintTextChars - 1);
    return text;
}

void TapPicture::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    emit Tapped();
}

HintDialog::HintDialog(QWidget* owner, AppState& state, const std::u16string& text)
    : HandheldDialog(owner, 0, QStringLiteral("Help")), state_(state) {
    setObjectName(QString::number(kResourceId));
    QPalette yellow = palette();
    yellow.setColor(QPalette::Window, kHintYellow);
    yellow.setColor(QPalette::Base, kHintYellow);
    setPalette(yellow);

    auto* edit = new QPlainTextEdit(QString::fromStdU16String(text), this);
    edit->setObjectName(QString::number(kText));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);  // a tap into the text shows no caret
    edit->setTextInteractionFlags(Qt::NoTextInteraction);
    edit->document()->setDocumentMargin(0);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* dontShow = new QCheckBox(QString::fromStdU16String(Text(u"DLG_2_CTL_1", u"don't show again")), this);
    dontShow->setObjectName(QString::number(kDontShowAgain));

    auto* close = new TapPicture(this);
    close->setObjectName(QString::number(kClose));
    close->setPixmap(ClosePicture());
    connect(close, &TapPicture::Tapped, this, &HintDialog::Close);
    Place();
}

QPlainTextEdit* HintDialog::TextEdit() const {
    return Control<QPlainTextEdit>(kText);
}

void HintDialog::Place() {
    const bool portrait = CurrentLayout() == handheld::Orientation::Portrait;
    const int width = portrait ? kPortraitWidthPx : kLandscapeWidthPx;
    const int screenHeight = portrait ? 320 : 240;
    const int maxLines = portrait ? kPortraitMaxLines : kLandscapeMaxLines;
    QPlainTextEdit* edit = TextEdit();
    const int frame = edit->frameWidth();
    lineCount_ = CountLines(edit->toPlainText(), edit->font(), width - 10 - 2 * frame);
    const bool scrolls = lineCount_ + 1 > maxLines;
    shownLines_ = scrolls ? maxLines : lineCount_ + 1;
    edit->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics(edit->font());
    const int editHeight = metrics.lineSpacing() * shownLines_ + 2 * frame;
    edit->setGeometry(5, kEditTop, width - 10, editHeight);
    setGeometry(20, (screenHeight - (editHeight + kBelowEditPx)) / 2, width, editHeight + kBelowEditPx);
    Control(kDontShowAgain)->setGeometry(5, editHeight + 33, width - 10, 15);
    Control(kClose)->setGeometry(width - 22, 3, kClosePx, kClosePx);
}

void HintDialog::Close() {
    if (Control<QCheckBox>(kDontShowAgain)->isChecked()) {
        state_.optionFlags &= static_cast<std::uint16_t>(~ApplicationSettings::kShowHints);
        if (Owner() != nullptr) {
            if (auto* showHints = Owner()->findChild<QCheckBox*>(QStringLiteral("1006"))) showHints->setChecked(false);
        }
    }
    done(kClose);
}

int ShowHint(QWidget* requester, int first, int second, AppState& state) {
    HintDialog dialog(requester, state, ComposeHintText(first, second));
    return dialog.Run();
}

void InstallHintPopups(AppState& state) {
    SetHintHandler([&state](QWidget* requester, int first, int second) {
        QPointer<QWidget> owner(requester);
        QTimer::singleShot(0, requester, [owner, first, second, &state] {
            if (owner) ShowHint(owner, first, second, state);
        });
    });
}
