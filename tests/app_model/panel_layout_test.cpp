#include "app/model/panel_layout.h"

#include <gtest/gtest.h>

#include "app/model/device_creation.h"
#include "app/model/device_templates.h"

namespace {

ButtonRecord Record(std::u16string name, std::u16string skin, std::uint32_t color, std::uint16_t panel,
                    std::u16string commandName = u"") {
    ButtonRecord record;
    record.name = std::move(name);
    record.skin = std::move(skin);
    record.label = u"LABEL_" + record.name;
    record.color = color;
    record.panel = panel;
    record.x = 7;
    record.y = 9;
    record.commandName = std::move(commandName);
    return record;
}

TEST(PanelLayout, StandardButtonsStandWhereTheTemplateSaysAndTakeColourAndLabelFromTheirRecord) {
    Device device;
    device.deviceType = DT_RECEIVER;
    device.AppendRecord(Record(u"F3", u"SLASH", 0x111111, 0, u"not shown"));
    device.AppendRecord(Record(u"F3", u"SLASH", 0x222222, 0));  // a later duplicate is not used
    device.AppendRecord(Record(u"EXTRA", u"CHANAL", 0x333333, 0));
    const auto buttons = MainPanelButtons(device);
    ASSERT_EQ(buttons.size(), STANDARD_RECEIVER.size());
    const PanelButtonLayout& f3 = buttons[20];
    EXPECT_EQ(f3.name, u"F3");
    EXPECT_EQ(f3.skin, u"F3");  // the shape and place stay the template's
    EXPECT_EQ(f3.x, 1);
    EXPECT_EQ(f3.y, 225);
    EXPECT_EQ(f3.color, 0x111111u);
    EXPECT_EQ(f3.label, u"LABEL_F3");
    EXPECT_EQ(f3.caption, u"");
    EXPECT_EQ(CommandRecordName(f3.name), u"FUNC3");  // while its commands live in FUNC3
    // No record for VOLPLUS: the template's colour and label.
    const PanelButtonLayout& volPlus = buttons[17];
    EXPECT_EQ(volPlus.name, u"VOLPLUS");
    EXPECT_EQ(volPlus.color, STANDARD_RECEIVER[17].color);
    EXPECT_EQ(volPlus.label, u"LABELVOLPLUS");
    for (const auto& button : buttons) EXPECT_NE(button.name, u"EXTRA");
}

TEST(PanelLayout, FunctionButtonsShowTheirRecordsCommandName) {
    Device device = MakeStandardDevice(u"DVD", DT_PLAYER);
    device.FindRecord(u"FUNC2")->commandName = u"Menu";
    device.FindRecord(u"FUNC2")->color = 0x123456;
    device.records.erase(device.FindRecord(u"FUNC5"));
    const auto buttons = FunctionPanelButtons(device);
    ASSERT_EQ(buttons.size(), 12u);
    EXPECT_EQ(buttons[1].caption, u"Menu");
    EXPECT_EQ(buttons[1].color, 0x123456u);
    EXPECT_EQ(buttons[4].name, u"FUNC5");
    EXPECT_EQ(buttons[4].caption, u"");
    EXPECT_EQ(buttons[4].color, STANDARD_FUNCTION_PANEL[4].color);
    EXPECT_EQ(MainPanelButtons(device).size(), STANDARD_PLAYER.size());
}

TEST(PanelLayout, ACustomMainPanelComesFromItsPanelZeroRecords) {
    Device device;
    device.deviceType = DT_CUSTOM;
    device.AppendRecord(Record(u"CUSTOM$1", u"F_LEFT", 1, 0, u"Left"));
    device.AppendRecord(Record(u"FUNC1", u"F_LEFT", 2, 1, u"Func"));
    device.AppendRecord(Record(u"CUSTOM$0", u"CHANAL", 3, 0, u"Hidden"));
    device.AppendRecord(Record(u"CUSTOM$2", u"F_RIGHT", 4, 0, u"Right"));
    const auto buttons = MainPanelButtons(device);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].name, u"CUSTOM$1");
    EXPECT_EQ(buttons[0].caption, u"Left");
    EXPECT_EQ(buttons[1].name, u"CUSTOM$0");
    EXPECT_EQ(buttons[1].caption, u"");
    EXPECT_EQ(buttons[1].skin, u"CHANAL");
    EXPECT_EQ(buttons[1].x, 7);
    EXPECT_EQ(buttons[1].y, 9);
    EXPECT_EQ(buttons[1].color, 3u);
    EXPECT_EQ(buttons[2].caption, u"Right");

    device.deviceType = static_cast<DeviceType>(7);
    EXPECT_TRUE(MainPanelButtons(device).empty());
    device.deviceType = DT_CCF;
    EXPECT_TRUE(MainPanelButtons(device).empty());
    EXPECT_EQ(FunctionPanelButtons(device).size(), 12u);
}

// "Select button" makes the function shapes flat by default; they keep their caption box, their skin is
// kept whole for drawing, and only a prefix at the very start counts.
TEST(PanelLayout, FlatFunctionShapesOfACustomPanelShowTheirCaptions) {
    Device device;
    device.deviceType = DT_CUSTOM;
    const struct {
        std::u16string skin;
        bool captioned;
    } cases[] = {
        {u"FLAT_F_LEFT", true}, {u"FLAT_F_RIGHT", true},  {u"F_LEFT", true},       {u"FLAT_CHANAL", false},
        {u"FLAT_", false},      {u"XFLAT_F_LEFT", false}, {u"flat_F_LEFT", false}, {u"FLAT_FLAT_F_LEFT", false},
    };
    for (const auto& c : cases) device.AppendRecord(Record(u"CUSTOM$0", c.skin, 0, 0, u"Play"));
    const auto buttons = MainPanelButtons(device);
    ASSERT_EQ(buttons.size(), std::size(cases));
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].caption, cases[i].captioned ? u"Play" : u"") << i;
        EXPECT_EQ(buttons[i].skin, cases[i].skin) << i;
    }
    EXPECT_EQ(SkinShape(u"FLAT_F_RIGHT"), u"F_RIGHT");
    EXPECT_EQ(SkinShape(u"FLAT_"), u"");
    EXPECT_EQ(SkinShape(u"CHANAL"), u"CHANAL");
}

}  // namespace
