// The read-only registry: .reg text in both encodings, lookups, enumeration and the buffer contracts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "handheld/devices.h"
#include "handheld/registry.h"
#include "handheld/text.h"

namespace {

using namespace handheld;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n";

// An open key that closes itself.
class Key {
public:
    Key(HKEY parent, std::u16string_view path) {
        const std::u16string text(path);
        result_ = RegOpenKeyExW(parent, text.c_str(), 0, KEY_READ, &key_);
    }
    ~Key() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }
    LONG result() const { return result_; }

private:
    HKEY key_ = nullptr;
    LONG result_ = 0;
};

std::u16string QueryString(HKEY key, std::u16string_view name) {
    const std::u16string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return u"<missing>";
    if (type != REG_SZ) return u"<not text>";
    std::vector<char16_t> buffer(size / 2 + 1, u'#');
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        return u"<failed>";
    }
    return std::u16string(buffer.data());
}

std::vector<std::u16string> SubkeyNames(HKEY key) {
    std::vector<std::u16string> names;
    for (DWORD index = 0;; ++index) {
        char16_t name[300];
        DWORD length = 300;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

std::string Utf16LeWithBom(std::string_view utf8) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : FromUtf8(utf8)) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string Reg(std::string_view body) {
    return std::string(kHeader) + std::string(body);
}

TEST(RegistryText, ReadsEveryEncodingAlike) {
    const std::string text =
        Reg("[HKEY_LOCAL_MACHINE\\Drivers\\Gerät]\r\n\"FriendlyName\"=\"Fernbedienung Gerät\"\r\n");
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", text},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + text},
        {"UTF-16LE with byte-order mark", Utf16LeWithBom(text)},
    };
    for (const auto& c : cases) {
        LoadRegistryText(c.bytes);
        Key key(HKEY_LOCAL_MACHINE, u"Drivers\\GERÄT");
        ASSERT_EQ(key.result(), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(QueryString(key.get(), u"friendlyname"), u"Fernbedienung Gerät") << c.what;
        EXPECT_TRUE(LastRegistryLoad().headerFound) << c.what;
        EXPECT_EQ(LastRegistryLoad().skippedLines, 0) << c.what;
    }
}

TEST(RegistryText, AcceptsTheOlderHeaderAndRejectsAFileWithout) {
    LoadRegistryText("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"1\"\n");
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, u"A").result(), ERROR_SUCCESS);

    LoadRegistryText("[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"1\"\n");
    EXPECT_FALSE(LastRegistryLoad().headerFound);
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, u"A").result(), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryText, UnescapesTextAndReadsDefaultAndDwordValues) {
    LoadRegistryText(
        Reg("[HKEY_LOCAL_MACHINE\\K]\n"
            "\"Path\"=\"Drivers\\\\BuiltIn\\\\IrDA\"\n"
            "\"Quoted\"=\"say \\\"hi\\\"\"\n"
            "\"Name \\\"x\\\"\"=\"odd name\"\n"
            "@=\"the default\"\n"
            "\"Count\"=dword:0000001f\n"
            "\"Short\"=dword:A\n"));
    Key key(HKEY_LOCAL_MACHINE, u"K");
    ASSERT_EQ(key.result(), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key.get(), u"Path"), u"Drivers\\BuiltIn\\IrDA");
    EXPECT_EQ(QueryString(key.get(), u"Quoted"), u"say \"hi\"");
    EXPECT_EQ(QueryString(key.get(), u"Name \"x\""), u"odd name");
    EXPECT_EQ(QueryString(key.get(), u""), u"the default");

    const struct {
        const char16_t* name;
        DWORD expected;
    } dwords[] = {{u"Count", 0x1f}, {u"Short", 0xa}};
    for (const auto& d : dwords) {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof(value);
        ASSERT_EQ(RegQueryValueExW(key.get(), d.name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, REG_DWORD);
        EXPECT_EQ(size, 4u);
        EXPECT_EQ(value, d.expected);
    }
}

