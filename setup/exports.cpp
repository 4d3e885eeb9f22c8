#include <QApplication>
#include <memory>

#include "handheld/shell/desktop_frame.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "setup/language_dialog.h"
#include "setup/pravon.h"

using namespace handheld;

InstallInitResult Install_Init(HWND, BOOL, BOOL, LPCWSTR) {
    return kInstallInitContinue;
}

InstallExitResult Install_Exit(HWND, LPCWSTR installFolder, WORD, WORD, WORD, WORD, WORD) {
    if (QApplication::instance() == nullptr || installFolder == nullptr) {
        HH_TRACE("setup", "Install_Exit needs the installer's application object and folder; no language chosen");
        return kInstallExitDone;
    }
    // The dialog has no owner; it is shown on the handheld's screen, which an installer without one gets here.
    std::unique_ptr<DesktopFrame> frame;
    QWidget* screen = CurrentScreen();
    if (screen == nullptr) {
        frame = std::make_unique<DesktopFrame>();
        frame->show();
        screen = frame->Screen();
    }
    pravon::LanguageDialog dialog(std::u16string_view(installFolder, WideLength(installFolder)), screen);
    dialog.Run();
    return kInstallExitDone;
}

InstallInitResult Uninstall_Init(HWND, LPCWSTR) {
    return kInstallInitContinue;
}

InstallExitResult Uninstall_Exit(HWND) {
    return kInstallExitDone;
}
