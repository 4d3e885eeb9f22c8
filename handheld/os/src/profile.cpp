#include "handheld/profile.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>

#include "handheld/home.h"
#include "handheld/text.h"
#include "handheld/trace.h"
#include "storage.h"

namespace handheld {

namespace {

// A handheld has a handful of notification LEDs at most; anything larger is a damaged file.
constexpr int kMaxLedCount = 16;

struct ProfileState {
    std::mutex mutex;
    bool loaded = false;
    std::optional<HandheldProfile> override;
    HandheldProfile current;  // what Profile() hands out; changed in place so references stay valid
};

ProfileState& State() {
    static ProfileState state;
    return state;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string FormatProfile(const HandheldProfile& profile) {
    std::string text;
    text += "processor_core=" + ToUtf8(profile.processorCore) + "\n";
    text += "processor_name=" + ToUtf8(profile.processorName) + "\n";
    text += "led_count=" + std::to_string(profile.ledCount) + "\n";
    text += std::string("orientation=") +
            (profile.orientationAtStart == Orientation::Landscape ? "landscape" : "portrait") + "\n";
    text += std::string("timer_clock=") + (profile.timerClock == TimerClock::Virtual ? "virtual" : "real") + "\n";
    return text;
}

HandheldProfile ParseProfile(std::string_view text) {
    HandheldProfile profile;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        const auto equals = line.find('=');
        if (line.empty() || line[0] == '#' || line[0] == ';' || equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (key == "processor_core" && !value.empty()) {
            profile.processorCore = FromUtf8(value);
        } else if (key == "processor_name" && !value.empty()) {
            profile.processorName = FromUtf8(value);
        } else if (key == "led_count") {
            int count = 0;
            const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), count);
            if (error == std::errc() && rest == value.data() + value.size() && count >= 0 && count <= kMaxLedCount) {
                profile.ledCount = count;
            }
        } else if (key == "orientation") {
            if (value == "portrait")
                profile.orientationAtStart = Orientation::Portrait;
            else if (value == "landscape")
                profile.orientationAtStart = Orientation::Landscape;
        } else if (key == "timer_clock") {
            if (value == "real")
                profile.timerClock = TimerClock::RealTime;
            else if (value == "virtual")
                profile.timerClock = TimerClock::Virtual;
        }
    }
    return profile;
}

const HandheldProfile& Profile() {
    const std::filesystem::path home = HomeDirectory();
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.override && !state.loaded) {
        std::ifstream in(home / "profile.ini", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.is_open()) HH_TRACE("files", "no profile.ini in the home; the default profile applies");
        state.current = ParseProfile(text);
        state.loaded = true;
    }
    return state.current;
}

void SetProfile(const HandheldProfile& profile) {
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    state.override = profile;
    state.current = profile;
}

void ResetProfile() {
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    state.override.reset();
    state.loaded = false;
}

namespace detail {

void ResetProfileCache() {
    ProfileState& state = State();
    std::lock_guard lock(state.mutex);
    state.loaded = false;
}

}  // namespace detail

}  // namespace handheld
