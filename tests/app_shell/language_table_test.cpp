#include "app/shell/language_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "handheld/text.h"
#include "tests/support/test_home.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

// A language file's bytes: the byte-order mark (unless left out), then the text as UTF-16LE.
Bytes FileBytes(std::u16string_view text, bool withMark = true) {
    Bytes bytes;
    if (withMark) bytes = {0xFF, 0xFE};
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

Entries EntriesOf(const LanguageTable& table) {
    Entries entries;
    for (std::size_t i = 0; i < table.Count(); ++i) entries.emplace_back(table.Keys()[i], table.Values()[i]);
    return entries;
}

std::string Show(const Entries& entries) {
    std::string text;
    for (const auto& [key, value] : entries) text += "[" + handheld::ToUtf8(key) + "=" + handheld::ToUtf8(value) + "]";
    return text;
}

struct ParseCase {
    const char* name;
    Bytes bytes;
    Entries expected;
};

class LanguageFileParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LanguageFileParsing, YieldsTheExpectedEntriesInFileOrder) {
    const ParseCase& c = GetParam();
    LanguageTable table;
    table.LoadLanguageBytes(c.bytes.data(), c.bytes.size());
    const Entries actual = EntriesOf(table);
    EXPECT_EQ(actual, c.expected) << "got " << Show(actual) << ", expected " << Show(c.expected);
}

Bytes OddSized() {
    Bytes bytes = FileBytes(u"A 1");
    bytes.push_back(u'2');  // half a character: "A 12" must not be read
    return bytes;
}

