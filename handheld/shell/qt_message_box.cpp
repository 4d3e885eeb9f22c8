#include "handheld/shell/qt_message_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "handheld/shell/handheld_dialog.h"
#include "handheld/shell/hwnd.h"
#include "handheld/shell/screen.h"
#include "handheld/trace.h"

namespace handheld {

namespace {
// Button sets and answers the shared header does not name.
constexpr UINT kAbortRetryIgnore = 0x02;
constexpr UINT kRetryCancel = 0x05;
constexpr UINT kDefaultButtonMask = 0xF00;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
}  // namespace

MessageBoxLook DescribeMessageBox(UINT flags) {
    using B = QMessageBox;
    MessageBoxLook look{B::NoIcon, {}, B::NoButton, B::NoButton};
    switch (flags & MB_ICONMASK) {
        case MB_ICONERROR:
            look.icon = B::Critical;
            break;
        case MB_ICONQUESTION:
            look.icon = B::Question;
            break;
        case MB_ICONEXCLAMATION:
            look.icon = B::Warning;
            break;
        case MB_ICONINFORMATION:
            look.icon = B::Information;
            break;
        default:
            break;
    }
    switch (flags & MB_TYPEMASK) {
        case MB_OK:
            look.buttons = {B::Ok};
            look.escapeButton = B::Ok;
            break;
        case MB_OKCANCEL:
            look.buttons = {B::Ok, B::Cancel};
            look.escapeButton = B::Cancel;
            break;
        case kAbortRetryIgnore:
            look.buttons = {B::Abort, B::Retry, B::Ignore};
            break;
        case MB_YESNOCANCEL:
            look.buttons = {B::Yes, B::No, B::Cancel};
            look.escapeButton = B::Cancel;
            break;
        case MB_YESNO:
            look.buttons = {B::Yes, B::No};
            break;
        case kRetryCancel:
            look.buttons = {B::Retry, B::Cancel};
            look.escapeButton = B::Cancel;
            break;
        default:
            HH_TRACE("messagebox", "button set 0x%x not supported, showing OK", unsigned(flags & MB_TYPEMASK));
            look.buttons = {B::Ok};
            look.escapeButton = B::Ok;
            break;
    }
    // MB_DEFBUTTON1..3 pick the default by position; one past the end keeps the first.
    const std::size_t defaultIndex = (flags & kDefaultButtonMask) >> 8;
    look.defaultButton = look.buttons[defaultIndex < look.buttons.size() ? defaultIndex : 0];
    return look;
}

int AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Abort:
            return kIdAbort;
        case QMessageBox::Retry:
            return kIdRetry;
        case QMessageBox::Ignore:
            return kIdIgnore;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
    }
}

std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBoxRequest& request) {
    const MessageBoxLook look = DescribeMessageBox(request.flags);
    QWidget* parent = request.owner ? FromHwnd(request.owner) : CurrentScreen();
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(look.icon);
    box->setWindowTitle(QString::fromStdU16String(request.caption));
    box->setText(QString::fromStdU16String(request.text));
    box->setTextFormat(Qt::PlainText);
    for (const auto button : look.buttons) box->addButton(button);
    box->setDefaultButton(look.defaultButton);
    if (look.escapeButton != QMessageBox::NoButton) box->setEscapeButton(look.escapeButton);
    return box;
}

ScreenMessageBox::ScreenMessageBox(HandheldScreen* screen, const MessageBoxRequest& request)
    : QDialog(screen), look_(DescribeMessageBox(request.flags)) {
    setObjectName(QStringLiteral("MessageBox"));
    setWindowFlags(Qt::Widget);
    auto* panel = new QFrame(this);
    panel_ = panel;
    panel->setObjectName(QStringLiteral("MessageBoxPanel"));
    panel->setFrameShape(QFrame::Box);
    panel->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(1, 1, 1, 4);
    column->setSpacing(4);

    auto* caption = new QLabel(QString::fromStdU16String(request.caption), panel);
    caption->setObjectName(QStringLiteral("MessageBoxCaption"));
    caption->setStyleSheet(QStringLiteral("background: #0000a0; color: white; font-weight: bold; padding: 2px;"));
    column->addWidget(caption);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 2, 6, 2);
    const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_CustomBase, QStyle::SP_MessageBoxInformation,
                                              QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical,
                                              QStyle::SP_MessageBoxQuestion};
    if (look_.icon != QMessageBox::NoIcon) {
        auto* icon = new QLabel(panel);
        icon->setObjectName(QStringLiteral("MessageBoxIcon"));
        icon->setPixmap(style()->standardIcon(pixmaps[look_.icon]).pixmap(24, 24));
        icon->setAlignment(Qt::AlignTop);
        row->addWidget(icon);
    }
    auto* text = new QLabel(QString::fromStdU16String(request.text), panel);
    text->setObjectName(QStringLiteral("MessageBoxText"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    row->addWidget(text, 1);
    column->addLayout(row);

    auto* buttons = new QDialogButtonBox(panel);
    for (const auto button : look_.buttons) {
        QPushButton* pushButton = buttons->addButton(static_cast<QDialogButtonBox::StandardButton>(button));
        pushButton->setObjectName(QString::number(AnswerOf(button)));
        connect(pushButton, &QPushButton::clicked, this, [this, button] { done(AnswerOf(button)); });
        if (button == look_.defaultButton) pushButton->setDefault(true);
    }
    buttons->setCenterButtons(true);
    column->addWidget(buttons);

    Place(screen->size());
    connect(screen, &HandheldScreen::ScreenTurned, this, [this, screen] { Place(screen->size()); });
}

void ScreenMessageBox::Place(QSize screenSize) {
    // The whole screen is the box's modal area: taps beside the box reach nothing else.
    setGeometry(QRect(QPoint(0, 0), screenSize));
    panel_->setFixedWidth(screenSize.width() - 2 * kMarginPx);
    panel_->adjustSize();
    panel_->move(kMarginPx, (screenSize.height() - panel_->height()) / 2);
}

void ScreenMessageBox::reject() {
    // Escape answers as the box's cancel button would; a box without one (yes/no) cannot be escaped.
    if (look_.escapeButton != QMessageBox::NoButton) done(AnswerOf(look_.escapeButton));
}

int PresentQtMessageBox(const MessageBoxRequest& request) {
    QWidget* owner = request.owner ? FromHwnd(request.owner) : nullptr;
    if (HandheldScreen* screen = HandheldDialog::ScreenOf(owner)) {
        ScreenMessageBox box(screen, request);
        box.raise();
        const int answer = box.exec();
        return answer == QDialog::Rejected ? IDCANCEL : answer;
    }
    auto box = BuildMessageBox(request);
    box->exec();
    const auto clicked = box->standardButton(box->clickedButton());
    return AnswerOf(clicked);
}

MessageBoxPresenter InstallQtMessageBoxPresenter() {
    return SetMessageBoxPresenter(&PresentQtMessageBox);
}

}  // namespace handheld
