// orvanectl ccf show FILE [--json]: a CCF file as the viewer library sees it. ccf render and ccf tap: the
// viewer built on it, painted, and tapped.
#include <cstdio>
#include <string>
#include <vector>

#include "ccf/format/ccf_mapped_file.h"
#include "ccf/format/ccf_reader.h"
#include "ccf/model/ccf_action.h"
#include "ccf/model/ccf_model.h"
// Qt after the model: a model field is named like one of Qt's keyword macros.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <cstdlib>
#include <memory>

#include "ccf/viewer/ccf_screen.h"
#include "driver/irdriver/lumbra.h"
#include "handheld/profile.h"
#include "handheld/soc/simulation.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/emission_output.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

namespace {

constexpr std::string_view kUsage =
    "ccf show FILE [--json]\n"
    "       orvanectl ccf render FILE [--device NAME] [--panel N] [--strip] [--press X,Y] [--out F.png] [--json]\n"
    "       orvanectl ccf tap FILE [--device NAME] [--panel N] [--strip] X,Y [X,Y...] [--json]";

std::string Utf8(const std::string& name) {
    return handheld::ToUtf8(CCFWiden(name));
}

// --- JSON -------------------------------------------------------------------------------------------

void WriteIrCode(JsonWriter& json, const CCFIRCode& code) {
    json.BeginObject().Field("name", Utf8(code.name)).Field("format", code.format).Field("divisor", code.divisor);
    const CCFLearnedCode* learned = code.GetLearnedCode();
    json.Field("frequency", learned ? learned->GetFrequency() : 0);
    const auto pairs = [&](const char* key, std::unique_ptr<CCFPairIterator> it) {
        json.Key(key).BeginArray();
        for (; it && it->IsValid(); it->Next()) {
            json.BeginArray()
                .Number(std::int64_t{it->Current()->on})
                .Number(std::int64_t{it->Current()->off})
                .EndArray();
        }
        json.EndArray();
    };
    pairs("once", learned ? learned->CreateOnceIterator() : nullptr);
    pairs("repeat", learned ? learned->CreateRepeatIterator() : nullptr);
    json.Key("irCode");
    IrCode ir;
    if (learned && ConvertCCFLearnedCode(*learned, ir)) {
        json.BeginObject()
            .Field("carrier", ir.carrier)
            .Field("count", ir.count)
            .Field("repeatStart", ir.repeatStart)
            .Key("durations")
            .BeginArray();
        for (int i = 0; i < ir.count; ++i) json.Number(std::int64_t{ir.durations[i]});
        json.EndArray().EndObject();
    } else {
        json.Null();
    }
    json.EndObject();
}

void WriteActions(JsonWriter& json, const CCFActionList* list) {
    json.Key("actions").BeginArray();
    if (list) {
        for (auto it = list->CreateActionIterator(); it->IsValid(); it->Next()) {
            const auto* action = it->CurrentAs<CCFAction>();
            json.BeginObject().Field("type", action->type);
            const auto* ir = dynamic_cast<const CCFIRCodeAction*>(action);
            if (ir) {
                json.Key("ir");
                if (ir->code) {
                    WriteIrCode(json, *ir->code);
                } else {
                    json.Null();
                }
            } else {
                json.Field("p1", action->p1).Field("p2", action->p2);
            }
            json.EndObject();
        }
    }
    json.EndArray();
}

void WriteImage(JsonWriter& json, const CCFImage* image) {
    if (!image) {
        json.Null();
        return;
    }
    const int bits = image->ColorCount() == 256 ? 8 : image->ColorCount() == 4 ? 2 : 1;
    json.BeginObject()
        .Field("recordOffset", image->recordOffset)
        .Field("width", image->width)
        .Field("height", image->height)
        .Field("bits", bits)
        .EndObject();
}

void WriteColors(JsonWriter& json, const CCFColorSet* colors) {
    if (!colors) {
        json.Null();
        return;
    }
    json.BeginArray();
    for (std::uint8_t c : colors->c) json.Number(std::int64_t{c});
    json.EndArray();
}

void WriteItems(JsonWriter& json, std::unique_ptr<CCFIterator> items) {
    json.Key("items").BeginArray();
    for (; items->IsValid(); items->Next()) {
        const auto* item = items->CurrentAs<CCFPanelItem>();
        json.BeginObject().Field("x", item->x).Field("y", item->y).Key("kind");
        if (auto frames = item->CreateFrameIterator(); frames->IsValid()) {
            const auto* frame = frames->CurrentAs<CCFFrame>();
            json.String("frame")
                .Field("recordOffset", frame->recordOffset)
                .Field("width", frame->width)
                .Field("height", frame->height)
                .Field("name", Utf8(frame->name))
                .Field("font", frame->font)
                .Key("image");
            WriteImage(json, frame->image.get());
            json.Key("colors");
            WriteColors(json, frame->colors.get());
            WriteItems(json, frame->CreateItemIterator());
        } else if (auto buttons = item->CreateButtonIterator(); buttons->IsValid()) {
            const auto* button = buttons->CurrentAs<CCFButton>();
            json.String("button")
                .Field("recordOffset", button->recordOffset)
                .Field("width", button->width)
                .Field("height", button->height)
                .Field("name", Utf8(button->name))
                .Field("font", button->font)
                .Key("images")
                .BeginArray();
            for (const auto& image : button->images) WriteImage(json, image.get());
            json.EndArray().Key("colors").BeginArray();
            for (const auto& colors : button->colors) WriteColors(json, colors.get());
            json.EndArray();
            WriteActions(json, button->actions.get());
        } else {
            json.Null();
        }
        json.EndObject();
    }
    json.EndArray();
}

std::string ToJson(const CCFFile& file, const CCFReadStats& stats) {
    JsonWriter json;
    json.BeginObject().Field("attr", file.attributes).Field("color", file.IsColor()).Key("devices").BeginArray();
    for (auto it = file.CreateDeviceIterator(); it->IsValid(); it->Next()) {
        const CCFDevice& device = *it->Device();
        json.BeginObject()
            .Field("chain", it->Chain())
            .Field("name", Utf8(device.name))
            .Field("recordOffset", device.recordOffset)
            .Key("actionLists")
            .BeginArray();
        for (auto lists = device.CreateActionListIterator(); lists->IsValid(); lists->Next()) {
            const auto* list = lists->CurrentAs<CCFActionList>();
            json.BeginObject().Field("name", Utf8(list->name));
            WriteActions(json, list);
            json.EndObject();
        }
        json.EndArray().Key("panels").BeginArray();
        for (auto panels = device.CreatePanelIterator(); panels->IsValid(); panels->Next()) {
            const auto* panel = panels->CurrentAs<CCFPanel>();
            json.BeginObject().Field("recordOffset", panel->recordOffset).Field("hidden", panel->hidden != 0);
            WriteItems(json, panel->CreateItemIterator());
            json.EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray();
    json.Key("ownPanel");
    if (file.ownPanel) {
        json.BeginObject()
            .Field("recordOffset", file.ownPanel->recordOffset)
            .Field("hidden", file.ownPanel->hidden != 0)
            .Field("itemCount", file.ownPanel->itemCount)
            .EndObject();
    } else {
        json.Null();
    }
    json.Key("damage")
        .BeginObject()
        .Field("outsideFile", stats.outsideFile)
        .Field("cycles", stats.cycles)
        .Field("tooDeep", stats.tooDeep)
        .Field("truncatedModel", stats.budgetExhausted)
        .EndObject();
    json.EndObject();
    return json.Text();
}

// --- text -------------------------------------------------------------------------------------------

void PrintList(const CCFActionList* list, int indent) {
    if (!list) return;
    for (auto it = list->CreateActionIterator(); it->IsValid(); it->Next()) {
        const auto* action = it->CurrentAs<CCFAction>();
        const auto* ir = dynamic_cast<const CCFIRCodeAction*>(action);
        if (ir && ir->code) {
            const CCFLearnedCode* learned = ir->code->GetLearnedCode();
            IrCode code;
            const bool sendable = learned && ConvertCCFLearnedCode(*learned, code);
            std::printf("%*saction 1: IR \"%s\" format %u, %u Hz, %zu+%zu pairs%s\n", indent, "",
                        Utf8(ir->code->name).c_str(), unsigned(ir->code->format),
                        unsigned(learned ? learned->GetFrequency() : 0), learned ? learned->once.size() : 0,
                        learned ? learned->repeat.size() : 0, sendable ? "" : " (not sent)");
        } else {
            std::printf("%*saction %u: p1 %#x p2 %#x\n", indent, "", unsigned(action->type), unsigned(action->p1),
                        unsigned(action->p2));
        }
    }
}

void PrintItems(std::unique_ptr<CCFIterator> items, int indent) {
    for (; items->IsValid(); items->Next()) {
        const auto* item = items->CurrentAs<CCFPanelItem>();
        if (item->CreateFrameIterator()->IsValid()) {
            const CCFFrame& frame = *item->frame;
            std::printf("%*sframe at (%d,%d) %ux%u \"%s\" font %u\n", indent, "", item->x, item->y,
                        unsigned(frame.width), unsigned(frame.height), Utf8(frame.name).c_str(), unsigned(frame.font));
            PrintItems(frame.CreateItemIterator(), indent + 2);
        } else if (item->CreateButtonIterator()->IsValid()) {
            const CCFButton& button = *item->button;
            std::printf("%*sbutton at (%d,%d) %ux%u \"%s\" font %u\n", indent, "", item->x, item->y,
                        unsigned(button.width), unsigned(button.height), Utf8(button.name).c_str(),
                        unsigned(button.font));
            PrintList(button.actions.get(), indent + 2);
        } else {
            std::printf("%*sempty child at (%d,%d)\n", indent, "", item->x, item->y);
        }
    }
}

void PrintText(const CCFFile& file, const CCFReadStats& stats) {
    std::printf("attributes %#010x (%s)\n", unsigned(file.attributes), file.IsColor() ? "colour" : "monochrome");
    for (auto it = file.CreateDeviceIterator(); it->IsValid(); it->Next()) {
        const CCFDevice& device = *it->Device();
        std::printf("chain %d device \"%s\" at %#x\n", it->Chain(), Utf8(device.name).c_str(),
                    unsigned(device.recordOffset));
        for (auto lists = device.CreateActionListIterator(); lists->IsValid(); lists->Next()) {
            const auto* list = lists->CurrentAs<CCFActionList>();
            std::printf("  list \"%s\"\n", Utf8(list->name).c_str());
            PrintList(list, 4);
        }
        for (auto panels = device.CreatePanelIterator(); panels->IsValid(); panels->Next()) {
            const auto* panel = panels->CurrentAs<CCFPanel>();
            std::printf("  panel at %#x%s\n", unsigned(panel->recordOffset), panel->hidden ? " (hidden)" : "");
            PrintItems(panel->CreateItemIterator(), 4);
        }
    }
    if (stats.outsideFile || stats.cycles || stats.tooDeep || stats.budgetExhausted) {
        std::printf("damaged: %zu references outside the file, %zu loops, %zu frames too deep%s\n", stats.outsideFile,
                    stats.cycles, stats.tooDeep, stats.budgetExhausted ? ", model cut at its size bound" : "");
    }
}

int Show(std::vector<std::string> args) {
    const bool asJson = HasFlag(args, "--json");
    if (args.size() != 1) return UsageError(kUsage);
    std::vector<std::uint8_t> bytes;
    CCFMappedFile mapped;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool read = false;
    if (!args[0].empty() && args[0].front() == '\\') {
        // A handheld path: mapped as the viewer maps it.
        const std::u16string path = handheld::FromUtf8(args[0]);
        read = mapped.Open(path.c_str());
        data = mapped.Data();
        size = mapped.Size();
    } else if (ReadFileArgument(args[0], bytes)) {
        read = true;
        data = bytes.data();
        size = bytes.size();
    }
    if (!read) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", args[0].c_str());
        return 1;
    }
    CCFReadStats stats;
    const auto file = ReadCCFFile(data, size, {}, &stats);
    if (!file) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", args[0].c_str());
        return 1;
    }
    if (asJson) {
        std::printf("%s\n", ToJson(*file, stats).c_str());
    } else {
        PrintText(*file, stats);
    }
    return 0;
}

// --- the viewer ---------------------------------------------------------------------------------------

bool ReadModel(const std::string& argument, std::vector<std::uint8_t>& bytes, CCFMappedFile& mapped,
               std::unique_ptr<CCFFile>& file) {
    if (!argument.empty() && argument.front() == '\\') {
        // A handheld path: mapped as the viewer maps it.
        const std::u16string path = handheld::FromUtf8(argument);
        if (mapped.Open(path.c_str())) file = ReadCCFFile(mapped.Data(), mapped.Size());
    } else if (ReadFileArgument(argument, bytes)) {
        file = ReadCCFFile(bytes.data(), bytes.size());
    }
    if (!file) std::fprintf(stderr, "orvanectl: cannot read %s\n", argument.c_str());
    return static_cast<bool>(file);
}

bool ParsePoint(const std::string& text, QPoint& point) {
    int x = 0, y = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d,%d%c", &x, &y, &tail) != 2) return false;
    point = QPoint(x, y);
    return true;
}

// The viewer of one run of render or tap, off-screen, built as CCFInitUI builds it.
struct ViewerRun {
    std::vector<std::uint8_t> bytes;
    CCFMappedFile mapped;
    std::unique_ptr<CCFFile> file;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<CCFScreen> screen;
    std::vector<std::u16string> changes;  // names the change-device callback received

