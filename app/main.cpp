// Orvane: the universal remote control on the handheld. "--handheld DIR" chooses the handheld's folder,
// "--zoom N" how large its screen is shown, "--remote FILE" the remote pointed at it to learn from.
#include <QApplication>
#include <cstdio>

#include "app/ir/learning.h"
#include "app/shell/gui/program.h"
#include "handheld/home.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/remote_source.h"
#include "tools/orvane_install/package.h"

int main(int argc, char** argv) {
    const auto home = handheld::TakeHandheldOption(argc, argv);
    handheld::TakeZoomOption(argc, argv);
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--remote")); at >= 0) {
        std::string error;
        if (at + 1 >= arguments.size() || !handheld::PointRemote(arguments[at + 1].toStdString(), &error)) {
            std::fprintf(stderr, "orvane: --remote FILE: %s\n", error.empty() ? "no file given" : error.c_str());
            return 1;
        }
    }
    SetBeforeLearnHook(handheld::PlayNextRemoteSignal);
    std::string reason;
    if (!handheld::OpenHome(home, &reason)) {
        std::fprintf(stderr, "orvane: cannot use the handheld at %s: %s\n", home.c_str(), reason.c_str());
        return 1;
    }
    if (!orvane_install::InstallProgramIfMissing(home, &reason)) {
        std::fprintf(stderr, "orvane: cannot install the program on the handheld at %s: %s\n", home.c_str(),
                     reason.c_str());
        return 1;
    }
    return RunProgram();
}
