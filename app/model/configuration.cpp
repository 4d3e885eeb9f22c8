#include "app/model/configuration.h"

#include <algorithm>
#include <cstring>

#include "app/ir/port_choice.h"
#include "app/model/safe_file.h"
#include "app/shell/messages.h"
#include "handheld/home.h"

using namespace handheld;

namespace configuration {

namespace {

constexpr std::size_t kMaxStringBytes = kMaxStringChars * 2;
constexpr std::size_t kMaxShownDevices = 0xFFFF;  // the count is a 16-bit field

bool ReadU16From(ByteSource& source, std::uint16_t& value) {
    std::uint8_t bytes[2];
    if (source.Read(bytes, 2) != 2) return false;
    value = ReadU16(bytes);
    return true;
}

bool ReadU32From(ByteSource& source, std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (source.Read(bytes, 4) != 4) return false;
    value = ReadU32(bytes);
    return true;
}

// Keeps the first kMaxStringChars characters of a stored string of storedBytes bytes and passes over the
// rest; false unless every stored byte was there.
bool ReadCharacters(ByteSource& source, std::uint64_t storedBytes, std::u16string& value) {
    const std::size_t keptBytes = static_cast<std::size_t>(std::min<std::uint64_t>(storedBytes, kMaxStringBytes));
    std::uint8_t bytes[kMaxStringBytes];
    if (source.Read(bytes, keptBytes) != keptBytes) return false;
    if (source.Skip(storedBytes - keptBytes) != storedBytes - keptBytes) return false;
    value.resize(keptBytes / 2);
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = ReadU16(bytes + 2 * i);
    return true;
}

bool ReadString(ByteSource& source, std::u16string& value) {
    std::uint16_t byteLength = 0;
    return ReadU16From(source, byteLength) && ReadCharacters(source, byteLength, value);
}

bool ReadEntry(ByteSource& source, DeviceSettings& entry) {
    return ReadU16From(source, entry.flags) && ReadString(source, entry.deviceName) &&
           ReadString(source, entry.backgroundPicture) && ReadString(source, entry.buttonSound) &&
           ReadU32From(source, entry.backgroundColor);
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutCharacters(std::vector<std::uint8_t>& out, std::u16string_view value) {
    for (char16_t c : value.substr(0, kMaxStringChars)) PutU16(out, c);
}

void PutString(std::vector<std::uint8_t>& out, std::u16string_view value) {
    PutU16(out, static_cast<std::uint16_t>(std::min(value.size(), kMaxStringChars) * 2));
    PutCharacters(out, value);
}

}  // namespace

std::u16string ConfigurationPath() {
    char16_t modulePath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    std::u16string path(modulePath, std::min<DWORD>(length, MAX_PATH));
    const auto dot = path.rfind(u'.');
    if (dot != std::u16string::npos) path.resize(dot);
    return path + u".cfg";
}

ParseResult Parse(ByteSource& source, ApplicationSettings& settings, std::optional<std::u16string>& storedPortName) {
    std::uint8_t head[4];
    const std::size_t headBytes = source.Read(head, sizeof head);
    if (headBytes < sizeof head) return ParseResult::Read;  // an empty or cut file: every setting keeps its default
    if (std::memcmp(head, kMagic, sizeof kMagic) != 0 || head[3] != kVersion) return ParseResult::NotConfiguration;

    std::uint16_t count = 0;
    if (!ReadU16From(source, settings.optionFlags) || !ReadU16From(source, count)) return ParseResult::Read;
    std::u16string current;
    if (!ReadString(source, current)) return ParseResult::Read;
    settings.currentDevice = std::move(current);
    for (std::uint16_t i = 0; i < count; ++i) {
        DeviceSettings entry;
        if (!ReadEntry(source, entry)) return ParseResult::Read;
        settings.shownDevices.push_back(std::move(entry));
    }
    std::uint32_t portChars = 0;
    std::u16string port;
    if (!ReadU32From(source, portChars) || !ReadCharacters(source, std::uint64_t{portChars} * 2, port)) {
        return ParseResult::Read;
    }
    storedPortName = std::move(port);
    ReadU32From(source, settings.buttonRotation);
    return ParseResult::Read;
}

std::vector<std::uint8_t> Encode(const ApplicationSettings& settings) {
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.push_back(kVersion);
    PutU16(out, settings.optionFlags);
    const std::size_t count = std::min(settings.shownDevices.size(), kMaxShownDevices);
    PutU16(out, static_cast<std::uint16_t>(count));
    PutString(out, settings.currentDevice);
    for (std::size_t i = 0; i < count; ++i) {
        const DeviceSettings& entry = settings.shownDevices[i];
        PutU16(out, entry.flags);
        PutString(out, entry.deviceName);
        PutString(out, entry.backgroundPicture);
        PutString(out, entry.buttonSound);
        PutU32(out, entry.backgroundColor);
    }
    PutU32(out, static_cast<std::uint32_t>(std::min(settings.portName.size(), kMaxStringChars)));
    PutCharacters(out, settings.portName);
    PutU32(out, settings.buttonRotation);
    return out;
}

}  // namespace configuration

bool ReadConfiguration(ApplicationSettings& settings, HWND owner) {
    return ReadConfiguration(configuration::ConfigurationPath(), settings, owner);
}

bool ReadConfiguration(std::u16string_view filePath, ApplicationSettings& settings, HWND owner) {
    HANDLE file = OpenForReading(filePath);
    if (file == INVALID_HANDLE_VALUE) return false;
    FileByteSource source(file);
    std::optional<std::u16string> storedPortName;
    const auto result = configuration::Parse(source, settings, storedPortName);
    CloseHandle(file);
    if (result == configuration::ParseResult::NotConfiguration) {
        ShowError(owner, u"ERR_3", u"Invalid config file");
        return false;
    }
    if (storedPortName) ApplyPortName(settings.portName, *storedPortName);
    return true;
}

bool WriteConfiguration(const ApplicationSettings& settings) {
    return WriteConfiguration(configuration::ConfigurationPath(), settings);
}

bool WriteConfiguration(std::u16string_view filePath, const ApplicationSettings& settings) {
    const std::vector<std::uint8_t> bytes = configuration::Encode(settings);
    SafeFileWriter writer;
    if (writer.Open(filePath, false) != SafeFileWriter::OpenResult::Opened) return false;
    return writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}
