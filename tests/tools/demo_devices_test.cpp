// The demo devices of the built program package, read back with the program's own reader and sent through
// the real driver and simulated pin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "app/model/configuration.h"
#include "app/model/device.h"
#include "app/model/device_creation.h"
#include "app/model/device_templates.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/text.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_home.h"

namespace {

struct Code {
    std::vector<std::int32_t> durationsUs;
    std::uint8_t carrierPeriodUs = 0;
    std::uint8_t repeatStart = 0;
};

// The entry as the sender hands it to the driver; no samples for a pause or an absent entry.
std::optional<Code> EntryCode(const ButtonRecord& record, int index) {
    const std::uint8_t* samples = nullptr;
    std::size_t sampleBytes = 0;
    std::uint8_t high = 0, low = 0;
    if (record.commands.count(index) == 0) return std::nullopt;
    record.GetEntry(index, samples, sampleBytes, high, low);  // false for a pause, whose bytes are still given
    Code code;
    code.carrierPeriodUs = high;
    code.repeatStart = low;
    code.durationsUs.resize(sampleBytes / 4);
    if (!code.durationsUs.empty()) std::memcpy(code.durationsUs.data(), samples, code.durationsUs.size() * 4);
    return code;
}

// Within a quarter either way, as a receiver would accept it.
bool Near(std::int32_t actual, std::int32_t expected) {
    return std::abs(actual - expected) * 4 <= std::abs(expected);
}

// Address and command of a pulse-distance code whose inverted bytes check; nullopt for anything else.
struct PulseDistanceWord {
    std::uint8_t address;
    std::uint8_t command;
};
std::optional<PulseDistanceWord> DecodePulseDistance(const Code& code) {
    const auto& d = code.durationsUs;
    if (d.size() < 72 || !Near(d[0], 9000) || !Near(d[1], -4500)) return std::nullopt;
    std::uint8_t bytes[4] = {};
    for (int bit = 0; bit < 32; ++bit) {
        if (!Near(d[2 + 2 * bit], 560)) return std::nullopt;
        const std::int32_t pause = d[3 + 2 * bit];
        if (Near(pause, -1690)) {
            bytes[bit / 8] |= static_cast<std::uint8_t>(1 << bit % 8);
        } else if (!Near(pause, -560)) {
            return std::nullopt;
        }
    }
    if (!Near(d[66], 560) || d[67] > -20000) return std::nullopt;
    if ((bytes[0] ^ bytes[1]) != 0xFF || (bytes[2] ^ bytes[3]) != 0xFF) return std::nullopt;
    return PulseDistanceWord{bytes[0], bytes[2]};
}

// The 14 bits of a bi-phase code (dark-lit a one, lit-dark a zero), most significant first; nullopt when the
// durations are not whole half bits of 889 us.
std::optional<std::vector<int>> DecodeBiPhase(const Code& code) {
    std::vector<int> halves = {0};  // the dark first half of the first start bit lies in the gap before
    for (std::size_t i = 0; i + 1 < code.durationsUs.size(); ++i) {
        const std::int32_t d = code.durationsUs[i];
        const int count = (std::abs(d) + 444) / 889;
        if (count < 1 || count > 2 || !Near(std::abs(d), count * 889)) return std::nullopt;
        for (int k = 0; k < count; ++k) halves.push_back(d > 0 ? 1 : 0);
    }
    if (halves.size() % 2 == 1) halves.push_back(0);  // a last zero ends dark, inside the gap
    if (halves.size() != 28) return std::nullopt;
    std::vector<int> bits;
    for (std::size_t i = 0; i < halves.size(); i += 2) {
        if (halves[i] == halves[i + 1]) return std::nullopt;
        bits.push_back(halves[i + 1]);
    }
    return bits;
}

int BitsValue(const std::vector<int>& bits, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) value = value << 1 | bits[i];
    return value;
}

