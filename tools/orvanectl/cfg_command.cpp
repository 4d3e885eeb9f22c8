// orvanectl cfg show FILE [--json]: a configuration file as the program reads it. FILE is a host path, or a
// handheld path when it starts with a backslash.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/model/byte_source.h"
#include "app/model/configuration.h"
#include "app/shell/messages.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {

namespace {

constexpr std::string_view kUsage = "cfg show FILE [--json]";

void PrintJson(const ApplicationSettings& settings) {
    JsonWriter out;
    out.BeginObject()
        .Field("optionFlags", settings.optionFlags)
        .Field("currentDevice", settings.currentDevice)
        .Key("shownDevices")
        .BeginArray();
    for (const DeviceSettings& entry : settings.shownDevices) {
        out.BeginObject()
            .Field("flags", entry.flags)
            .Field("deviceName", entry.deviceName)
            .Field("backgroundPicture", entry.backgroundPicture)
            .Field("buttonSound", entry.buttonSound)
            .Field("backgroundColor", entry.backgroundColor)
            .EndObject();
    }
    out.EndArray().Field("portName", settings.portName).Field("buttonRotation", settings.buttonRotation).EndObject();
    std::printf("%s\n", out.Text().c_str());
}

void PrintText(const ApplicationSettings& settings) {
    using handheld::ToUtf8;
    std::printf("option flags %u, current device \"%s\", IR port \"%s\", button rotation %u\n", settings.optionFlags,
                ToUtf8(settings.currentDevice).c_str(), ToUtf8(settings.portName).c_str(), settings.buttonRotation);
    for (const DeviceSettings& entry : settings.shownDevices) {
        std::printf("shown \"%s\" flags %u color 0x%08X picture \"%s\" sound \"%s\"\n",
                    ToUtf8(entry.deviceName).c_str(), entry.flags, entry.backgroundColor,
                    ToUtf8(entry.backgroundPicture).c_str(), ToUtf8(entry.buttonSound).c_str());
    }
}

int RunCfg(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool json = HasFlag(args, "--json");
    if (args.size() != 2 || args[0] != "show") return UsageError(kUsage);
    std::vector<std::uint8_t> bytes;
    if (!ReadFileArgument(args[1], bytes)) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", args[1].c_str());
        return 1;
    }
    MemoryByteSource source(bytes);
    ApplicationSettings settings;
    std::optional<std::u16string> storedPortName;
    if (configuration::Parse(source, settings, storedPortName) == configuration::ParseResult::NotConfiguration) {
        ShowError(nullptr, u"ERR_3", u"Invalid config file");
        return 1;
    }
    // The tool shows the stored name without handing it to the driver.
    if (storedPortName) settings.portName = *storedPortName;
    json ? PrintJson(settings) : PrintText(settings);
    return 0;
}

const OrvaneCommand kCfgCommand("cfg", kUsage, RunCfg);

}  // namespace
}  // namespace orvanectl
