// orvane-ccf FILE: browses a CCF file on the desktop, in the handheld's screen, with the viewer's control
// strip, sending through the simulated handheld. "--handheld DIR" chooses the handheld's folder, "--zoom N"
// how large its screen is shown, "--bare" leaves the strip out, "--ir-log FILE" writes every edge of the
// transmit pin to FILE. FILE is a host file (copied into the handheld's \Temp folder, where the viewer
// maps it) or a handheld path starting with a backslash.
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "ccf/api/tessaly.h"
#include "handheld/home.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/hwnd.h"
#include "handheld/soc/simulation.h"
#include "handheld/text.h"

namespace {

// Takes "--name VALUE" or "--name=VALUE" out of argv.
bool TakeValue(int& argc, char** argv, const char* name, std::string& value) {
    const std::size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        int used = 0;
        if (std::strcmp(argv[i], name) == 0 && i + 1 < argc) {
            value = argv[i + 1];
            used = 2;
        } else if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            value = argv[i] + length + 1;
            used = 1;
        } else {
            continue;
        }
        for (int j = i; j + used <= argc; ++j) argv[j] = argv[j + used];
        argc -= used;
        return true;
    }
    return false;
}

bool TakeFlag(int& argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) != 0) continue;
        for (int j = i; j < argc; ++j) argv[j] = argv[j + 1];
        --argc;
        return true;
    }
    return false;
}

// Every edge of the transmit pin as "tick level", one a line.
class IrLog : public handheld::soc::EdgeObserver {
public:
    explicit IrLog(const std::string& path) : out_(path) {}
    bool IsOpen() const { return out_.is_open(); }
    void OnEdge(const handheld::soc::PinEdge& edge) override {
        out_ << edge.tick << ' ' << int(edge.level) << '\n';
        out_.flush();
    }

private:
    std::ofstream out_;
};

// The handheld path the viewer opens: a handheld path as given, a host file copied into \Temp.
std::u16string HandheldPathOf(const std::string& argument, std::string& error) {
    if (!argument.empty() && argument.front() == '\\') return handheld::FromUtf8(argument);
    const std::filesystem::path host(argument);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec)) {
        error = "no such file";
        return {};
    }
    const std::u16string path = u"\\Temp\\" + host.filename().u16string();
    const auto target = handheld::HostPath(path);
    if (!target) {
        error = "the handheld has no place for it";
        return {};
    }
    std::filesystem::create_directories(target->parent_path(), ec);
    if (!std::filesystem::copy_file(host, *target, std::filesystem::copy_options::overwrite_existing, ec)) {
        error = ec.message();
        return {};
    }
    return path;
}

QWidget* gFrame = nullptr;

void ShowDeviceInTitle(const char16_t* name) {
    if (gFrame) gFrame->setWindowTitle(QStringLiteral("orvane-ccf: ") + QString::fromUtf16(name));
}

}  // namespace

int main(int argc, char** argv) {
    const auto home = handheld::TakeHandheldOption(argc, argv);
    handheld::TakeZoomOption(argc, argv);
    const bool bare = TakeFlag(argc, argv, "--bare");
    std::string irLogPath;
    TakeValue(argc, argv, "--ir-log", irLogPath);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-ccf [--handheld DIR] [--zoom N] [--bare] [--ir-log FILE] FILE\n");
        return 2;
    }
    QApplication application(argc, argv);
    std::string reason;
    if (!handheld::OpenHome(home, &reason)) {
        std::fprintf(stderr, "orvane-ccf: cannot use the handheld at %s: %s\n", home.c_str(), reason.c_str());
        return 1;
    }
    const std::u16string path = HandheldPathOf(argv[1], reason);
    if (path.empty()) {
        std::fprintf(stderr, "orvane-ccf: cannot open %s: %s\n", argv[1], reason.c_str());
        return 1;
    }
    std::unique_ptr<IrLog> irLog;
    if (!irLogPath.empty()) {
        irLog = std::make_unique<IrLog>(irLogPath);
        if (!irLog->IsOpen() || !handheld::soc::AddEdgeObserver(irLog.get())) {
            std::fprintf(stderr, "orvane-ccf: cannot write %s\n", irLogPath.c_str());
            return 1;
        }
    }

    handheld::DesktopFrame frame;
    gFrame = &frame;
    QWidget parent(frame.Screen());
    parent.setGeometry(0, 0, 240, 320);
    parent.setAutoFillBackground(true);
    parent.setPalette(QPalette(Qt::white));
    CCFSetChangeDeviceCallback(ShowDeviceInTitle);
    if (!CCFInitUI(handheld::ToHwnd(&parent), path.c_str(), bare ? 0 : 1)) {
        std::fprintf(stderr, "orvane-ccf: %s is not a CCF file the viewer can open\n", argv[1]);
        return 1;
    }
    frame.show();
    const int result = application.exec();
    CCFDeinitUI();
    CCFSetChangeDeviceCallback(nullptr);
    if (irLog) handheld::soc::RemoveEdgeObserver(irLog.get());
    return result;
}
