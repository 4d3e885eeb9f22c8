// lircd.conf remotes: encoded kinds against the protocols they carry, raw codes as they stand.
#include "app/codes/lirc_conf.h"

#include <gtest/gtest.h>

#include "app/codes/code_list.h"
#include "app/codes/protocol.h"
#include "tests/codes/test_codes.h"

namespace {

using codes::CodeList;

codes::ProtocolFields Decoded(const codes::IrSignal& signal) {
    return codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz);
}

constexpr char kNec[] = R"(# a television
begin remote
  name  TV
  bits           16
  flags SPACE_ENC|CONST_LENGTH
  eps            30
  aeps          100
  header       9000  4500
  one           560  1690
  zero          560   560
  ptrail        560
  repeat       9000  2250
  pre_data_bits   16
  pre_data       0x20DF
  gap          108000
  begin codes
      KEY_POWER                0x10EF   # on and off
      KEY_VOLUMEUP             0x40BF 0x40BE
  end codes
end remote
)";

TEST(LircConf, SpaceEncodedRemoteGivesItsNecCodes) {
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadLircConf(kNec, list, &error)) << error;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "KEY_POWER");
    const auto power = Decoded(list[0].signal);
    EXPECT_EQ(power.protocol, "NEC1");
    EXPECT_EQ(power.device, 4);
    EXPECT_EQ(power.function, 8);
    EXPECT_EQ(Decoded(list[1].signal).function, 2);
    // The repeat part is the ditto, and the frame with its gap lasts the constant length.
    const auto& d = list[0].signal.durationsUs;
    ASSERT_EQ(d.size() - list[0].signal.repeatStart, 4u);
    std::int64_t frameUs = 0;
    for (std::size_t i = 0; i < list[0].signal.repeatStart; ++i) frameUs += std::abs(d[i]);
    EXPECT_EQ(frameUs, 108000);
    EXPECT_TRUE(list[0].toggled.durationsUs.empty());
}

TEST(LircConf, Rc5AndRc6RemotesToggleAsTheFileSays) {
    const char* conf = R"(
begin remote
  name  AMP
  bits  13
  flags RC5|CONST_LENGTH
  one   889 889
  zero  889 889
  plead 889
  gap   113792
  toggle_bit_mask 0x800
  frequency 36000
  begin codes
    Vol+ 0x1010
  end codes
end remote
begin remote
  name  MEDIA
  bits  21
  flags RC6|CONST_LENGTH
  header 2664 888
  one   444 444
  zero  444 444
  rc6_mask 0x10000
  toggle_bit_mask 0x10000
  gap   106560
  frequency 36000
  begin codes
    Play 0x10040C
  end codes
end remote
)";
    CodeList list;
    std::string error;
    ASSERT_TRUE(codes::ReadLircConf(conf, list, &error)) << error;
    ASSERT_EQ(list.size(), 2u);
    const struct {
        const char* protocol;
        int device, function;
    } want[] = {{"RC5", 0, 16}, {"RC6", 4, 12}};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto first = Decoded(list[i].signal), second = Decoded(list[i].toggled);
        EXPECT_EQ(first.protocol, want[i].protocol);
        EXPECT_EQ(first.device, want[i].device);
        EXPECT_EQ(first.function, want[i].function);
        EXPECT_EQ(first.toggle, std::optional<int>(0)) << want[i].protocol;
        EXPECT_EQ(second.protocol, want[i].protocol);
        EXPECT_EQ(second.toggle, std::optional<int>(1)) << want[i].protocol;
    }
}

TEST(LircConf, RawCodesRoundTripWithTheirGap) {
    const CodeList list{{"Power", test_codes::Encoded("NEC2", 4, -1, 8)},
                        {"Vol Up", test_codes::Encoded("NEC2", 4, -1, 2)},
                        {"Play", test_codes::Encoded("Sony12", 1, -1, 26)}};
    const std::string text = codes::WriteLircConf(list);
    CodeList back;
    std::string error;
    ASSERT_TRUE(codes::ReadLircConf(text, back, &error)) << error << "\n" << text;
    ASSERT_EQ(back.size(), list.size());
    EXPECT_EQ(back[1].name, "Vol_Up");
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].signal.durationsUs, list[i].signal.durationsUs) << i;
        EXPECT_EQ(back[i].signal.frequencyHz, list[i].signal.frequencyHz) << i;
    }
}

TEST(LircConf, DamagedFilesAreRefusedNamingTheLine) {
    const std::pair<std::string, const char*> bad[] = {
        {"name x\n", "line 1"},
        {"begin remote\n  bits 99\nend remote\n", "line 2"},
        {"begin remote\n  header 9000\nend remote\n", "header"},
        {"begin remote\n  gap lots\nend remote\n", "gap"},
        {"begin remote\n  bits 8\n  begin codes\n    A\n  end codes\nend remote\n", "line 4"},
        {"begin remote\n  begin codes\n    A 0x1\n  end codes\nend remote\n", "no bits"},
        {"begin remote\n  flags RAW_CODES\n  begin raw_codes\n    100 200\n", "before the first name"},
        {"begin remote\n  flags RAW_CODES\n  begin raw_codes\n    name A\n    100 -200\n", "not microseconds"},
        {"begin remote\n  flags RAW_CODES\n  begin raw_codes\n    name A\n    name B\n", "line 4"},
        {"begin remote\n  bits 8\n", "ends inside a remote"},
        {"begin remote\nend remote\n", "no codes"},
        {"begin remote\n  frequency 9999999\nend remote\n", "1 MHz"},
        // A toggle bit beyond what a code holds toggles nothing; the remote still has no codes.
        {"begin remote\n  bits 64\n  pre_data_bits 64\n  post_data_bits 64\n  toggle_bit 1\nend remote\n", "no codes"},
    };
    for (const auto& [text, reason] : bad) {
        CodeList list;
        std::string error;
        EXPECT_FALSE(codes::ReadLircConf(text, list, &error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << "\n gave: " << error;
        EXPECT_TRUE(list.empty());
    }
}

}  // namespace
