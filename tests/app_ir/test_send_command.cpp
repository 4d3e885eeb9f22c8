// Sending a button's command of a device stored on the handheld, down to the simulated transmit pin.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "app/ir/send_command.h"
#include "app/shell/language_table.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/devices.h"
#include "handheld/input.h"
#include "handheld/led.h"
#include "handheld/soc/emission.h"
#include "handheld/soc/simulation.h"
#include "handheld/sound.h"
#include "tests/support/test_home.h"

namespace {

constexpr int kPeriodUs = 26;

struct Sleep {
    std::uint32_t ms;
};
struct Code {
    std::vector<std::int32_t> durations;
    int carrier;
    int repeatStart;
    int passes;
};
struct Sound {
    std::u16string path;
};
struct Led {
    int state;
};
using Event = std::variant<Sleep, Code, Sound, Led>;

// Everything the sender does, in order.
class Recorder : public SendMonitor {
public:
    Recorder() {
        previous_ = SetSendMonitor(this);
        handheld::SetSoundObserver(
            [this](std::u16string_view path, bool) { events.push_back(Sound{std::u16string(path)}); });
        handheld::SetLedObserver(
            [this](const handheld::NLED_SETTINGS_INFO& s) { events.push_back(Led{s.OffOnBlink}); });
    }
    ~Recorder() override {
        SetSendMonitor(previous_);
        handheld::SetSoundObserver(nullptr);
        handheld::SetLedObserver(nullptr);
    }
    void OnSleep(std::uint32_t ms) override { events.push_back(Sleep{ms}); }
    void OnCodeStart(const IrCode& code) override {
        events.push_back(Code{{code.durations, code.durations + code.count}, code.carrier, code.repeatStart, 0});
    }
    void OnPassEnd() override { ++std::get<Code>(events.back()).passes; }
    void OnCodeEnd() override {}

    std::vector<Code> Codes() const {
        std::vector<Code> codes;
        for (const auto& e : events)
            if (auto* c = std::get_if<Code>(&e)) codes.push_back(*c);
        return codes;
    }

    std::vector<Event> events;

private:
    SendMonitor* previous_;
};

std::vector<std::uint8_t> SampleBytes(const std::vector<std::int32_t>& durations) {
    std::vector<std::uint8_t> bytes(durations.size() * 4);
    for (std::size_t i = 0; i < durations.size(); ++i) {
        const auto v = static_cast<std::uint32_t>(durations[i]);
        for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return bytes;
}

class SendCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        CLumbra::Destroy();
        handheld::HandheldProfile profile = handheld::Profile();
        profile.timerClock = handheld::TimerClock::Virtual;
        handheld::SetProfile(profile);
        handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
        handheld::soc::ResetProcessors();
        handheld::SetAudioOutputEnabled(false);
        ASSERT_TRUE(handheld::soc::AddEdgeObserver(&edges));
        TheAppState() = AppState{};
        TheSendState() = SendState{};
        device.name = u"Test";
        device.deviceType = DT_CUSTOM;
    }
    void TearDown() override {
        handheld::SetKeyStateScript(nullptr);
        handheld::soc::RemoveEdgeObserver(&edges);
        CLumbra::Destroy();
    }

    ButtonRecord& AddRecord(const std::u16string& name) {
        ButtonRecord record;
        record.name = name;
        device.records.push_back(record);
        return device.records.back();
    }
    static void SetCode(ButtonRecord& record, int index, const std::vector<std::int32_t>& durations,
                        int repeatStart = 0) {
        const auto bytes = SampleBytes(durations);
        ASSERT_TRUE(
            record.SetEntry(index, bytes.data(), bytes.size(), kPeriodUs, static_cast<std::uint8_t>(repeatStart)));
    }
    static void SetPause(ButtonRecord& record, int index, std::uint16_t ms) {
        ASSERT_TRUE(
            record.SetEntry(index, nullptr, 0, static_cast<std::uint8_t>(ms >> 8), static_cast<std::uint8_t>(ms)));
    }

