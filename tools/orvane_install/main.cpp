// orvane-install: stands in for the handheld's installer. Copies the program package onto a handheld and
// calls the installer helper's entry points around it, as the handheld's installer does:
//   orvane-install [--handheld DIR] [--zoom N] [--package SHARE] [--language NAME [--help-language NAME]]
//   orvane-install [--handheld DIR] [--package SHARE] --uninstall
// Without --language the helper's dialog asks the user on the handheld's screen; with it the dialog is answered
// by choosing the entries and pressing OK, as a user would, and nothing is shown.
#include <dlfcn.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "handheld/home.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/qt_message_box.h"
#include "handheld/text.h"
#include "setup/pravon.h"
#include "tools/orvane_install/package.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    std::optional<std::string> language;
    std::optional<std::string> helpLanguage;
    std::optional<fs::path> share;
    bool uninstall = false;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: orvane-install [--handheld DIR] [--zoom N] [--package SHARE] [--language NAME "
                 "[--help-language NAME]]\n"
                 "       orvane-install [--handheld DIR] [--package SHARE] --uninstall\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--uninstall") {
            options.uninstall = true;
        } else if (argument == "--language" && hasValue) {
            options.language = argv[++i];
        } else if (argument == "--help-language" && hasValue) {
            options.helpLanguage = argv[++i];
        } else if (argument == "--package" && hasValue) {
            options.share = argv[++i];
        } else {
            std::fprintf(stderr, "orvane-install: unexpected argument '%s'\n", argument.c_str());
            return false;
        }
    }
    if (options.helpLanguage && !options.language) {
        std::fprintf(stderr, "orvane-install: --help-language goes with --language\n");
        return false;
    }
    return true;
}

bool Offered(const std::vector<std::string>& names, const std::string& name, const char* what) {
    if (std::find(names.begin(), names.end(), name) != names.end()) return true;
    std::string list;
    for (const auto& offered : names) list += (list.empty() ? "" : ", ") + offered;
    std::fprintf(stderr, "orvane-install: the package has no %s language '%s' (it has: %s)\n", what, name.c_str(),
                 list.c_str());
    return false;
}

// The helper's dialog and its way of being closed other than by OK.
const QString kDialogName = QStringLiteral("129");
void CloseDialog(QWidget* dialog) {
    if (auto* close = dialog->findChild<QPushButton*>(QStringLiteral("close"))) close->click();
}

// The installer helper, loaded from the library folder beside bin/ as the handheld's installer loads it.
class Helper {
public:
    bool Load() {
        std::error_code ec;
        const fs::path folder = fs::read_symlink("/proc/self/exe", ec).parent_path() / ".." / "lib";
        const std::string path = (folder / "libpravon.so").string();
        library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library_ == nullptr) {
            std::fprintf(stderr, "orvane-install: cannot load the installer helper: %s\n", dlerror());
            return false;
        }
        installInit = Find<InstallInitFunction>("Install_Init");
        installExit = Find<InstallExitFunction>("Install_Exit");
        uninstallInit = Find<UninstallInitFunction>("Uninstall_Init");
        uninstallExit = Find<UninstallExitFunction>("Uninstall_Exit");
        return installInit && installExit && uninstallInit && uninstallExit;
    }
    // The helper stays loaded to the end of the process: widgets and Qt's registrations may still point into it.

    InstallInitFunction installInit = nullptr;
    InstallExitFunction installExit = nullptr;
    UninstallInitFunction uninstallInit = nullptr;
    UninstallExitFunction uninstallExit = nullptr;

private:
    template <typename Function>
    Function Find(const char* name) {
        auto function = reinterpret_cast<Function>(dlsym(library_, name));
        if (function == nullptr) std::fprintf(stderr, "orvane-install: the installer helper lacks %s\n", name);
        return function;
    }
    void* library_ = nullptr;
};

// Answers the helper's dialog as a user would: chooses the entries and presses OK, once the dialog is shown.
class ScriptedAnswer : public QObject {
public:
    ScriptedAnswer(QString uiLanguage, QString helpLanguage)
        : uiLanguage_(std::move(uiLanguage)), helpLanguage_(std::move(helpLanguage)) {
        qApp->installEventFilter(this);
    }
    bool Failed() const { return failed_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == kDialogName) {
            auto* dialog = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, dialog, [this, dialog] { Answer(dialog); });
        }
        return false;
    }

