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

// The three button tables as printed for the product, row by row.
struct PrintedRow {
    std::u16string_view name, skin, label;
    int x, y;
    std::uint32_t red, green, blue;
};

const PrintedRow kReceiverRows[] = {
    {u"CH1", u"CHANAL", u"LABEL1", 1, 1, 100, 50, 255},
    {u"CH2", u"CHANAL", u"LABEL2", 49, 1, 100, 50, 255},
    {u"CH3", u"CHANAL", u"LABEL3", 97, 1, 100, 50, 255},
    {u"CH4", u"CHANAL", u"LABEL4", 145, 1, 100, 50, 255},
    {u"CH5", u"CHANAL", u"LABEL5", 193, 1, 100, 50, 255},
    {u"CH6", u"CHANAL", u"LABEL6", 1, 45, 100, 50, 255},
    {u"CH7", u"CHANAL", u"LABEL7", 49, 45, 100, 50, 255},
    {u"CH8", u"CHANAL", u"LABEL8", 97, 45, 100, 50, 255},
    {u"CH9", u"CHANAL", u"LABEL9", 145, 45, 100, 50, 255},
    {u"CH0", u"CHANAL", u"LABEL0", 193, 45, 100, 50, 255},
    {u"CH_", u"SLASH", u"LABELSLASH", 1, 89, 100, 50, 255},
    {u"CHPLUS", u"CHANALPLUS", u"LABELCHPLUS", 68, 102, 100, 50, 255},
    {u"F4", u"F4", u"LABELF4", 145, 89, 255, 200, 10},
    {u"F1", u"F1", u"LABELF1", 1, 133, 255, 200, 10},
    {u"F2", u"F2", u"LABELF2", 1, 179, 255, 200, 10},
    {u"VOLMINUS", u"VOLUMEMINUS", u"LABELVOLMINUS", 45, 126, 0, 170, 0},
    {u"MUTE", u"MUTE", u"LABELMUTE", 91, 149, 0, 170, 0},
    {u"VOLPLUS", u"VOLUMEPLUS", u"LABELVOLPLUS", 149, 126, 0, 170, 0},
    {u"F6", u"F6", u"LABELF6", 192, 179, 255, 200, 10},
    {u"F5", u"F5", u"LABELF5", 192, 133, 255, 200, 10},
    {u"F3", u"F3", u"LABELF3", 1, 225, 255, 200, 10},
    {u"CHMINUS", u"CHANALMINUS", u"LABELCHMINUS", 68, 206, 100, 50, 255},
    {u"PW", u"PW", u"LABELPW", 145, 225, 255, 0, 50},
};
const PrintedRow kPlayerRows[] = {
    {u"F1", u"CHANAL", u"LABELF1", 1, 1, 255, 200, 10},
    {u"F2", u"CHANAL", u"LABELF2", 49, 1, 255, 200, 10},
    {u"F3", u"CHANAL", u"LABELF3", 97, 1, 255, 200, 10},
    {u"F4", u"CHANAL", u"LABELF4", 145, 1, 255, 200, 10},
    {u"F5", u"CHANAL", u"LABELF5", 193, 1, 255, 200, 10},
    {u"VOLMINUS", u"SLASH", u"LABELVOLMINUS", 1, 45, 0, 170, 0},
    {u"PAUSE", u"CHANALPLUS", u"LABELPAUSE", 68, 58, 0, 170, 0},
    {u"VOLPLUS", u"F4", u"LABELVOLPLUS", 145, 45, 0, 170, 0},
    {u"BEGIN", u"LEFT", u"LABELBEGIN", 1, 89, 150, 150, 150},
    {u"LEFT", u"VOLUMEMINUS", u"LABELLEFT", 45, 82, 150, 150, 150},
    {u"PLAY", u"MUTE", u"LABELPLAY", 91, 105, 0, 170, 0},
    {u"RIGHT", u"VOLUMEPLUS", u"LABELRIGHT", 149, 82, 150, 150, 150},
    {u"END", u"RIGHT", u"LABELEND", 192, 89, 150, 150, 150},
    {u"CHMINUS", u"F3", u"LABELCHMINUS", 1, 181, 100, 50, 255},
    {u"STOP", u"CHANALMINUS", u"LABELSTOP", 68, 162, 0, 170, 0},
    {u"CHPLUS", u"PW", u"LABELCHPLUS", 145, 181, 100, 50, 255},
    {u"RECORD", u"CHANAL", u"LABELRECORD", 1, 225, 255, 0, 50},
    {u"EJECT", u"CHANAL", u"LABELEJECT", 49, 225, 255, 0, 50},
    {u"MUTE", u"CHANAL", u"LABELMUTE", 97, 225, 0, 170, 0},
    {u"PW", u"RECTANGLE", u"LABELPW", 145, 225, 255, 0, 50},
};
const PrintedRow kFunctionRows[] = {
    {u"FUNC1", u"F_LEFT", u"LABELF1", 1, 3, 255, 200, 10},
    {u"FUNC2", u"F_LEFT", u"LABELF2", 1, 47, 255, 200, 10},
    {u"FUNC3", u"F_LEFT", u"LABELF3", 1, 91, 255, 200, 10},
    {u"FUNC4", u"F_LEFT", u"LABELF4", 1, 135, 255, 200, 10},
    {u"FUNC5", u"F_LEFT", u"LABELF5", 1, 179, 255, 200, 10},
    {u"FUNC6", u"F_LEFT", u"LABELF6", 1, 223, 255, 200, 10},
    {u"FUNC7", u"F_RIGHT", u"LABELF7", 121, 3, 255, 200, 10},
    {u"FUNC8", u"F_RIGHT", u"LABELF8", 121, 47, 255, 200, 10},
    {u"FUNC9", u"F_RIGHT", u"LABELF9", 121, 91, 255, 200, 10},
    {u"FUNC10", u"F_RIGHT", u"LABELF10", 121, 135, 255, 200, 10},
    {u"FUNC11", u"F_RIGHT", u"LABELF11", 121, 179, 255, 200, 10},
    {u"FUNC12", u"F_RIGHT", u"LABELF12", 121, 223, 255, 200, 10},
};

