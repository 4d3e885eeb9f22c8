// Panel composition with the built button library: a full repaint of a 35-button custom panel in portrait
// and landscape, one button redrawn pressed, and both panels filled when a device opens.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/model/device_templates.h"
#include "app/panel/device_opening.h"
#include "app/panel/panel_window.h"
#include "app/panel/qt_pixels.h"
#include "handheld/home.h"

namespace {

std::unique_ptr<handheld::ResourceLibrary> g_library;

// Every shape of the library in turn, on a grid, with labels, captions on the function shapes, and a colour
// each; 35 buttons overlapping as a crowded custom panel does.
SkinPanel CustomPanel(const ButtonArtwork& artwork) {
    static const char16_t* const kSkins[] = {u"CHANAL", u"FLAT_ROUND", u"PW", u"F_LEFT", u"MUTE",
                                             u"SQUARE", u"FLAT_PILL",  u"F1", u"SLASH",  u"F_RIGHT",
                                             u"OVAL",   u"SMALL",      u"UP", u"DOWN",   u"RECTANGLE"};
    static const char16_t* const kLabels[] = {u"LABEL1", u"LABELPW", u"LABELMUTE", u"LABELF1", u"LABEL9"};
    SkinPanel panel;
    for (int i = 0; i < 35; ++i) {
        FaceButton button;
        button.Create(&artwork, nullptr, u"", (i % 5) * 46, (i / 5) * 38, STATE_NORMAL, kSkins[i % 15], true);
        button.SetLabel(kLabels[i % 5]);
        button.Measure();
        button.SetColor(0x00102030u * std::uint32_t(i + 1));
        button.caption = u"Caption";
        panel.AddButton(button, true);
    }
    return panel;
}

void BM_PaintPanel(benchmark::State& state) {
    const LibraryArtwork artwork(g_library.get());
    const SkinPanel panel = CustomPanel(artwork);
    const int orientation = int(state.range(0));
    const CaptionTextPainter text;
    const bool withText = state.range(1) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(PaintedPanel(panel, orientation, true, withText ? &text : nullptr));
    state.SetLabel(orientation == kOrientationPortrait ? "35 buttons, portrait" : "35 buttons, landscape");
}
BENCHMARK(BM_PaintPanel)
    ->Args({kOrientationPortrait, 1})
    ->Args({kOrientationLandscape, 1})
    ->Args({kOrientationPortrait, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_RedrawButton(benchmark::State& state) {
    const LibraryArtwork artwork(g_library.get());
    const SkinPanel panel = CustomPanel(artwork);
    const CaptionTextPainter text;
    Bitmap24 window = PaintedPanel(panel, kOrientationPortrait, true, &text);
    DeviceContext dc{window, kOrientationPortrait, &text};
    const std::u16string name = panel.buttons[12].name;
    for (auto _ : state) RedrawButton(panel, dc, STATE_PRESSED, name);
}
BENCHMARK(BM_RedrawButton)->Unit(benchmark::kMicrosecond);

// A receiver with a record per standard button, as the demo's.
Device Receiver() {
    Device device;
    device.deviceType = DT_RECEIVER;
    for (auto rows : {STANDARD_RECEIVER, STANDARD_FUNCTION_PANEL}) {
        for (const TemplateRow& row : rows) {
            ButtonRecord record;
            record.name = row.name;
            record.label = row.label;
            record.color = row.color;
            record.commandName = u"Command";
            device.AppendRecord(record);
        }
    }
    return device;
}

// Both panels filled; with a warm library the bitmaps are decoded already, cold decodes each one once.
void BM_FillDevicePanels(benchmark::State& state) {
    const Device device = Receiver();
    const bool cold = state.range(0) != 0;
    auto artwork = std::make_unique<LibraryArtwork>(g_library.get());
    DevicePanels panels;
    for (auto _ : state) {
        if (cold) artwork = std::make_unique<LibraryArtwork>(g_library.get());
        DeviceOpening opening;
        opening.library = artwork.get();
        FillDevicePanels(device, nullptr, 0, panels, opening);
    }
    state.SetLabel(cold ? "bitmaps decoded afresh" : "bitmaps already decoded");
}
BENCHMARK(BM_FillDevicePanels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole opening of a demo device as the program does it: its file read, both panels filled, settings on.
void BM_OpenDevice(benchmark::State& state) {
    const LibraryArtwork artwork(g_library.get());
    AppState app;
    DevicePanels panels;
    DeviceOpening opening;
    opening.library = &artwork;
    for (auto _ : state) {
        if (!OpenDevice(u"TV", app, panels, opening)) state.SkipWithError("the demo device TV does not open");
    }
    state.SetLabel("demo TV with learned codes");
}
BENCHMARK(BM_OpenDevice)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QFile file(QStringLiteral(ORVANE_PACKAGE_DIR "/KRBtnLib.dll"));
    if (!file.open(QIODevice::ReadOnly) || !(g_library = handheld::ResourceLibrary::FromBytes(file.readAll()))) {
        std::fprintf(stderr, "bench_panel: the built button library is missing\n");
        return 1;
    }
    // A fresh handheld home gets the program package with its demo devices.
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    const std::filesystem::path home = pattern;
    std::filesystem::remove(home);
    std::string reason;
    if (!handheld::OpenHome(home, &reason)) {
        std::fprintf(stderr, "bench_panel: cannot open a handheld home: %s\n", reason.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_library.reset();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return 0;
}
