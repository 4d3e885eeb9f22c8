// The singleton, processor detection, the port name, the OBEX rule and the port search.
#include <string>
#include <vector>

#include "driver/irdriver/ir_driver_generic.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "tests/driver/driver_fixture.h"

namespace driver_test {
namespace {

TEST_F(DriverTest, ProcessorDetectionPicksTheBackEnd) {
    struct Case {
        const char16_t* core;
        const char16_t* name;
        const char16_t* version;
        const char16_t* message;  // null: no message box
    };
    const std::vector<Case> cases = {
        {u"ARM", u"PXA255", u"1.2.0.1 PXA2(5,6,7)", nullptr},
        {u"ARM", u"PXA263", u"1.2.0.1 PXA2(5,6,7)", nullptr},
        {u"ARM", u"PXA270", u"1.2.0.1 PXA2(5,6,7)", nullptr},
        {u"ARM", u"SA1110", u"1.2.0.1 SA11", nullptr},
        {u"StrongARM", u"SA1100", u"1.2.0.1 SA11", nullptr},
        {u"ARM", u"pxa255", u"1.2.0.1", u"Unsuported processor type ARM pxa255"},
        {u"ARM", u"ARM920T", u"1.2.0.1", u"Unsuported processor type ARM ARM920T"},
        {u"MIPS", u"VR4122", u"1.2.0.1", u"Unsuported processor type MIPS VR4122"},
    };
    for (const Case& c : cases) {
        const std::string what = handheld::ToUtf8(c.name);
        CLumbra::Destroy();
        boxes.Clear();
        UseProcessor(c.name, c.core);
        CLumbra* driver = CLumbra::Instance();
        ASSERT_NE(driver, nullptr) << what;
        EXPECT_EQ(CLumbra::m_instance, driver);
        EXPECT_EQ(std::u16string(driver->Version()), c.version) << what;
        if (c.message == nullptr) {
            EXPECT_TRUE(boxes.Shown().empty()) << what;
        } else {
            ASSERT_EQ(boxes.Shown().size(), 1u) << what;
            EXPECT_EQ(boxes.Shown()[0].text, c.message);
            EXPECT_EQ(boxes.Shown()[0].caption, u"Error");
            EXPECT_EQ(boxes.Shown()[0].flags, handheld::MB_OK);
            EXPECT_EQ(boxes.Shown()[0].owner, nullptr);
        }
    }
}

TEST_F(DriverTest, OverlongProcessorTextIsCutInTheMessage) {
    UseProcessor(std::u16string(39, u'X'), std::u16string(39, u'Y'));
    CLumbra::Instance();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              u"Unsuported processor type " + std::u16string(39, u'Y') + u" " + std::u16string(39, u'X'));
}

TEST_F(DriverTest, DestroyTwiceIsHarmlessAndInstanceDetectsAgain) {
    UseProcessor(u"ARM920T");
    ASSERT_NE(CLumbra::Instance(), nullptr);
    EXPECT_EQ(CLumbra::Instance(), CLumbra::m_instance) << "one object per process";
    EXPECT_EQ(boxes.Shown().size(), 1u);
    CLumbra::Destroy();
    EXPECT_EQ(CLumbra::m_instance, nullptr);
    CLumbra::Destroy();
    EXPECT_EQ(CLumbra::m_instance, nullptr);
    UseProcessor(u"PXA270");
    CLumbra* again = CLumbra::Instance();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(std::u16string(again->Version()), u"1.2.0.1 PXA2(5,6,7)");
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(DriverTest, PortNameIsKeptAndCutToItsBuffer) {
    CLumbra* driver = CLumbra::Instance();
    EXPECT_EQ(std::u16string(driver->GetPort()), u"");
    EXPECT_EQ(std::u16string(CLumbra::Auto), u"");
    driver->SetPort(u"COM2:");
    EXPECT_EQ(std::u16string(driver->GetPort()), u"COM2:");
    const std::u16string longName(3000, u'P');
    driver->SetPort(longName.c_str());
    EXPECT_EQ(std::u16string(driver->GetPort()), longName.substr(0, 1023));
    driver->SetPort(CLumbra::Auto);
    EXPECT_EQ(std::u16string(driver->GetPort()), u"");
}

TEST_F(DriverTest, ObexRuleStopsTheServiceOnlyForTheIrdaPortAndRestoresItAtTheEnd) {
    struct Case {
        bool runningAtStart;
        std::vector<const char16_t*> ports;
        std::vector<bool> runningAfter;  // after construction, then after each SetPort
    };
    const std::vector<Case> cases = {
        {true, {u"com3:", u"COM2:", u"COM3:"}, {false, false, true, false}},
        {false, {u"COM1:", u"COM3:"}, {false, true, false}},
        // The automatic choice is the IrDA port here, so leaving the port to the driver stops the service too.
        {true, {u""}, {false, false}},
        {false, {u"COM2:", CLumbra::Auto}, {false, true, false}},
    };
    for (const Case& c : cases) {
        CLumbra::Destroy();
        handheld::ResetObexService();
        handheld::SetObexServiceRunning(c.runningAtStart);
        CLumbra* driver = CLumbra::Instance();
        std::vector<bool> seen = {handheld::ObexServiceRunning()};
        for (const char16_t* port : c.ports) {
            driver->SetPort(port);
            seen.push_back(handheld::ObexServiceRunning());
        }
        EXPECT_EQ(seen, c.runningAfter) << "running at start " << c.runningAtStart;
        CLumbra::Destroy();
        EXPECT_EQ(handheld::ObexServiceRunning(), c.runningAtStart);
    }
}

// The running service holds the IrDA port, so the driver must have stopped it before it opens that port.
TEST_F(DriverTest, AutomaticPortIsFreedFromTheObexServiceAndSends) {
    struct Case {
        const char* name;
        const char16_t* port;
        bool obexRunningAfter;
    };
    for (const Case& c : {Case{"automatic", CLumbra::Auto, false}, Case{"named IrDA port", u"com3:", false},
                          Case{"other port", u"COM2:", true}}) {
        CLumbra::Destroy();
        handheld::ResetObexService();
        edges.Clear();
        CLumbra* driver = CLumbra::Instance();
        driver->SetPort(c.port);
        IrCode code = MakeCode(26, {560});
        driver->Send(&code, nullptr);
        EXPECT_EQ(Bursts(26).size(), 1u) << c.name;
        EXPECT_EQ(handheld::ObexServiceRunning(), c.obexRunningAfter) << c.name;
    }
}

TEST_F(DriverTest, ObexRequestsAreSentOnlyWhenTheStateChanges) {
    handheld::SetObexServiceRunning(true);
    CLumbra* driver = CLumbra::Instance();
    driver->SetPort(u"COM3:");
    driver->SetPort(u"COM3:");
    CLumbra::Destroy();
    std::vector<handheld::DWORD> changes;
    for (const handheld::DWORD code : handheld::ObexControlCodes()) {
        if (code != 0x01040020) changes.push_back(code);
    }
    EXPECT_EQ(changes, (std::vector<handheld::DWORD>{0x01040008, 0x01040004}));
}

TEST_F(DriverTest, MissingObexServiceIsNoFault) {
    handheld::SetObexServicePresent(false);
    CLumbra* driver = CLumbra::Instance();
    driver->SetPort(u"COM3:");
    IrCode code = MakeCode(26, {560});
    driver->Send(&code, nullptr);
    EXPECT_EQ(Bursts(26).size(), 1u);
    CLumbra::Destroy();
    handheld::SetObexServicePresent(true);
}

std::string ActiveDrivers(const std::string& entries) {
    return "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Drivers\\Active]\n\n" + entries;
}

TEST_F(DriverTest, PortSearchByFriendlyName) {
    struct Case {
        const char* name;
        std::string registry;
        const char16_t* irda;
        const char16_t* automatic;
    };
    const std::string irdaInSubkey =
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\01]\n\"Name\"=\"COM7:\"\n\"Key\"=\"Drivers\\\\Ir\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\Ir\\Sub]\n\"FriendlyName\"=\"fast rc mode irda port\"\n";
    const std::string notCom =
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\01]\n\"Name\"=\"IRD1:\"\n\"Key\"=\"Drivers\\\\Ir\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\Ir]\n\"FriendlyName\"=\"RC MODE IRDA\"\n";
    const std::string missingKey =
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\01]\n\"Name\"=\"COM4:\"\n\"Key\"=\"Drivers\\\\Gone\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\02]\n\"Name\"=\"COM6:\"\n\"Key\"=\"Drivers\\\\Ir2\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\Ir2]\n\"FriendlyName\"=\"Infrared Port\"\n";
    const std::vector<Case> cases = {
        {"default registry", handheld::DefaultRegistryText(), u"COM3:", u"COM3:"},
        {"friendly name in the first subkey", ActiveDrivers(irdaInSubkey), u"COM7:", u"COM7:"},
        {"device that is no COM port", ActiveDrivers(notCom), u"", u""},
        {"missing driver key, then an infrared port", ActiveDrivers(missingKey), u"", u"COM6:"},
        {"no active drivers", "Windows Registry Editor Version 5.00\n", u"", u""},
    };
    for (const Case& c : cases) {
        handheld::LoadRegistryText(c.registry);
        EXPECT_EQ(std::u16string(FindPortByFriendlyName(u"RC MODE IRDA")), c.irda) << c.name;
        EXPECT_EQ(std::u16string(AutomaticPort()), c.automatic) << c.name;
    }
    handheld::ReloadRegistry();
}

TEST_F(DriverTest, ChosenPortIsUsedAndAWrongNameSendsNothing) {
    CLumbra* driver = CLumbra::Instance();
    driver->SetPort(u"COM2:");
    IrCode code = MakeCode(26, {560});
    driver->Send(&code, nullptr);
    EXPECT_EQ(Bursts(26).size(), 1u);
    const auto com2 = handheld::InspectSerialPort(u"COM2:");
    ASSERT_TRUE(com2.has_value());
    EXPECT_EQ(com2->openCount, 1);
    EXPECT_FALSE(handheld::InspectSerialPort(u"COM3:").has_value());

    edges.Clear();
    driver->SetPort(u"COM9:");
    driver->Send(&code, nullptr);
    EXPECT_TRUE(edges.Edges().empty());
}

}  // namespace
}  // namespace driver_test