// Every number array that follows "key": in the text, in order.
std::vector<std::vector<std::int64_t>> NumberArrays(const std::string& text, const std::string& key) {
    std::vector<std::vector<std::int64_t>> arrays;
    const std::string marker = "\"" + key + "\":[";
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        std::vector<std::int64_t> numbers;
        const char* p = text.c_str() + at + marker.size();
        while (*p != ']') {
            char* end = nullptr;
            numbers.push_back(std::strtoll(p, &end, 10));
            if (end == p) break;
            p = *end == ',' ? end + 1 : end;
        }
        arrays.push_back(numbers);
    }
    return arrays;
}

class DemoDevicesTest : public ::testing::Test {
protected:
    Device LoadDemo(const std::u16string& name) {
        Device device;
        EXPECT_TRUE(device.Load(DeviceFolder() + name + u".kdr", false))
            << "the package has no demo " << handheld::ToUtf8(name);
        return device;
    }
    orvane_test::ToolRun Orvanectl(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"--handheld", home.Directory().string()});
        return orvane_test::RunTool("orvanectl", arguments);
    }

    orvane_test::TestHome home;  // installs the built package
};

TEST_F(DemoDevicesTest, EveryStandardButtonHasTwoLearnedAlternates) {
    const struct {
        std::u16string name;
        DeviceType type;
        std::span<const TemplateRow> mainRows;
    } cases[] = {{u"TV", DT_RECEIVER, STANDARD_RECEIVER}, {u"Player", DT_PLAYER, STANDARD_PLAYER}};
    for (const auto& c : cases) {
        const Device device = LoadDemo(c.name);
        EXPECT_EQ(device.name, c.name);
        EXPECT_EQ(device.deviceType, c.type);
        for (const auto rows : {c.mainRows, STANDARD_FUNCTION_PANEL}) {
            for (const TemplateRow& row : rows) {
                const auto record = device.FindRecord(CommandRecordName(row.name));
                ASSERT_NE(record, device.records.end()) << "no record for " << handheld::ToUtf8(row.name);
                EXPECT_EQ(record->EntryCount(), 2u) << handheld::ToUtf8(row.name);
                EXPECT_TRUE(EntryCode(*record, 0).has_value() && EntryCode(*record, 1).has_value());
                EXPECT_FALSE(record->commandName.empty());
            }
        }
    }
}

TEST_F(DemoDevicesTest, EveryCodeFitsTheDriverAndRepeatsFromInsideItself) {
    for (const std::u16string name : {u"TV", u"Player", u"My Amp"}) {
        const Device device = LoadDemo(name);
        int codes = 0;
        for (const ButtonRecord& record : device.records) {
            for (const auto& [index, entry] : record.commands) {
                const auto code = EntryCode(record, index);
                if (!code || code->durationsUs.empty()) continue;
                ++codes;
                const auto& d = code->durationsUs;
                EXPECT_EQ(entry.samples().size() % 4, 0u);
                EXPECT_LE(d.size(), static_cast<std::size_t>(kIrCodeMaxDurations));
                EXPECT_LT(code->repeatStart, d.size());
                EXPECT_GT(d[code->repeatStart], 0) << "the repeated part starts with a burst";
                EXPECT_GT(d.front(), 0);
                EXPECT_LT(d.back(), 0) << "a code ends with the gap before the next";
                for (std::size_t i = 1; i < d.size(); ++i) EXPECT_NE(d[i] < 0, d[i - 1] < 0) << "at " << i;
                // 38 kHz and 36 kHz carriers.
                EXPECT_TRUE(code->carrierPeriodUs == 26 || code->carrierPeriodUs == 28);
            }
        }
        EXPECT_GT(codes, 0);
    }
}

TEST_F(DemoDevicesTest, TvCodesCarryOneAddressAndADistinctCommandPerButtonWithARepeatFrame) {
    const Device tv = LoadDemo(u"TV");
    std::set<int> addresses, commands;
    int learned = 0;
    for (const ButtonRecord& record : tv.records) {
        const auto first = EntryCode(record, 0);
        if (!first) continue;
        ++learned;
        const auto word = DecodePulseDistance(*first);
        ASSERT_TRUE(word.has_value()) << "record with label index " << learned;
        addresses.insert(word->address);
        EXPECT_TRUE(commands.insert(word->command).second) << "command sent by two buttons: " << int(word->command);
        EXPECT_EQ(first->carrierPeriodUs, 26);
        const auto& d = first->durationsUs;
        ASSERT_EQ(first->repeatStart, 68);
        EXPECT_TRUE(Near(d[68], 9000) && Near(d[69], -2250) && Near(d[70], 560) && d[71] < -20000);
        const auto second = EntryCode(record, 1);
        ASSERT_TRUE(second.has_value());
        EXPECT_EQ(second->durationsUs, d);
    }
    EXPECT_EQ(learned, 29);  // 17 main-panel buttons of their own and the 12 function buttons
    EXPECT_EQ(addresses.size(), 1u);
}

