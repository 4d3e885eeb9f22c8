// The one walk over the active COM drivers that the driver's port search and the port menu share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/comm.h"
#include "handheld/registry.h"
#include "handheld/text.h"

namespace {

using namespace handheld;

constexpr ActiveDriverLimits kWide{520, 520};

std::vector<std::string> Walk(const ActiveDriverLimits& limits, std::size_t stopAfter = 100) {
    std::vector<std::string> seen;
    ForEachActiveComDriver(limits, [&](const ActiveComDriver& driver) {
        seen.push_back(ToUtf8(driver.name) + "|" + ToUtf8(driver.friendlyName));
        return seen.size() < stopAfter;
    });
    return seen;
}

std::string Registry(const std::string& body) {
    return "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Drivers\\Active]\n\n" + body;
}

class ActivePorts : public ::testing::Test {
protected:
    ~ActivePorts() override { ReloadRegistry(); }
};

TEST_F(ActivePorts, DefaultRegistryGivesTheComDriversInIndexOrder) {
    LoadRegistryText(DefaultRegistryText());
    // TCH1: is no port; COM2:'s friendly name sits in its driver key's first subkey; COM5:'s key is missing.
    EXPECT_EQ(Walk(kWide), (std::vector<std::string>{"COM1:|Serial Cable on COM1:",
                                                     "COM3:|Serial Port 3 (RC MODE IRDA)", "COM2:|Infrared Port"}));
    EXPECT_EQ(Walk(kWide, 2).size(), 2u) << "the visitor ends the walk";
}

TEST_F(ActivePorts, MissingDriverListIsReported) {
    LoadRegistryText("Windows Registry Editor Version 5.00\n");
    int visits = 0;
    EXPECT_FALSE(ForEachActiveComDriver(kWide, [&](const ActiveComDriver&) { return ++visits > 0; }));
    EXPECT_EQ(visits, 0);
    LoadRegistryText(Registry(""));
    EXPECT_TRUE(ForEachActiveComDriver(kWide, [&](const ActiveComDriver&) { return ++visits > 0; }));
    EXPECT_EQ(visits, 0);
}

TEST_F(ActivePorts, OverlongNamesAndValuesSkipOneDriverOnly) {
    const std::string longSubkey(40, 'S');
    const std::string longFriendly(30, 'F');
    LoadRegistryText(Registry(
        // A subkey name longer than the limit.
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\" + longSubkey +
        "]\n\"Name\"=\"COM1:\"\n\"Key\"=\"Drivers\\\\A\"\n\n"
        // A "Key" value longer than the limit.
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\02]\n\"Name\"=\"COM2:\"\n\"Key\"=\"Drivers\\\\" +
        std::string(30, 'K') +
        "\"\n\n"
        // A friendly name too long: read as absent, so the first subkey's is taken.
        "[HKEY_LOCAL_MACHINE\\Drivers\\Active\\03]\n\"Name\"=\"COM3:\"\n\"Key\"=\"Drivers\\\\C\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\A]\n\"FriendlyName\"=\"a\"\n\n"
        "[HKEY_LOCAL_MACHINE\\Drivers\\" +
        std::string(30, 'K') + "]\n\"FriendlyName\"=\"k\"\n\n" +
        "[HKEY_LOCAL_MACHINE\\Drivers\\C]\n\"FriendlyName\"=\"" + longFriendly +
        "\"\n\n[HKEY_LOCAL_MACHINE\\Drivers\\C\\Port]\n\"FriendlyName\"=\"c\"\n"));
    // 20 characters of subkey name, 40 bytes (19 characters and the terminator) of value.
    EXPECT_EQ(Walk(ActiveDriverLimits{20, 40}), (std::vector<std::string>{"COM3:|c"}));
    EXPECT_EQ(Walk(kWide), (std::vector<std::string>{"COM1:|a", "COM2:|k", "COM3:|" + longFriendly}));
}

}  // namespace
