// orvanectl kdr: device files as the program reads and writes them. FILE is a host path, or a handheld path
// when it starts with a backslash. Messages the reader shows go to standard error as "Title: text".
#include <cstdio>
#include <string>
#include <vector>

#include "app/codes/ir_signal.h"
#include "app/codes/protocol.h"
#include "app/model/byte_source.h"
#include "app/model/device.h"
#include "app/model/device_creation.h"
#include "app/model/device_file.h"
#include "app/model/little_endian.h"
#include "app/shell/messages.h"
#include "app/shell/stored_files.h"
#include "handheld/home.h"
#include "handheld/text.h"
#include "tools/host_file/host_file.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/decode_command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

namespace {

constexpr std::string_view kUsage =
    "kdr show FILE [--json] | kdr rewrite IN OUT | kdr create [--handheld DIR] NAME receiver|player|custom";

bool IsHandheldPath(const std::string& argument) {
    return !argument.empty() && argument.front() == '\\';
}

// The device as the program would load it from either kind of path.
bool LoadDevice(const std::string& argument, Device& device) {
    if (IsHandheldPath(argument)) {
        if (::LoadDevice(device, handheld::FromUtf8(argument), false)) return true;
        std::fprintf(stderr, "orvanectl: cannot open %s\n", argument.c_str());
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadFileArgument(argument, bytes)) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", argument.c_str());
        return false;
    }
    MemoryByteSource source(bytes);
    const FileResult loaded = device_file::LoadFrom(source, device, false);
    ShowProblems(nullptr, loaded.problems);
    return loaded.succeeded;
}

// The samples as the driver's signed 32-bit words.
std::vector<std::int32_t> SampleWords(const CodeEntry& entry) {
    std::vector<std::int32_t> words;
    const auto samples = entry.samples();
    for (std::size_t i = 0; i + 4 <= samples.size(); i += 4) {
        words.push_back(ReadI32(samples.data() + i));
    }
    return words;
}

void PrintJson(const Device& device) {
    JsonWriter out;
    out.BeginObject()
        .Field("formatVersion", device.formatVersion)
        .Field("deviceType", static_cast<std::int32_t>(device.deviceType))
        .Field("name", device.name)
        .Key("records")
        .BeginArray();
    for (const ButtonRecord& record : device.records) {
        out.BeginObject()
            .Field("name", record.name)
            .Field("commandName", record.commandName)
            .Field("label", record.label)
            .Field("reserved", record.reserved)
            .Field("skin", record.skin)
            .Field("color", record.color)
            .Field("hardwareKey", record.hardwareKey)
            .Field("x", record.x)
            .Field("y", record.y)
            .Field("panel", record.panel)
            .Key("entries")
            .BeginArray();
        for (const auto& [index, entry] : record.commands) {
            out.BeginObject().Field("index", index).Field("codeInfo", entry.codeInfo()).Key("samples").BeginArray();
            for (std::int32_t word : SampleWords(entry)) out.Number(std::int64_t{word});
            out.EndArray();
            codes::IrSignal signal;
            if (codes::FromCodeEntry(entry, signal)) {
                out.Key("protocol");
                WriteProtocolJson(out, codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz));
            }
            out.EndObject();
        }
        out.EndArray().EndObject();
    }
    out.EndArray().EndObject();
    std::printf("%s\n", out.Text().c_str());
}

void PrintText(const Device& device) {
    std::printf("format version %u, type %d, name \"%s\", %zu records\n", device.formatVersion,
                static_cast<int>(device.deviceType), handheld::ToUtf8(device.name).c_str(), device.records.size());
    for (const ButtonRecord& record : device.records) {
        std::printf(
            "record \"%s\" command \"%s\" label \"%s\" skin \"%s\" reserved %u color 0x%08X key %u at %u,%u "
            "panel %u, %zu entries\n",
            handheld::ToUtf8(record.name).c_str(), handheld::ToUtf8(record.commandName).c_str(),
            handheld::ToUtf8(record.label).c_str(), handheld::ToUtf8(record.skin).c_str(), record.reserved,
            record.color, record.hardwareKey, record.x, record.y, record.panel, record.commands.size());
        for (const auto& [index, entry] : record.commands) {
            std::printf("  entry %d codeInfo 0x%04X:", index, entry.codeInfo());
            for (std::int32_t word : SampleWords(entry)) std::printf(" %d", word);
            std::printf("\n");
        }
    }
}

int Show(std::vector<std::string> args) {
    const bool json = HasFlag(args, "--json");
    if (args.size() != 1) return UsageError(kUsage);
    Device device;
    if (!LoadDevice(args[0], device)) return 1;
    json ? PrintJson(device) : PrintText(device);
    return 0;
}

int Rewrite(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kUsage);
    Device device;
    if (!LoadDevice(args[0], device)) return 1;
    const std::string& out = args[1];
    if (IsHandheldPath(out)) return SaveDevice(device, true, handheld::FromUtf8(out)) ? 0 : 1;
    std::vector<std::uint8_t> bytes;
    const auto result = device_file::WriteDevice(device, [&bytes](const std::uint8_t* data, std::size_t count) {
        bytes.insert(bytes.end(), data, data + count);
        return true;
    });
    if (result != device_file::WriteResult::Written) {
        std::fprintf(stderr, "orvanectl: the device does not fit a device file\n");
        return 1;
    }
    std::string error;
    if (!host_file::WriteAtomically(out, bytes, error)) {
        std::fprintf(stderr, "orvanectl: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int Create(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError(kUsage);
    DeviceType type;
    if (args[1] == "receiver") {
        type = DT_RECEIVER;
    } else if (args[1] == "player") {
        type = DT_PLAYER;
    } else if (args[1] == "custom") {
        type = DT_CUSTOM;
    } else {
        return UsageError(kUsage);
    }
    return CreateStandardDeviceFile(handheld::FromUtf8(args[0]), type) ? 0 : 1;
}

int RunKdr(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return UsageError(kUsage);
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (arguments[0] == "show") return Show(rest);
    if (arguments[0] == "rewrite") return Rewrite(rest);
    if (arguments[0] == "create") return Create(rest);
    return UsageError(kUsage);
}

const OrvaneCommand kKdrCommand("kdr", kUsage, RunKdr);

}  // namespace
}  // namespace orvanectl
