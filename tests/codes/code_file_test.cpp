// Pronto hex and the code files made of it, and codes taken into devices and out again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/codes/code_list.h"
#include "app/codes/device_import.h"
#include "app/codes/pronto.h"
#include "app/codes/protocol.h"
#include "tests/codes/test_codes.h"

namespace {

using codes::CodeFormat;
using codes::CodeList;
using codes::IrSignal;

using test_codes::Encoded;

void ExpectWithinOnePeriod(const IrSignal& want, const IrSignal& got) {
    ASSERT_EQ(got.durationsUs.size(), want.durationsUs.size());
    EXPECT_EQ(got.repeatStart, want.repeatStart);
    const double periodUs = 1e6 / want.frequencyHz;
    for (std::size_t i = 0; i < want.durationsUs.size(); ++i) {
        EXPECT_LE(std::abs(got.durationsUs[i] - want.durationsUs[i]), periodUs) << "duration " << i;
        EXPECT_EQ(got.durationsUs[i] < 0, want.durationsUs[i] < 0) << "duration " << i;
    }
}

TEST(Pronto, LearnedFormGivesFrequencyDurationsAndRepeatPart) {
    IrSignal signal;
    std::string error;
    ASSERT_TRUE(codes::ReadPronto("0000 006D 0001 0001 0155 00AA 0016 0E34", signal, &error)) << error;
    EXPECT_NEAR(signal.frequencyHz, 38000, 100);
    EXPECT_EQ(signal.repeatStart, 2u);
    ASSERT_EQ(signal.durationsUs.size(), 4u);
    EXPECT_NEAR(signal.durationsUs[0], 0x155 * 0x6D * 0.241246, 1);
    EXPECT_LT(signal.durationsUs[1], 0);
    // Only a repeat part: everything repeats.
    ASSERT_TRUE(codes::ReadPronto("0000 0073 0000 0001 0020 0CA8", signal, &error)) << error;
    EXPECT_EQ(signal.repeatStart, 0u);
}

TEST(Pronto, PresetFormsAreTheirProtocols) {
    struct Preset {
        const char* hex;
        const char* protocol;
        int device, subdevice, function;
    };
    const Preset presets[] = {
        {"5000 0073 0000 0001 0014 000C", "RC5", 20, -1, 12},
        {"5001 0073 0000 0002 0010 000C 0001 0000", "RC5x", 16, 12, 1},
        {"6000 0073 0000 0001 0004 002C", "RC6", 4, -1, 44},
        {"900A 006C 0000 0001 04FB 08F7", "NEC1", 4, -1, 8},
    };
    for (const Preset& preset : presets) {
        IrSignal signal;
        std::string error;
        ASSERT_TRUE(codes::ReadPronto(preset.hex, signal, &error)) << preset.hex << ": " << error;
        const codes::ProtocolFields fields = codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz);
        EXPECT_EQ(fields.protocol, preset.protocol);
        EXPECT_EQ(fields.device, preset.device) << preset.hex;
        EXPECT_EQ(fields.subdevice, preset.subdevice) << preset.hex;
        EXPECT_EQ(fields.function, preset.function) << preset.hex;
    }
}

TEST(Pronto, MalformedCodesAreRefusedWithAReason) {
    const char* bad[] = {
        "",                                    // nothing
        "0000 006D 0001",                      // too short
        "0000 006D 0002 0000 0155 00AA",       // announces more pairs than it has
        "0000 006D 0001 0000 0155 00AA 0016",  // one word too many
        "0000 0000 0001 0000 0155 00AA",       // no carrier
        "0000 006D 0001 0000 0155 0000",       // a duration of zero
        "0000 006D 0001 0000 0155 00AZ",       // not hex
        "0000 006D 0001 0000 0155 000AA",      // five digits
        "7000 006D 0000 0001 0001 0001",       // a kind not known
        "5000 0073 0000 0001 0000 00EF",       // RC5 function beyond 127
        "900A 006C 0000 0001 04FB 08F8",       // NEC command without its complement
        "0000 006D 0000 0000",                 // no bursts
    };
    for (const char* hex : bad) {
        IrSignal signal;
        signal.durationsUs = {1};
        std::string error;
        EXPECT_FALSE(codes::ReadPronto(hex, signal, &error)) << hex;
        EXPECT_FALSE(error.empty()) << hex;
        EXPECT_EQ(signal.durationsUs, std::vector<std::int32_t>{1}) << "a refused code leaves the output alone";
    }
}

TEST(Pronto, WrittenCodesReadBackWithinOnePeriod) {
    for (const IrSignal& signal : {Encoded("NEC1", 4, -1, 8), Encoded("RC5", 1, -1, 2, 1), Encoded("Sony20", 3, 4, 5),
                                   Encoded("RC6", 4, -1, 12, 0)}) {
        IrSignal back;
        std::string error;
        ASSERT_TRUE(codes::ReadPronto(codes::WritePronto(signal), back, &error)) << error;
        ExpectWithinOnePeriod(signal, back);
    }
}

