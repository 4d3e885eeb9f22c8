// The decoder against the encoder's timings, clean and as the learner hands them over, against codes written
// down elsewhere, and against captures of real remotes.
#include "app/codes/protocol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/codes/pronto.h"
#include "tests/codes/test_codes.h"

namespace {

using codes::DecodeProtocol;
using codes::EncodeProtocol;
using codes::IrSignal;
using codes::ProtocolFields;

using test_codes::Fields;

// As the driver learns: the first burst three carrier periods short, every duration on the learner's grain.
std::vector<std::int32_t> AsLearned(const IrSignal& signal) {
    const double periodUs = 1e6 / signal.frequencyHz;
    constexpr double kGrainUs = 1e6 / 3686400 * 32;
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < signal.durationsUs.size(); ++i) {
        double us = signal.durationsUs[i];
        if (i == 0) us -= 3 * periodUs;
        // Bursts are seen whole periods at a time; pauses take what the bursts lose.
        if (us > 0)
            us = std::floor(us / periodUs) * periodUs;
        else
            us = -std::ceil(-us / kGrainUs) * kGrainUs;
        out.push_back(static_cast<std::int32_t>(std::lround(us)));
    }
    return out;
}

void ExpectSame(const ProtocolFields& want, const ProtocolFields& got, const char* what) {
    EXPECT_EQ(got.protocol, want.protocol) << what;
    EXPECT_EQ(got.device, want.device) << what << " " << want.protocol;
    EXPECT_EQ(got.subdevice, want.subdevice) << what << " " << want.protocol;
    EXPECT_EQ(got.function, want.function) << what << " " << want.protocol;
    EXPECT_EQ(got.toggle, want.toggle) << what << " " << want.protocol;
}

TEST(ProtocolDecoder, NamesEveryEncodedProtocolCleanAndAsLearned) {
    const std::vector<ProtocolFields> vectors = {
        Fields("NEC1", 4, -1, 8),        Fields("NEC1", 64, 64, 168),      Fields("NEC2", 0, -1, 255),
        Fields("NECx1", 7, 7, 2),        Fields("NECx2", 224, 224, 144),   Fields("NEC42", 0x1234, 0x0ABC, 17),
        Fields("Aiwa", 118, 3, 200),     Fields("Samsung36", 48, 15, 121), Fields("JVC", 3, -1, 23),
        Fields("Panasonic", 128, 0, 25), Fields("RC5", 0, -1, 12, 0),      Fields("RC5", 20, -1, 127, 1),
        Fields("RC5x", 16, 12, 1, 1),    Fields("RC6", 4, -1, 12, 0),      Fields("RC6", 255, -1, 0, 1),
        Fields("Sony12", 1, -1, 21),     Fields("Sony15", 151, -1, 112),   Fields("Sony20", 26, 73, 57),
        Fields("Denon", 2, -1, 226),     Fields("Sharp", 1, -1, 24),       Fields("RCA", 15, -1, 87),
        Fields("Mitsubishi", 71, -1, 3), Fields("NEC1-f16", 4, 5, 0x1234), Fields("NECx2-f16", 7, 7, 0xBEEF),
    };
    for (const ProtocolFields& want : vectors) {
        IrSignal signal;
        ASSERT_TRUE(EncodeProtocol(want, signal)) << want.protocol;
        // The "2" kinds are told by the frame coming again while held.
        if (want.protocol.rfind("NEC", 0) == 0 && want.protocol.find('2') != std::string::npos) {
            const std::vector<std::int32_t> frame = signal.durationsUs;
            signal.durationsUs.insert(signal.durationsUs.end(), frame.begin(), frame.end());
        }
        ExpectSame(want, DecodeProtocol(signal.durationsUs, signal.frequencyHz), "clean");
        ExpectSame(want, DecodeProtocol(AsLearned(signal), signal.frequencyHz), "learned");
    }
}

TEST(ProtocolDecoder, EncoderRefusesFieldsOutsideTheProtocol) {
    IrSignal signal;
    EXPECT_FALSE(EncodeProtocol(Fields("NEC1", 256, -1, 0), signal));
    EXPECT_FALSE(EncodeProtocol(Fields("RC5", 32, -1, 0, 0), signal));
    EXPECT_FALSE(EncodeProtocol(Fields("RC6", 1, -1, 1, 2), signal));
    EXPECT_FALSE(EncodeProtocol(Fields("Sony12", 1, -1, 128), signal));
    EXPECT_FALSE(EncodeProtocol(Fields("Zenith", 1, -1, 1), signal));
}

