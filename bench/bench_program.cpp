// The program as a user meets it, on a fresh handheld home with the demo devices and the real-time clock:
// cold start (RunProgram called) to the first painted panel, and a tap on a panel button to the first edge
// of the transmit pin, less any sleep the send itself asked for before that edge. Prints the figures.
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ir/send_command.h"
#include "app/shell/gui/main_window.h"
#include "app/shell/gui/program.h"
#include "handheld/home.h"
#include "handheld/input.h"
#include "handheld/soc/simulation.h"
#include "tools/orvane_install/package.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Time of the first edge after being armed.
class FirstEdge : public handheld::soc::EdgeObserver {
public:
    void Arm() {
        seen_.store(false);
        sleptMs_ = 0;
    }
    void OnEdge(const handheld::soc::PinEdge&) override {
        if (!seen_.exchange(true)) at_ = Clock::now();
    }
    bool Seen() const { return seen_.load(); }
    Clock::time_point At() const { return at_; }
    std::uint32_t sleptMs_ = 0;

private:
    std::atomic<bool> seen_{false};
    Clock::time_point at_;
};

// Counts the sleeps the sender asks for before the first edge.
class SleepsBeforeFirstEdge : public SendMonitor {
public:
    explicit SleepsBeforeFirstEdge(FirstEdge& edge) : edge_(edge) {}
    void OnSleep(std::uint32_t ms) override {
        if (!edge_.Seen()) edge_.sleptMs_ += ms;
    }
    void OnCodeStart(const IrCode&) override {}
    void OnPassEnd() override {}
    void OnCodeEnd() override {}

private:
    FirstEdge& edge_;
};

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            at = Clock::now();
        }
        return false;
    }
    bool painted = false;
    Clock::time_point at;
};

void Print(const char* what, std::vector<double> ms, const char* goal) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s runs %2zu  min %8.3f ms  median %8.3f ms  max %8.3f ms  (goal %s)\n", what, ms.size(),
                ms.front(), ms[ms.size() / 2], ms.back(), goal);
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_SCALE_FACTOR", "1", 1);
    QApplication application(argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    const std::filesystem::path home = pattern;
    std::filesystem::remove(home);
    std::string reason;
    if (!handheld::OpenHome(home, &reason) || !orvane_install::InstallProgramIfMissing(home, &reason)) {
        std::fprintf(stderr, "bench_program: cannot prepare a handheld home: %s\n", reason.c_str());
        return 1;
    }
    handheld::soc::SetTimerClock(handheld::TimerClock::RealTime);
    // The stylus is let go at once: each tap sends its code's two guaranteed passes.
    handheld::SetKeyStateScript([](int) { return false; });

    constexpr int kStarts = 7;
    constexpr int kTaps = 15;
    std::vector<double> startMs, tapMs;
    FirstEdge edge;
    SleepsBeforeFirstEdge sleeps(edge);
    handheld::soc::AddEdgeObserver(&edge);
    for (int run = 0; run < kStarts; ++run) {
        TheAppState() = AppState{};
        FirstPaint paint;
        ProgramOptions options;
        options.qtMessageBoxes = false;
        const bool measureTaps = run == kStarts - 1;
        options.started = [&](MainWindow& window) {
            window.Panel()->installEventFilter(&paint);
            QTest::qWaitFor([&] { return paint.painted; }, 5000);
            if (measureTaps) {
                SendMonitor* previous = SetSendMonitor(&sleeps);
                const FaceButton* button = window.Panels().mainPanel.FindButton(u"PW");
                const QPoint at(button->x + button->width / 2, button->y + button->height / 2);
                for (int tap = 0; tap < kTaps; ++tap) {
                    edge.Arm();
                    const auto start = Clock::now();
                    QTest::mousePress(window.Panel(), Qt::LeftButton, {}, at);
                    if (edge.Seen()) tapMs.push_back(Ms(edge.At() - start) - edge.sleptMs_);
                    QTest::mouseRelease(window.Panel(), Qt::LeftButton, {}, at);
                }
                SetSendMonitor(previous);
            }
            window.RunCommand(kCommandExit);
        };
        const auto start = Clock::now();
        RunProgram(options);
        if (paint.painted) startMs.push_back(Ms(paint.at - start));
    }
    handheld::soc::RemoveEdgeObserver(&edge);
    if (startMs.empty() || tapMs.empty()) {
        std::fprintf(stderr, "bench_program: no panel painted or no edge seen\n");
        return 1;
    }
    std::printf("%-44s %8.3f ms (fonts, libraries and Qt's first window included)\n",
                "first start in this process to painted panel", startMs.front());
    Print("start to first painted panel", startMs, "< 200 ms");
    Print("tap to first IR edge, less requested sleeps", tapMs, "< 2 ms");
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return 0;
}
