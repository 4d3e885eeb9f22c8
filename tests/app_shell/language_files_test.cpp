// The delivered language files: built from resources/lang by gen_lang, read back by the program's parser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/language_table.h"
#include "handheld/text.h"
#include "tests/support/run_tool.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The source format read independently of gen_lang: "KEY<blanks>value", "//" comments, empty lines.
Entries SourceEntries(const fs::path& path) {
    Entries entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 2, "//") == 0) continue;
        const std::size_t keyEnd = line.find_first_of(" \t", start);
        const std::size_t valueStart = line.find_first_not_of(" \t", keyEnd);
        entries.emplace_back(handheld::FromUtf8(line.substr(start, keyEnd - start)),
                             handheld::FromUtf8(line.substr(valueStart)));
    }
    return entries;
}

Entries PackageEntries(const std::string& fileName) {
    const fs::path path = fs::path(ORVANE_PACKAGE_DIR) / fileName;
    if (!fs::exists(path)) ADD_FAILURE() << path << " is missing: build the package_files target first";
    const std::string bytes = ReadAll(path);
    LanguageTable table;
    table.LoadLanguageBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    Entries entries;
    for (std::size_t i = 0; i < table.Count(); ++i) entries.emplace_back(table.Keys()[i], table.Values()[i]);
    return entries;
}

const fs::path kSourceDir = fs::path(ORVANE_SOURCE_DIR) / "resources" / "lang";

// Keys the program's code looks up, each with the built-in default written beside it (u"KEY", u"default"),
// found by reading the sources: the English file must agree with the code, not with a copy kept here.
struct CodeDefault {
    std::string key;
    std::string text;
    std::string where;
};

std::string Unescape(const std::string& literal) {
    std::string text;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            text += literal[i];
            continue;
        }
        const char c = literal[++i];
        text += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c == '0' ? '\0' : c;
    }
    return text;
}

std::vector<CodeDefault> CodeDefaults() {
    static const std::regex pair(
        R"re(u"((?:ERR|WAR|MNU|DLG|DT|HB|LEARN|FILTER|ABOUT|SHORT|NEXT|ACT)_[A-Z0-9_]+|MSEC|FUNCTION)",\s*u"((?:[^"\\]|\\.)*)")re");
    std::vector<CodeDefault> found;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(ORVANE_SOURCE_DIR) / "app")) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        const std::string code = ReadAll(entry.path());
        for (auto it = std::sregex_iterator(code.begin(), code.end(), pair); it != std::sregex_iterator(); ++it) {
            found.push_back({(*it)[1], Unescape((*it)[2]), entry.path().filename().string()});
        }
    }
    return found;
}

// Keys English.txt rewords to fit one line, and keys it leaves out (filters are NUL-separated pairs).
const std::set<std::string> kReworded = {"DLG_6_CTL_1"};
const std::set<std::string> kKeptOut = {"FILTER_BACK_PICT", "FILTER_SOUND"};

std::set<std::u16string> KeySet(const Entries& entries) {
    std::set<std::u16string> keys;
    for (const auto& entry : entries) keys.insert(entry.first);
    return keys;
}

TEST(DeliveredLanguageFiles, EnglishFileReadsBackAsItsSource) {
    const Entries source = SourceEntries(kSourceDir / "English.txt");
    const Entries built = PackageEntries("English.ln1");
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(built, source);
}

TEST(DeliveredLanguageFiles, GermanFileReadsBackAsItsSourceWithTheEnglishKeys) {
    const Entries source = SourceEntries(kSourceDir / "German.txt");
    const Entries built = PackageEntries("German.ln1");
    EXPECT_EQ(built, source);
    const Entries english = PackageEntries("English.ln1");
    ASSERT_EQ(built.size(), english.size());
    for (std::size_t i = 0; i < built.size(); ++i) {
        EXPECT_EQ(built[i].first, english[i].first) << "entry " << i;
        EXPECT_NE(built[i].second, u"") << handheld::ToUtf8(built[i].first);
    }
}

TEST(DeliveredLanguageFiles, EnglishAgreesWithEveryDefaultInTheCode) {
    std::map<std::string, std::string> english;
    for (const auto& [key, value] : PackageEntries("English.ln1")) {
        EXPECT_TRUE(english.emplace(handheld::ToUtf8(key), handheld::ToUtf8(value)).second) << "duplicate key";
    }
    for (const auto& hint : {"5", "10", "15", "30", "31", "35"}) EXPECT_EQ(english.count(hint), 1u) << "hint " << hint;
    for (const auto& key : kKeptOut) EXPECT_EQ(english.count(key), 0u) << key;

    for (const auto& code : CodeDefaults()) {
        if (kKeptOut.count(code.key) != 0) continue;
        const auto it = english.find(code.key);
        if (it == english.end()) {
            ADD_FAILURE() << code.where << " looks up " << code.key << ", which English.txt lacks";
        } else if (kReworded.count(code.key) == 0) {
            EXPECT_EQ(it->second, code.text) << code.where << " gives " << code.key << " another default";
        }
    }
}

