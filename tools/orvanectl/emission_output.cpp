#include "tools/orvanectl/emission_output.h"

#include <cmath>
#include <cstdio>

#include "handheld/soc/emission.h"

namespace orvanectl {

namespace {
// Longer darkness than half a carrier period separates two bursts.
std::uint32_t MaxDarkTicks(int carrierPeriodUs) {
    return static_cast<std::uint32_t>(carrierPeriodUs * 1.8432) + 1;
}
}  // namespace

void WritePassJson(JsonWriter& out, std::span<const handheld::soc::PinEdge> passEdges, int carrierPeriodUs) {
    const auto summary = handheld::soc::Summarise(passEdges, MaxDarkTicks(carrierPeriodUs));
    out.BeginObject().Key("edges").BeginArray();
    for (const auto& edge : passEdges)
        out.BeginArray().Number(std::int64_t{edge.tick}).Number(std::int64_t{edge.level}).EndArray();
    out.EndArray().Key("durations_us").BeginArray();
    for (const std::int32_t d : summary.durationsUs) out.Number(std::int64_t{d});
    out.EndArray().Key("cycles").BeginArray();
    for (const int c : summary.cycles) out.Number(std::int64_t{c});
    out.EndArray().Field("carrier_hz", std::round(summary.carrierHz * 10) / 10).EndObject();
}

void PrintPassText(std::size_t passNumber, std::span<const handheld::soc::PinEdge> passEdges, int carrierPeriodUs,
                   const char* indent) {
    const auto summary = handheld::soc::Summarise(passEdges, MaxDarkTicks(carrierPeriodUs));
    std::printf("%spass %zu: %zu edges, carrier %.1f Hz\n", indent, passNumber, passEdges.size(), summary.carrierHz);
    for (std::size_t i = 0, burst = 0; i < summary.durationsUs.size(); ++i) {
        const std::int32_t d = summary.durationsUs[i];
        if (d >= 0) {
            std::printf("%s  burst %7d us  %5d cycles\n", indent, d, summary.cycles[burst++]);
        } else {
            std::printf("%s  pause %7d us\n", indent, -d);
        }
    }
}

}  // namespace orvanectl
