#include "app/model/device_creation.h"

#include <gtest/gtest.h>

#include "app/model/device.h"
#include "app/model/device_templates.h"
#include "handheld/files.h"
#include "tests/app_model/file_bytes.h"
#include "tests/support/test_home.h"

namespace {

using app_model_test::DeviceHeader;
using app_model_test::FileBytes;
using app_model_test::RecordBytes;

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | g << 8 | b << 16;
}

struct RowCase {
    std::span<const TemplateRow> table;
    std::size_t index;
    std::u16string name, skin, label;
    int x, y;
    std::uint32_t color;
};

TEST(DeviceTemplates, RowsAsPrinted) {
    ASSERT_EQ(STANDARD_RECEIVER.size(), 23u);
    ASSERT_EQ(STANDARD_PLAYER.size(), 20u);
    ASSERT_EQ(STANDARD_FUNCTION_PANEL.size(), 12u);
    const RowCase cases[] = {
        {STANDARD_RECEIVER, 0, u"CH1", u"CHANAL", u"LABEL1", 1, 1, Rgb(100, 50, 255)},
        {STANDARD_RECEIVER, 10, u"CH_", u"SLASH", u"LABELSLASH", 1, 89, Rgb(100, 50, 255)},
        {STANDARD_RECEIVER, 12, u"F4", u"F4", u"LABELF4", 145, 89, Rgb(255, 200, 10)},
        {STANDARD_RECEIVER, 15, u"VOLMINUS", u"VOLUMEMINUS", u"LABELVOLMINUS", 45, 126, Rgb(0, 170, 0)},
        {STANDARD_RECEIVER, 22, u"PW", u"PW", u"LABELPW", 145, 225, Rgb(255, 0, 50)},
        {STANDARD_PLAYER, 6, u"PAUSE", u"CHANALPLUS", u"LABELPAUSE", 68, 58, Rgb(0, 170, 0)},
        {STANDARD_PLAYER, 8, u"BEGIN", u"LEFT", u"LABELBEGIN", 1, 89, Rgb(150, 150, 150)},
        {STANDARD_PLAYER, 19, u"PW", u"RECTANGLE", u"LABELPW", 145, 225, Rgb(255, 0, 50)},
        {STANDARD_FUNCTION_PANEL, 0, u"FUNC1", u"F_LEFT", u"LABELF1", 1, 3, Rgb(255, 200, 10)},
        {STANDARD_FUNCTION_PANEL, 11, u"FUNC12", u"F_RIGHT", u"LABELF12", 121, 223, Rgb(255, 200, 10)},
    };
    for (const RowCase& c : cases) {
        const TemplateRow& row = c.table[c.index];
        EXPECT_EQ(std::u16string(row.name), c.name);
        EXPECT_EQ(std::u16string(row.skin), c.skin);
        EXPECT_EQ(std::u16string(row.label), c.label);
        EXPECT_EQ(row.x, c.x);
        EXPECT_EQ(row.y, c.y);
        EXPECT_EQ(row.color, c.color);
    }
    // The function panel: two columns of six, 44 pixels apart.
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(STANDARD_FUNCTION_PANEL[i].x, i < 6 ? 1 : 121);
        EXPECT_EQ(STANDARD_FUNCTION_PANEL[i].y, 3 + 44 * static_cast<int>(i % 6));
        EXPECT_EQ(CommandRecordName(u"F" + std::u16string(STANDARD_FUNCTION_PANEL[i].name).substr(4)),
                  STANDARD_FUNCTION_PANEL[i].name);
    }
}

struct DeviceCreationTest : ::testing::Test {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    DeviceCreationTest() { handheld::CreateDirectoryW(DeviceFolder().c_str(), nullptr); }
    ~DeviceCreationTest() override { EXPECT_TRUE(boxes.Shown().empty()); }

    static void AppendRows(FileBytes& file, std::span<const TemplateRow> rows, std::uint16_t panel) {
        for (const TemplateRow& row : rows) {
            file.Append(RecordBytes(row.name, u"", row.skin, row.label, 0xFFFF, row.color, 0,
                                    static_cast<std::uint16_t>(row.x), static_cast<std::uint16_t>(row.y), panel, {}));
        }
    }
};

TEST_F(DeviceCreationTest, EachTypeGetsItsRowsThenTheFunctionPanel) {
    const struct {
        std::u16string name;
        DeviceType type;
        std::span<const TemplateRow> mainRows;
    } cases[] = {
        {u"Den TV", DT_RECEIVER, STANDARD_RECEIVER},
        {u"Den DVD", DT_PLAYER, STANDARD_PLAYER},
        {u"Den Box", DT_CUSTOM, {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CreateStandardDevice(c.name, c.type));
        FileBytes expected = DeviceHeader(c.name, static_cast<std::uint8_t>(c.type));
        AppendRows(expected, c.mainRows, 0);
        AppendRows(expected, STANDARD_FUNCTION_PANEL, 1);
        EXPECT_EQ(home.ReadFile(u"\\Program Files\\Orvane\\Devices\\" + c.name + u".kdr"), expected.Bytes());
    }
    Device tv;
    ASSERT_TRUE(tv.Load(u"\\Program Files\\Orvane\\Devices\\Den TV.kdr", false));
    EXPECT_EQ(tv.records.size(), 35u);
}

TEST_F(DeviceCreationTest, AnExistingDeviceIsNotReplaced) {
    const std::u16string path = u"\\Program Files\\Orvane\\Devices\\TV.kdr";
    const std::vector<unsigned char> old = DeviceHeader(u"Old", 1).Bytes();
    home.WriteFile(path, old);
    const FileResult created = CreateStandardDevice(u"TV", DT_RECEIVER);
    EXPECT_FALSE(created);
    EXPECT_EQ(created.problems, (Problems{{u"ERR_14", u"Can't create or rewrite file \"", ProblemIcon::Error, path}}));
    EXPECT_EQ(home.ReadFile(path), old);
}

TEST_F(DeviceCreationTest, ANameTooLongForTheHeaderWritesNothingAndSaysNothing) {
    const std::u16string name(21, u'n');
    const FileResult created = CreateStandardDevice(name, DT_PLAYER);
    EXPECT_FALSE(created);
    EXPECT_TRUE(created.problems.empty());
    EXPECT_TRUE(home.ReadFile(DeviceFolder() + name + u".kdr").empty());
}

}  // namespace
