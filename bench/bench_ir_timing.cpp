// How exactly the driver times IR on the simulated handheld. Prints:
//  - virtual time: the largest edge error in ticks over a set of codes, against the driver's own tick formula
//    (half period = period x 1.8432, pause = duration x 3.6864, both truncated), for three read costs;
//  - the same edges against the codes' exact microseconds (what the tick formula itself gives away);
//  - real time (host steady clock): median, 99th percentile and largest edge error in microseconds;
//  - learning in virtual time: the largest learned-duration error against the source.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/irdriver/ir_driver_generic.h"
#include "handheld/home.h"
#include "handheld/messagebox.h"
#include "handheld/profile.h"
#include "handheld/soc/remote_signal.h"
#include "handheld/soc/simulation.h"
#include "handheld/text.h"
#include "tests/support/ir_frames.h"

namespace {

namespace soc = handheld::soc;

struct NamedSignal {
    std::string name;
    soc::RemoteSignal signal;
};

std::vector<NamedSignal> Signals() {
    std::vector<NamedSignal> signals = {
        {"pulse distance 38 kHz", {38000, orvane_test::PulseDistanceFrame(0x20DF10EF), 1}},
        {"pulse distance 36 kHz", {36000, orvane_test::PulseDistanceFrame(0x00FF00FF), 1}},
        {"biphase 36 kHz", {36000, {889, -889, 889, -889, 1778, -1778, 889, -889, 889, -889, 1778, -889, 889}, 1}},
        {"pulse width 40 kHz", {40000, {2400, -600, 1200, -600, 600, -600, 1200, -600, 600, -600, 600, -600, 1200}, 1}},
        {"56 kHz", {56000, {500, -500, 1000, -500, 500, -1500, 500, -500, 500}, 1}},
    };
    const std::filesystem::path captures =
        std::filesystem::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata" / "ir" / "signals.jsonl";
    std::ifstream in(captures);
    std::string line;
    while (std::getline(in, line)) {
        soc::RemoteSignal signal;
        if (!line.empty() && soc::ParseRemoteSignal(line, signal, nullptr)) {
            while (!signal.durationsUs.empty() && signal.durationsUs.back() < 0) signal.durationsUs.pop_back();
            if (signal.durationsUs.size() > static_cast<std::size_t>(kIrCodeMaxDurations)) {
                signal.durationsUs.resize(kIrCodeMaxDurations);
            }
            signals.push_back({"capture", signal});
        }
    }
    return signals;
}

IrCode CodeOf(const soc::RemoteSignal& signal) {
    IrCode code{};
    code.carrier = static_cast<std::int32_t>(1e6 / signal.carrierHz);
    for (const std::int32_t d : signal.durationsUs) code.durations[code.count++] = d;
    return code;
}

// Ideal edge times relative to the first rise: by the driver's tick formula (integer) and by the code's
// exact microseconds (fractional ticks).
void IdealEdges(const IrCode& code, std::vector<double>& formula, std::vector<double>& exact) {
    const int periodUs = code.carrier & 0xFF;
    const double halfFormula = std::floor(periodUs * 1.8432);
    const double halfExact = periodUs * 1.8432;
    double tf = 0, te = 0;
    formula.clear();
    exact.clear();
    for (int i = 0; i < code.count; ++i) {
        const std::int32_t v = code.durations[i];
        if (v >= 0) {
            for (int c = 0; c < v / periodUs + 1; ++c) {
                formula.push_back(tf);
                formula.push_back(tf + halfFormula);
                exact.push_back(te);
                exact.push_back(te + halfExact);
                tf += 2 * halfFormula;
                te += 2 * halfExact;
            }
        } else {
            tf += std::floor(-v * 3.6864);
            te += -v * 3.6864;
        }
    }
}

struct EdgeErrors {
    std::vector<double> againstFormula;          // ticks
    std::vector<double> againstExact;            // ticks
    std::vector<double> intervalAgainstFormula;  // ticks: each edge against the one before it
    std::size_t edges = 0;
    bool countMismatch = false;
};

void SendAndCompare(const IrCode& code, soc::EdgeBuffer& edges, EdgeErrors& errors) {
    edges.Clear();
    IrCode copy = code;
    CLumbra::Instance()->Send(&copy, nullptr);
    std::vector<double> formula, exact;
    IdealEdges(code, formula, exact);
    const auto recorded = edges.Edges();
    if (recorded.size() != formula.size()) {
        errors.countMismatch = true;
        return;
    }
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        const double at = static_cast<double>(recorded[i].tick - recorded[0].tick);
        errors.againstFormula.push_back(std::fabs(at - formula[i]));
        errors.againstExact.push_back(std::fabs(at - exact[i]));
        if (i > 0) {
            const double interval = static_cast<double>(recorded[i].tick - recorded[i - 1].tick);
            errors.intervalAgainstFormula.push_back(std::fabs(interval - (formula[i] - formula[i - 1])));
        }
    }
    errors.edges += recorded.size();
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::min(values.size() - 1.0, std::floor(fraction * values.size())));
    return values[index];
}

void UseProcessor(const char16_t* name, handheld::TimerClock clock) {
    CLumbra::Destroy();
    handheld::HandheldProfile profile = handheld::Profile();
    profile.processorName = name;
    profile.timerClock = clock;
    handheld::SetProfile(profile);
    soc::SetTimerClock(clock);
}

}  // namespace