    // Stores the device in the handheld's device folder and opens it as the program does.
    void OpenStoredDevice() {
        const std::u16string path = GetProgramFolder() + u"\\Devices\\Test.kdr";
        ASSERT_TRUE(device.Save(true, path));
        AppState& app = TheAppState();
        ASSERT_TRUE(app.device.Load(path, false));
        app.currentDevice = u"Test";
    }

    // Carrier cycles the transmit pin emitted (bursts of back-to-back passes run together, cycles do not).
    std::size_t Cycles() const {
        std::size_t rises = 0;
        for (const auto& edge : edges.Edges()) rises += edge.level == 1 ? 1 : 0;
        return rises;
    }
    static std::size_t CyclesOf(int burstUs) { return static_cast<std::size_t>(burstUs / kPeriodUs + 1); }

    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    handheld::soc::EdgeBuffer edges{400000};
    Device device;
    Recorder recorder;
};

TEST_F(SendCommandTest, SameButtonAlternatesItsTwoCodesAndAnotherButtonRestartsAtTheFirst) {
    SetCode(AddRecord(u"CH1"), 0, {400});
    SetCode(device.records.back(), 1, {800});
    SetCode(AddRecord(u"CH2"), 0, {1200});
    OpenStoredDevice();

    for (const char16_t* button : {u"CH1", u"CH1", u"CH1", u"CH2", u"CH1"}) SendButtonCommand(button);

    const auto codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 5u);
    const std::vector<std::int32_t> expected[] = {{400}, {800}, {400}, {1200}, {400}};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(codes[i].durations, expected[i]) << "tap " << i;
        EXPECT_EQ(codes[i].carrier, kPeriodUs);
        EXPECT_EQ(codes[i].passes, 3) << "once and its repeat part twice";
    }
}

TEST_F(SendCommandTest, ButtonWithOnlyItsFirstCodeEmitsOnEverySecondTap) {
    SetCode(AddRecord(u"PW"), 0, {520, -1000, 520});
    OpenStoredDevice();

    std::vector<std::size_t> burstsPerTap;
    for (int tap = 0; tap < 4; ++tap) {
        edges.Clear();
        SendButtonCommand(u"PW");
        burstsPerTap.push_back(Cycles());
    }
    // Three passes of two bursts on taps 1 and 3; an empty code on taps 2 and 4.
    const std::size_t full = 3 * 2 * CyclesOf(520);
    EXPECT_EQ(burstsPerTap, (std::vector<std::size_t>{full, 0, full, 0}));
    const auto codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_TRUE(codes[1].durations.empty());
}

TEST_F(SendCommandTest, MacroSendsCodesInIndexOrderWithPausesAndIgnoresTheHeldStylus) {
    ButtonRecord& macro = AddRecord(u"CUSTOM$0");
    SetPause(macro, 0, 0);
    SetPause(macro, 1, 0);
    SetCode(macro, 2, {300});
    SetPause(macro, 3, 120);
    SetCode(macro, 4, {600, -600, 300}, 2);
    SetPause(macro, 5, 300);
    SetCode(macro, 6, {900});
    OpenStoredDevice();
    handheld::SetKeyStateScript([](int) { return true; });

    SendButtonCommand(u"CUSTOM$0");

    ASSERT_EQ(recorder.events.size(), 7u);
    EXPECT_EQ(std::get<Sleep>(recorder.events[0]).ms, 50u);
    EXPECT_EQ(std::get<Code>(recorder.events[1]).durations, std::vector<std::int32_t>{300});
    EXPECT_EQ(std::get<Sleep>(recorder.events[2]).ms, 120u);
    EXPECT_EQ(std::get<Code>(recorder.events[3]).durations, (std::vector<std::int32_t>{600, -600, 300}));
    EXPECT_EQ(std::get<Code>(recorder.events[3]).repeatStart, 2);
    EXPECT_EQ(std::get<Sleep>(recorder.events[4]).ms, 300u);
    EXPECT_EQ(std::get<Code>(recorder.events[5]).durations, std::vector<std::int32_t>{900});
    EXPECT_EQ(std::get<Led>(recorder.events[6]).state, handheld::LED_OFF);
    for (const auto& code : recorder.Codes()) EXPECT_EQ(code.passes, 3);
    // Each code three times; the second one whole once, then its repeat part (the last burst) twice.
    EXPECT_EQ(Cycles(), 3 * CyclesOf(300) + (CyclesOf(600) + 3 * CyclesOf(300)) + 3 * CyclesOf(900));
}

