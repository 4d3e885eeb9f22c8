#include "app/model/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

TEST(LittleEndianTest, NumbersKeepTheirLowByteFirstAcrossTheWholeRange) {
    const std::uint8_t bytes[] = {0x34, 0x12, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(ReadU16(bytes), 0x1234);
    EXPECT_EQ(ReadU16(bytes + 2), 0x80FF);  // the high bit does not sign-extend
    EXPECT_EQ(ReadU32(bytes), 0x80FF1234u);
    EXPECT_EQ(ReadI32(bytes + 4), std::numeric_limits<std::int32_t>::min());
    const std::uint8_t minusOne[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ReadI32(minusOne), -1);  // a pause in the samples is a negative duration

    std::vector<std::uint8_t> appended;
    AppendU16(appended, 0xBEEF);
    AppendU32(appended, 0xFEDCBA98u);
    EXPECT_EQ(appended, (std::vector<std::uint8_t>{0xEF, 0xBE, 0x98, 0xBA, 0xDC, 0xFE}));

    std::vector<std::uint8_t> buffer(6, 0xAA);
    std::uint8_t* p = buffer.data();
    PutU32(p, 0xFEDCBA98u);
    PutU16(p, 0xBEEF);
    EXPECT_EQ(p, buffer.data() + 6);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0x98, 0xBA, 0xDC, 0xFE, 0xEF, 0xBE}));
}

TEST(LittleEndianTest, Utf16TextRoundTripsAndAnOddLengthDropsTheHalfCharacter) {
    const std::u16string text = u"A\u00E9\u20AC\xD83D\xDE00";  // ASCII, Latin-1, BMP and a surrogate pair
    std::vector<std::uint8_t> bytes;
    AppendUtf16(bytes, text);
    ASSERT_EQ(bytes.size(), text.size() * 2);
    EXPECT_EQ(bytes[2], 0xE9);
    EXPECT_EQ(bytes[3], 0x00);
    EXPECT_EQ(bytes[4], 0xAC);
    EXPECT_EQ(bytes[5], 0x20);
    EXPECT_EQ(ReadUtf16(bytes.data(), bytes.size()), text);
    EXPECT_EQ(ReadUtf16(bytes.data(), 5), u"A\u00E9");
    EXPECT_EQ(ReadUtf16(bytes.data(), 0), u"");

    std::vector<std::uint8_t> buffer(bytes.size() + 1, 0x55);
    std::uint8_t* p = buffer.data();
    PutUtf16(p, text);
    EXPECT_EQ(p, buffer.data() + bytes.size());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.end() - 1), bytes);
    EXPECT_EQ(buffer.back(), 0x55) << "nothing written past the text";
}

}  // namespace
