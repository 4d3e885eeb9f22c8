#include "setup/language_dialog.h"

#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cstdio>

#include "handheld/messagebox.h"
#include "handheld/shell/screen.h"

namespace pravon {

namespace {

struct Rect {
    int x, y, width, height;
};

// Pixel places of the controls in the handheld's screen coordinates, portrait and landscape.
struct Layout {
    Rect close, programName, finalStep, choose, uiLabel, uiLanguages, helpLabel, helpLanguages, ok, defaults, laterNote;
};
constexpr Layout kPortrait{
    {214, 2, 24, 20},  {5, 32, 230, 18},  {5, 56, 230, 16},  {5, 74, 230, 16},   {5, 102, 230, 16}, {5, 120, 230, 22},
    {5, 152, 230, 16}, {5, 170, 230, 22}, {30, 212, 80, 26}, {130, 212, 80, 26}, {5, 252, 230, 48},
};
constexpr Layout kLandscape{
    {294, 2, 24, 20},  {5, 30, 310, 18},   {5, 50, 310, 16},   {5, 66, 310, 16},
    {5, 90, 150, 16},  {5, 108, 150, 22},  {165, 90, 150, 16}, {165, 108, 150, 22},
    {70, 146, 80, 26}, {170, 146, 80, 26}, {5, 184, 310, 48},
};

// The title line of the handheld's dialogs: bold Tahoma of 13 pixels in blue, a black rule below it.
constexpr QRect kTitleRect(5, 5, 196, 16);
constexpr int kTitleRuleY = 25;
constexpr int kTitleFontPx = 13;
// The handheld's dialog font: Tahoma of 11 pixels.
constexpr int kDialogFontPx = 11;

void SetPlace(QWidget* widget, const Rect& place) {
    widget->setGeometry(place.x, place.y, place.width, place.height);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

void Fill(QComboBox* list, const std::vector<std::u16string>& entries) {
    list->clear();
    for (const auto& entry : entries) list->addItem(QString::fromStdU16String(entry));
}

}  // namespace

void EndInstallerProcess(int exitCode) {
    std::fflush(nullptr);
    _exit(exitCode);
}

LanguageDialog::LanguageDialog(std::u16string_view installFolder, QWidget* screen, ProcessEnd processEnd)
    : QDialog(screen),
      installation_(installFolder),
      processEnd_(std::move(processEnd)),
      uiLanguages_(new QComboBox(this)),
      helpLanguages_(new QComboBox(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      defaults_(new QPushButton(QStringLiteral("Defaults"), this)),
      close_(new QPushButton(QStringLiteral("\u00d7"), this)),
      programName_(MakeLabel(this, "programName", QString(), Qt::AlignHCenter)),
      finalStep_(MakeLabel(this, "finalStep", QStringLiteral("The final installation step."), Qt::AlignLeft)),
      choose_(
          MakeLabel(this, "chooseLanguage", QStringLiteral("Please, choose the appropriate language:"), Qt::AlignLeft)),
      uiLabel_(MakeLabel(this, "uiLanguageLabel", QStringLiteral("User interface language"), Qt::AlignLeft)),
      helpLabel_(MakeLabel(this, "helpLanguageLabel", QStringLiteral("Help language"), Qt::AlignLeft)),
      laterNote_(MakeLabel(this, "laterNote",
                           QStringLiteral("The languages can only be changed later by installing the program again."),
                           Qt::AlignHCenter)) {
    setObjectName(QString::number(kLanguageDialogId));
    setWindowTitle(QStringLiteral("Language"));
    // A child of the handheld's screen, never a window of the desktop.
    setWindowFlags(Qt::Widget);
    QFont dialogFont(QStringLiteral("Tahoma"));
    dialogFont.setPixelSize(kDialogFontPx);
    setFont(dialogFont);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    uiLanguages_->setObjectName(QString::number(kUiLanguagesId));
    helpLanguages_->setObjectName(QString::number(kHelpLanguagesId));
    ok_->setObjectName(QString::number(kOkId));
    defaults_->setObjectName(QString::number(kDefaultsId));
    close_->setObjectName(QStringLiteral("close"));
    ok_->setDefault(true);
    QFont bold = programName_->font();
    bold.setBold(true);
    programName_->setFont(bold);
    laterNote_->setWordWrap(true);

    connect(ok_, &QPushButton::clicked, this, &LanguageDialog::Accept);
    connect(defaults_, &QPushButton::clicked, this, &LanguageDialog::SelectDefaults);
    connect(close_, &QPushButton::clicked, this, &LanguageDialog::reject);

    auto* handheldScreen = qobject_cast<handheld::HandheldScreen*>(screen);
    Place(handheldScreen ? handheldScreen->orientation() : handheld::CurrentOrientation());
    if (handheldScreen) connect(handheldScreen, &handheld::HandheldScreen::ScreenTurned, this, &LanguageDialog::Place);
}

int LanguageDialog::Run() {
    if (auto failure = installation_.FindOffer()) {
        Report(*failure);
        return 0;
    }
    programName_->setText(QString::fromStdU16String(installation_.AppName()));
    Fill(uiLanguages_, installation_.UiLanguages());
    Fill(helpLanguages_, installation_.HelpLanguages());
    SelectDefaults();
    return exec();
}

void LanguageDialog::Place(handheld::Orientation orientation) {
    const QSize size = handheld::ScreenSize(orientation);
    setGeometry(0, 0, size.width(), size.height());
    const Layout& layout = orientation == handheld::Orientation::Portrait ? kPortrait : kLandscape;
    SetPlace(close_, layout.close);
    SetPlace(programName_, layout.programName);
    SetPlace(finalStep_, layout.finalStep);
    SetPlace(choose_, layout.choose);
    SetPlace(uiLabel_, layout.uiLabel);
    SetPlace(uiLanguages_, layout.uiLanguages);
    SetPlace(helpLabel_, layout.helpLabel);
    SetPlace(helpLanguages_, layout.helpLanguages);
    SetPlace(ok_, layout.ok);
    SetPlace(defaults_, layout.defaults);
    SetPlace(laterNote_, layout.laterNote);
}

void LanguageDialog::SelectDefaults() {
    uiLanguages_->setCurrentIndex(DefaultEntry(installation_.UiLanguages()));
    helpLanguages_->setCurrentIndex(DefaultEntry(installation_.HelpLanguages()));
}

void LanguageDialog::Accept() {
    const std::u16string ui = uiLanguages_->currentText().toStdU16String();
    const std::u16string help = helpLanguages_->currentText().toStdU16String();
    if (auto failure = installation_.Install(ui, help)) {
        Report(*failure);
        return;
    }
    accept();
}

void LanguageDialog::reject() {
    Note(messages::kCancelNote, handheld::MB_ICONEXCLAMATION);
    QDialog::reject();
}

void LanguageDialog::Report(const Failure& failure) {
    Note(failure.message, handheld::MB_ICONERROR);
    if (!failure.endsInstaller) return;
    processEnd_(0);
    // Only a stand-in for the process end returns here; the dialog then ends with nothing more done.
    done(QDialog::Rejected);
}

void LanguageDialog::Note(std::u16string_view text, unsigned iconFlags) {
    const std::u16string message(text);
    const std::u16string caption(kCaption);
    handheld::MessageBoxW(nullptr, message.c_str(), caption.c_str(), handheld::MB_OK | iconFlags);
}

void LanguageDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kTitleFontPx);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::blue);
    painter.drawText(kTitleRect, Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
    painter.setPen(Qt::black);
    painter.drawLine(0, kTitleRuleY, width(), kTitleRuleY);
}

}  // namespace pravon