    // FILE [--device NAME] [--panel N] [--strip]; the remaining arguments stay in args. 0, or an exit code.
    int Start(std::vector<std::string>& args) {
        std::string device, panelText;
        const bool hasDevice = TakeOption(args, "--device", device);
        TakeOption(args, "--panel", panelText);
        const bool strip = HasFlag(args, "--strip");
        if (args.empty()) return UsageError(kUsage);
        int panel = 0;
        if (!panelText.empty() && (std::sscanf(panelText.c_str(), "%d", &panel) != 1 || panel < 0)) {
            std::fprintf(stderr, "orvanectl: --panel takes a panel index from 0\n");
            return 2;
        }
        if (!ReadModel(args.front(), bytes, mapped, file)) return 1;
        args.erase(args.begin());
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "orvanectl";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        parent = std::make_unique<QWidget>();
        parent->resize(CCFScreen::kWidthPx, CCFScreen::kHeightPx);
        screen = std::make_unique<CCFScreen>(file.get(), strip);
        screen->onDeviceChanged = [this](const std::u16string& shown) { changes.push_back(shown); };
        screen->CreateViewer(parent.get());
        if (hasDevice && !screen->ShowDeviceNamed(handheld::FromUtf8(device))) {
            std::fprintf(stderr, "orvanectl: no device is named %s\n", device.c_str());
            return 1;
        }
        for (int step = 0; step < panel; ++step) {
            if (screen->NextPanel() == 0) {
                std::fprintf(stderr, "orvanectl: the device has no panel %d\n", panel);
                return 1;
            }
        }
        return 0;
    }