TEST_F(SendCommandTest, MacroMayStartWithAPauseAndLeavesAlternationAlone) {
    SetCode(AddRecord(u"CH1"), 0, {400});
    SetCode(device.records.back(), 1, {800});
    ButtonRecord& macro = AddRecord(u"CUSTOM$1");
    SetPause(macro, 0, 0);
    SetPause(macro, 1, 0);
    SetPause(macro, 2, 700);
    SetCode(macro, 3, {500});
    OpenStoredDevice();

    SendButtonCommand(u"CH1");
    recorder.events.clear();
    SendButtonCommand(u"CUSTOM$1");
    ASSERT_GE(recorder.events.size(), 3u);
    EXPECT_EQ(std::get<Sleep>(recorder.events[0]).ms, 50u);
    EXPECT_EQ(std::get<Sleep>(recorder.events[1]).ms, 700u);
    EXPECT_EQ(std::get<Code>(recorder.events[2]).durations, std::vector<std::int32_t>{500});

    recorder.events.clear();
    SendButtonCommand(u"CH1");  // the macro in between did not count as another button
    EXPECT_EQ(recorder.Codes().at(0).durations, std::vector<std::int32_t>{800});
}

TEST_F(SendCommandTest, MacroOfMoreThanAHundredStepsSendsTheFirstHundred) {
    ButtonRecord& macro = AddRecord(u"CUSTOM$0");
    SetPause(macro, 0, 0);
    SetPause(macro, 1, 0);
    for (int i = 0; i < 130; ++i) SetPause(macro, 2 + i, static_cast<std::uint16_t>(i + 1));
    OpenStoredDevice();

    SendButtonCommand(u"CUSTOM$0");
    std::vector<std::uint32_t> pauses;
    for (const auto& e : recorder.events)
        if (auto* s = std::get_if<Sleep>(&e)) pauses.push_back(s->ms);
    ASSERT_EQ(pauses.size(), 1u + 100u);
    EXPECT_EQ(pauses[1], 1u);
    EXPECT_EQ(pauses.back(), 100u);
}

TEST_F(SendCommandTest, HeldSingleCodeRepeatsExactlyAsLongAsTheStylusIsDown) {
    SetCode(AddRecord(u"VOLPLUS"), 0, {520, -2000, 520}, 2);
    OpenStoredDevice();
    for (int heldQueries : {0, 1, 5}) {
        recorder.events.clear();
        edges.Clear();
        int remaining = heldQueries;
        handheld::SetKeyStateScript([&remaining](int key) { return key == kStylusKey && remaining-- > 0; });
        TheAppState().lastSentButton.clear();  // every round is a first tap (entry 0)
        SendButtonCommand(u"VOLPLUS");
        const auto codes = recorder.Codes();
        ASSERT_EQ(codes.size(), 1u);
        EXPECT_EQ(codes[0].passes, 3 + heldQueries);
        // The first pass two bursts, every further pass the repeat part: one burst.
        EXPECT_EQ(Cycles(), CyclesOf(520) * (2 + 2 + static_cast<std::size_t>(heldQueries)));
        EXPECT_EQ(TheSendState().repeatCounter, 0) << "the next code starts afresh";
    }
}

