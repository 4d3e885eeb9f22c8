// UTF-16 text and its conversions at the host boundary.
#include <gtest/gtest.h>

#include "handheld/text.h"

using namespace handheld;

TEST(HandheldText, Utf8AndUtf16RoundTrip) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"Orvane.lng", u"Orvane.lng"},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xE2\x82\xAC 5", u"\u20AC 5"},
        {"\xF0\x9F\x98\x80!", u"\U0001F600!"},  // a surrogate pair
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(HandheldText, InvalidUtf8BecomesReplacementCharacters) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"\x80", u"\uFFFD"},
        {"a\xC3", u"a\uFFFD"},          // cut short at the end
        {"\xC3(", u"\uFFFD("},          // continuation byte missing
        {"\xC0\xAF", u"\uFFFD\uFFFD"},  // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xFF"
         "ok",
         u"\uFFFDok"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << testing::PrintToString(c.utf8);
    }
}

TEST(HandheldText, UnpairedSurrogatesBecomeReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {std::u16string(1, char16_t(0xD800)), replacement},
        {std::u16string(1, char16_t(0xDC00)) + u"a", replacement + "a"},
        {std::u16string{char16_t(0xDC00), char16_t(0xD800)}, replacement + replacement},  // reversed pair
        {std::u16string{char16_t(0xD83D), u'x'}, replacement + "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.utf16), c.utf8);
}

TEST(HandheldText, UpperCaseCoversAsciiAndLatin1Only) {
    const struct {
        char16_t in, out;
    } cases[] = {
        {u'a', u'A'},     {u'z', u'Z'}, {u'A', u'A'}, {u'1', u'1'}, {u'_', u'_'}, {0xE9, 0xC9},  // e acute
        {0xE0, 0xC0},     {0xFE, 0xDE}, {0xF7, 0xF7},                                            // division sign
        {0xFF, 0xFF},  // y diaeresis: capital outside Latin-1
        {0xDF, 0xDF},  // sharp s
        {0x0430, 0x0430},
    };
    for (const auto& c : cases) EXPECT_EQ(ToUpper(c.in), c.out) << int(c.in);
    EXPECT_EQ(ToUpper(u"Program Files\u00E9"), u"PROGRAM FILES\u00C9");
    EXPECT_TRUE(EqualsIgnoreCase(u"My Documents", u"MY DOCUMENTS"));
    EXPECT_TRUE(EqualsIgnoreCase(u"", u""));
    EXPECT_FALSE(EqualsIgnoreCase(u"abc", u"abcd"));
    EXPECT_FALSE(EqualsIgnoreCase(u"a\u00F7", u"A\u00D7"));
}

TEST(HandheldText, CopyTruncatedAndWideLength) {
    char16_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    CopyTruncated(buffer, 0, u"abc");
    EXPECT_EQ(buffer[0], u'#');
    CopyTruncated(buffer, 1, u"abc");
    EXPECT_EQ(std::u16string(buffer), u"");
    CopyTruncated(buffer, 3, u"abcdef");
    EXPECT_EQ(std::u16string(buffer), u"ab");
    EXPECT_EQ(buffer[3], u'#');
    CopyTruncated(buffer, 6, u"abc");
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(WideLength(nullptr), 0u);
    EXPECT_EQ(WideLength(u""), 0u);
    EXPECT_EQ(WideLength(buffer), 3u);
}
