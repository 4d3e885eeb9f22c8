// orvanectl import: a file of IR codes from a collection becomes a custom device (or several) in the
// handheld's device folder. Nothing is written unless every code of the file was read and every device fits.
#include <cstdio>
#include <string>
#include <vector>

#include "app/codes/code_list.h"
#include "app/codes/device_import.h"
#include "app/model/device_creation.h"
#include "handheld/files.h"
#include "handheld/text.h"
#include "tools/orvanectl/code_formats.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage = "import FILE [--name DEVICE] [--split] [--format FORMAT] [--json]";

std::u16string DevicePath(const std::u16string& name) {
    return DeviceFolder() + name + u".kdr";
}

// The file's name without folder and extension, for host and handheld paths alike.
std::string FileStem(const std::string& file) {
    const std::size_t slash = file.find_last_of("/\\");
    std::string stem = slash == std::string::npos ? file : file.substr(slash + 1);
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    return stem;
}

int RunImport(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool json = HasFlag(args, "--json");
    const bool split = HasFlag(args, "--split");
    std::string name, formatName;
    TakeOption(args, "--name", name);
    TakeOption(args, "--format", formatName);
    if (args.size() != 1) return UsageError(kUsage);
    const std::string& file = args[0];
    codes::CodeFormat format;
    if (!FormatFromArguments(formatName, file, format)) return 2;

    std::vector<std::uint8_t> bytes;
    if (!ReadFileArgument(file, bytes)) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", file.c_str());
        return 1;
    }
    codes::CodeList list;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!codes::ReadCodeFile(format, text, list, &error)) {
        std::fprintf(stderr, "orvanectl: %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    if (name.empty()) name = FileStem(file);
    std::vector<Device> devices;
    if (!codes::BuildImportedDevices(list, handheld::FromUtf8(name), split, devices, &error)) {
        std::fprintf(stderr, "orvanectl: %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    for (const Device& device : devices) {
        if (handheld::GetFileAttributesW(DevicePath(device.name).c_str()) != handheld::INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "orvanectl: a device named %s exists already\n",
                         handheld::ToUtf8(device.name).c_str());
            return 1;
        }
    }
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const FileResult saved = devices[i].Save(false, DevicePath(devices[i].name));
        if (!saved.succeeded) {
            // All or nothing: the devices of this file written so far go again.
            for (std::size_t k = 0; k < i; ++k) handheld::DeleteFileW(DevicePath(devices[k].name).c_str());
            std::fprintf(stderr, "orvanectl: the device %s could not be written\n",
                         handheld::ToUtf8(devices[i].name).c_str());
            return 1;
        }
    }
    JsonWriter out;
    out.BeginObject().Field("codes", list.size()).Key("devices").BeginArray();
    std::size_t first = 0;
    for (const Device& device : devices) {
        const std::size_t buttons = std::min<std::size_t>(list.size() - first, codes::kButtonsPerPanel);
        first += buttons;
        if (json) {
            out.BeginObject().Field("name", device.name).Field("buttons", buttons).EndObject();
        } else {
            std::printf("made the device %s with %zu buttons\n", handheld::ToUtf8(device.name).c_str(), buttons);
            for (const ButtonRecord& record : device.records) {
                if (record.panel == 0) {
                    std::printf("  %s  %s\n", handheld::ToUtf8(record.name).c_str(),
                                handheld::ToUtf8(record.commandName).c_str());
                }
            }
        }
    }
    out.EndArray().EndObject();
    if (json) std::printf("%s\n", out.Text().c_str());
    return 0;
}

const OrvaneCommand kImportCommand("import", kUsage, RunImport);

}  // namespace
}  // namespace orvanectl