TEST_F(DemoDevicesTest, PlayerAlternatesDifferOnlyInTheToggleBit) {
    const Device player = LoadDemo(u"Player");
    std::set<int> addresses, commands;
    for (const ButtonRecord& record : player.records) {
        const auto first = EntryCode(record, 0);
        const auto second = EntryCode(record, 1);
        if (!first) continue;
        ASSERT_TRUE(second.has_value());
        EXPECT_EQ(first->carrierPeriodUs, 28);
        EXPECT_EQ(first->repeatStart, 0);
        const auto bits0 = DecodeBiPhase(*first);
        const auto bits1 = DecodeBiPhase(*second);
        ASSERT_TRUE(bits0.has_value() && bits1.has_value());
        EXPECT_EQ((*bits0)[0] + (*bits0)[1], 2) << "two start bits";
        EXPECT_NE((*bits0)[2], (*bits1)[2]);
        EXPECT_EQ(BitsValue(*bits0, 3, 11), BitsValue(*bits1, 3, 11));
        addresses.insert(BitsValue(*bits0, 3, 5));
        EXPECT_TRUE(commands.insert(BitsValue(*bits0, 8, 6)).second);
        // Frames of one button keep their spacing whichever the toggle.
        std::int64_t total0 = 0, total1 = 0;
        for (const auto d : first->durationsUs) total0 += std::abs(d);
        for (const auto d : second->durationsUs) total1 += std::abs(d);
        EXPECT_EQ(total0, total1);
    }
    EXPECT_EQ(commands.size(), 27u);
    EXPECT_EQ(addresses.size(), 1u);
}

TEST_F(DemoDevicesTest, AmpIsACustomPanelWithAMacroOfCodesAndPauses) {
    const Device amp = LoadDemo(u"My Amp");
    const Device tv = LoadDemo(u"TV");
    EXPECT_EQ(amp.deviceType, DT_CUSTOM);
    int mainButtons = 0;
    const ButtonRecord* macro = nullptr;
    for (const ButtonRecord& record : amp.records) {
        if (record.panel != 0) continue;
        EXPECT_EQ(record.name, u"CUSTOM$" + std::u16string(1, static_cast<char16_t>(u'0' + mainButtons)));
        EXPECT_FALSE(record.skin.empty());
        ++mainButtons;
        if (record.EntryCount() > 2) macro = &record;
    }
    EXPECT_GE(mainButtons, 3);
    ASSERT_NE(macro, nullptr);
    // The empty alternates keep the steps at 2 and up.
    for (const int index : {0, 1}) {
        const auto empty = EntryCode(*macro, index);
        ASSERT_TRUE(empty.has_value());
        EXPECT_TRUE(empty->durationsUs.empty());
        EXPECT_EQ(empty->carrierPeriodUs + empty->repeatStart, 0);
    }
    int codes = 0, pauses = 0;
    bool switchesTheTvOn = false;
    const auto tvPower = EntryCode(*tv.FindRecord(u"PW"), 0);
    for (int index = 2; index < static_cast<int>(macro->EntryCount()); ++index) {
        const auto step = EntryCode(*macro, index);
        ASSERT_TRUE(step.has_value()) << "step " << index;
        if (step->durationsUs.empty()) {
            ++pauses;
            EXPECT_GT(step->carrierPeriodUs * 256 + step->repeatStart, 0) << "a pause of no time at " << index;
        } else {
            ++codes;
            EXPECT_TRUE(DecodePulseDistance(*step).has_value());
            switchesTheTvOn |= step->durationsUs == tvPower->durationsUs;
        }
    }
    EXPECT_GE(codes, 2);
    EXPECT_GE(pauses, 1);
    EXPECT_TRUE(switchesTheTvOn);
}

