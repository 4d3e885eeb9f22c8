#include "tests/learn/learn_home.h"

#include <fstream>

#include "app/ir/learning.h"
#include "app/model/device_creation.h"
#include "app/model/program_folder.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/profile.h"
#include "handheld/shell/handheld_dialog.h"
#include "handheld/shell/remote_source.h"

namespace learn_test {

std::string SignalLine(const std::vector<std::int32_t>& durationsUs, double carrierHz, int repeat) {
    std::string line = "{\"carrier_hz\":" + std::to_string(static_cast<int>(carrierHz)) + ",\"durations_us\":[";
    for (std::size_t i = 0; i < durationsUs.size(); ++i) {
        line += (i == 0 ? "" : ",") + std::to_string(durationsUs[i]);
    }
    return line + "],\"repeat\":" + std::to_string(repeat) + "}";
}

LearnHome::LearnHome() {
    CLumbra::Destroy();
    handheld::HandheldProfile profile = handheld::Profile();
    profile.timerClock = handheld::TimerClock::Virtual;
    handheld::SetProfile(profile);
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
    handheld::soc::ResetProcessors();
    library = handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll");
    artwork = std::make_unique<LibraryArtwork>(library.get());
    SetBeforeLearnHook(handheld::PlayNextRemoteSignal);
    PointRemote({});
}

LearnHome::~LearnHome() {
    SetBeforeLearnHook({});
    handheld::ClearDialogScripts();
    handheld::soc::ResetProcessors();
    CLumbra::Destroy();
}

void LearnHome::PointRemote(const std::vector<std::string>& lines) {
    const auto path = home.Directory() / "remote.jsonl";
    {
        std::ofstream out(path);
        for (const std::string& line : lines) out << line << '\n';
    }
    std::string error;
    ASSERT_TRUE(handheld::PointRemote(path.string(), &error)) << error;
}

bool LearnHome::Open(std::u16string_view name) {
    DeviceOpening opening;
    opening.library = artwork.get();
    return OpenDevice(name, state, panels, opening);
}

void LearnHome::AddDevice(std::u16string_view name, DeviceType type) const {
    Device device = MakeStandardDevice(name, type);
    ASSERT_TRUE(device.Save(false, DeviceFolder() + std::u16string(name) + u".kdr"));
}

const ButtonRecord* LearnHome::Record(std::u16string_view name) const {
    const auto found = state.device.FindRecord(name);
    return found == state.device.records.end() ? nullptr : &*found;
}

}  // namespace learn_test
