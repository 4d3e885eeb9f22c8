// orvanectl ccf show FILE [--json]: a CCF file as the viewer library sees it.
#include <cstdio>
#include <string>
#include <vector>

#include "ccf/format/ccf_mapped_file.h"
#include "ccf/format/ccf_reader.h"
#include "ccf/model/ccf_action.h"
#include "ccf/model/ccf_model.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

namespace {

constexpr std::string_view kUsage = "ccf show FILE [--json]";

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

int RunCcf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return UsageError(kUsage);
    if (arguments[0] == "show") return Show({arguments.begin() + 1, arguments.end()});
    return UsageError(kUsage);
}

const OrvaneCommand kCcfCommand("ccf", kUsage, RunCcf);

}  // namespace
}  // namespace orvanectl
