// A handheld with the program package, virtual time, a receiver device "Lab" opened into both panels with
// the real button library, message boxes answered from a script, and a simulated remote whose signals each
// learn plays in turn.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/panel/device_opening.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"
#include "handheld/shell/screen.h"
#include "handheld/soc/simulation.h"
#include "tests/support/test_home.h"

namespace learn_test {

inline constexpr double kCarrierHz = 38000.0;

// One learnable signal as a JSON line of the remote file.
std::string SignalLine(const std::vector<std::int32_t>& durationsUs, double carrierHz = kCarrierHz, int repeat = 1);

class LearnHome : public testing::Test {
protected:
    LearnHome();
    ~LearnHome() override;

    // Points the remote at the handheld: the lines' signals, one per learn, then silence.
    void PointRemote(const std::vector<std::string>& lines);
    // Opens a device of the device folder into the panels.
    bool Open(std::u16string_view name);
    // Adds a standard device to the device folder.
    void AddDevice(std::u16string_view name, DeviceType type) const;
    const ButtonRecord* Record(std::u16string_view name) const;
    std::u16string LastBoxText() const { return boxes.Shown().empty() ? u"" : boxes.Shown().back().text; }

    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    std::unique_ptr<handheld::ResourceLibrary> library;
    std::unique_ptr<LibraryArtwork> artwork;
    handheld::HandheldScreen screen{handheld::Orientation::Portrait, nullptr};
    AppState state;
    DevicePanels panels;
};

}  // namespace learn_test
