// The delivered language files: built from resources/lang by gen_lang, read back by the program's parser.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/language_table.h"
#include "handheld/text.h"

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

// Every key the program looks up, with its built-in default. The English file must say the same, apart from
// the keys it rewords to fit one line; the filters (NUL-separated pairs) cannot be in a language file.
const std::map<std::u16string, std::u16string>& ProgramDefaults() {
    // clang-format off
    static const std::map<std::u16string, std::u16string> defaults = {
        {u"ERR_MSG_TITLE", u"Error"}, {u"WAR_MSG_TITLE", u"Warning"}, {u"WAR_DLG_TITLE", u"Warning"},
        {u"ERR_1", u"Can't find record"}, {u"ERR_3", u"Invalid config file"},
        {u"ERR_4", u"Can't load device KDR or CCF"}, {u"ERR_5", u"Can't load icon"},
        {u"ERR_6", u"Use List view only with LVS_SHAREIMAGELISTS style"}, {u"ERR_7", u"Can't allocate memory"},
        {u"ERR_8", u"Can't read all bytes"}, {u"ERR_9", u"Out of memory"}, {u"ERR_11", u"Can't read file header"},
        {u"ERR_12", u"This file don't content KR device"}, {u"ERR_13", u"Too long device name"},
        {u"ERR_14", u"Can't create or rewrite file \""}, {u"ERR_15", u"Can't write file header"},
        {u"ERR_16", u"Can't rename this device."}, {u"ERR_17", u"Can't write file \""},
        {u"ERR_18", u"Button record is too big to save"}, {u"WAR_1", u"This item is read only"},
        {u"WAR_2", u"This command is alreadyassigned to other hard button"},
        {u"WAR_3", u"To set you should select the itemin the List View"},
        {u"WAR_4", u"Can't get IR signal. Try again!"}, {u"WAR_5", u"Delete device \""},
        {u"WAR_6", u"Set all necessary values."}, {u"WAR_7", u"Clear command set?"},
        {u"MNU_ITEM_1", u"Manage devices..."}, {u"MNU_ITEM_2", u"Settings..."},
        {u"MNU_ITEM_3", u"Hardware buttons..."}, {u"MNU_ITEM_4", u"Normal mode"}, {u"MNU_ITEM_5", u"Edit mode"},
        {u"MNU_ITEM_6", u"About..."}, {u"MNU_ITEM_7", u"Exit"}, {u"MNU_ITEM_8", u"Next device"},
        {u"MNU_ITEM_9", u"Previous device"}, {u"MNU_ITEM_10", u"Show devices"}, {u"MNU_ITEM_11", u"Mute"},
        {u"MNU_ITEM_12", u"SkinButton"}, {u"MNU_ITEM_13", u"Properties..."}, {u"MNU_ITEM_14", u"Move"},
        {u"MNU_ITEM_15", u"Delete"}, {u"MNU_ITEM_16", u"Rename"}, {u"MNU_ITEM_17", u"Delete"},
        {u"MNU_ITEM_18", u"Add button..."}, {u"DLG_1_CTL_1", u"Command name:"}, {u"DLG_1_CTL_2", u"Color..."},
        {u"DLG_1_CTL_3", u"Label..."}, {u"DLG_1_CTL_4", u"IR code"}, {u"DLG_1_CTL_5", u"Learn from IR source"},
        {u"DLG_1_CTL_6", u"Read cmd 1"}, {u"DLG_1_CTL_7", u"Has macros"}, {u"DLG_1_CTL_8", u"Select from file:"},
        {u"DLG_1_CTL_9", u"File name:"}, {u"DLG_1_CTL_10", u"Code name:"}, {u"DLG_1_CTL_11", u"Reset cmd"},
        {u"DLG_1_CTL_12", u"OK"}, {u"DLG_1_CTL_13", u"Cancel"}, {u"LEARN_MSG_0", u"Read cmd"},
        {u"LEARN_MSG_1", u"Read cmd 1"}, {u"LEARN_MSG_2", u"Read cmd 2"}, {u"LEARN_MSG_3", u"Learned"},
        {u"DLG_2_CTL_1", u"don't show again"}, {u"DLG_3_CTL_1", u"Device name:"}, {u"DLG_3_CTL_2", u"Device type:"},
        {u"DLG_3_CTL_3", u"Use existing device as template"}, {u"DLG_3_CTL_4", u"Copy device without IR codes"},
        {u"DLG_3_CTL_5", u"OK"}, {u"DLG_3_CTL_6", u"Cancel"}, {u"DT_RECEIVER", u"Receiver"},
        {u"DT_PLAYER", u"Player"}, {u"DT_CUSTOM", u"Custom"}, {u"DLG_4_CTL_1", u"Top left corner's position:"},
        {u"DLG_4_CTL_2", u"Horizontal:"}, {u"DLG_4_CTL_3", u"Vertical:"}, {u"DLG_4_CTL_4", u"3D buttons"},
        {u"DLG_4_CTL_5", u"OK"}, {u"DLG_4_CTL_6", u"Cancel"}, {u"DLG_5_CTL_2", u"Create..."},
        {u"DLG_5_CTL_3", u"OK"}, {u"DLG_5_CTL_4", u"Cancel"},
        {u"DLG_6_CTL_1", u"Choose a hardware button,\n and assign a function"},
        {u"DLG_6_CTL_2", u"Button assigment:"}, {u"DLG_6_CTL_3", u"Set"},
        {u"DLG_6_CTL_4", u"Un-map buttons when minimized"}, {u"DLG_6_CTL_5", u"Use system button when <Empty>"},
        {u"HB_NAME", u"Hardware buttons"}, {u"FUNCTION", u"Function"}, {u"HB_LEFT", u"Left arrow"},
        {u"HB_UP", u"Up arrow"}, {u"HB_RIGHT", u"Right arrow"}, {u"HB_DOWN", u"Down arrow"},
        {u"HB_ENTER", u"Enter"}, {u"NEXT_DEVICE", u"<Next device>"}, {u"ACT_EMPTY", u"<Empty>"},
        {u"DLG_7_CTL_1", u"Select label:"}, {u"DLG_7_CTL_2", u"OK"}, {u"DLG_7_CTL_3", u"Cancel"},
        {u"DLG_8_CTL_1", u"Can't get IR signal. You can use this command to set the necessary pause."},
        {u"DLG_8_CTL_2", u"Your selection:"}, {u"DLG_8_CTL_3", u"2 sec"}, {u"DLG_8_CTL_4", u"OK"},
        {u"DLG_8_CTL_5", u"Cancel"}, {u"MSEC", u"msec"}, {u"DLG_9_CTL_1", u"Set background color"},
        {u"DLG_9_CTL_2", u"Enable background picture"}, {u"DLG_9_CTL_3", u"Transparent buttons"},
        {u"DLG_9_CTL_4", u"File"}, {u"DLG_9_CTL_5", u"Enable button's sound"}, {u"DLG_9_CTL_6", u"File"},
        {u"DLG_9_CTL_7", u"Show hints"}, {u"ABOUT_DLG_TITLE", u"About Zanth Remote"},
        {u"SHORT_APP_NAME", u"Remote"},
    };
    // clang-format on
    return defaults;
}