    // The shown device's name (null when none) and its panel's index.
    void WriteShown(JsonWriter& json) const {
        const CCFDeviceScreen* device = screen->CurrentDevice();
        json.Key("device");
        if (device) {
            json.String(CCFWiden(device->Device()->name));
        } else {
            json.Null();
        }
        int index = -1;
        if (device && device->CurrentPanel()) {
            index = 0;
            for (auto it = device->Device()->CreatePanelIterator();
                 it->IsValid() && it->Current() != device->CurrentPanel(); it->Next()) {
                ++index;
            }
        }
        json.Field("panel", index);
    }
};

// Frames and buttons with their absolute places in the viewer; the windows between them are left out.
void WriteWindows(JsonWriter& json, const CCFScreen& screen, const CCFWnd& window) {
    for (const CCFWnd* child : window.ChildList()) {
        const auto* frame = qobject_cast<const CCFFrameScreen*>(child);
        const auto* button = qobject_cast<const CCFButtonScreen*>(child);
        if (!frame && !button) {
            WriteWindows(json, screen, *child);
            continue;
        }
        const QPoint at = child->mapTo(&screen, QPoint(0, 0));
        json.BeginObject()
            .Field("class", frame ? "CCFFrameScreen" : "CCFButtonScreen")
            .Field("x", at.x())
            .Field("y", at.y())
            .Field("width", child->width())
            .Field("height", child->height())
            .Field("name", Utf8(frame ? frame->Frame()->name : button->Button()->name))
            .Field("font", frame ? frame->Frame()->font : button->Button()->font);
        if (button) json.Field("state", button->State());
        json.Key("children").BeginArray();
        WriteWindows(json, screen, *child);
        json.EndArray().EndObject();
    }
}

int Render(std::vector<std::string> args) {
    const bool asJson = HasFlag(args, "--json");
    std::string out, pressText;
    TakeOption(args, "--out", out);
    TakeOption(args, "--press", pressText);
    ViewerRun run;
    if (const int failed = run.Start(args)) return failed;
    if (!args.empty()) return UsageError(kUsage);
    if (!pressText.empty()) {
        QPoint point;
        if (!ParsePoint(pressText, point)) return UsageError(kUsage);
        auto* button = qobject_cast<CCFButtonScreen*>(run.screen->childAt(point));
        if (!button) {
            std::fprintf(stderr, "orvanectl: no button at %d,%d\n", point.x(), point.y());
            return 1;
        }
        button->SetState(CCFButtonScreen::kStatePressed);
    }
    if (!out.empty()) {
        const QImage image = run.screen->grab().toImage().convertToFormat(QImage::Format_RGB888);
        if (!image.save(QString::fromStdString(out), "PNG")) {
            std::fprintf(stderr, "orvanectl: cannot write %s\n", out.c_str());
            return 1;
        }
    }
    if (asJson) {
        JsonWriter json;
        json.BeginObject();
        run.WriteShown(json);
        json.Key("windows").BeginArray();
        WriteWindows(json, *run.screen, *run.screen);
        json.EndArray().EndObject();
        std::printf("%s\n", json.Text().c_str());
    }
    return 0;
}

// --- taps: what the lists did, in order ---------------------------------------------------------------

struct TapLog {
    JsonWriter* json = nullptr;  // the events array being written
    bool text = false;
    handheld::soc::EdgeBuffer* edges = nullptr;
};
TapLog gTapLog;

bool SendThroughDriver(IrCode& code) {
    CLumbra* driver = CLumbra::Instance();
    if (!driver) return false;
    const std::size_t from = gTapLog.edges->Edges().size();
    driver->Send(&code, [] { return 1; });
    const auto passEdges = gTapLog.edges->Edges().subspan(from);
    if (gTapLog.text) {
        PrintPassText(1, passEdges, code.carrier, "  ");
    } else {
        gTapLog.json->BeginObject().Key("send");
        WritePassJson(*gTapLog.json, passEdges, code.carrier);
        gTapLog.json->EndObject();
    }
    return true;
}

void NoteDelay(std::uint32_t milliseconds) {
    if (gTapLog.text) {
        std::printf("  delay %u ms\n", unsigned(milliseconds));
    } else {
        gTapLog.json->BeginObject().Field("delay_ms", milliseconds).EndObject();
    }
}

int Tap(std::vector<std::string> args) {
    const bool asJson = HasFlag(args, "--json");
    ViewerRun run;
    if (const int failed = run.Start(args)) return failed;
    std::vector<QPoint> points(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!ParsePoint(args[i], points[i])) return UsageError(kUsage);
    }
    if (points.empty()) return UsageError(kUsage);

