// Naming the protocol of codes, and importing a Pronto file of 1000 codes as devices written to a handheld
// home in a temporary folder (reading, building the 34 devices, writing their files).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/codes/code_list.h"
#include "app/codes/device_import.h"
#include "app/codes/pronto.h"
#include "app/codes/protocol.h"
#include "app/model/device_creation.h"
#include "bench/bench_home.h"
#include "handheld/home.h"

namespace {

constexpr int kImportedCodes = 1000;

codes::IrSignal Encoded(const char* protocol, int device, int subdevice, int function, std::optional<int> toggle = {}) {
    codes::ProtocolFields fields;
    fields.protocol = protocol;
    fields.device = device;
    fields.subdevice = subdevice;
    fields.function = function;
    fields.toggle = toggle;
    codes::IrSignal signal;
    codes::EncodeProtocol(fields, signal);
    return signal;
}

// A mix as a collection holds it, with one code no protocol fits (which costs the decoder the most).
std::vector<codes::IrSignal> Mix() {
    std::vector<codes::IrSignal> mix = {
        Encoded("NEC1", 4, -1, 8),    Encoded("NECx1", 7, 7, 2),    Encoded("RC5", 5, -1, 16, 0),
        Encoded("RC6", 4, -1, 12, 1), Encoded("Sony12", 1, -1, 21), Encoded("Panasonic", 128, 0, 25),
        Encoded("Denon", 2, -1, 226), Encoded("JVC", 3, -1, 23),
    };
    codes::IrSignal noise;
    noise.frequencyHz = 38000;
    for (int i = 0; i < 120; ++i) noise.durationsUs.push_back(i % 2 == 0 ? 300 + 37 * (i % 7) : -(250 + 91 * (i % 5)));
    mix.push_back(noise);
    return mix;
}

void BM_DecodeProtocol(benchmark::State& state) {
    const std::vector<codes::IrSignal> mix = Mix();
    std::size_t named = 0;
    for (auto _ : state) {
        for (const codes::IrSignal& signal : mix) {
            named += codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz).Known() ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(named);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * mix.size()));
    state.counters["codes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * mix.size()), benchmark::Counter::kIsRate);
}

std::string ProntoFile() {
    const std::vector<codes::IrSignal> mix = Mix();
    std::string text;
    for (int i = 0; i < kImportedCodes; ++i) {
        text += "Key " + std::to_string(i) + ": " +
                codes::WritePronto(mix[static_cast<std::size_t>(i) % (mix.size() - 1)]) + "\n";
    }
    return text;
}

void BM_ImportProntoFile(benchmark::State& state) {
    const std::string text = ProntoFile();
    int round = 0;
    for (auto _ : state) {
        codes::CodeList list;
        std::vector<Device> devices;
        const std::u16string name = u"Bench" + std::u16string(1, static_cast<char16_t>(u'A' + round++ % 26));
        if (!codes::ReadCodeFile(codes::CodeFormat::Pronto, text, list, nullptr) ||
            !codes::BuildImportedDevices(list, name, true, devices, nullptr)) {
            state.SkipWithError("import failed");
            break;
        }
        for (Device& device : devices) {
            if (!device.Save(true, DeviceFolder() + device.name + u".kdr")) state.SkipWithError("save failed");
        }
    }
    state.counters["codes"] = kImportedCodes;
    state.counters["fileBytes"] = static_cast<double>(text.size());
}

// The same without writing the files: what the import itself costs, apart from the device file writer.
void BM_ReadAndBuildDevices(benchmark::State& state) {
    const std::string text = ProntoFile();
    for (auto _ : state) {
        codes::CodeList list;
        std::vector<Device> devices;
        if (!codes::ReadCodeFile(codes::CodeFormat::Pronto, text, list, nullptr) ||
            !codes::BuildImportedDevices(list, u"Bench", true, devices, nullptr)) {
            state.SkipWithError("import failed");
        }
        benchmark::DoNotOptimize(devices);
    }
}

void BM_ReadProntoFileOnly(benchmark::State& state) {
    const std::string text = ProntoFile();
    for (auto _ : state) {
        codes::CodeList list;
        if (!codes::ReadCodeFile(codes::CodeFormat::Pronto, text, list, nullptr)) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(list);
    }
}

BENCHMARK(BM_DecodeProtocol)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportProntoFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndBuildDevices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProntoFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInTemporaryHome(argc, argv);
}
