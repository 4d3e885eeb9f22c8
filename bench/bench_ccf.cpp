// How fast a CCF file becomes a model: the real files and a generated colour file of several MB, opened and
// built (and released) again and again. Prints MB/s and microseconds per model object; a second figure
// includes walking every cursor and decoding every image, as a viewer showing everything would.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "ccf/format/ccf_reader.h"
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"

namespace {

using namespace ccf_test;

struct Input {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A colour file with 30 devices of 6 panels; each panel a frame and 16 buttons with an 8-bit and a 2-bit
// image of their own, and a list with an IR code, a delay and a jump.
std::vector<std::uint8_t> GenerateLargeFile() {
    CCFWriter w(true, true);
    std::vector<std::uint32_t> devices;
    for (int d = 0; d < 30; ++d) {
        std::vector<std::uint32_t> panels;
        for (int p = 0; p < 6; ++p) {
            std::vector<Child> children;
            for (int b = 0; b < 16; ++b) {
                std::vector<std::uint8_t> pixels(40 * 20);
                for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 7 + b + p + d);
                std::vector<std::uint8_t> grey(pixels);
                for (auto& g : grey) g &= 3;
                std::vector<Pair> once(10, Pair{22, 22}), repeat(24, Pair{22, 66});
                once[0] = {342, 171};
                const std::uint32_t code = w.IRCode(w.Name("Key " + std::to_string(b)), 0, 109, once, repeat);
                ButtonFields fields;
                fields.name = w.Name("Button " + std::to_string(b));
                fields.font = 3;
                fields.bitmaps = {w.Bitmap(8, 40, 20, pixels), w.Bitmap(2, 40, 20, grey), 0, 0};
                fields.colors = {Colors{1, 215, 0, 0}, Colors{2, 180, 0, 0}, Colors{}, Colors{}};
                fields.actions = w.ActionList({{1, 0, code}, {4, 0, 100}, {3, 0, 0}});
                children.push_back({std::int16_t(b % 4 * 60), std::int16_t(b / 4 * 60), w.Button(fields), 1});
            }
            FrameFields frame;
            frame.name = w.Name("Header");
            frame.children = {children[0], children[1]};
            children.push_back({0, 250, w.Frame(frame), 0});
            panels.push_back(w.Panel(children));
        }
        DeviceFields device;
        device.name = w.Name("Device " + std::to_string(d));
        device.firstPanel = w.Chain(panels);
        devices.push_back(w.Device(device));
    }
    w.SetChain(2, w.Chain(devices));
    return w.Bytes();
}

std::vector<Input> Inputs() {
    std::vector<Input> inputs;
    const std::filesystem::path shared =
        std::filesystem::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata" / "ccf";
    for (const char* name : {"skylight-mono.ccf", "gallery-mono.ccf"}) {
        if (std::filesystem::exists(shared / name)) inputs.push_back({name, ReadHostFile(shared / name)});
    }
    inputs.push_back({"generated-color", GenerateLargeFile()});
    return inputs;
}

void BM_Open(benchmark::State& state, const Input* input) {
    CCFReadStats stats;
    for (auto _ : state) {
        stats = {};
        auto file = ReadCCFFile(input->bytes.data(), input->bytes.size(), {}, &stats);
        benchmark::DoNotOptimize(file.get());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input->bytes.size()));
    state.counters["objects"] = double(stats.objects);
    // Printed as time per object (the inverse of objects per second).
    state.counters["time_per_object"] = benchmark::Counter(double(stats.objects) * double(state.iterations()),
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_OpenAndDecodeAll(benchmark::State& state, const Input* input) {
    for (auto _ : state) {
        auto file = ReadCCFFile(input->bytes.data(), input->bytes.size());
        benchmark::DoNotOptimize(Walk(*file, false).pixelSum);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(input->bytes.size()));
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

// The plain figures: open, build and release (and, second, also walk and decode everything), timed over
// enough rounds to last about half a second. Processor time is given beside wall time because the
// machine is shared.
void PrintSummary(const std::vector<Input>& inputs) {
    std::printf("\n%-18s %9s %8s %11s %11s %12s %12s %13s\n", "file", "bytes", "objects", "MB/s wall", "MB/s cpu",
                "us/obj wall", "us/obj cpu", "+decode MB/s");
    for (const Input& input : inputs) {
        using Clock = std::chrono::steady_clock;
        const auto timed = [&](bool decode, double& wall, double& cpu) {
            int rounds = 0;
            const auto start = Clock::now();
            const double cpuStart = ThreadSeconds();
            while (Clock::now() - start < std::chrono::milliseconds(500)) {
                auto file = ReadCCFFile(input.bytes.data(), input.bytes.size());
                if (decode) benchmark::DoNotOptimize(Walk(*file, false).pixelSum);
                benchmark::DoNotOptimize(file.get());
                ++rounds;
            }
            wall = std::chrono::duration<double>(Clock::now() - start).count() / rounds;
            cpu = (ThreadSeconds() - cpuStart) / rounds;
        };
        CCFReadStats stats;
        ReadCCFFile(input.bytes.data(), input.bytes.size(), {}, &stats);
        double wall, cpu, decodeWall, decodeCpu;
        timed(false, wall, cpu);
        timed(true, decodeWall, decodeCpu);
        const double mb = input.bytes.size() / 1e6;
        std::printf("%-18s %9zu %8zu %11.1f %11.1f %12.4f %12.4f %13.1f\n", input.name.c_str(), input.bytes.size(),
                    stats.objects, mb / wall, mb / cpu, wall * 1e6 / double(stats.objects),
                    cpu * 1e6 / double(stats.objects), mb / decodeCpu);
    }
}

}  // namespace

int main(int argc, char** argv) {
    static const std::vector<Input> inputs = Inputs();
    for (const Input& input : inputs) {
        benchmark::RegisterBenchmark(("CCFOpen/" + input.name).c_str(), BM_Open, &input);
        benchmark::RegisterBenchmark(("CCFOpenAndDecodeAll/" + input.name).c_str(), BM_OpenAndDecodeAll, &input);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary(inputs);
    return 0;
}
