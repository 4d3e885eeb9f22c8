// Orvane: the universal remote control on the handheld. "--handheld DIR" chooses the handheld's folder,
// "--zoom N" how large its screen is shown, "--bare" shows the screen alone at 1:1 (with "--fullscreen"
// filling the display), "--ir-log FILE" appends every code sent to FILE as a JSON line, "--remote FILE" the
// remote pointed at it to learn from.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ir/learning.h"
#include "app/shell/gui/program.h"
#include "handheld/home.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/remote_source.h"
#include "tools/orvane_install/package.h"

namespace {

// Takes the program's own options out of argv; false (with a message) for one missing its value.
bool TakeProgramOptions(int& argc, char** argv, ProgramOptions& options) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bare") == 0) {
            options.bare = true;
        } else if (std::strcmp(argv[i], "--fullscreen") == 0) {
            options.fullScreen = true;
        } else if (std::strcmp(argv[i], "--ir-log") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "orvane: --ir-log takes a file name\n");
                return false;
            }
            options.irLogPath = argv[++i];
        } else if (std::strncmp(argv[i], "--ir-log=", 9) == 0) {
            options.irLogPath = argv[i] + 9;
        } else {
            argv[out++] = argv[i];
        }
    }
    argc = out;
    argv[argc] = nullptr;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ProgramOptions options;
    if (!TakeProgramOptions(argc, argv, options)) return 2;
    const auto home = handheld::TakeHandheldOption(argc, argv);
    handheld::TakeZoomOption(argc, argv);
    // The bare screen is the display's own pixels.
    if (options.bare) setenv("QT_SCALE_FACTOR", "1", 1);
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
    return RunProgram(options);
}
