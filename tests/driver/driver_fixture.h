// A handheld for driver tests: a fresh home, a chosen processor, virtual time, power-on registers, default
// ports and OBEX service, every message box recorded, the edges of the transmit pin kept.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "driver/irdriver/lumbra.h"
#include "handheld/devices.h"
#include "handheld/profile.h"
#include "handheld/soc/emission.h"
#include "handheld/soc/simulation.h"
#include "tests/support/test_home.h"

namespace driver_test {

inline constexpr std::size_t kEdgeCapacity = 200000;

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        CLumbra::Destroy();
        UseProcessor(u"PXA255");
        handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
        handheld::soc::ResetProcessors();
        handheld::ResetSerialPorts();
        handheld::ResetObexService();
        ASSERT_TRUE(handheld::soc::AddEdgeObserver(&edges));
    }
    void TearDown() override {
        CLumbra::Destroy();
        handheld::soc::RemoveEdgeObserver(&edges);
        handheld::soc::ResetProcessors();
    }

    static void UseProcessor(const std::u16string& name, const std::u16string& core = u"ARM") {
        handheld::HandheldProfile profile = handheld::Profile();
        profile.processorCore = core;
        profile.processorName = name;
        profile.timerClock = handheld::TimerClock::Virtual;
        handheld::SetProfile(profile);
    }

    static IrCode MakeCode(int periodUs, std::initializer_list<std::int32_t> durations, int repeatStart = 0) {
        IrCode code{};
        code.carrier = periodUs;
        for (const std::int32_t d : durations) code.durations[code.count++] = d;
        code.repeatStart = repeatStart;
        return code;
    }

    // Half a carrier period in ticks, as the sender computes it.
    static std::uint32_t HalfTicks(int periodUs) { return static_cast<std::uint32_t>(periodUs * 1.8432); }

    std::vector<handheld::soc::EmittedBurst> Bursts(int periodUs) const {
        return handheld::soc::GroupBursts(edges.Edges(), HalfTicks(periodUs) + 1);
    }

    orvane_test::TestHome home;
    orvane_test::MessageBoxRecorder boxes;
    handheld::soc::EdgeBuffer edges{kEdgeCapacity};
};

}  // namespace driver_test
