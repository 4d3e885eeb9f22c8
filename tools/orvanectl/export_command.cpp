// orvanectl export: a device's learned codes in a format other programs and collections read.
#include <cstdio>
#include <string>
#include <vector>

#include "app/codes/code_list.h"
#include "app/codes/device_import.h"
#include "app/model/device_creation.h"
#include "app/shell/stored_files.h"
#include "handheld/text.h"
#include "tools/host_file/host_file.h"
#include "tools/orvanectl/code_formats.h"
#include "tools/orvanectl/command.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage = "export DEVICE --format FORMAT [--out FILE]";

int RunExport(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    std::string formatName, out;
    if (!TakeOption(args, "--format", formatName)) return UsageError(kUsage);
    TakeOption(args, "--out", out);
    if (args.size() != 1) return UsageError(kUsage);
    codes::CodeFormat format;
    if (!FormatFromArguments(formatName, out, format)) return 2;

    Device device;
    if (!LoadDevice(device, DeviceFolder() + handheld::FromUtf8(args[0]) + u".kdr", false)) {
        std::fprintf(stderr, "orvanectl: cannot open the device %s\n", args[0].c_str());
        return 1;
    }
    const codes::CodeList list = codes::LearnedCodes(device);
    if (list.empty()) {
        std::fprintf(stderr, "orvanectl: the device %s has no learned codes\n", args[0].c_str());
        return 1;
    }
    const std::string text = codes::WriteCodeFile(format, list);
    if (out.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    std::string error;
    if (!host_file::WriteAtomically(out, std::string_view(text), error)) {
        std::fprintf(stderr, "orvanectl: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const OrvaneCommand kExportCommand("export", kUsage, RunExport);

}  // namespace
}  // namespace orvanectl