    handheld::HandheldProfile profile = handheld::Profile();
    profile.timerClock = handheld::TimerClock::Virtual;
    handheld::SetProfile(profile);
    handheld::soc::SetTimerClock(handheld::TimerClock::Virtual);
    handheld::soc::EdgeBuffer edges(4'000'000);
    handheld::soc::AddEdgeObserver(&edges);
    JsonWriter json;
    gTapLog = TapLog{&json, !asJson, &edges};
    CCFActionEffects effects;
    effects.sleep = NoteDelay;
    effects.send = SendThroughDriver;
    const CCFActionEffects previous = SetCCFActionEffects(effects);

    json.BeginObject().Field("tick_hz", handheld::soc::kOscrHz).Key("taps").BeginArray();
    for (const QPoint& point : points) {
        run.changes.clear();
        if (asJson) json.BeginObject().Field("x", point.x()).Field("y", point.y()).Key("events").BeginArray();
        if (!asJson) std::printf("tap %d,%d\n", point.x(), point.y());
        QPointer<QWidget> target = run.screen->childAt(point);
        if (target) {
            const QPointF local = target->mapFrom(run.screen.get(), QPointF(point));
            QMouseEvent press(QEvent::MouseButtonPress, local, local, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
            if (target) {
                QMouseEvent release(QEvent::MouseButtonRelease, local, local, Qt::LeftButton, Qt::NoButton,
                                    Qt::NoModifier);
                QApplication::sendEvent(target, &release);
            }
            CCFFlushDeferredWindows();
        }
        if (asJson) {
            json.EndArray().Key("changes").BeginArray();
            for (const std::u16string& name : run.changes) json.String(name);
            json.EndArray();
            run.WriteShown(json);
            json.EndObject();
        } else {
            for (const std::u16string& name : run.changes)
                std::printf("  shown \"%s\"\n", handheld::ToUtf8(name).c_str());
            const CCFDeviceScreen* device = run.screen->CurrentDevice();
            std::printf("  device %s\n", device ? ("\"" + Utf8(device->Device()->name) + "\"").c_str() : "none");
        }
    }
    json.EndArray().EndObject();
    SetCCFActionEffects(previous);
    CLumbra::Destroy();
    handheld::soc::RemoveEdgeObserver(&edges);
    if (asJson) std::printf("%s\n", json.Text().c_str());
    return 0;
}

int RunCcf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return UsageError(kUsage);
    if (arguments[0] == "show") return Show({arguments.begin() + 1, arguments.end()});
    if (arguments[0] == "render") return Render({arguments.begin() + 1, arguments.end()});
    if (arguments[0] == "tap") return Tap({arguments.begin() + 1, arguments.end()});
    return UsageError(kUsage);
}

const OrvaneCommand kCcfCommand("ccf", kUsage, RunCcf);

}  // namespace
}  // namespace orvanectl