TEST(Pronto, ALearnedCodeEndingOnABurstGetsAPauseToRepeatAfter) {
    IrSignal learned;
    learned.frequencyHz = 38000;
    learned.durationsUs = {9000, -4500, 560, -560, 560, -40000, 9000, -2250, 560};
    learned.repeatStart = 6;
    IrSignal back;
    std::string error;
    ASSERT_TRUE(codes::ReadPronto(codes::WritePronto(learned), back, &error)) << error;
    ASSERT_EQ(back.durationsUs.size(), 10u);
    EXPECT_EQ(back.repeatStart, 6u);
    EXPECT_NEAR(back.durationsUs.back(), -40000, 30);
}

TEST(CodeFile, ProntoLinesWithNamesCommentsAndBareCodes) {
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadCodeFile(CodeFormat::Pronto,
                                    "# my tv\r\nPower: 900A 006C 0000 0001 04FB 08F7\r\n\n"
                                    "  5000 0073 0000 0001 0014 000C  \nTime: 12: 6000 0073 0000 0001 0004 002C\n",
                                    list, &error))
        << error;
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, "Power");
    EXPECT_EQ(list[1].name, "Code 2");
    EXPECT_EQ(list[2].name, "Time: 12");

    const std::string text = codes::WriteCodeFile(CodeFormat::Pronto, list);
    CodeList back;
    ASSERT_TRUE(codes::ReadCodeFile(CodeFormat::Pronto, text, back, &error)) << error;
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].name, list[i].name);
        ExpectWithinOnePeriod(list[i].signal, back[i].signal);
    }
}

TEST(CodeFile, ABadLineRefusesTheWholeFileNamingTheLine) {
    CodeList list{{"kept", Encoded("NEC1", 1, -1, 1)}};
    std::string error;
    EXPECT_FALSE(
        codes::ReadCodeFile(CodeFormat::Pronto, "A: 900A 006C 0000 0001 04FB 08F7\nB: 0000 006D\n", list, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(list.size(), 1u);
    EXPECT_FALSE(codes::ReadCodeFile(CodeFormat::Pronto, "# only a comment\n", list, &error));
    // More durations than the driver can send.
    std::string longCode = "Long: 0000 006D 0065 0000";
    for (int i = 0; i < 202; ++i) longCode += " 0010";
    EXPECT_FALSE(codes::ReadCodeFile(CodeFormat::Pronto, longCode, list, &error));
    EXPECT_NE(error.find("200"), std::string::npos) << error;
}

CodeList Numbered(std::size_t count) {
    CodeList list;
    for (std::size_t i = 0; i < count; ++i)
        list.push_back({"Key " + std::to_string(i), Encoded("NEC1", 1, -1, int(i % 256))});
    return list;
}

TEST(Import, OneButtonPerCodeInAGridOnTheMainPanel) {
    CodeList list = Numbered(codes::kButtonsPerPanel);
    list[0].name = "Power";
    list[1].name = "VOL+";
    list[2].name = "5";
    std::vector<Device> devices;
    std::string error;
    ASSERT_TRUE(codes::BuildImportedDevices(list, u"My TV", false, devices, &error)) << error;
    ASSERT_EQ(devices.size(), 1u);
    const Device& device = devices[0];
    EXPECT_EQ(device.name, u"My TV");
    EXPECT_EQ(device.deviceType, DT_CUSTOM);
    std::vector<std::pair<int, int>> places;
    std::size_t mainButtons = 0;
    for (const ButtonRecord& record : device.records) {
        if (record.panel != 0) continue;
        ++mainButtons;
        EXPECT_EQ(record.skin, u"CHANAL");
        // The skin is 46 x 42; the panel 240 x 270.
        EXPECT_LE(record.x + 46, 240);
        EXPECT_LE(record.y + 42, 270);
        places.emplace_back(record.x, record.y);
        EXPECT_EQ(record.commands.count(0), 1u);
    }
    EXPECT_EQ(mainButtons, list.size());
    std::sort(places.begin(), places.end());
    EXPECT_EQ(std::adjacent_find(places.begin(), places.end()), places.end()) << "two buttons in one place";
    const auto power = std::find_if(device.records.begin(), device.records.end(),
                                    [](const ButtonRecord& r) { return r.commandName == u"Power"; });
    ASSERT_NE(power, device.records.end());
    EXPECT_EQ(power->label, u"LABELPW");
    EXPECT_EQ(device.records[device.records.size() - list.size() + 1].label, u"LABELVOLPLUS");
    EXPECT_EQ(device.records[device.records.size() - list.size() + 2].label, u"LABEL5");
}

TEST(Import, TooManyCodesAreRefusedWithTheCountOrSplit) {
    const CodeList list = Numbered(codes::kButtonsPerPanel * 2 + 1);
    std::vector<Device> devices;
    std::string error;
    EXPECT_FALSE(codes::BuildImportedDevices(list, u"Big", false, devices, &error));
    EXPECT_NE(error.find("61"), std::string::npos) << error;
    EXPECT_TRUE(devices.empty());
    ASSERT_TRUE(codes::BuildImportedDevices(list, u"Big", true, devices, &error)) << error;
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].name, u"Big 1");
    EXPECT_EQ(devices[2].name, u"Big 3");
    EXPECT_EQ(codes::LearnedCodes(devices[2]).size(), 1u);
    EXPECT_EQ(codes::LearnedCodes(devices[2])[0].name, "Key 60");
    EXPECT_FALSE(codes::BuildImportedDevices(list, u"A name far too long for a device", true, devices, &error));
    for (const char16_t* name : {u"", u"..\\Windows\\x", u"a/b", u"TV?"}) {
        EXPECT_FALSE(codes::BuildImportedDevices(list, name, true, devices, &error)) << error;
    }
}

