#include "app/ir/port_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "app/model/configuration.h"
#include "app/shell/stored_files.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/registry.h"
#include "tests/app_model/file_bytes.h"
#include "tests/support/test_home.h"

namespace {

// Active drivers: a non-port, a port with its own friendly name, one whose name sits in the first subkey,
// one without any, one whose driver key is missing, one without "Key", and a two-digit port.
constexpr std::string_view kRegistry = R"reg(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Drivers\Active\01]
"Name"="TCH1:"
"Key"="Drivers\\BuiltIn\\Touch"

[HKEY_LOCAL_MACHINE\Drivers\Active\02]
"Name"="COM1:"
"Key"="Drivers\\BuiltIn\\Serial"

[HKEY_LOCAL_MACHINE\Drivers\Active\03]
"Name"="COM2:"
"Key"="Drivers\\BuiltIn\\IrCOMM"

[HKEY_LOCAL_MACHINE\Drivers\Active\04]
"Name"="COM4:"
"Key"="Drivers\\BuiltIn\\Plain"

[HKEY_LOCAL_MACHINE\Drivers\Active\05]
"Name"="COM6:"
"Key"="Drivers\\BuiltIn\\Gone"

[HKEY_LOCAL_MACHINE\Drivers\Active\06]
"Name"="COM7:"

[HKEY_LOCAL_MACHINE\Drivers\Active\07]
"Name"="COM10:"
"Key"="Drivers\\BuiltIn\\Ten"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Touch]
"FriendlyName"="Touch Panel"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Serial]
"FriendlyName"="Serial Cable on COM1:"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\IrCOMM]
"Prefix"="COM"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\IrCOMM\Port]
"FriendlyName"="Infrared Port"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Plain]
"Prefix"="COM"

[HKEY_LOCAL_MACHINE\Drivers\BuiltIn\Ten]
"FriendlyName"="Ten"
)reg";

struct PortChoiceTest : ::testing::Test {
    orvane_test::TestHome home;
    PortChoiceTest() { handheld::LoadRegistryText(kRegistry); }
    ~PortChoiceTest() override { CLumbra::Destroy(); }
    static std::u16string DriverPort() { return CLumbra::Instance()->GetPort(); }
};

TEST_F(PortChoiceTest, EnumeratesTheActiveComDriversWithTheirFriendlyNames) {
    const auto ports = EnumeratePorts();
    ASSERT_EQ(ports.size(), 4u);
    EXPECT_EQ(ports[0].Text(), u"COM1:   Serial Cable on COM1:");
    EXPECT_EQ(ports[1].Text(), u"COM2:   Infrared Port");
    EXPECT_EQ(ports[2].Text(), u"COM4:   ");
    EXPECT_EQ(ports[3].Text(), u"COM10:   Ten");
}

TEST_F(PortChoiceTest, WithoutTheDriverListOnlyAutoIsOffered) {
    handheld::LoadRegistryText("Windows Registry Editor Version 5.00\n");
    EXPECT_TRUE(EnumeratePorts().empty());
    const PortMenu menu = BuildPortMenu(EnumeratePorts(), u"COM3:");
    ASSERT_EQ(menu.itemTexts.size(), 1u);
    EXPECT_EQ(menu.itemTexts[0], u"<Auto>");
    EXPECT_TRUE(menu.checked[0]);
}

TEST_F(PortChoiceTest, TheStoredPortIsCheckedIgnoringCase) {
    const auto ports = EnumeratePorts();
    const struct {
        std::u16string stored;
        std::vector<bool> checked;
    } cases[] = {
        {u"", {true, false, false, false, false}},
        {u"com2:", {false, false, true, false, false}},
        {u"COM10:", {false, false, false, false, true}},
        {u"COM9:", {true, false, false, false, false}},  // no such driver: "<Auto>" stays checked
    };
    for (const auto& c : cases) EXPECT_EQ(BuildPortMenu(ports, c.stored).checked, c.checked);
}

TEST_F(PortChoiceTest, ItemTextsGiveTheirPortNames) {
    EXPECT_EQ(PortNameFromItemText(u"COM10:   Ten"), u"COM10:");
    EXPECT_EQ(PortNameFromItemText(u"COM4:   "), u"COM4:");
    EXPECT_EQ(PortNameFromItemText(u"COM4:"), u"COM4:");
    EXPECT_EQ(PortNameFromItemText(u"<Auto>"), u"");
}

TEST_F(PortChoiceTest, ChoosingAnItemTellsTheDriverOnceAndChecksItAlone) {
    std::u16string portName;
    PortMenu menu = BuildPortMenu(EnumeratePorts(), portName);

    ASSERT_TRUE(ChoosePortItem(menu, 4, portName));
    EXPECT_EQ(portName, u"COM10:");
    EXPECT_EQ(DriverPort(), u"COM10:");
    EXPECT_EQ(menu.checked, (std::vector<bool>{false, false, false, false, true}));

    // The same port again: the driver is not called, so a port set behind our back stays.
    CLumbra::Instance()->SetPort(u"COM1:");
    ASSERT_TRUE(ChoosePortItem(menu, 4, portName));
    EXPECT_EQ(DriverPort(), u"COM1:");

    ASSERT_TRUE(ChoosePortItem(menu, 0, portName));
    EXPECT_EQ(portName, u"");
    EXPECT_EQ(menu.checked, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(ChoosePortItem(menu, 5, portName));
}

TEST_F(PortChoiceTest, TheStoredNameReachesTheDriverAtStartEvenWithoutSuchADriver) {
    const std::u16string path = u"\\My Documents\\Port.cfg";
    home.WriteFile(
        path,
        app_model_test::FileBytes().Ascii("KRC").U8(1).U16(5).U16(0).U16(0).U32(5).Chars(u"COM9:").U32(0).Bytes());
    ApplicationSettings settings;
    ASSERT_TRUE(ReadConfigurationAtStart(path, settings, nullptr));
    EXPECT_EQ(settings.portName, u"COM9:");
    EXPECT_EQ(DriverPort(), u"COM9:");
    EXPECT_TRUE(BuildPortMenu(EnumeratePorts(), settings.portName).checked[0]);
}

TEST_F(PortChoiceTest, AnEmptyStoredNameLeavesTheDriversDefault) {
    CLumbra::Instance()->SetPort(u"COM2:");
    std::u16string portName;
    EXPECT_FALSE(ApplyPortName(portName, u""));
    EXPECT_EQ(DriverPort(), u"COM2:");
}

}  // namespace