TEST(RegistryText, JoinsContinuedHexLines) {
    LoadRegistryText(
        Reg("[HKEY_LOCAL_MACHINE\\K]\n"
            "\"Blob\"=hex:01,02,\\\n"
            "  03,ff\n"
            "\"Expand\"=hex(2):41,00,00,00\n"
            "\"After\"=\"still read\"\n"));
    Key key(HKEY_LOCAL_MACHINE, u"K");
    const struct {
        const char16_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
    } cases[] = {{u"Blob", REG_BINARY, {1, 2, 3, 0xff}}, {u"Expand", REG_EXPAND_SZ, {0x41, 0, 0, 0}}};
    for (const auto& c : cases) {
        DWORD type = 0;
        BYTE data[16] = {};
        DWORD size = sizeof(data);
        ASSERT_EQ(RegQueryValueExW(key.get(), c.name, nullptr, &type, data, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(std::vector<BYTE>(data, data + size), c.bytes);
    }
    EXPECT_EQ(QueryString(key.get(), u"After"), u"still read");
}

TEST(RegistryText, EnumeratesSubkeysInOrderOfFirstAppearanceIgnoringCase) {
    LoadRegistryText(
        Reg("[HKEY_LOCAL_MACHINE\\Root\\Zeta\\Deep]\n"
            "[HKEY_LOCAL_MACHINE\\Root\\alpha]\n"
            "[HKEY_LOCAL_MACHINE\\ROOT\\ZETA]\n"
            "\"Late\"=\"added to the first key\"\n"
            "[HKEY_LOCAL_MACHINE\\Root\\Mid]\n"));
    Key root(HKEY_LOCAL_MACHINE, u"root");
    ASSERT_EQ(root.result(), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(root.get()), (std::vector<std::u16string>{u"Zeta", u"alpha", u"Mid"}));
    EXPECT_EQ(QueryString(Key(root.get(), u"zeta").get(), u"Late"), u"added to the first key");
    EXPECT_EQ(LastRegistryLoad().keys, 5);
}

TEST(RegistryText, IgnoresOtherRootsAndKeepsTheirValuesOut) {
    LoadRegistryText(
        Reg("[HKEY_LOCAL_MACHINE\\Shared]\n"
            "\"V\"=\"machine\"\n"
            "[HKEY_CURRENT_USER\\Shared]\n"
            "\"V\"=\"user\"\n"
            "\"W\"=\"user only\"\n"));
    Key key(HKEY_LOCAL_MACHINE, u"Shared");
    EXPECT_EQ(QueryString(key.get(), u"V"), u"machine");
    EXPECT_EQ(QueryString(key.get(), u"W"), u"<missing>");
}

// Each damaged line sits between two good ones: it is skipped and counted, nothing around it is lost.
TEST(RegistryText, SkipsDamagedLinesAndKeepsTheRest) {
    const char* damaged[] = {
        "\"Unterminated=\"x\"",
        "\"A\"=dword:xyz",
        "\"A\"=dword:123456789",
        "\"A\"=dword:",
        "\"A\"=\"text\" trailing",
        "\"A\"=\"no closing quote",
        "\"A\"=hex:0g,01",
        "\"A\"=hex:100",
        "\"A\"=hex(zz):01",
        "\"A\"=hex(4):01,02,03,04,05",  // a dword must be four bytes
        "\"A\"=hex(1):41,00",           // a text must end with its terminator
        "\"A\"=hex(2):41,00,00",
        "\"A\"=str:x",
        "\"A\"",
        "garbage without quotes",
        "@value",
    };
    for (const char* line : damaged) {
        LoadRegistryText(
            Reg(std::string("[HKEY_LOCAL_MACHINE\\K]\n\"Before\"=\"1\"\n") + line + "\n\"After\"=\"2\"\n"));
        Key key(HKEY_LOCAL_MACHINE, u"K");
        EXPECT_EQ(QueryString(key.get(), u"Before"), u"1") << line;
        EXPECT_EQ(QueryString(key.get(), u"After"), u"2") << line;
        EXPECT_EQ(QueryString(key.get(), u"A"), u"<missing>") << line;
        EXPECT_EQ(LastRegistryLoad().skippedLines, 1) << line;
    }
}

TEST(RegistryText, ValuesAfterABadKeyLineDoNotLandInThePreviousKey) {
    const char* badKeys[] = {"[HKEY_LOCAL_MACHINE\\Broken", "[HKEY_LOCAL_MACHINE\\A\\\\B]", "[-HKEY_LOCAL_MACHINE\\K]"};
    for (const char* line : badKeys) {
        LoadRegistryText(Reg(std::string("[HKEY_LOCAL_MACHINE\\K]\n\"Own\"=\"1\"\n") + line + "\n\"Stray\"=\"2\"\n"));
        Key key(HKEY_LOCAL_MACHINE, u"K");
        EXPECT_EQ(QueryString(key.get(), u"Own"), u"1") << line;
        EXPECT_EQ(QueryString(key.get(), u"Stray"), u"<missing>") << line;
        EXPECT_EQ(LastRegistryLoad().skippedLines, 1) << line;
    }
}

TEST(RegistryText, AValueGivenTwiceKeepsItsPlaceAndTakesTheLaterData) {
    LoadRegistryText(Reg("[HKEY_LOCAL_MACHINE\\K]\n\"A\"=\"old\"\n\"B\"=\"b\"\n\"a\"=\"new\"\n"));
    Key key(HKEY_LOCAL_MACHINE, u"K");
    char16_t name[8];
    DWORD nameLength = 8;
    ASSERT_EQ(RegEnumValueW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, nameLength), u"A");
    EXPECT_EQ(QueryString(key.get(), u"A"), u"new");
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u);
}

