// The register pages the handheld offers follow the same processor text the driver chooses its back end by.
#include <gtest/gtest.h>

#include "tests/driver/driver_fixture.h"

namespace driver_test {
namespace {

class ProcessorFamilyTest : public DriverTest {};

TEST_F(ProcessorFamilyTest, FamilyNamedOnlyInTheCoreStillGetsItsPagesAndSends) {
    const struct {
        const char16_t* core;
        const char16_t* name;
        const char16_t* version;
    } cases[] = {
        {u"SA1110", u"StrongARM", u"1.2.0.1 SA11"},
        {u"ARM PXA270", u"XScale", u"1.2.0.1 PXA2(5,6,7)"},
    };
    for (const auto& c : cases) {
        CLumbra::Destroy();
        edges.Clear();
        UseProcessor(c.name, c.core);
        CLumbra* driver = CLumbra::Instance();
        ASSERT_NE(driver, nullptr);
        EXPECT_EQ(std::u16string(driver->Version()), c.version);
        IrCode code = MakeCode(26, {500, -500, 500});
        driver->Send(&code, nullptr);
        EXPECT_EQ(Bursts(26).size(), 2u) << "core " << std::string(c.core, c.core + 6);
    }
}

}  // namespace
}  // namespace driver_test
