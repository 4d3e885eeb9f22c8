// orvanectl render: a stored device's panel, or the whole main window, painted as the program paints it,
// written as an 8-bit RGB PNG and described as JSON.
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/panel/background_picture.h"
#include "app/panel/device_opening.h"
#include "app/panel/panel_window.h"
#include "app/panel/qt_pixels.h"
#include "app/shell/app_state.h"
#include "app/shell/gui/main_window.h"
#include "app/shell/gui/program.h"
#include "app/shell/language_table.h"
#include "app/shell/stored_files.h"
#include "handheld/shell/hwnd.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

namespace {

constexpr std::string_view kUsage =
    "render [--handheld DIR] DEVICE [--function-panel] [--landscape] [--edit] [--pressed NAME] [--out F.png] "
    "[--json] [--hit X,Y] | render --screen [--landscape] [--out F.png] [--json] [DEVICE]";

// Widgets need an application object; the tool draws off-screen.
std::unique_ptr<QApplication> MakeApplication() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvanectl";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

bool ParsePoint(const std::string& text, int& x, int& y) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%d,%d%c", &x, &y, &tail) == 2;
}

bool SavePng(const QImage& image, const std::string& path) {
    if (image.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path), "PNG")) return true;
    std::fprintf(stderr, "orvanectl: cannot write %s\n", path.c_str());
    return false;
}

void PrintPanelJson(const SkinPanel& panel, int orientation, bool functionPanel) {
    JsonWriter out;
    out.BeginObject()
        .Field("orientation", orientation)
        .Field("panel", functionPanel ? "function" : "main")
        .Key("buttons")
        .BeginArray();
    for (const FaceButton& button : panel.buttons) {
        out.BeginObject()
            .Field("name", button.name)
            .Field("x", button.x)
            .Field("y", button.y)
            .Field("width", button.width)
            .Field("height", button.height)
            .Field("skin", button.skinName)
            .Field("shape", button.shapeName)
            .Field("label", button.label)
            .Field("color", button.color)
            .Field("caption", button.caption)
            .Field("state", button.state)
            .EndObject();
    }
    out.EndArray().EndObject();
    std::printf("%s\n", out.Text().c_str());
}

void PrintScreenJson(MainWindow& window, int orientation) {
    JsonWriter out;
    out.BeginObject().Field("orientation", orientation).Key("widgets").BeginArray();
    for (const BitmapWidget* widget : window.Widgets().All()) {
        out.BeginObject()
            .Field("id", widget->Id().toStdString())
            .Field("class", widget->ClassName())
            .Key("bitmaps")
            .BeginArray();
        for (int number : widget->BitmapNumbers()) out.Number(std::int64_t{number});
        out.EndArray()
            .Field("x", widget->X())
            .Field("y", widget->Y())
            .Field("width", widget->Width())
            .Field("height", widget->Height())
            .EndObject();
    }
    const QRect panel = window.Panel()->geometry();
    out.EndArray()
        .Key("panelWindow")
        .BeginObject()
        .Field("x", panel.x())
        .Field("y", panel.y())
        .Field("width", panel.width())
        .Field("height", panel.height())
        .EndObject()
        .EndObject();
    std::printf("%s\n", out.Text().c_str());
}

int RunRender(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool screen = HasFlag(args, "--screen");
    const bool landscape = HasFlag(args, "--landscape");
    const bool functionPanel = HasFlag(args, "--function-panel");
    const bool edit = HasFlag(args, "--edit");
    const bool json = HasFlag(args, "--json");
    std::string out, pressed, hit;
    const bool hasPressed = TakeOption(args, "--pressed", pressed);
    TakeOption(args, "--out", out);
    const bool hasHit = TakeOption(args, "--hit", hit);
    if (args.size() > 1 || (!screen && args.empty())) return UsageError(kUsage);
    for (const auto& arg : args) {
        if (arg.starts_with("--")) return UsageError(kUsage);
    }
    int hitX = 0, hitY = 0;
    if (hasHit && !ParsePoint(hit, hitX, hitY)) return UsageError(kUsage);

    const auto application = MakeApplication();
    LanguageTable::Instance().LoadLanguageFile(GetProgramFolder() + u"\\Orvane.lng");
    const auto library = handheld::ResourceLibrary::Load(GetProgramFolder() + u"\\KRBtnLib.dll");
    if (!library) {
        std::fprintf(stderr, "orvanectl: the handheld has no readable KRBtnLib.dll in the program folder\n");
        return 1;
    }
    const LibraryArtwork artwork(library.get());
    AppState& state = TheAppState();
    ApplicationSettings settings;
    ReadConfigurationAtStart(settings, nullptr);
    TakeSettings(state, settings);
    state.functionPanelShown = functionPanel;
    state.editMode = edit;
    const int orientation = landscape ? kOrientationLandscape : kOrientationPortrait;
    DevicePanels panels;
    const std::u16string device = args.empty() ? state.currentDevice : handheld::FromUtf8(args[0]);

    if (screen) {
        MainWindow window(state, panels, artwork,
                          landscape ? handheld::Orientation::Landscape : handheld::Orientation::Portrait);
        if (!device.empty() && !window.Open(device)) {
            std::fprintf(stderr, "orvanectl: cannot open the device %s\n", handheld::ToUtf8(device).c_str());
            return 1;
        }
        if (!out.empty() && !SavePng(window.grab().toImage(), out)) return 1;
        if (json) PrintScreenJson(window, orientation);
        return 0;
    }

    // The panel window's stand-in: opening loads the device's picture for a window.
    QWidget panelWindow;
    DeviceOpening opening;
    opening.library = &artwork;
    opening.panelWindow = handheld::ToHwnd(&panelWindow);
    opening.loadPicture = [&panelWindow](SkinPanel& panel, std::u16string_view path) {
        return LoadBackgroundPicture(panel, handheld::ToHwnd(&panelWindow), path);
    };
    if (!OpenDevice(device, state, panels, opening)) {
        std::fprintf(stderr, "orvanectl: cannot open the device %s as a panel\n", handheld::ToUtf8(device).c_str());
        return 1;
    }
    const SkinPanel& panel = functionPanel ? panels.functionPanel : panels.mainPanel;
    if (hasHit) {
        JsonWriter answer;
        answer.BeginObject().Field("name", panel.ButtonNameAt(hitX, hitY)).EndObject();
        std::printf("%s\n", answer.Text().c_str());
        return 0;
    }
    const CaptionTextPainter text;
    Bitmap24 pixels = PaintedPanel(panel, orientation, !edit, &text);
    if (hasPressed) {
        const std::u16string name = handheld::FromUtf8(pressed);
        if (panel.FindButton(name) == nullptr) {
            std::fprintf(stderr, "orvanectl: the panel has no button %s\n", pressed.c_str());
            return 1;
        }
        DeviceContext dc{pixels, orientation, &text};
        RedrawButton(panel, dc, STATE_PRESSED, name);
    }
    if (!out.empty() && !SavePng(ToRgbImage(pixels), out)) return 1;
    if (json) PrintPanelJson(panel, orientation, functionPanel);
    return 0;
}

const OrvaneCommand kRenderCommand("render", kUsage, RunRender);

}  // namespace
}  // namespace orvanectl