TEST_F(DemoDevicesTest, TheConfigurationShowsTheDemoDevicesAndOpensOne) {
    ApplicationSettings settings;
    std::optional<std::u16string> storedPortName;
    ASSERT_TRUE(ReadConfiguration(settings, storedPortName));
    ASSERT_EQ(settings.shownDevices.size(), 3u);
    EXPECT_EQ(settings.currentDevice, u"TV");
    for (const DeviceSettings& shown : settings.shownDevices) {
        Device device;
        EXPECT_TRUE(device.Load(DeviceFolder() + shown.deviceName + u".kdr", true));
        EXPECT_EQ(device.name, shown.deviceName);
    }
}

// A tap of CH1 sends the whole code once and its repeat frame twice, as the pin shows it.
TEST_F(DemoDevicesTest, TappingATvButtonEmitsItsCodeOnThePin) {
    const auto code = EntryCode(*LoadDemo(u"TV").FindRecord(u"CH1"), 0);
    ASSERT_TRUE(code.has_value());
    const orvane_test::ToolRun run = Orvanectl({"send", "--json", "TV", "CH1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto passes = NumberArrays(run.out, "durations_us");
    const auto cycles = NumberArrays(run.out, "cycles");
    ASSERT_EQ(passes.size(), 3u) << run.out;
    const std::vector<std::int32_t>& d = code->durationsUs;
    const auto expectPass = [&](const std::vector<std::int64_t>& emitted, const std::vector<std::int64_t>& bursts,
                                std::size_t from) {
        // The gap closing the pass has no edge after it.
        ASSERT_EQ(emitted.size(), d.size() - from - 1);
        std::size_t burst = 0;
        for (std::size_t i = 0; i < emitted.size(); ++i) {
            const std::int32_t want = d[from + i];
            if (want > 0) {
                ASSERT_LT(burst, bursts.size());
                EXPECT_NEAR(static_cast<double>(bursts[burst++]), want / double(code->carrierPeriodUs), 1.0) << i;
            } else {
                EXPECT_NEAR(static_cast<double>(emitted[i]), want, 2.0 * code->carrierPeriodUs) << i;
            }
        }
        EXPECT_EQ(burst, bursts.size());
    };
    expectPass(passes[0], cycles[0], 0);
    expectPass(passes[1], cycles[1], code->repeatStart);
    expectPass(passes[2], cycles[2], code->repeatStart);
}

// The macro plays amplifier and television codes with the pauses between them, in order.
TEST_F(DemoDevicesTest, TappingTheMacroSendsItsStepsWithTheirPauses) {
    const Device amp = LoadDemo(u"My Amp");
    const auto macro =
        std::find_if(amp.records.begin(), amp.records.end(), [](const ButtonRecord& r) { return r.EntryCount() > 2; });
    ASSERT_NE(macro, amp.records.end());
    std::vector<std::string> expected = {"sleep 50"};
    for (int index = 2; index < static_cast<int>(macro->EntryCount()); ++index) {
        const auto step = EntryCode(*macro, index);
        ASSERT_TRUE(step.has_value());
        expected.push_back(step->durationsUs.empty()
                               ? "sleep " + std::to_string(step->carrierPeriodUs * 256 + step->repeatStart)
                               : "send");
    }
    const orvane_test::ToolRun run = Orvanectl({"send", "--json", "My Amp", handheld::ToUtf8(macro->name)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> events;
    for (std::size_t at = 0; (at = run.out.find("{\"s", at)) != std::string::npos; ++at) {
        if (run.out.compare(at, 12, "{\"sleep_ms\":") == 0) {
            events.push_back("sleep " + std::to_string(std::atoi(run.out.c_str() + at + 12)));
        } else if (run.out.compare(at, 8, "{\"send\":") == 0) {
            events.push_back("send");
            // Held passes of a macro code are not prolonged: three passes for every code.
            EXPECT_EQ(NumberArrays(run.out.substr(at, run.out.find("]}}", at) - at), "cycles").size(), 3u);
        }
    }
    EXPECT_EQ(events, expected) << run.out;
}

}  // namespace
