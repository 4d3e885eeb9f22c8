// The handheld's profile: the facts of the simulated hardware, kept as "profile.ini" in the home.
#pragma once

#include <string>
#include <string_view>

namespace handheld {

enum class TimerClock { RealTime, Virtual };
enum class Orientation { Portrait, Landscape };

struct HandheldProfile {
    std::u16string processorCore = u"ARM";
    std::u16string processorName = u"PXA255";
    int ledCount = 1;
    Orientation orientationAtStart = Orientation::Portrait;
    TimerClock timerClock = TimerClock::RealTime;
};

// The profile of the home in use (read once; defaults for a missing or damaged file).
const HandheldProfile& Profile();
// Replaces the profile for this process (tools and tests); not written to the home, kept when another home
// is opened.
void SetProfile(const HandheldProfile& profile);
// Drops what SetProfile chose: the home's file applies again.
void ResetProfile();
// Text of a profile file; ParseProfile never fails: unknown or damaged lines keep their defaults.
std::string FormatProfile(const HandheldProfile& profile);
HandheldProfile ParseProfile(std::string_view text);

}  // namespace handheld
