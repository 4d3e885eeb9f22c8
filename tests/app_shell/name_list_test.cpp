#include "app/shell/name_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/text.h"

namespace {

using Names = std::vector<std::u16string>;

Names Parse(std::string_view bytes) {
    return ParseNameList(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Show(const Names& names) {
    std::string text;
    for (const auto& name : names) text += "[" + handheld::ToUtf8(name) + "]";
    return text;
}

struct NameListCase {
    const char* name;
    std::string bytes;
    Names expected;
};

class NameListParsing : public ::testing::TestWithParam<NameListCase> {};

TEST_P(NameListParsing, YieldsTheNamesInOrder) {
    const NameListCase& c = GetParam();
    // The data is copied to a buffer of exactly its size, so that a read past the end is seen by the sanitizer.
    const std::vector<std::uint8_t> exact(c.bytes.begin(), c.bytes.end());
    const Names actual = ParseNameList(exact.data(), exact.size());
    EXPECT_EQ(actual, c.expected) << "got " << Show(actual) << ", expected " << Show(c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, NameListParsing,
    ::testing::Values(NameListCase{"terminated_list", "CHANAL\0SLASH\0F_LEFT\0\0"s, {u"CHANAL", u"SLASH", u"F_LEFT"}},
                      NameListCase{"data_after_the_end_ignored", "LABEL1\0\0LABEL2\0\0"s, {u"LABEL1"}},
                      NameListCase{"no_closing_empty_string", "A\0B\0"s, {u"A", u"B"}},
                      NameListCase{"last_name_without_terminator", "A\0BC"s, {u"A", u"BC"}},
                      NameListCase{"single_unterminated_name", "X"s, {u"X"}}, NameListCase{"empty_data", ""s, {}},
                      NameListCase{"only_the_end_marker", "\0"s, {}},
                      NameListCase{"empty_first_string_ends_the_list", "\0A\0\0"s, {}},
                      NameListCase{"eight_bit_widened",
                                   "\xE9t\xE9\0\x80\x9F\xFF\0\x81\x8D\0\0"s,
                                   {u"\u00e9t\u00e9", u"\u20ac\u0178\u00ff", u"\u0081\u008d"}},
                      NameListCase{"quotes_and_dashes", "\x93Q\x94\x96\0\0"s, {u"\u201cQ\u201d\u2013"}}),
    [](const ::testing::TestParamInfo<NameListCase>& info) { return std::string(info.param.name); });

TEST(NameListParsing, LongNamesAreCutAndTheListGoesOn) {
    const std::string exact(kMaxListNameChars, 'x');
    const std::string longer(kMaxListNameChars + 40, 'y');
    std::string bytes = exact + '\0' + longer + '\0' + "NEXT" + '\0' + '\0';
    const Names names = Parse(bytes);
    ASSERT_EQ(names.size(), 3u) << Show(names);
    EXPECT_EQ(names[0], std::u16string(kMaxListNameChars, u'x'));
    EXPECT_EQ(names[1], std::u16string(kMaxListNameChars, u'y'));
    EXPECT_EQ(names[2], u"NEXT");
}

TEST(NameListParsing, NullDataGivesNoNames) {
    EXPECT_TRUE(ParseNameList(nullptr, 12).empty());
}

TEST(Windows1252, EveryByteHasItsCodePoint) {
    // Spot checks across the code page: ASCII, the 0x80-0x9F block (including unassigned bytes) and Latin-1.
    const std::pair<std::uint8_t, char16_t> cases[] = {
        {0x41, u'A'},   {0x7F, 0x7F},   {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160},
        {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x99, 0x2122}, {0x9D, 0x009D},
        {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xC4, 0x00C4}, {0xDF, 0x00DF}, {0xFF, 0x00FF},
    };
    for (const auto& [byte, expected] : cases) {
        EXPECT_EQ(static_cast<unsigned>(WidenWindows1252(byte)), static_cast<unsigned>(expected))
            << "byte 0x" << std::hex << static_cast<unsigned>(byte);
    }
    EXPECT_EQ(WidenWindows1252(std::string_view("Gr\xFC\xDF"
                                                "e")),
              u"Gr\u00fc\u00dfe");
}

}  // namespace