TEST(DeliveredLanguageFiles, GermanTranslatesTheVisibleTexts) {
    const Entries english = PackageEntries("English.ln1");
    const Entries german = PackageEntries("German.ln1");
    ASSERT_EQ(KeySet(english), KeySet(german));
    // Words that read the same in both languages; every other text must be translated.
    const std::set<std::u16string> same = {u"OK", u"Receiver", u"Horizontal:"};
    for (std::size_t i = 0; i < english.size(); ++i) {
        if (same.count(english[i].second) != 0) continue;
        EXPECT_NE(german[i].second, english[i].second) << handheld::ToUtf8(english[i].first);
    }
}

TEST(DeliveredLanguageFiles, ArePlainUtf16WithMarkAndCrLf) {
    for (const char* name : {"English.ln1", "German.ln1"}) {
        const std::string bytes = ReadAll(fs::path(ORVANE_PACKAGE_DIR) / name);
        ASSERT_GE(bytes.size(), 4u) << name;
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << name;
        EXPECT_EQ(bytes.size() % 2, 0u) << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\r\0\n\0", 4)) << name;
        // Every LF is preceded by CR, so the file reads the same under the strict CR LF rule.
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] == '\n' && bytes[i + 1] == 0) {
                ASSERT_GE(i, 4u);
                EXPECT_EQ(bytes.substr(i - 2, 2), std::string("\r\0", 2)) << name << " at byte " << i;
            }
        }
    }
}

// gen_lang refuses what the format cannot carry, and never leaves a half-written or stale file behind.
class GenLang : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvane-genlang-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // Runs gen_lang on the source text; returns its exit status, with its standard error in errors_.
    int Run(const std::string& sourceText) {
        const fs::path source = dir_ / "Test.txt";
        std::ofstream(source, std::ios::binary) << sourceText;
        const orvane_test::ToolRun run = orvane_test::RunTool("gen_lang", {source.string(), Output().string()});
        errors_ = run.err;
        return run.exitCode;
    }
    fs::path Output() const { return dir_ / "Test.ln1"; }

    fs::path dir_;
    std::string errors_;
};

TEST_F(GenLang, WritesMarkedUtf16LeWithCrLf) {
    ASSERT_EQ(Run("\xEF\xBB\xBF// comment\n\nK\tV\xC3\xA4\r\n  L   two words\n"), 0) << errors_;
    const std::string expected = std::string("\xFF\xFE", 2) + std::string("K\0\t\0V\0\xE4\0\r\0\n\0", 12) +
                                 std::string("L\0\t\0t\0w\0o\0 \0w\0o\0r\0d\0s\0\r\0\n\0", 26);
    EXPECT_EQ(ReadAll(Output()), expected);
}

struct RefusalCase {
    const char* source;
    const char* message;
};

TEST_F(GenLang, RefusesWhatTheFormatCannotCarry) {
    const RefusalCase cases[] = {
        {"OK\tfine\nPATH\tsee \\Windows/help\n", "Test.txt:2: error: the value of \"PATH\" contains \"/\""},
        {"K\tone\nK\ttwo\n", "Test.txt:2: error: duplicate key \"K\""},
        {"K\n", "Test.txt:1: error: key \"K\" has no value"},
        {"K\t  \n", "Test.txt:1: error: key \"K\" has no value"},
        {"K\tvalue \n", "ends in a blank"},
        {"K\t\xC3(\n", "Test.txt:1: error: not valid UTF-8"},
        {"K\t\xED\xA0\x80\n", "not valid UTF-8"},
        {"A/B\tx\n", "contains \"/\""},
        {"K\tbell\x07\n", "control character"},
    };
    for (const auto& c : cases) {
        std::ofstream(Output(), std::ios::binary) << "previous";
        EXPECT_EQ(Run(c.source), 1) << c.source;
        EXPECT_NE(errors_.find(c.message), std::string::npos) << "source " << c.source << "\nstderr: " << errors_;
        EXPECT_EQ(ReadAll(Output()), "previous") << "a refused source must not touch the output";
        EXPECT_FALSE(fs::exists(Output().string() + ".tmp"));
    }
}

TEST_F(GenLang, ReportsEveryBadLineInOneRun) {
    EXPECT_EQ(Run("A\nB\tok\nB\tagain\nC\ta/b\n"), 1);
    EXPECT_NE(errors_.find(":1: error"), std::string::npos) << errors_;
    EXPECT_NE(errors_.find(":3: error"), std::string::npos) << errors_;
    EXPECT_NE(errors_.find(":4: error"), std::string::npos) << errors_;
    EXPECT_FALSE(fs::exists(Output()));
}

}  // namespace