int main(int argc, char** argv) {
    // A throw-away handheld unless one is named with --handheld.
    const int argcGiven = argc;
    const auto named = handheld::TakeHandheldOption(argc, argv);
    const bool ownHome = argc == argcGiven;
    std::string reason;
    const auto temporary = std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(getpid()));
    if (!handheld::OpenHome(ownHome ? temporary : named, &reason)) {
        std::fprintf(stderr, "cannot open the handheld home: %s\n", reason.c_str());
        return 1;
    }
    handheld::SetMessageBoxPresenter([](const handheld::MessageBoxRequest&) { return handheld::IDOK; });
    const std::vector<NamedSignal> signals = Signals();
    soc::EdgeBuffer edges(2'000'000);
    soc::AddEdgeObserver(&edges);
    std::printf("IR timing on the simulated handheld: %zu codes (%zu synthetic, %zu captures)\n", signals.size(),
                std::size_t{5}, signals.size() - 5);

    // Virtual time, three read costs.
    std::printf("\nvirtual time: edge error against the driver's tick formula, and against exact microseconds\n");
    for (const char16_t* processor : {u"PXA255", u"SA1110"}) {
        for (const std::uint32_t step : {1u, 2u, 4u}) {
            UseProcessor(processor, handheld::TimerClock::Virtual);
            soc::SetVirtualStep(step);
            EdgeErrors errors;
            const auto started = std::chrono::steady_clock::now();
            const std::uint64_t ticksBefore = soc::ElapsedTicks();
            for (const auto& named : signals) SendAndCompare(CodeOf(named.signal), edges, errors);
            const double hostSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const double simulatedSeconds = static_cast<double>(soc::ElapsedTicks() - ticksBefore) / soc::kOscrHz;
            std::printf(
                "  %-6s read cost %.2f tick: %zu edges, largest error %.0f ticks (formula), %.2f ticks (exact)%s; "
                "%.2f s simulated in %.2f s\n",
                handheld::ToUtf8(processor).c_str(), step / static_cast<double>(soc::kSubTicksPerTick), errors.edges,
                Percentile(errors.againstFormula, 1.0), Percentile(errors.againstExact, 1.0),
                errors.countMismatch ? " EDGE COUNT MISMATCH" : "", simulatedSeconds, hostSeconds);
        }
    }
    soc::SetVirtualStep(1);

    // Real time: the host's steady clock behind OSCR.
    UseProcessor(u"PXA255", handheld::TimerClock::RealTime);
    EdgeErrors real;
    constexpr int kRealRounds = 3;
    for (int round = 0; round < kRealRounds; ++round) {
        for (std::size_t i = 0; i < 5; ++i) SendAndCompare(CodeOf(signals[i].signal), edges, real);
    }
    std::vector<double> realUs, realIntervalUs;
    for (const double ticks : real.againstFormula) realUs.push_back(ticks / 3.6864);
    for (const double ticks : real.intervalAgainstFormula) realIntervalUs.push_back(ticks / 3.6864);
    std::printf("\nreal time (%d rounds of the 5 synthetic codes, %zu edges)%s\n", kRealRounds, real.edges,
                real.countMismatch ? " EDGE COUNT MISMATCH" : "");
    std::printf(
        "  edge against its ideal place from the code's first edge: median %.2f us, 99th percentile %.2f us, "
        "largest %.2f us\n",
        Percentile(realUs, 0.5), Percentile(realUs, 0.99), Percentile(realUs, 1.0));
    std::printf(
        "  edge against its ideal distance from the edge before:   median %.2f us, 99th percentile %.2f us, "
        "largest %.2f us\n",
        Percentile(realIntervalUs, 0.5), Percentile(realIntervalUs, 0.99), Percentile(realIntervalUs, 1.0));

    // Learning in virtual time.
    UseProcessor(u"PXA255", handheld::TimerClock::Virtual);
    double largestUs = 0, largestPeriods = 0, firstBurstLargestUs = 0;
    int learned = 0, countMismatches = 0;
    for (const auto& named : signals) {
        soc::SetLearningSource(named.signal, 1000);
        IrCode code{};
        CLumbra::Instance()->Learn(&code, false);
        const double periodUs = 1e6 / named.signal.carrierHz;
        if (code.count != static_cast<int>(named.signal.durationsUs.size())) ++countMismatches;
        const int n = std::min<int>(code.count, static_cast<int>(named.signal.durationsUs.size()));
        for (int i = 0; i < n; ++i) {
            const double expected = named.signal.durationsUs[i] - (i == 0 ? 3 * periodUs : 0);
            const double error = std::fabs(code.durations[i] - expected);
            if (i == 0) firstBurstLargestUs = std::max(firstBurstLargestUs, error);
            largestUs = std::max(largestUs, error);
            largestPeriods = std::max(largestPeriods, error / periodUs);
        }
        ++learned;
    }
    std::printf(
        "\nlearning (%d codes, virtual time): largest learned-duration error %.1f us (%.2f carrier periods); "
        "first burst after its three measuring periods: %.1f us; %d codes learned with another length\n",
        learned, largestUs, largestPeriods, firstBurstLargestUs, countMismatches);

    CLumbra::Destroy();
    soc::RemoveEdgeObserver(&edges);
    if (ownHome) std::filesystem::remove_all(temporary);
    return 0;
}