Bytes ThirdByteZero() {
    // The first character U+0100 has a zero low byte; the valid entry on the next line must not count.
    return FileBytes(u"\u0100\r\nKEY value\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, LanguageFileParsing,
    ::testing::Values(
        ParseCase{"plain",
                  FileBytes(u"ERR_4\tCan't load\r\nWAR_1 Read only\r\n"),
                  {{u"ERR_4", u"Can't load"}, {u"WAR_1", u"Read only"}}},
        ParseCase{"no_mark", FileBytes(u"ERR_4 text\r\n", false), {}},
        ParseCase{"big_endian_mark", Bytes{0xFE, 0xFF, 0x00, 'A', 0x00, ' ', 0x00, '1'}, {}},
        ParseCase{"third_byte_zero", ThirdByteZero(), {}},
        ParseCase{"value_cut_at_slash",
                  FileBytes(u"ERR_4 Can't load device / a note\r\n"),
                  {{u"ERR_4", u"Can't load device"}}},
        ParseCase{"value_starting_with_slash", FileBytes(u"ERR_4 /only a note\r\nB 2\r\n"), {{u"B", u"2"}}},
        ParseCase{"slash_inside_key_ends_it", FileBytes(u"A/B value\r\n"), {}},
        ParseCase{"trailing_blanks_cut", FileBytes(u"K  value \t \t\r\n"), {{u"K", u"value"}}},
        ParseCase{"inner_blanks_kept", FileBytes(u"K a  \tb\r\n"), {{u"K", u"a  \tb"}}},
        ParseCase{"duplicates_all_kept_in_order",
                  FileBytes(u"K first\r\nK second\r\n"),
                  {{u"K", u"first"}, {u"K", u"second"}}},
        ParseCase{"leading_blanks_and_tab",
                  FileBytes(u"  \t DLG_3_CTL_1\tDevice name:\r\n"),
                  {{u"DLG_3_CTL_1", u"Device name:"}}},
        ParseCase{
            "comment_lines", FileBytes(u"// ERR_1 commented out\r\n  // K v\r\nERR_1 live\r\n"), {{u"ERR_1", u"live"}}},
        ParseCase{"key_without_value", FileBytes(u"LONELY\r\nBLANKS   \t\r\nK v\r\n"), {{u"K", u"v"}}},
        ParseCase{"nul_ends_line_content",
                  FileBytes(std::u16string(u"K val\0ue tail\r\nK2 v2", 20)),
                  {{u"K", u"val"}, {u"K2", u"v2"}}},
        ParseCase{"nul_before_key", FileBytes(std::u16string(u" \0K v\r\nK2 v2\r\n", 14)), {{u"K2", u"v2"}}},
        ParseCase{"last_line_without_crlf", FileBytes(u"A 1\r\nB 2"), {{u"A", u"1"}, {u"B", u"2"}}},
        ParseCase{"lone_cr", FileBytes(u"A 1\rB 2\r"), {{u"A", u"1"}, {u"B", u"2"}}},
        ParseCase{"lone_lf", FileBytes(u"A 1\nB 2\n"), {{u"A", u"1"}, {u"B", u"2"}}},
        ParseCase{"lf_cr_is_two_ends", FileBytes(u"A 1\n\rB 2"), {{u"A", u"1"}, {u"B", u"2"}}},
        ParseCase{"empty_lines", FileBytes(u"\r\n\r\nA 1\r\n\r\n"), {{u"A", u"1"}}},
        ParseCase{"empty_file", Bytes{}, {}}, ParseCase{"one_byte", Bytes{0xFF}, {}},
        ParseCase{"only_the_mark", Bytes{0xFF, 0xFE}, {}}, ParseCase{"odd_byte_count", OddSized(), {{u"A", u"1"}}},
        ParseCase{"mark_and_one_odd_byte", Bytes{0xFF, 0xFE, 'A'}, {}},
        ParseCase{"hint_number_keys",
                  FileBytes(u"35 Tap a button\r\n5 Tick devices"),
                  {{u"35", u"Tap a button"}, {u"5", u"Tick devices"}}},
        ParseCase{"non_ascii_kept",
                  FileBytes(u"ERR_1 Eintrag nicht gefunden \u00e4\u00f6\u00fc\u20ac"),
                  {{u"ERR_1", u"Eintrag nicht gefunden \u00e4\u00f6\u00fc\u20ac"}}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(LanguageTableLookup, FirstEntryWinsAndKeysAreCaseSensitive) {
    const Bytes bytes = FileBytes(u"ERR_4 first\r\nERR_4 second\r\n");
    LanguageTable table;
    table.LoadLanguageBytes(bytes.data(), bytes.size());
    EXPECT_EQ(std::u16string(table.Lookup(u"ERR_4", u"default")), u"first");
    EXPECT_EQ(std::u16string(table.Lookup(u"err_4", u"default")), u"default");
    EXPECT_EQ(std::u16string(table.Lookup(u"ERR_", u"default")), u"default");
    EXPECT_EQ(std::u16string(table.Lookup(u"ERR_41", u"default")), u"default");
}

TEST(LanguageTableLookup, MissingKeyDefaultAndEmptyTable) {
    const Bytes bytes = FileBytes(u"ERR_4 text\r\n");
    LanguageTable table;
    const char16_t* fallback = u"fallback";
    EXPECT_EQ(table.Lookup(u"ERR_4", fallback), fallback) << "an empty table gives the default";
    EXPECT_EQ(table.Lookup(u"ERR_4", nullptr), nullptr);

    table.LoadLanguageBytes(bytes.data(), bytes.size());
    EXPECT_EQ(table.Lookup(nullptr, fallback), fallback) << "no key gives the default";
    EXPECT_EQ(table.Lookup(nullptr, nullptr), nullptr);
    EXPECT_EQ(table.Lookup(u"35", nullptr), nullptr) << "a missing hint has no text";
    ASSERT_NE(table.Lookup(u"ERR_4", nullptr), nullptr);
    EXPECT_EQ(std::u16string(table.Lookup(u"ERR_4", nullptr)), u"text");
}

TEST(LanguageTableLookup, ReloadReplacesTheContents) {
    LanguageTable table;
    const Bytes first = FileBytes(u"A 1\r\nB 2\r\n");
    const Bytes second = FileBytes(u"B 3\r\nC 4\r\n");
    table.LoadLanguageBytes(first.data(), first.size());
    table.LoadLanguageBytes(second.data(), second.size());
    EXPECT_EQ(EntriesOf(table), (Entries{{u"B", u"3"}, {u"C", u"4"}}));
    EXPECT_EQ(table.Lookup(u"A", nullptr), nullptr);

    const Bytes unmarked = FileBytes(u"D 5\r\n", false);
    table.LoadLanguageBytes(unmarked.data(), unmarked.size());
    EXPECT_EQ(table.Count(), 0u) << "a wrongly marked file empties the table, it does not keep the old one";

    table.LoadLanguageBytes(second.data(), second.size());
    table.Clear();
    EXPECT_EQ(table.Lookup(u"B", u"d"), std::u16string_view(u"d"));
}

TEST(LanguageTableLookup, TextGivesValueDefaultOrEmpty) {
    LanguageTable& table = LanguageTable::Instance();
    const Bytes bytes = FileBytes(u"ERR_MSG_TITLE Fehler\r\n");
    table.LoadLanguageBytes(bytes.data(), bytes.size());
    EXPECT_EQ(Text(u"ERR_MSG_TITLE", u"Error"), u"Fehler");
    EXPECT_EQ(Text(u"WAR_MSG_TITLE", u"Warning"), u"Warning");
    EXPECT_EQ(Text(u"30", nullptr), u"");
    table.Clear();
    EXPECT_EQ(Text(u"ERR_MSG_TITLE", u"Error"), u"Error");
}

TEST(LanguageTableLookup, CountStopsAtSixteenBits) {
    std::u16string text;
    for (int i = 0; i <= 65535; ++i) text += u"K" + handheld::FromUtf8(std::to_string(i)) + u" v\r\n";
    const Bytes bytes = FileBytes(text);
    LanguageTable table;
    table.LoadLanguageBytes(bytes.data(), bytes.size());
    EXPECT_EQ(table.Count(), 65535u);
    EXPECT_NE(table.Lookup(u"K65534", nullptr), nullptr);
    EXPECT_EQ(table.Lookup(u"K65535", nullptr), nullptr);
}

TEST(LanguageFileLoading, ReadsTheFileThroughTheHandheld) {
    orvane_test::TestHome home;
    home.WriteFile(u"\\Program Files\\Orvane\\Test.lng", FileBytes(u"ERR_4 from file / note\r\nHB_UP Up"));
    LanguageTable table;
    table.LoadLanguageFile(u"\\Program Files\\Orvane\\Test.lng");
    EXPECT_EQ(EntriesOf(table), (Entries{{u"ERR_4", u"from file"}, {u"HB_UP", u"Up"}}));

    // Paths are looked up ignoring case, as the handheld's file system does.
    table.LoadLanguageFile(u"\\PROGRAM FILES\\orvane\\test.LNG");
    EXPECT_EQ(table.Count(), 2u);
}

TEST(LanguageFileLoading, MissingEmptyOrUnmarkedFilesLeaveTheTableEmpty) {
    orvane_test::TestHome home;
    home.WriteFile(u"\\Good.lng", FileBytes(u"A 1\r\n"));
    home.WriteFile(u"\\Empty.lng", {});
    home.WriteFile(u"\\Mark.lng", {0xFF, 0xFE});
    home.WriteFile(u"\\Unmarked.lng", FileBytes(u"A 1\r\n", false));
    for (const char16_t* path : {u"\\Missing.lng", u"\\Empty.lng", u"\\Mark.lng", u"\\Unmarked.lng", u"\\"}) {
        LanguageTable table;
        table.LoadLanguageFile(u"\\Good.lng");
        ASSERT_EQ(table.Count(), 1u);
        table.LoadLanguageFile(path);
        EXPECT_EQ(table.Count(), 0u) << handheld::ToUtf8(path);
        EXPECT_EQ(table.Lookup(u"A", u"default"), std::u16string_view(u"default"));
    }
}

struct FolderCase {
    std::u16string modulePath;
    std::u16string folder;
};

TEST(ProgramFolder, IsTheModulePathUpToItsLastBackslash) {
    const FolderCase cases[] = {
        {u"\\Program Files\\Orvane\\Orvane.exe", u"\\Program Files\\Orvane"},
        {u"\\Orvane.exe", u""},
        {u"Orvane.exe", u""},
        {u"", u""},
        {u"\\a\\b\\", u"\\a\\b"},
        {u"\\a.b\\c", u"\\a.b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFolderOf(c.modulePath), c.folder) << handheld::ToUtf8(c.modulePath);
    }
}

TEST(ProgramFolder, ComesFromTheProgramsModulePathOnce) {
    orvane_test::TestHome home;
    const std::u16string& folder = GetProgramFolder();
    EXPECT_EQ(folder, u"\\Program Files\\Orvane");
    EXPECT_EQ(&GetProgramFolder(), &folder);
}

}  // namespace
