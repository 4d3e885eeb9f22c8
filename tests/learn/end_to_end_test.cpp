// A user teaching a new custom button with a remote pointed at the handheld: the learned codes and the pause
// reach the saved device file, and a tap in normal mode plays the learned code on the transmit pin.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>

#include "app/ir/gui/button_properties_dialog.h"
#include "app/ir/gui/pause_dialog.h"
#include "app/ir/learning.h"
#include "app/ir/send_command.h"
#include "app/model/device_creation.h"
#include "app/panel/select_button_dialog.h"
#include "app/shell/stored_files.h"
#include "handheld/soc/emission.h"
#include "tests/learn/learn_home.h"
#include "tests/support/ir_frames.h"

namespace learn_test {
namespace {

using D = ButtonPropertiesDialog;

const double kPeriodUs = 1e6 / kCarrierHz;

std::vector<std::int32_t> Durations(const ButtonRecord& record, int index, std::uint8_t& high, std::uint8_t& low) {
    const std::uint8_t* samples = nullptr;
    std::size_t bytes = 0;
    EXPECT_TRUE(record.GetEntry(index, samples, bytes, high, low)) << index;
    std::vector<std::int32_t> words(bytes / 4);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::int32_t>(samples[4 * i] | samples[4 * i + 1] << 8 | samples[4 * i + 2] << 16 |
                                             static_cast<std::uint32_t>(samples[4 * i + 3]) << 24);
    }
    return words;
}

// Every duration within one carrier period of the remote's; the first burst, heard only once the carrier is
// measured, three periods short.
void ExpectWithinAPeriod(const std::vector<std::int32_t>& learned, const std::vector<std::int32_t>& source,
                         const char* what) {
    ASSERT_GE(learned.size(), source.size() - 1) << what;
    for (std::size_t i = 0; i < source.size() && i < learned.size(); ++i) {
        const double expected = i == 0 ? source[0] - 3 * kPeriodUs : source[i];
        EXPECT_LE(std::fabs(learned[i] - expected), kPeriodUs) << what << " entry " << i;
    }
}

// What the driver itself finds when it learns the remote's signal: the reference for the stored repeat start.
IrCode LearnDirectly(const std::vector<std::int32_t>& durations, int repeat) {
    IrCode code{};
    handheld::soc::SetLearningSource({kCarrierHz, durations, repeat}, handheld::soc::kOscrHz / 1000);
    CLumbra::Instance()->Learn(&code, true);
    return code;
}

class EndToEnd : public LearnHome {};

TEST_F(EndToEnd, LearnTwoCodesAndAMacroSaveThemAndSendTheLearnedCode) {
    const std::vector<std::int32_t> first = orvane_test::PulseDistanceFrame(0x20DF10EF);
    const std::vector<std::int32_t> second = orvane_test::PulseDistanceFrame(0x20DF906F);
    const std::vector<std::int32_t> macroCode = {2400, -600, 1200, -600, 600, -600, 1200, -25000};
    PointRemote({SignalLine(first), SignalLine(second), SignalLine(macroCode, kCarrierHz, 3)});
    AddDevice(u"Custom", DT_CUSTOM);
    ASSERT_TRUE(Open(u"Custom"));
    state.editMode = true;

    // Two new buttons on the main panel.
    for (int added = 0; added < 2; ++added) {
        handheld::QueueDialogScript([](handheld::HandheldDialog& d) { d.Control<QPushButton>(1)->click(); });
        ASSERT_EQ(RunSelectButtonDialog(nullptr, state, panels, *artwork, QPoint(10, 10 + 60 * added)),
                  QDialog::Accepted);
    }
    // The first learns a single command's two alternates.
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) {
        d.Control<QLineEdit>(D::kNameEdit)->setText("Power");
        d.Control<QPushButton>(D::kLearn)->click();
        d.Control<QPushButton>(D::kLearn)->click();
        EXPECT_EQ(d.Control<QPushButton>(D::kLearn)->text(), "Learned");
        d.Control<QPushButton>(D::kOk)->click();
    });
    ASSERT_EQ(RunButtonPropertiesDialog(nullptr, state, panels, u"CUSTOM$0"), D::kOk);
    // The second a macro: a code, then (the remote has nothing more) a pause of 800 ms.
    handheld::QueueDialogScript([](handheld::HandheldDialog& d) {
        d.Control<QLineEdit>(D::kNameEdit)->setText("Movie");
        d.Control<QCheckBox>(D::kHasMacros)->setChecked(true);
        d.Control<QPushButton>(D::kLearn)->click();
        d.Control<QPushButton>(D::kLearn)->click();  // the pause dialog takes the next script
        EXPECT_EQ(d.Control<QPushButton>(D::kLearn)->text(), "Read cmd 3");
        d.Control<QPushButton>(D::kOk)->click();
    });
    handheld::QueueDialogScript([](handheld::HandheldDialog& pause) {
        pause.Control<QSlider>(PauseDialog::kSlider)->setValue(800);
        pause.Control<QPushButton>(PauseDialog::kOk)->click();
    });
    ASSERT_EQ(RunButtonPropertiesDialog(nullptr, state, panels, u"CUSTOM$1"), D::kOk);
    EXPECT_EQ(boxes.Shown().size(), 0u);

    // Leaving edit mode writes the device file.
    state.editMode = false;
    ASSERT_TRUE(SaveDevice(state.device, true));
    Device saved;
    ASSERT_TRUE(saved.Load(DeviceFolder() + u"Custom.kdr", false));
    const auto power = saved.FindRecord(u"CUSTOM$0");
    ASSERT_NE(power, saved.records.end());
    EXPECT_EQ(power->commandName, u"Power");
    ASSERT_EQ(power->EntryCount(), 2u);
    std::uint8_t high = 0, low = 0;
    ExpectWithinAPeriod(Durations(*power, 0, high, low), first, "first code");
    EXPECT_EQ(high, static_cast<int>(std::lround(kPeriodUs)));
    const int firstRepeatStart = low;
    ExpectWithinAPeriod(Durations(*power, 1, high, low), second, "second code");
    EXPECT_EQ(high, static_cast<int>(std::lround(kPeriodUs)));
    const int secondRepeatStart = low;

    const auto movie = saved.FindRecord(u"CUSTOM$1");
    ASSERT_NE(movie, saved.records.end());
    ASSERT_EQ(movie->EntryCount(), 4u);
    const std::vector<std::int32_t> macroLearned = Durations(*movie, 2, high, low);
    EXPECT_EQ(macroLearned.size(), macroCode.size()) << "one frame and its pause: the remote's repeats found";
    ExpectWithinAPeriod(macroLearned, macroCode, "macro code");
    const int macroRepeatStart = low;
    const std::uint8_t* samples = nullptr;
    std::size_t bytes = 1;
    ASSERT_FALSE(movie->GetEntry(3, samples, bytes, high, low));
    EXPECT_EQ(high * 256 + low, 800);
    for (int index : {0, 1}) {
        EXPECT_FALSE(movie->GetEntry(index, samples, bytes, high, low)) << "the macro emptied entry " << index;
    }

    // The same remote learned straight from the driver finds the same repeat starts.
    EXPECT_EQ(LearnDirectly(first, 1).repeatStart, firstRepeatStart);
    EXPECT_EQ(LearnDirectly(second, 1).repeatStart, secondRepeatStart);
    const IrCode direct = LearnDirectly(macroCode, 3);
    EXPECT_EQ(direct.count, static_cast<int>(macroLearned.size()));
    EXPECT_EQ(direct.repeatStart, macroRepeatStart);

    // Normal mode: a tap sends the first learned code.
    handheld::soc::EdgeBuffer edges(200000);
    ASSERT_TRUE(handheld::soc::AddEdgeObserver(&edges));
    EXPECT_FALSE(SendCommandOfButton(saved, nullptr, u"CUSTOM$0").has_value());
    handheld::soc::RemoveEdgeObserver(&edges);
    const auto sent =
        handheld::soc::Summarise(edges.Edges(), static_cast<std::uint32_t>(kPeriodUs * handheld::soc::kOscrHz / 1e6));
    const std::vector<std::int32_t> stored = Durations(*power, 0, high, low);
    ASSERT_GE(sent.durationsUs.size(), stored.size() - 1);
    // The first burst comes out some carrier cycles short of the stored one (seen 174 us at 26 us); every other
    // entry within one period.
    EXPECT_LE(std::abs(sent.durationsUs[0] - stored[0]), 10 * kPeriodUs);
    for (std::size_t i = 1; i + 1 < stored.size(); ++i) {
        EXPECT_LE(std::abs(sent.durationsUs[i] - stored[i]), kPeriodUs) << "sent entry " << i;
    }
    EXPECT_NEAR(sent.carrierHz, kCarrierHz, kCarrierHz * 0.05);
}

}  // namespace
}  // namespace learn_test
