// How fast the viewer builds, paints and changes panels: on the panel with the most items of the real files
// (when present) and on a generated colour panel of 16 image buttons in a frame. Prints microseconds per
// operation: building the device's windows for the panel, a full off-screen repaint of the viewer, and a
// panel change (the panel's windows destroyed and built again).
#include "tests/ccf/ccf_test_util.h"
#include "tests/ccf/ccf_writer.h"
// Qt after the model: a model field is named like one of Qt's keyword macros.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ccf/viewer/ccf_screen.h"

namespace {

using namespace ccf_test;

struct Case {
    std::string name;
    Loaded loaded;
    std::uint32_t device = 0;
    std::uint32_t panel = 0;
    std::size_t items = 0;
};

std::vector<std::uint8_t> GeneratePanelFile() {
    CCFWriter w(true, true);
    std::vector<Child> children;
    for (int b = 0; b < 16; ++b) {
        std::vector<std::uint8_t> pixels(56 * 40);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 7 + b);
        ButtonFields fields;
        fields.width = 56;
        fields.height = 40;
        fields.name = w.Name("Button " + std::to_string(b));
        fields.font = 3;
        const std::uint32_t image = w.Bitmap(8, 56, 40, pixels);
        fields.bitmaps = {image, image, image, image};
        fields.colors = {Colors{1, 215, 0, 0}, Colors{2, 180, 0, 0}, Colors{3, 9, 0, 0}, Colors{4, 20, 0, 0}};
        children.push_back({std::int16_t(b % 4 * 60), std::int16_t(30 + b / 4 * 60), w.Button(fields), 1});
    }
    FrameFields title;
    title.width = 240;
    title.height = 28;
    title.name = w.Name("Living room");
    title.font = 2;
    title.colors = {255, 9, 0, 0};
    children.push_back({0, 0, w.Frame(title), 0});
    const std::uint32_t panel = w.Panel(children);
    w.Link(panel, w.Panel(children));
    DeviceFields device;
    device.name = w.Name("Generated");
    device.firstPanel = panel;
    w.SetChain(2, w.Device(device));
    return w.Bytes();
}

std::size_t CountItems(const CCFPanel& panel) {
    std::size_t count = 0;
    const auto walk = [&count](auto&& self, std::unique_ptr<CCFIterator> items) -> void {
        for (; items->IsValid(); items->Next()) {
            ++count;
            const auto* item = items->CurrentAs<CCFPanelItem>();
            if (item->frame) self(self, item->frame->CreateItemIterator());
        }
    };
    walk(walk, panel.CreateItemIterator());
    return count;
}

// The panel with the most items (frames counted with their contents).
void ChooseLargestPanel(Case& c) {
    for (CCFDevice* device : Devices(*c.loaded.file)) {
        for (CCFPanel* panel : Collect<CCFPanel>(device->CreatePanelIterator())) {
            const std::size_t items = CountItems(*panel);
            if (items <= c.items) continue;
            c.items = items;
            c.device = device->recordOffset;
            c.panel = panel->recordOffset;
        }
    }
}

std::vector<std::unique_ptr<Case>>& Cases() {
    static std::vector<std::unique_ptr<Case>> cases;
    return cases;
}

void LoadCases() {
    std::unique_ptr<Case> best;
    const std::filesystem::path real = std::filesystem::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata" / "ccf";
    std::error_code ec;
    if (std::filesystem::is_directory(real, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(real)) {
            if (entry.path().extension() != ".ccf") continue;
            auto c = std::make_unique<Case>();
            c->loaded = Load(ReadHostFile(entry.path()));
            c->name = "real " + entry.path().filename().string();
            ChooseLargestPanel(*c);
            if (!best || c->items > best->items) best = std::move(c);
        }
    }
    if (best) Cases().push_back(std::move(best));
    auto generated = std::make_unique<Case>();
    generated->name = "generated";
    generated->loaded = Load(GeneratePanelFile());
    ChooseLargestPanel(*generated);
    Cases().push_back(std::move(generated));
}

struct Shown {
    explicit Shown(const Case& c) : screen(c.loaded.file.get(), true) {
        parent.resize(240, 320);
        screen.CreateViewer(&parent);
        screen.ShowDevice(c.device, c.panel);
    }
    QWidget parent;
    CCFScreen screen;
};

void BuildPanel(benchmark::State& state, const Case* c) {
    Shown shown(*c);
    for (auto _ : state) benchmark::DoNotOptimize(shown.screen.ShowDevice(c->device, c->panel));
    state.counters["items"] = double(c->items);
}

void Repaint(benchmark::State& state, const Case* c) {
    Shown shown(*c);
    QImage image(240, 320, QImage::Format_RGB32);
    for (auto _ : state) {
        shown.screen.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void ChangePanel(benchmark::State& state, const Case* c) {
    Shown shown(*c);
    for (auto _ : state) {
        // Forward where there is a next panel, else back (the first panel's prior is itself).
        if (shown.screen.NextPanel() == 0) shown.screen.PriorPanel();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    LoadCases();
    for (const auto& c : Cases()) {
        benchmark::RegisterBenchmark(("build panel/" + c->name).c_str(), BuildPanel, c.get())
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("repaint/" + c->name).c_str(), Repaint, c.get())->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("change panel/" + c->name).c_str(), ChangePanel, c.get())
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
