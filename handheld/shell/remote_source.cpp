#include "handheld/shell/remote_source.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <deque>
#include <fstream>

#include "handheld/soc/remote_signal.h"
#include "handheld/soc/simulation.h"

namespace handheld {

namespace {

std::deque<soc::RemoteSignal>& Pointed() {
    static std::deque<soc::RemoteSignal> pointed;
    return pointed;
}

constexpr std::uint32_t kStartDelayTicks = soc::kOscrHz / 1000;  // 1 ms after the learn starts listening

}  // namespace

bool PointRemote(const std::string& hostPath, std::string* error) {
    std::ifstream in(hostPath);
    if (!in) {
        if (error != nullptr) *error = "cannot read " + hostPath;
        return false;
    }
    std::deque<soc::RemoteSignal> read;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        soc::RemoteSignal signal;
        std::string reason;
        if (!soc::ParseRemoteSignal(line, signal, &reason)) {
            if (error != nullptr) *error = hostPath + " line " + std::to_string(number) + ": " + reason;
            return false;
        }
        read.push_back(std::move(signal));
    }
    Pointed() = std::move(read);
    return true;
}

void PlayNextRemoteSignal() {
    if (Pointed().empty()) {
        soc::ClearLearningSource();
        return;
    }
    soc::SetLearningSource(Pointed().front(), kStartDelayTicks);
    Pointed().pop_front();
}

std::size_t RemoteSignalsLeft() {
    return Pointed().size();
}

void AddPointRemoteCommand(QWidget* frame) {
    auto* point = new QAction(QStringLiteral("Point a remote..."), frame);
    point->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    point->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(point, &QAction::triggered, frame, [frame] {
        const QString file =
            QFileDialog::getOpenFileName(frame, QStringLiteral("Point a remote at the handheld"), {},
                                         QStringLiteral("Remote signals (*.json *.jsonl);;All files (*)"));
        if (file.isEmpty()) return;
        std::string error;
        if (!PointRemote(file.toStdString(), &error)) {
            QMessageBox::warning(frame, QStringLiteral("Point a remote"), QString::fromStdString(error));
        }
    });
    frame->addAction(point);
}

}  // namespace handheld