TEST(ProtocolDecoder, SaysUnknownRatherThanGuess) {
    IrSignal nec;
    ASSERT_TRUE(EncodeProtocol(Fields("NEC1", 4, -1, 8), nec));
    // One bit's pause halfway between a 0 and a 1.
    std::vector<std::int32_t> blurred = nec.durationsUs;
    blurred[5] = -1130;
    EXPECT_EQ(DecodeProtocol(blurred, 38000).protocol, "unknown");
    // The function's complement broken: a 16-bit function.
    std::vector<std::int32_t> broken = nec.durationsUs;
    broken[65] = broken[65] == -564 ? -1692 : -564;
    EXPECT_EQ(DecodeProtocol(broken, 38000).protocol, "NEC1-f16");
    // A frame cut short.
    std::vector<std::int32_t> cut(nec.durationsUs.begin(), nec.durationsUs.begin() + 40);
    EXPECT_EQ(DecodeProtocol(cut, 38000).protocol, "unknown");
    EXPECT_EQ(DecodeProtocol({}, 38000).protocol, "unknown");
    const std::vector<std::int32_t> hostile = {INT32_MIN, INT32_MAX, 0, -1, INT32_MAX, INT32_MIN};
    EXPECT_EQ(DecodeProtocol(hostile, 38000).protocol, "unknown");
}

TEST(ProtocolDecoder, DittoOrWholeFrameRepeatsTellTheKind) {
    IrSignal nec1, nec2;
    ASSERT_TRUE(EncodeProtocol(Fields("NEC1", 1, -1, 2), nec1));
    ASSERT_TRUE(EncodeProtocol(Fields("NEC2", 1, -1, 2), nec2));
    EXPECT_EQ(nec1.durationsUs.size(), 67u + 1 + 4);
    EXPECT_EQ(nec1.repeatStart, 68u);
    // NEC2 held: the frame again.
    std::vector<std::int32_t> held = nec2.durationsUs;
    held.insert(held.end(), nec2.durationsUs.begin(), nec2.durationsUs.end());
    EXPECT_EQ(DecodeProtocol(held, 38000).protocol, "NEC2");
    EXPECT_EQ(DecodeProtocol(nec1.durationsUs, 38000).protocol, "NEC1");
}

// Codes as published with the protocol their authors read from them.
TEST(ProtocolDecoder, NamesPublishedProntoCodes) {
    struct Published {
        const char* pronto;
        ProtocolFields fields;
    };
    const Published published[] = {
        {"0000 006d 0022 0002 0155 00aa 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0040 "
         "0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0016 0040 0016 0016 0016 0016 0016 "
         "0016 0016 0016 0016 0040 0016 0016 0016 0040 0016 0016 0016 0040 0016 0040 0016 0040 0016 0040 0016 0016 "
         "0016 0040 0016 0016 0016 0040 0016 0016 0016 06ef 0155 0055 0016 0e34",
         Fields("NEC1", 64, 64, 168)},
        {"0000 0073 0000 000A 0020 0020 0040 0020 0020 0040 0020 0020 0040 0040 0040 0020 0020 0040 0020 0020 0040 "
         "0040 0020 0CA8",
         Fields("RC5", 13, -1, 13, 0)},
        {"0000 0073 0000 001A 0020 0020 0020 0020 0020 0020 0040 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 "
         "0020 0020 0020 0020 0020 0020 0040 0020 0CA5 0020 0020 0020 0020 0020 0020 0040 0020 0020 0020 0020 0020 "
         "0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0040 0020 0497",
         Fields("RC5", 16, -1, 1, 1)},
        {"0000 0073 0013 0000 0020 0020 0020 0020 0040 0020 0020 0020 0020 0020 0020 0020 0020 00A0 0020 0020 0020 "
         "0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 0020 09B7",
         Fields("RC5x", 0, 0, 0, 1)},
    };
    for (const Published& code : published) {
        IrSignal signal;
        std::string error;
        ASSERT_TRUE(codes::ReadPronto(code.pronto, signal, &error)) << error;
        ExpectSame(code.fields, DecodeProtocol(signal.durationsUs, signal.frequencyHz), code.pronto);
    }
}

// Captures of real remotes, including the learner's errors.
TEST(ProtocolDecoder, NamesCapturesOfRealRemotes) {
    const std::vector<std::int32_t> nec = {
        9218, -4418, 656,  -510,  626,   -511,  624,   -1618,  623,  -516,  621,   -518,   620,   -518,  620,
        -519, 619,   -519, 619,   -1624, 619,   -1625, 618,    -519, 619,   -1626, 617,    -1625, 619,   -1626,
        617,  -1626, 593,  -1674, 592,   -546,  569,   -1674,  569,  -1651, 592,   -569,   569,   -569,  569,
        -569, 569,   -569, 569,   -569,  592,   -1652, 593,    -545, 569,   -569,  593,    -1651, 569,   -1675,
        593,  -1650, 569,  -1675, 593,   -1650, 594,   -39853, 9186, -2193, 595,   -95998, 9212,  -2218, 595};
    ExpectSame(Fields("NEC1", 4, -1, 6), DecodeProtocol(nec, 38000), "capture");
    const std::vector<std::int32_t> rc5 = {843, -829, 1774, -725, 875, -829, 874, -829, 874, -829,  874, -829,
                                           874, -829, 874,  -829, 874, -829, 874, -829, 874, -1658, 1729};
    ExpectSame(Fields("RC5", 0, -1, 2, 0), DecodeProtocol(rc5, 38000), "capture");
}

}  // namespace
