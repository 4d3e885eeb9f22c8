// Orvane: the universal remote control on the handheld. "--handheld DIR" chooses the handheld's folder,
// "--zoom N" how large its screen is shown.
#include <QApplication>
#include <cstdio>

#include "app/shell/gui/program.h"
#include "handheld/home.h"
#include "handheld/shell/desktop_frame.h"
#include "tools/orvane_install/package.h"

int main(int argc, char** argv) {
    const auto home = handheld::TakeHandheldOption(argc, argv);
    handheld::TakeZoomOption(argc, argv);
    QApplication application(argc, argv);
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
