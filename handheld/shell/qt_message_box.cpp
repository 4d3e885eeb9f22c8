#include "handheld/shell/qt_message_box.h"

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

int PresentQtMessageBox(const MessageBoxRequest& request) {
    auto box = BuildMessageBox(request);
    box->exec();
    const auto clicked = box->standardButton(box->clickedButton());
    return AnswerOf(clicked);
}

MessageBoxPresenter InstallQtMessageBoxPresenter() {
    return SetMessageBoxPresenter(&PresentQtMessageBox);
}

}  // namespace handheld