class RegistryCalls : public ::testing::Test {
protected:
    void SetUp() override {
        LoadRegistryText(
            Reg("[HKEY_LOCAL_MACHINE\\K\\Sub1]\n[HKEY_LOCAL_MACHINE\\K\\SubTwo]\n"
                "[HKEY_LOCAL_MACHINE\\K]\n\"Text\"=\"abc\"\n\"Longest name\"=dword:1\n"));
    }
};

TEST_F(RegistryCalls, EnumKeyNeedsRoomForTheTerminator) {
    Key key(HKEY_LOCAL_MACHINE, u"K");
    char16_t name[8];
    std::memset(name, 0x55, sizeof(name));
    DWORD length = 6;  // "SubTwo" without room for its terminator
    EXPECT_EQ(RegEnumKeyExW(key.get(), 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(name[0], char16_t{0x5555}) << "the buffer must stay untouched";

    length = 7;
    ASSERT_EQ(RegEnumKeyExW(key.get(), 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(std::u16string(name), u"SubTwo");

    length = 8;
    EXPECT_EQ(RegEnumKeyExW(key.get(), 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumKeyExW(key.get(), 0, nullptr, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryCalls, QueryValueReportsTheSizeItNeeds) {
    Key key(HKEY_LOCAL_MACHINE, u"K");
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key.get(), u"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 8u) << "three characters and the terminator, in bytes";

    char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
    size = 6;
    EXPECT_EQ(RegQueryValueExW(key.get(), u"Text", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer[0], u'#') << "the buffer must stay untouched";

    size = 8;
    ASSERT_EQ(RegQueryValueExW(key.get(), u"Text", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"abc\0", 4));

    EXPECT_EQ(RegQueryValueExW(key.get(), u"Text", nullptr, &type, reinterpret_cast<BYTE*>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryCalls, MissingKeysValuesAndBadHandlesFail) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Nothing\\K", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    Key k(HKEY_LOCAL_MACHINE, u"K");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(k.get(), u"Absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    HKEY closed = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, KEY_READ, &closed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "the predefined root stays usable";
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, u"K").result(), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, InfoAndValueEnumerationDescribeTheKey) {
    Key key(HKEY_LOCAL_MACHINE, u"K");
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxSubKey, 6u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 12u);
    EXPECT_EQ(maxData, 8u);

    char16_t name[13];
    DWORD nameLength = 12;
    EXPECT_EQ(RegEnumValueW(key.get(), 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    nameLength = 13;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_EQ(RegEnumValueW(key.get(), 1, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"Longest name");
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(RegEnumValueW(key.get(), 2, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryCalls, AnOpenKeySurvivesAReload) {
    Key key(HKEY_LOCAL_MACHINE, u"K");
    LoadRegistryText(Reg("[HKEY_LOCAL_MACHINE\\Other]\n"));
    EXPECT_EQ(QueryString(key.get(), u"Text"), u"abc") << "the key still reads the registry it was opened in";
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, u"K").result(), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryText, DamagedInputNeverCrashes) {
    static constexpr char kNullInName[] = "[HKEY_LOCAL_MACHINE\\A\0B]\n";
    std::string noise = Reg("[HKEY_LOCAL_MACHINE\\K]\n");
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    const std::string inputs[] = {
        "",
        "\xFF\xFE",
        "\xFF\xFE\x41",
        std::string(kHeader) + "\"A\"=hex:01,\\",
        std::string(kHeader) + "[",
        std::string(kHeader) + "[]",
        std::string(kHeader) + "\"",
        std::string(kHeader) + "@",
        std::string(kHeader) + std::string(kNullInName, sizeof(kNullInName) - 1),
        std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + std::string(300, 'x') + "]\n",
        noise,
    };
    for (const std::string& input : inputs) {
        LoadRegistryText(input);
        EXPECT_EQ(SubkeyNames(HKEY_LOCAL_MACHINE).size() <= 1, true);
    }
    EXPECT_GE(LastRegistryLoad().skippedLines, 1);
}

}  // namespace