void ExpectRowsAsPrinted(std::span<const TemplateRow> table, std::span<const PrintedRow> printed) {
    ASSERT_EQ(table.size(), printed.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TemplateRow& row = table[i];
        const PrintedRow& want = printed[i];
        SCOPED_TRACE(std::string(want.name.begin(), want.name.end()));
        EXPECT_EQ(row.name, want.name);
        EXPECT_EQ(row.skin, want.skin);
        EXPECT_EQ(row.label, want.label);
        EXPECT_EQ(row.x, want.x);
        EXPECT_EQ(row.y, want.y);
        EXPECT_EQ(row.color, Rgb(want.red, want.green, want.blue));
    }
}

TEST(DeviceTemplates, RowsAsPrinted) {
    ExpectRowsAsPrinted(STANDARD_RECEIVER, kReceiverRows);
    ExpectRowsAsPrinted(STANDARD_PLAYER, kPlayerRows);
    ExpectRowsAsPrinted(STANDARD_FUNCTION_PANEL, kFunctionRows);
    for (const PrintedRow& row : kFunctionRows) {
        EXPECT_EQ(CommandRecordName(u"F" + std::u16string(row.name.substr(4))), row.name);
    }
}

struct DeviceCreationTest : ::testing::Test {
    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    DeviceCreationTest() { handheld::CreateDirectoryW(DeviceFolder().c_str(), nullptr); }
    ~DeviceCreationTest() override { EXPECT_TRUE(boxes.Shown().empty()); }

    static void AppendRows(FileBytes& file, std::span<const PrintedRow> rows, std::uint16_t panel) {
        for (const PrintedRow& row : rows) {
            file.Append(RecordBytes(row.name, u"", row.skin, row.label, 0xFFFF, Rgb(row.red, row.green, row.blue), 0,
                                    static_cast<std::uint16_t>(row.x), static_cast<std::uint16_t>(row.y), panel, {}));
        }
    }
};

TEST_F(DeviceCreationTest, EachTypeGetsItsRowsThenTheFunctionPanel) {
    const struct {
        std::u16string name;
        DeviceType type;
        std::span<const PrintedRow> mainRows;
    } cases[] = {
        {u"Den TV", DT_RECEIVER, kReceiverRows},
        {u"Den DVD", DT_PLAYER, kPlayerRows},
        {u"Den Box", DT_CUSTOM, {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CreateStandardDevice(c.name, c.type));
        FileBytes expected = DeviceHeader(c.name, static_cast<std::uint8_t>(c.type));
        AppendRows(expected, c.mainRows, 0);
        AppendRows(expected, kFunctionRows, 1);
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