private:
    void Answer(QWidget* dialog) {
        auto* ui = dialog->findChild<QComboBox*>(QStringLiteral("1000"));
        auto* help = dialog->findChild<QComboBox*>(QStringLiteral("1001"));
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("1002"));
        const int uiIndex = ui ? ui->findText(uiLanguage_) : -1;
        const int helpIndex = help ? help->findText(helpLanguage_) : -1;
        if (!ok || uiIndex < 0 || helpIndex < 0) {
            std::fprintf(stderr, "orvane-install: the installer helper does not offer the languages asked for\n");
            failed_ = true;
            CloseDialog(dialog);
            return;
        }
        ui->setCurrentIndex(uiIndex);
        help->setCurrentIndex(helpIndex);
        ok->click();
    }

    QString uiLanguage_;
    QString helpLanguage_;
    bool failed_ = false;
};

// Closing the desktop window while the helper asks closes the helper's dialog instead, as any other way of
// closing it: the helper tells the user what that means, and the installation ends.
class CloseGoesToTheDialog : public QObject {
public:
    explicit CloseGoesToTheDialog(handheld::DesktopFrame* frame) : frame_(frame) { frame->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != frame_ || event->type() != QEvent::Close) return false;
        auto* dialog = frame_->findChild<QWidget*>(kDialogName);
        if (dialog == nullptr || !dialog->isVisible()) return false;
        event->ignore();
        QTimer::singleShot(0, dialog, [dialog] { CloseDialog(dialog); });
        return true;
    }

private:
    handheld::DesktopFrame* frame_;
};

int Uninstall(const Helper& helper, const orvane_install::Package& package) {
    const std::u16string installFolder(orvane_install::kInstallFolder);
    if (helper.uninstallInit(nullptr, installFolder.c_str()) != kInstallInitContinue) return 1;
    std::string reason;
    if (!orvane_install::RemovePackage(package, &reason)) {
        std::fprintf(stderr, "orvane-install: %s\n", reason.c_str());
        return 1;
    }
    helper.uninstallExit(nullptr);
    return 0;
}

int Install(const Helper& helper, const orvane_install::Package& package, const Options& options) {
    const std::u16string installFolder(orvane_install::kInstallFolder);
    const handheld::BOOL previouslyInstalled = handheld::ProgramInstalled() ? handheld::TRUE : handheld::FALSE;
    if (helper.installInit(nullptr, handheld::TRUE, previouslyInstalled, installFolder.c_str()) !=
        kInstallInitContinue) {
        return 1;
    }
    std::string reason;
    if (!orvane_install::CopyPackage(package, &reason)) {
        std::fprintf(stderr, "orvane-install: %s\n", reason.c_str());
        return 1;
    }

    // Answered: the dialog goes on a screen nobody sees. Asked: on the handheld shown on the desktop.
    std::unique_ptr<ScriptedAnswer> answer;
    std::unique_ptr<handheld::HandheldScreen> headlessScreen;
    std::unique_ptr<handheld::DesktopFrame> frame;
    std::unique_ptr<CloseGoesToTheDialog> closeGoesToTheDialog;
    handheld::MessageBoxPresenter previousPresenter;
    if (options.language) {
        answer = std::make_unique<ScriptedAnswer>(QString::fromStdString(*options.language),
                                                  QString::fromStdString(options.helpLanguage.value_or("English")));
        headlessScreen = std::make_unique<handheld::HandheldScreen>();
        headlessScreen->show();
    } else {
        frame = std::make_unique<handheld::DesktopFrame>();
        closeGoesToTheDialog = std::make_unique<CloseGoesToTheDialog>(frame.get());
        frame->show();
        previousPresenter = handheld::InstallQtMessageBoxPresenter();
    }
    helper.installExit(nullptr, installFolder.c_str(), 0, 0, 0, 0, 0);
    if (frame) handheld::SetMessageBoxPresenter(previousPresenter);
    return answer && answer->Failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path home = handheld::TakeHandheldOption(argc, argv);
    handheld::TakeZoomOption(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) return Usage();
    const bool answered = options.language.has_value() || options.uninstall;
    // Nothing is shown when the answers are given, so no display is needed.
    if (answered) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);

    std::string reason;
    if (!handheld::OpenHome(home, &reason)) {
        std::fprintf(stderr, "orvane-install: cannot use the handheld at %s: %s\n", home.c_str(), reason.c_str());
        return 1;
    }
    const auto package =
        options.share ? orvane_install::Package::InShare(*options.share) : orvane_install::Package::OfThisProgram();
    if (!options.helpLanguage) options.helpLanguage = "English";
    // The choice is checked before anything is copied. A package that offers no language at all is left to the
    // helper, which tells the user so.
    if (const auto offer = orvane_install::OfferedLanguages(package); options.language && !offer.uiLanguages.empty()) {
        if (!Offered(offer.uiLanguages, *options.language, "user interface") ||
            !Offered(offer.helpLanguages, *options.helpLanguage, "help")) {
            return 1;
        }
    }
    Helper helper;
    if (!helper.Load()) return 1;
    return options.uninstall ? Uninstall(helper, package) : Install(helper, package, options);
}
