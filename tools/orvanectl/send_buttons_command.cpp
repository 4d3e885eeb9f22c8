// orvanectl send: taps buttons of a device stored on the simulated handheld, in virtual time, and prints
// what the program did in order: sounds, sleeps, each code with what the transmit pin emitted, the LED.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ir/send_command.h"
#include "app/model/configuration.h"
#include "app/shell/app_state.h"
#include "app/shell/language_table.h"
#include "handheld/devices.h"
#include "handheld/input.h"
#include "handheld/led.h"
#include "handheld/profile.h"
#include "handheld/soc/simulation.h"
#include "handheld/sound.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/emission_output.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage = "send [--hold PASSES] [--json] DEVICE BUTTON [BUTTON...]";
constexpr std::size_t kEdgeCapacity = 8'000'000;
constexpr int kMaxHeldPasses = 10000;

const char* LedStateName(int state) {
    switch (state) {
        case handheld::LED_OFF:
            return "off";
        case handheld::LED_ON:
            return "on";
        case handheld::LED_BLINK:
            return "blink";
        default:
            return "unknown";
    }
}

// Collects the events of the whole run as one JSON array, or prints them as text as they come.
class EventLog : public SendMonitor {
public:
    EventLog(bool json, handheld::soc::EdgeBuffer& edges) : json_(json), edges_(edges) { out_.BeginArray(); }

    void OnSleep(std::uint32_t milliseconds) override {
        ++events_;
        if (json_)
            out_.BeginObject().Field("sleep_ms", milliseconds).EndObject();
        else
            std::printf("sleep %u ms\n", milliseconds);
    }
    void OnCodeStart(const IrCode& code) override {
        ++events_;
        carrierPeriodUs_ = code.carrier & 0xFF;
        passEnds_.clear();
        codeStart_ = edges_.Edges().size();
        if (!json_) {
            std::printf("send: carrier %d us, %d durations, repeat from %d\n", carrierPeriodUs_, code.count,
                        code.repeatStart);
        }
    }
    void OnPassEnd() override { passEnds_.push_back(edges_.Edges().size()); }
    void OnCodeEnd() override {
        const auto all = edges_.Edges();
        if (json_) out_.BeginObject().Key("send").BeginObject().Key("passes").BeginArray();
        std::size_t from = codeStart_;
        for (std::size_t pass = 0; pass < passEnds_.size(); ++pass) {
            const std::size_t to = std::min(passEnds_[pass], all.size());
            const auto passEdges = all.subspan(from, to - from);
            from = to;
            if (json_)
                WritePassJson(out_, passEdges, carrierPeriodUs_);
            else
                PrintPassText(pass + 1, passEdges, carrierPeriodUs_, "  ");
        }
        if (passEnds_.empty() && !json_) std::printf("  nothing sent (no IR port)\n");
        if (json_) out_.EndArray().EndObject().EndObject();
        // Each code's edges are printed once; dropping them keeps long runs inside the record.
        edges_.Clear();
    }
    void OnSound(std::u16string_view path, bool decoded) {
        ++events_;
        if (json_)
            out_.BeginObject().Field("sound", path).EndObject();
        else
            std::printf("sound %s%s\n", handheld::ToUtf8(path).c_str(), decoded ? "" : " (can't be played)");
    }
    void OnLed(const handheld::NLED_SETTINGS_INFO& settings) {
        ++events_;
        if (json_) {
            out_.BeginObject().Key("led").BeginObject().Field("index", settings.LedNum);
            out_.Field("state", LedStateName(settings.OffOnBlink)).EndObject().EndObject();
        } else {
            std::printf("led %u %s\n", settings.LedNum, LedStateName(settings.OffOnBlink));
        }
    }

    std::size_t EventCount() const { return events_; }

    std::string Finish() {
        out_.EndArray();
        return "{\"events\":" + out_.Text() + "}";
    }

private:
    bool json_;
    handheld::soc::EdgeBuffer& edges_;
    JsonWriter out_;
    int carrierPeriodUs_ = 0;
    std::size_t codeStart_ = 0;
    std::vector<std::size_t> passEnds_;
    std::size_t events_ = 0;
};

int RunSend(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool json = HasFlag(args, "--json");
    std::string holdText = "0";
    TakeOption(args, "--hold", holdText);
    int heldPasses = 0;
    try {
        std::size_t used = 0;
        heldPasses = std::stoi(holdText, &used);
        if (used != holdText.size() || heldPasses < 0 || heldPasses > kMaxHeldPasses) throw std::out_of_range("hold");
    } catch (const std::exception&) {
        std::fprintf(stderr, "orvanectl: --hold takes a number of passes from 0 to %d\n", kMaxHeldPasses);
        return 2;
    }
    if (args.size() < 2) return UsageError(kUsage);

    // The program's start-up as far as sending needs it, on a handheld in virtual time.
    handheld::HandheldProfile profile = handheld::Profile();
    profile.timerClock = handheld::TimerClock::Virtual;
    handheld::SetProfile(profile);
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
    handheld::SetAudioOutputEnabled(false);
    LanguageTable::Instance().LoadLanguageFile(GetProgramFolder() + u"\\Orvane.lng");
    AppState& app = TheAppState();
    ApplicationSettings settings;
    ReadConfiguration(settings, nullptr);
    app.shownDevices = settings.shownDevices;
    app.portName = settings.portName;
    app.currentDevice = handheld::FromUtf8(args[0]);
    const std::u16string path = GetProgramFolder() + u"\\Devices\\" + app.currentDevice + u".kdr";
    if (!app.device.Load(path, false)) {
        std::fprintf(stderr, "orvanectl: cannot read the device file %s\n", handheld::ToUtf8(path).c_str());
        return 1;
    }

    handheld::soc::EdgeBuffer edges(kEdgeCapacity);
    handheld::soc::AddEdgeObserver(&edges);
    EventLog log(json, edges);
    SetSendMonitor(&log);
    handheld::SetSoundObserver([&log](std::u16string_view sound, bool played) { log.OnSound(sound, played); });
    handheld::SetLedObserver([&log](const handheld::NLED_SETTINGS_INFO& led) { log.OnLed(led); });
    int heldLeft = 0;
    handheld::SetKeyStateScript([&heldLeft](int key) { return key == kStylusKey && heldLeft-- > 0; });

    for (std::size_t i = 1; i < args.size(); ++i) {
        heldLeft = heldPasses;
        const std::u16string button = handheld::FromUtf8(args[i]);
        if (!json) std::printf("tap %s\n", args[i].c_str());
        const std::size_t before = log.EventCount();
        SendButtonCommand(button.c_str());
        if (!json && log.EventCount() == before) std::printf("  nothing to send\n");
    }

    handheld::SetKeyStateScript(nullptr);
    handheld::SetLedObserver(nullptr);
    handheld::SetSoundObserver(nullptr);
    SetSendMonitor(nullptr);
    CLumbra::Destroy();
    handheld::soc::RemoveEdgeObserver(&edges);
    if (edges.Dropped() > 0)
        std::fprintf(stderr, "orvanectl: %zu edges beyond the record were not kept\n", edges.Dropped());
    if (json) std::printf("%s\n", log.Finish().c_str());
    return 0;
}

const OrvaneCommand kSendCommand("send", kUsage, RunSend);

}  // namespace
}  // namespace orvanectl
