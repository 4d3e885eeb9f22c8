// Loading and saving a device file of 300 records, each with two full learned codes (200 durations), on a
// handheld home in a temporary folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/model/device.h"
#include "app/model/device_file.h"
#include "bench/bench_home.h"
#include "handheld/home.h"

namespace {

constexpr int kRecords = 300;
constexpr int kDurationsPerCode = 200;
constexpr std::u16string_view kPath = u"\\My Documents\\Bench.kdr";

Device MakeLearnedDevice() {
    Device device;
    device.deviceType = DT_CUSTOM;
    device.name = u"Bench";
    std::vector<std::uint8_t> samples(kDurationsPerCode * 4);
    for (int i = 0; i < kDurationsPerCode; ++i) {
        const std::int32_t durationUs = (i % 2 == 0) ? 560 : -(560 + 1130 * (i % 3 == 0));
        for (int b = 0; b < 4; ++b) samples[i * 4 + b] = static_cast<std::uint8_t>(durationUs >> (8 * b));
    }
    for (int r = 0; r < kRecords; ++r) {
        ButtonRecord record;
        const std::string number = std::to_string(r);
        record.name = u"CUSTOM$" + std::u16string(number.begin(), number.end());
        record.commandName = u"Command";
        record.skin = u"CHANAL";
        record.label = u"LABEL1";
        record.SetEntry(0, samples.data(), samples.size(), 26, 34);
        record.SetEntry(1, samples.data(), samples.size(), 26, 34);
        device.AppendRecord(record);
    }
    return device;
}

void BM_SaveDeviceFile(benchmark::State& state) {
    Device device = MakeLearnedDevice();
    for (auto _ : state) {
        if (!device.Save(true, kPath)) state.SkipWithError("save failed");
    }
    state.counters["records"] = kRecords;
    state.counters["fileBytes"] = static_cast<double>(std::filesystem::file_size(*handheld::HostPath(kPath)));
}

void BM_LoadDeviceFile(benchmark::State& state) {
    Device written = MakeLearnedDevice();
    if (!written.Save(true, kPath)) state.SkipWithError("save failed");
    Device device;
    for (auto _ : state) {
        if (!device.Load(kPath, false) || device.records.size() != kRecords) state.SkipWithError("load failed");
    }
    state.counters["records"] = static_cast<double>(device.records.size());
}

void BM_LoadDeviceHeader(benchmark::State& state) {
    Device written = MakeLearnedDevice();
    if (!written.Save(true, kPath)) state.SkipWithError("save failed");
    Device device;
    for (auto _ : state) {
        if (!device.Load(kPath, true)) state.SkipWithError("load failed");
    }
}

BENCHMARK(BM_SaveDeviceFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDeviceFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDeviceHeader)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInTemporaryHome(argc, argv);
}