TEST(Import, ToggleCodesAlternateTheirTwoStates) {
    const CodeList list{{"Vol Up", Encoded("RC5", 5, -1, 16, 0)}, {"Menu", Encoded("RC6", 4, -1, 84, 1)}};
    std::vector<Device> devices;
    std::string error;
    ASSERT_TRUE(codes::BuildImportedDevices(list, u"Amp", false, devices, &error)) << error;
    int checked = 0;
    for (const ButtonRecord& record : devices[0].records) {
        if (record.panel != 0) continue;
        ASSERT_EQ(record.commands.size(), 2u);
        IrSignal first, second;
        ASSERT_TRUE(codes::FromCodeEntry(record.commands.at(0), first));
        ASSERT_TRUE(codes::FromCodeEntry(record.commands.at(1), second));
        const auto a = codes::DecodeProtocol(first.durationsUs, first.frequencyHz);
        const auto b = codes::DecodeProtocol(second.durationsUs, second.frequencyHz);
        EXPECT_EQ(a.protocol, b.protocol);
        EXPECT_EQ(a.function, b.function);
        ASSERT_TRUE(a.toggle && b.toggle);
        EXPECT_NE(*a.toggle, *b.toggle);
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}

TEST(Import, AToggleStateTheFileGivesIsTheSecondEntry) {
    codes::NamedCode code{"Flip", Encoded("NEC1", 1, -1, 1)};
    code.toggled = Encoded("NEC1", 1, -1, 2);
    std::vector<Device> devices;
    std::string error;
    ASSERT_TRUE(codes::BuildImportedDevices({code}, u"Flip", false, devices, &error)) << error;
    const ButtonRecord& record = devices[0].records.back();
    ASSERT_EQ(record.commands.size(), 2u);
    IrSignal second;
    ASSERT_TRUE(codes::FromCodeEntry(record.commands.at(1), second));
    EXPECT_EQ(second.durationsUs, code.toggled.durationsUs);
}

TEST(Import, ImportExportImportKeepsTheDurations) {
    const CodeList list{{"Power", Encoded("NEC1", 4, -1, 8)},
                        {"Play", Encoded("RC6", 4, -1, 44, 0)},
                        {"Input", Encoded("Sony15", 151, -1, 37)}};
    std::vector<Device> devices;
    std::string error;
    ASSERT_TRUE(codes::BuildImportedDevices(list, u"Round", false, devices, &error)) << error;
    const std::string exported = codes::WriteCodeFile(CodeFormat::Pronto, codes::LearnedCodes(devices[0]));
    CodeList back;
    ASSERT_TRUE(codes::ReadCodeFile(CodeFormat::Pronto, exported, back, &error)) << error;
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].name, list[i].name);
        ExpectWithinOnePeriod(list[i].signal, back[i].signal);
    }
}

TEST(Import, LabelsOnlyWhereTheNameSaysWhatTheButtonDoes) {
    EXPECT_EQ(codes::LabelForCodeName("POWER"), u"LABELPW");
    EXPECT_EQ(codes::LabelForCodeName("KEY_VOLUMEDOWN"), u"LABELVOLMINUS");
    EXPECT_EQ(codes::LabelForCodeName("chup"), u"LABELCHPLUS");
    EXPECT_EQ(codes::LabelForCodeName("Volume_Down"), u"LABELVOLMINUS");
    EXPECT_EQ(codes::LabelForCodeName("volUp"), u"LABELVOLPLUS");
    EXPECT_EQ(codes::LabelForCodeName("CH-"), u"LABELCHMINUS");
    EXPECT_EQ(codes::LabelForCodeName("Channel Up"), u"LABELCHPLUS");
    EXPECT_EQ(codes::LabelForCodeName("KEY_7"), u"LABEL7");
    EXPECT_EQ(codes::LabelForCodeName("0"), u"LABEL0");
    EXPECT_EQ(codes::LabelForCodeName("HDMI 2"), u"");
    EXPECT_EQ(codes::LabelForCodeName("Mute"), u"LABELMUTE");
    EXPECT_EQ(codes::LabelForCodeName("Fast Forward"), u"LABELRIGHT");
    EXPECT_EQ(codes::LabelForCodeName("Up"), u"LABELUP");
    EXPECT_EQ(codes::LabelForCodeName("Zoom"), u"");
}

}  // namespace
