// orvanectl ir send / ir learn: the driver on a simulated handheld in virtual time, so that what a code puts
// on the transmit pin, or what the driver learns from a remote, can be seen without a handheld.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/irdriver/lumbra.h"
#include "handheld/profile.h"
#include "handheld/soc/remote_signal.h"
#include "handheld/soc/simulation.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/decode_command.h"
#include "tools/orvanectl/emission_output.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage =
    "ir send --carrier P --durations D1,D2,... [--repeat-start R] [--passes N] [--processor NAME] [--json]\n"
    "       orvanectl ir learn --from SIGNAL.json [--no-analyse] [--processor NAME] [--json]\n"
    "       orvanectl ir decode (--from SIGNAL.json | --pronto \"0000 006D ...\" | --device DEVICE --button NAME) "
    "[--json]";
constexpr std::size_t kEdgeCapacity = 4'000'000;
constexpr int kMaxPasses = 1000;
constexpr std::uint32_t kRemoteStartDelayTicks = 3686;  // the remote starts 1 ms after the learn

bool ParseInt(std::string_view text, long long low, long long high, long long& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

// The processor of this run (the profile's unless named) and virtual time.
void PrepareHandheld(const std::string& processor) {
    handheld::HandheldProfile profile = handheld::Profile();
    if (!processor.empty()) profile.processorName = handheld::FromUtf8(processor);
    profile.timerClock = handheld::TimerClock::Virtual;
    handheld::SetProfile(profile);
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
}

// The send callback: asks for passes until the requested number is reached, noting where each pass ended.
struct PassLog {
    int passesWanted = 1;
    std::vector<std::size_t> edgesAtEnd;
    const handheld::soc::EdgeBuffer* edges = nullptr;
};
PassLog gPassLog;

int NextPass() {
    gPassLog.edgesAtEnd.push_back(gPassLog.edges->Edges().size());
    return static_cast<int>(gPassLog.edgesAtEnd.size()) >= gPassLog.passesWanted ? 1 : 0;
}

int RunSend(std::vector<std::string>& args) {
    const bool json = HasFlag(args, "--json");
    std::string carrierText, durationsText, repeatText = "0", passesText = "1", processor;
    if (!TakeOption(args, "--carrier", carrierText) || !TakeOption(args, "--durations", durationsText)) {
        return UsageError(kUsage);
    }
    TakeOption(args, "--repeat-start", repeatText);
    TakeOption(args, "--passes", passesText);
    TakeOption(args, "--processor", processor);
    if (args.size() != 1) return UsageError(kUsage);

    IrCode code{};
    long long value = 0;
    if (!ParseInt(carrierText, 1, 255, value)) {
        std::fprintf(stderr, "orvanectl: --carrier must be a period of 1 to 255 microseconds\n");
        return 2;
    }
    code.carrier = static_cast<std::int32_t>(value);
    std::string_view rest = durationsText;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        if (code.count == kIrCodeMaxDurations || !ParseInt(item, INT32_MIN, INT32_MAX, value)) {
            std::fprintf(stderr, "orvanectl: --durations takes up to %d whole numbers of microseconds\n",
                         kIrCodeMaxDurations);
            return 2;
        }
        code.durations[code.count++] = static_cast<std::int32_t>(value);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (!ParseInt(repeatText, 0, kIrCodeMaxDurations, value)) {
        std::fprintf(stderr, "orvanectl: --repeat-start must be from 0 to %d\n", kIrCodeMaxDurations);
        return 2;
    }
    code.repeatStart = static_cast<std::int32_t>(value);
    if (!ParseInt(passesText, 1, kMaxPasses, value)) {
        std::fprintf(stderr, "orvanectl: --passes must be from 1 to %d\n", kMaxPasses);
        return 2;
    }

    PrepareHandheld(processor);
    handheld::soc::EdgeBuffer edges(kEdgeCapacity);
    handheld::soc::AddEdgeObserver(&edges);
    gPassLog = PassLog{static_cast<int>(value), {}, &edges};
    CLumbra* driver = CLumbra::Instance();
    if (driver == nullptr) {
        std::fprintf(stderr, "orvanectl: the driver could not be created\n");
        return 1;
    }
    const std::string backend = handheld::ToUtf8(driver->Version());
    driver->Send(&code, &NextPass);
    CLumbra::Destroy();
    handheld::soc::RemoveEdgeObserver(&edges);
    if (edges.Dropped() > 0) {
        std::fprintf(stderr, "orvanectl: %zu edges beyond the record were not kept\n", edges.Dropped());
    }

    const auto all = edges.Edges();
    JsonWriter out;
    out.BeginObject().Field("backend", backend).Field("tick_hz", handheld::soc::kOscrHz).Key("passes").BeginArray();
    if (!json) std::printf("backend %s, %zu pass(es)\n", backend.c_str(), gPassLog.edgesAtEnd.size());
    std::size_t from = 0;
    for (std::size_t pass = 0; pass < gPassLog.edgesAtEnd.size(); ++pass) {
        const std::size_t to = std::min(gPassLog.edgesAtEnd[pass], all.size());
        const auto passEdges = all.subspan(from, to - from);
        from = to;
        if (json)
            WritePassJson(out, passEdges, code.carrier);
        else
            PrintPassText(pass + 1, passEdges, code.carrier, "");
    }
    out.EndArray().EndObject();
    if (json) std::printf("%s\n", out.Text().c_str());
    return 0;
}

int RunLearn(std::vector<std::string>& args) {
    const bool json = HasFlag(args, "--json");
    const bool analyse = !HasFlag(args, "--no-analyse");
    std::string from, processor;
    if (!TakeOption(args, "--from", from)) return UsageError(kUsage);
    TakeOption(args, "--processor", processor);
    if (args.size() != 1) return UsageError(kUsage);

    std::ifstream in(from, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", from.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    handheld::soc::RemoteSignal signal;
    std::string error;
    if (!handheld::soc::ParseRemoteSignal(text, signal, &error)) {
        std::fprintf(stderr, "orvanectl: %s: %s\n", from.c_str(), error.c_str());
        return 1;
    }

    PrepareHandheld(processor);
    handheld::soc::SetLearningSource(signal, kRemoteStartDelayTicks);
    CLumbra* driver = CLumbra::Instance();
    if (driver == nullptr) {
        std::fprintf(stderr, "orvanectl: the driver could not be created\n");
        return 1;
    }
    IrCode code{};
    driver->Learn(&code, analyse);
    CLumbra::Destroy();
    handheld::soc::ClearLearningSource();

    if (json) {
        JsonWriter out;
        out.BeginObject()
            .Field("carrier", code.carrier & 0xFF)
            .Field("count", code.count)
            .Field("repeatStart", code.repeatStart)
            .Key("durations")
            .BeginArray();
        for (int i = 0; i < code.count; ++i) out.Number(std::int64_t{code.durations[i]});
        out.EndArray().EndObject();
        std::printf("%s\n", out.Text().c_str());
    } else {
        std::printf("carrier %d us, %d durations, repeat from %d\n", code.carrier & 0xFF, code.count, code.repeatStart);
        for (int i = 0; i < code.count; ++i) std::printf("%s%d", i == 0 ? "" : ",", code.durations[i]);
        std::printf("\n");
    }
    if (code.count == 0) {
        std::fprintf(stderr, "orvanectl: no signal learned\n");
        return 1;
    }
    return 0;
}

int RunIr(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    if (args.empty()) return UsageError(kUsage);
    if (args[0] == "send") return RunSend(args);
    if (args[0] == "learn") return RunLearn(args);
    if (args[0] == "decode") return RunIrDecode(args);
    return UsageError(kUsage);
}

const OrvaneCommand kIrCommand("ir", kUsage, RunIr);

}  // namespace
}  // namespace orvanectl