const std::set<std::u16string> kReworded = {u"DLG_6_CTL_1"};
const std::set<std::u16string> kKeptOut = {u"FILTER_BACK_PICT", u"FILTER_SOUND"};
const std::vector<std::u16string> kHintKeys = {u"5", u"10", u"15", u"30", u"31", u"35"};

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

TEST(DeliveredLanguageFiles, EnglishHoldsEveryProgramTextWithItsDefault) {
    const Entries english = PackageEntries("English.ln1");
    std::map<std::u16string, std::u16string> byKey;
    for (const auto& [key, value] : english) EXPECT_TRUE(byKey.emplace(key, value).second) << "duplicate key";
    for (const auto& [key, defaultText] : ProgramDefaults()) {
        const auto it = byKey.find(key);
        if (it == byKey.end()) {
            ADD_FAILURE() << "missing key " << handheld::ToUtf8(key);
            continue;
        }
        if (kReworded.count(key) == 0) {
            EXPECT_EQ(it->second, defaultText) << handheld::ToUtf8(key);
        }
    }
    for (const auto& key : kKeptOut) EXPECT_EQ(byKey.count(key), 0u) << handheld::ToUtf8(key);
    for (const auto& key : kHintKeys) EXPECT_EQ(byKey.count(key), 1u) << "hint " << handheld::ToUtf8(key);
    EXPECT_EQ(byKey.size(), ProgramDefaults().size() + kHintKeys.size()) << "a key nobody looks up";
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
        const fs::path log = dir_ / "stderr.txt";
        const std::string command = "\"" + (fs::path(ORVANE_BIN_DIR) / "gen_lang").string() + "\" \"" +
                                    source.string() + "\" \"" + Output().string() + "\" 2>\"" + log.string() + "\"";
        const int status = std::system(command.c_str());
        errors_ = ReadAll(log);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
