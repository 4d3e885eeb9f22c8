// Flipper signal files: raw blocks as they stand, parsed blocks as the protocols they name.
#include "app/codes/flipper_ir.h"

#include <gtest/gtest.h>

#include "app/codes/code_list.h"
#include "tests/codes/test_codes.h"

namespace {

using codes::CodeList;

std::string Parsed(const char* name, const char* protocol, const char* address, const char* command) {
    return std::string("#\nname: ") + name + "\ntype: parsed\nprotocol: " + protocol + "\naddress: " + address +
           "\ncommand: " + command + "\n";
}

TEST(FlipperIr, ParsedSignalsAreTheirProtocols) {
    struct Case {
        const char* protocol;
        const char* address;
        const char* command;
        codes::ProtocolFields want;
    };
    using test_codes::Fields;
    const Case cases[] = {
        {"NEC", "04 00 00 00", "08 00 00 00", Fields("NEC1", 4, -1, 8)},
        {"NECext", "EA C7 00 00", "17 E8 00 00", Fields("NEC1", 0xEA, 0xC7, 0x17)},
        {"NECext", "00 7F 00 00", "15 16 00 00", Fields("NEC1-f16", 0, 0x7F, 0x1615)},
        {"NEC42", "1C 00 00 00", "02 00 00 00", Fields("Aiwa", 0x1C, 0, 2)},
        {"Samsung32", "07 00 00 00", "02 00 00 00", Fields("NECx1", 7, 7, 2)},
        {"RC5", "14 00 00 00", "0C 00 00 00", Fields("RC5", 20, -1, 12, 0)},
        {"RC5X", "05 00 00 00", "0C 00 00 00", Fields("RC5", 5, -1, 76, 0)},
        {"RC6", "04 00 00 00", "0C 00 00 00", Fields("RC6", 4, -1, 12, 0)},
        {"SIRC", "01 00 00 00", "15 00 00 00", Fields("Sony12", 1, -1, 21)},
        {"SIRC15", "97 00 00 00", "70 00 00 00", Fields("Sony15", 151, -1, 112)},
        {"SIRC20", "3A 09 00 00", "39 00 00 00", Fields("Sony20", 26, 73, 57)},
        {"RCA", "0F 00 00 00", "57 00 00 00", Fields("RCA", 15, -1, 87)},
        {"Kaseikyo", "80 02 20 00", "90 01 00 00", Fields("Panasonic", 128, 0, 25)},
        {"Kaseikyo", "30 54 32 00", "34 00 00 00", Fields("Kaseikyo", 3, 0x40, 3)},
    };
    std::string file = "Filetype: IR signals file\nVersion: 1\n";
    for (const Case& c : cases) file += Parsed(c.protocol, c.protocol, c.address, c.command);
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadFlipperIr(file, list, &error)) << error;
    ASSERT_EQ(list.size(), std::size(cases));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto got = codes::DecodeProtocol(list[i].signal.durationsUs, list[i].signal.frequencyHz);
        EXPECT_EQ(got.protocol, cases[i].want.protocol) << cases[i].protocol;
        EXPECT_EQ(got.device, cases[i].want.device) << cases[i].protocol;
        EXPECT_EQ(got.subdevice, cases[i].want.subdevice) << cases[i].protocol;
        EXPECT_EQ(got.function, cases[i].want.function) << cases[i].protocol;
    }
}

TEST(FlipperIr, RawSignalsRoundTrip) {
    const std::string file =
        "Filetype: IR signals file\nVersion: 1\n# a comment\n#\nname: 4_Audio\ntype: raw\nfrequency: 38000\n"
        "duty_cycle: 0.330000\ndata: 9011 4450 596 534 595 1665 573\n";
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadFlipperIr(file, list, &error)) << error;
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "4_Audio");
    EXPECT_EQ(list[0].signal.durationsUs, (std::vector<std::int32_t>{9011, -4450, 596, -534, 595, -1665, 573}));
    CodeList back;
    ASSERT_TRUE(codes::ReadFlipperIr(codes::WriteFlipperIr(list), back, &error)) << error;
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].signal.durationsUs, list[0].signal.durationsUs);
    EXPECT_EQ(back[0].signal.frequencyHz, 38000);
    // Encoded codes, ditto and all, come back with their durations.
    const CodeList encoded{{"Power", test_codes::Encoded("NEC1", 4, -1, 8)}};
    ASSERT_TRUE(codes::ReadFlipperIr(codes::WriteFlipperIr(encoded), back, &error)) << error;
    EXPECT_EQ(back[0].signal.durationsUs, encoded[0].signal.durationsUs);
}

TEST(FlipperIr, DamagedFilesAreRefusedNamingTheLine) {
    const std::string head = "Filetype: IR signals file\nVersion: 1\n";
    const std::pair<std::string, const char*> bad[] = {
        {"Filetype: Picture\nVersion: 1\n" + Parsed("A", "NEC", "01 00 00 00", "01 00 00 00"), "line 1"},
        {"Filetype: IR signals file\nVersion: 9\n", "line 2"},
        {head + Parsed("A", "Zenith", "01 00 00 00", "01 00 00 00"), "Zenith"},
        {head + Parsed("A", "NEC", "01 00 00 00", "01 00 00 00") + Parsed("B", "NEC", "1G 00", "01"), "line 10"},
        {head + Parsed("A", "NEC", "0100 00 00", "01 00 00 00"), "line 4"},
        {head + Parsed("A", "NEC", "01 00 00 00 00", "01 00 00 00"), "line 4"},
        {head + Parsed("A", "NEC", "FF 01 00 00", "01 00 00 00"), "does not fit"},
        {head + Parsed("A", "RC5", "01 00 00 00", "40 00 00 00"), "does not fit"},
        {head + "name: A\ntype: raw\nfrequency: 38000\ndata: 9000 -4500\n", "positive"},
        {head + "name: A\ntype: raw\nfrequency: 0\ndata: 9000 4500\n", "frequency"},
        {head + "name: A\ntype: raw\ndata: 9000 4500\n", "frequency and data"},
        {head + "name: A\ntype: raw\nfrequency: 38000\nfrequency: 38000\ndata: 1\n", "twice"},
        {head + "name: A\ntype: learned\n", "learned"},
        {head + "type: raw\n", "before the first name"},
        {head + "name: A\njust words\n", "key: value"},
        {head, "no codes"},
    };
    for (const auto& [file, reason] : bad) {
        CodeList list;
        std::string error;
        EXPECT_FALSE(codes::ReadFlipperIr(file, list, &error)) << file;
        EXPECT_NE(error.find(reason), std::string::npos) << file << "\n gave: " << error;
        EXPECT_TRUE(list.empty());
    }
}

}  // namespace
