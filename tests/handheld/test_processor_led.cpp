// The notification LEDs: counted from the profile, set and reported to the shell's observer.
#include <gtest/gtest.h>

#include <vector>

#include "handheld/devices.h"
#include "handheld/led.h"
#include "handheld/profile.h"

namespace {

using namespace handheld;

class Leds : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = Profile();
        ResetLeds();
        SetLedObserver([this](const NLED_SETTINGS_INFO& settings) { seen_.push_back(settings); });
    }
    void TearDown() override {
        SetLedObserver(nullptr);
        SetProfile(saved_);
    }
    void UseLedCount(int count) {
        HandheldProfile profile = saved_;
        profile.ledCount = count;
        SetProfile(profile);
    }
    HandheldProfile saved_;
    std::vector<NLED_SETTINGS_INFO> seen_;
};

TEST_F(Leds, CountComesFromTheProfile) {
    const struct {
        int profileCount;
        UINT reported;
    } cases[] = {{0, 0}, {1, 1}, {3, 3}, {-2, 0}};
    for (const auto& c : cases) {
        UseLedCount(c.profileCount);
        NLED_COUNT_INFO count{99};
        ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count)) << c.profileCount;
        EXPECT_EQ(count.cLeds, c.reported) << c.profileCount;
    }
}

// The program switches LED 0 off after a send this way.
TEST_F(Leds, SettingsAreKeptAndReported) {
    UseLedCount(2);
    NLED_SETTINGS_INFO off{0, LED_OFF, 1000, 200, 200, 2, 2};
    NLED_SETTINGS_INFO blink{1, LED_BLINK, 500000, 250000, 250000, 0, 0};
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &off));
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &blink));

    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].LedNum, 0u);
    EXPECT_EQ(seen_[0].TotalCycleTime, 1000);
    EXPECT_EQ(seen_[0].MetaCycleOff, 2);
    EXPECT_EQ(seen_[1].OffOnBlink, LED_BLINK);

    const std::optional<NLED_SETTINGS_INFO> kept = LedSettings(1);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->OnTime, 250000);
    NLED_SETTINGS_INFO asked{};
    asked.LedNum = 1;
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &asked));
    EXPECT_EQ(asked.OffOnBlink, LED_BLINK);
    EXPECT_EQ(asked.OffTime, 250000);
}

TEST_F(Leds, RefusesAbsentLedsAndSettingsThatCannotShine) {
    UseLedCount(1);
    const struct {
        const char* what;
        NLED_SETTINGS_INFO settings;
    } cases[] = {
        {"LED number at the count", {1, LED_ON, 0, 0, 0, 0, 0}},
        {"LED number far beyond", {0xFFFFFFFF, LED_ON, 0, 0, 0, 0, 0}},
        {"unknown state", {0, 3, 0, 0, 0, 0, 0}},
        {"negative state", {0, -1, 0, 0, 0, 0, 0}},
        {"blink without a cycle", {0, LED_BLINK, 0, 0, 0, 0, 0}},
        {"blink with a negative on time", {0, LED_BLINK, 1000, -5, 200, 0, 0}},
    };
    for (auto c : cases) {
        SetLastError(0);
        EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &c.settings)) << c.what;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << c.what;
    }
    EXPECT_TRUE(seen_.empty()) << "a refused setting is not shown";
    EXPECT_EQ(LedSettings(0)->OffOnBlink, LED_OFF);
    EXPECT_FALSE(LedSettings(1).has_value());

    NLED_SETTINGS_INFO on{0, LED_ON, 0, 0, 0, 0, 0};
    EXPECT_FALSE(NLedSetDevice(1, &on)) << "only the settings request sets an LED";
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(NLedSetDevice(NLED_SETTINGS_INFO_ID, nullptr));
    EXPECT_FALSE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, nullptr));
}

}  // namespace
