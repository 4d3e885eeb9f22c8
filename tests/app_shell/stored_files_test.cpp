// The shell's side of the program's files and of sending: what the model and the sender report reaches the
// user as the program's boxes, with the same texts, icons, owners and order as ever.
#include "app/shell/stored_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/button_command.h"
#include "app/shell/language_table.h"
#include "app/shell/messages.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/messagebox.h"
#include "tests/app_model/file_bytes.h"
#include "tests/support/test_home.h"

namespace {

using app_model_test::DeviceHeader;
using app_model_test::FileBytes;
using app_model_test::RecordBytes;
using handheld::MB_ICONERROR;
using handheld::MB_ICONEXCLAMATION;
using handheld::MB_ICONINFORMATION;
using handheld::MB_ICONMASK;

constexpr std::u16string_view kPath = u"\\My Documents\\TV.kdr";
const auto kMainWindow = reinterpret_cast<handheld::HWND>(0x1234);

void LoadLanguage(std::u16string_view entries) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : entries) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    LanguageTable::Instance().LoadLanguageBytes(bytes.data(), bytes.size());
}

struct StoredFilesTest : ::testing::Test {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    ~StoredFilesTest() override {
        LanguageTable::Instance().Clear();
        CLumbra::Destroy();
    }

    void ExpectBox(std::size_t index, const std::u16string& text, unsigned icon, handheld::HWND owner = nullptr) {
        ASSERT_LT(index, boxes.Shown().size());
        const auto& box = boxes.Shown()[index];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, u"Error");
        EXPECT_EQ(box.flags & MB_ICONMASK, icon);
        EXPECT_EQ(box.owner, owner);
    }
};

TEST_F(StoredFilesTest, ProblemsAreShownInOrderWithTheirIconsAndQuotedPaths) {
    ShowProblems(kMainWindow, {{u"ERR_11", u"Can't read file header", ProblemIcon::Information},
                               {u"ERR_12", u"This file don't content KR device", ProblemIcon::Exclamation},
                               {u"ERR_14", u"Can't create or rewrite file \"", ProblemIcon::Error, u"\\A b.kdr"}});
    ASSERT_EQ(boxes.Shown().size(), 3u);
    ExpectBox(0, u"Can't read file header", MB_ICONINFORMATION, kMainWindow);
    ExpectBox(1, u"This file don't content KR device", MB_ICONEXCLAMATION, kMainWindow);
    ExpectBox(2, u"Can't create or rewrite file \"\\A b.kdr\"", MB_ICONERROR, kMainWindow);
}

// The texts come from the language table when it has them; the path is still put between the quotes.
TEST_F(StoredFilesTest, MessagesTakeTheirTextsAndTitleFromTheLanguageTable) {
    LoadLanguage(
        u"ERR_MSG_TITLE\tFehler\r\n"
        u"ERR_14\tKann nicht anlegen: \"\r\n"
        u"ERR_12\tKein Geraet\r\n");
    home.WriteFile(kPath, FileBytes().Ascii("XYZ").Zeros(45).Bytes());
    Device device;
    EXPECT_FALSE(LoadDevice(device, kPath, false));
    EXPECT_FALSE(SaveDevice(device, false, kPath));
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, u"Kein Geraet");
    EXPECT_EQ(boxes.Shown()[0].caption, u"Fehler");
    EXPECT_EQ(boxes.Shown()[1].text, u"Kann nicht anlegen: \"\\My Documents\\TV.kdr\"");
    EXPECT_EQ(boxes.Shown()[1].caption, u"Fehler");
}

TEST_F(StoredFilesTest, ADamagedTailIsShownAndTheDeviceStillOpens) {
    const auto good = RecordBytes(u"CH1", u"", u"", u"", 0xFFFF, 0, 0, 0, 0, 0, {});
    auto damaged = good;
    damaged[16] = 200;  // the name runs past the record
    home.WriteFile(kPath, DeviceHeader(u"TV", 0).Append(good).Append(damaged).Bytes());
    Device device;
    EXPECT_TRUE(LoadDevice(device, kPath, false));
    EXPECT_EQ(device.records.size(), 1u);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    ExpectBox(0, u"Out of memory", MB_ICONERROR);

    boxes.Clear();
    EXPECT_TRUE(SaveDevice(device, true));
    EXPECT_FALSE(CreateStandardDeviceFile(std::u16string(21, u'n'), DT_PLAYER));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(StoredFilesTest, AtStartAWrongConfigurationIsShownOverTheMainWindowAndTheStoredPortReachesTheDriver) {
    const std::u16string path = u"\\My Documents\\Start.cfg";
    home.WriteFile(path, FileBytes().Ascii("KRC").U8(2).Bytes());
    ApplicationSettings settings;
    EXPECT_FALSE(ReadConfigurationAtStart(path, settings, kMainWindow));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    ExpectBox(0, u"Invalid config file", MB_ICONERROR, kMainWindow);

    boxes.Clear();
    home.WriteFile(path, FileBytes().Ascii("KRC").U8(1).U16(5).U16(0).U16(0).U32(5).Chars(u"COM7:").U32(1).Bytes());
    ASSERT_TRUE(ReadConfigurationAtStart(path, settings, kMainWindow));
    EXPECT_EQ(settings.portName, u"COM7:");
    EXPECT_EQ(std::u16string(CLumbra::Instance()->GetPort()), u"COM7:");
    EXPECT_EQ(settings.buttonRotation, 1u);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(StoredFilesTest, AButtonWithoutARecordIsReportedOverTheMainWindow) {
    AppState& app = TheAppState();
    app = AppState{};
    app.mainWindow = kMainWindow;
    app.device.name = u"TV";
    ButtonRecord record;
    record.name = u"CH1";
    app.device.AppendRecord(record);  // no commands: nothing to send, nothing to say

    SendButtonCommand(u"CH1");
    EXPECT_TRUE(boxes.Shown().empty());
    SendButtonCommand(u"CH2");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    ExpectBox(0, u"Can't find record", MB_ICONERROR, kMainWindow);
    app.pressedName = u"CH1";
    SendButtonCommand(nullptr);  // the button pressed on the panel, which has a record
    EXPECT_EQ(boxes.Shown().size(), 1u);
    app = AppState{};
}

}  // namespace