TEST_F(SendCommandTest, FunctionButtonsSendTheirFunctionPanelRecords) {
    SetCode(AddRecord(u"F3"), 0, {111});
    SetCode(AddRecord(u"FUNC3"), 0, {333});
    SetCode(AddRecord(u"FUNC12"), 0, {1212});
    OpenStoredDevice();

    SendButtonCommand(u"F3");
    SendButtonCommand(u"F12");
    const auto codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0].durations, std::vector<std::int32_t>{333});
    EXPECT_EQ(codes[1].durations, std::vector<std::int32_t>{1212});
}

TEST_F(SendCommandTest, ButtonSoundPlaysBeforeSendingOnlyWhenOnAndSet) {
    SetCode(AddRecord(u"CH1"), 0, {400});
    OpenStoredDevice();
    DeviceSettings settings;
    settings.deviceName = u"Test";
    settings.flags = DeviceSettings::kButtonSounds;
    settings.buttonSound = u"\\My Documents\\click.wav";
    TheAppState().shownDevices.push_back(settings);

    SendButtonCommand(u"CH1");
    ASSERT_GE(recorder.events.size(), 2u);
    EXPECT_EQ(std::get<Sound>(recorder.events[0]).path, u"\\My Documents\\click.wav");
    EXPECT_TRUE(std::holds_alternative<Sleep>(recorder.events[1]));
    EXPECT_EQ(recorder.Codes().size(), 1u) << "a sound that can't be played does not stop the send";

    for (auto [flags, path] : {std::pair<std::uint16_t, std::u16string>{DeviceSettings::kButtonSounds, u""},
                               std::pair<std::uint16_t, std::u16string>{0, u"\\My Documents\\click.wav"}}) {
        recorder.events.clear();
        TheAppState().shownDevices[0].flags = flags;
        TheAppState().shownDevices[0].buttonSound = path;
        SendButtonCommand(u"CH1");
        for (const auto& e : recorder.events) EXPECT_FALSE(std::holds_alternative<Sound>(e));
        EXPECT_EQ(recorder.Codes().size(), 1u);
    }
}

TEST_F(SendCommandTest, MissingRecordShowsCantFindRecordAndSendsNothing) {
    SetCode(AddRecord(u"CH1"), 0, {400});
    OpenStoredDevice();

    SendButtonCommand(u"ch1");  // names are case-sensitive
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, u"Can't find record");
    EXPECT_EQ(boxes.Shown()[0].caption, u"Error");
    EXPECT_EQ(boxes.Shown()[0].flags & handheld::MB_ICONMASK, handheld::MB_ICONHAND);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(SendCommandTest, EmptyCommandSetDoesNothingAtAll) {
    AddRecord(u"CH1");
    OpenStoredDevice();
    SendButtonCommand(u"CH1");
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(TheAppState().lastSentButton.empty());
}

TEST_F(SendCommandTest, LedIsSwitchedOffAfterTheLastStep) {
    SetCode(AddRecord(u"CH1"), 0, {400});
    OpenStoredDevice();
    SendButtonCommand(u"CH1");
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(std::get<Led>(recorder.events.back()).state, handheld::LED_OFF);
    const auto led = handheld::LedSettings(0);
    ASSERT_TRUE(led.has_value());
    EXPECT_EQ(led->TotalCycleTime, 1000);
    EXPECT_EQ(led->OnTime, 200);
    EXPECT_EQ(led->OffTime, 200);
    EXPECT_EQ(led->MetaCycleOn, 2);
    EXPECT_EQ(led->MetaCycleOff, 2);
}

TEST_F(SendCommandTest, EntryLongerThanTheDriverBufferIsSentWithItsFirstTwoHundredDurations) {
    std::vector<std::int32_t> durations;
    for (int i = 0; i < 300; ++i) durations.push_back(i % 2 == 0 ? 100 + i : -(100 + i));
    SetCode(AddRecord(u"CH1"), 0, durations);
    OpenStoredDevice();

    SendButtonCommand(u"CH1");
    const auto codes = recorder.Codes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0].durations, std::vector<std::int32_t>(durations.begin(), durations.begin() + 200));
}

}  // namespace
