#include "tools/orvanectl/decode_command.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/codes/ir_signal.h"
#include "app/codes/pronto.h"
#include "app/model/device.h"
#include "app/model/device_creation.h"
#include "app/shell/stored_files.h"
#include "handheld/soc/remote_signal.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage =
    "ir decode (--from SIGNAL.json | --pronto \"0000 006D ...\" | --device DEVICE --button NAME) [--json]";

bool SignalFromJsonFile(const std::string& path, codes::IrSignal& signal) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", path.c_str());
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    handheld::soc::RemoteSignal remote;
    std::string error;
    if (!handheld::soc::ParseRemoteSignal(text, remote, &error)) {
        std::fprintf(stderr, "orvanectl: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    signal.frequencyHz = static_cast<int>(remote.carrierHz + 0.5);
    signal.durationsUs = remote.durationsUs;
    return true;
}

bool SignalFromDevice(const std::string& deviceName, const std::string& buttonName, codes::IrSignal& signal) {
    Device device;
    const std::u16string path = DeviceFolder() + handheld::FromUtf8(deviceName) + u".kdr";
    if (!LoadDevice(device, path, false)) {
        std::fprintf(stderr, "orvanectl: cannot open the device %s\n", deviceName.c_str());
        return false;
    }
    const auto record = device.FindRecord(CommandRecordName(handheld::FromUtf8(buttonName)));
    if (record == device.records.end()) {
        std::fprintf(stderr, "orvanectl: the device %s has no button %s\n", deviceName.c_str(), buttonName.c_str());
        return false;
    }
    const auto entry = record->commands.find(0);
    if (entry == record->commands.end() || !codes::FromCodeEntry(entry->second, signal)) {
        std::fprintf(stderr, "orvanectl: the button %s has no learned code\n", buttonName.c_str());
        return false;
    }
    return true;
}

}  // namespace

void WriteProtocolJson(JsonWriter& out, const codes::ProtocolFields& fields) {
    out.BeginObject()
        .Field("protocol", fields.protocol)
        .Field("device", fields.device)
        .Field("subdevice", fields.subdevice)
        .Field("function", fields.function)
        .Key("toggle");
    if (fields.toggle) {
        out.Number(std::int64_t{*fields.toggle});
    } else {
        out.Null();
    }
    out.Field("frequency_hz", fields.frequencyHz).EndObject();
}

int RunIrDecode(std::vector<std::string>& args) {
    const bool json = HasFlag(args, "--json");
    std::string from, pronto, deviceName, buttonName;
    const bool hasFrom = TakeOption(args, "--from", from);
    const bool hasPronto = TakeOption(args, "--pronto", pronto);
    const bool hasDevice = TakeOption(args, "--device", deviceName);
    const bool hasButton = TakeOption(args, "--button", buttonName);
    if (args.size() != 1 || hasDevice != hasButton || int{hasFrom} + int{hasPronto} + int{hasDevice} != 1) {
        return UsageError(kUsage);
    }
    codes::IrSignal signal;
    if (hasFrom && !SignalFromJsonFile(from, signal)) return 1;
    if (hasDevice && !SignalFromDevice(deviceName, buttonName, signal)) return 1;
    if (hasPronto) {
        std::string error;
        if (!codes::ReadPronto(pronto, signal, &error)) {
            std::fprintf(stderr, "orvanectl: %s\n", error.c_str());
            return 1;
        }
    }
    const codes::ProtocolFields fields = codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz);
    if (json) {
        JsonWriter out;
        WriteProtocolJson(out, fields);
        std::printf("%s\n", out.Text().c_str());
    } else if (!fields.Known()) {
        std::printf("unknown, %d Hz\n", fields.frequencyHz);
    } else {
        std::printf("%s device %d subdevice %d function %d", fields.protocol.c_str(), fields.device, fields.subdevice,
                    fields.function);
        if (fields.toggle) std::printf(" toggle %d", *fields.toggle);
        std::printf(", %d Hz\n", fields.frequencyHz);
    }
    return 0;
}

}  // namespace orvanectl
