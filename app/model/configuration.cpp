#include "app/model/configuration.h"

#include <algorithm>
#include <cstring>

#include "app/model/little_endian.h"
#include "app/model/program_folder.h"
#include "app/model/safe_file.h"

using namespace handheld;

namespace configuration {

namespace {

constexpr std::size_t kMaxStringBytes = kMaxStringChars * 2;
constexpr std::size_t kMaxShownDevices = 0xFFFF;  // the count is a 16-bit field

// Keeps the first kMaxStringChars characters of a stored string of storedBytes bytes and passes over the
// rest; false unless every stored byte was there.
bool ReadCharacters(ByteSource& source, std::uint64_t storedBytes, std::u16string& value) {
    const std::size_t keptBytes = static_cast<std::size_t>(std::min<std::uint64_t>(storedBytes, kMaxStringBytes));
    std::uint8_t bytes[kMaxStringBytes];
    if (source.Read(bytes, keptBytes) != keptBytes) return false;
    if (source.Skip(storedBytes - keptBytes) != storedBytes - keptBytes) return false;
    value = ReadUtf16(bytes, keptBytes);
    return true;
}

bool ReadString(ByteSource& source, std::u16string& value) {
    std::uint16_t byteLength = 0;
    return source.TakeU16(byteLength) && ReadCharacters(source, byteLength, value);
}

bool ReadEntry(ByteSource& source, DeviceSettings& entry) {
    return source.TakeU16(entry.flags) && ReadString(source, entry.deviceName) &&
           ReadString(source, entry.backgroundPicture) && ReadString(source, entry.buttonSound) &&
           source.TakeU32(entry.backgroundColor);
}

// The characters the writer keeps of a string: the reader takes no more.
std::u16string_view Kept(std::u16string_view value) {
    return value.substr(0, kMaxStringChars);
}

void PutString(std::vector<std::uint8_t>& out, std::u16string_view value) {
    AppendU16(out, static_cast<std::uint16_t>(Kept(value).size() * 2));
    AppendUtf16(out, Kept(value));
}

}  // namespace

Problem InvalidConfiguration() {
    return {u"ERR_3", u"Invalid config file"};
}

std::u16string ConfigurationPath() {
    std::u16string path = ProgramModulePath();
    const auto dot = path.rfind(u'.');
    if (dot != std::u16string::npos) path.resize(dot);
    return path + u".cfg";
}

ParseResult Parse(ByteSource& source, ApplicationSettings& settings, std::optional<std::u16string>& storedPortName) {
    std::uint8_t head[4];
    const std::size_t headBytes = source.Read(head, sizeof head);
    if (headBytes < sizeof head) return ParseResult::Read;  // an empty or cut file: every setting keeps its default
    if (std::memcmp(head, kMagic, sizeof kMagic) != 0 || head[sizeof kMagic] != kVersion)
        return ParseResult::NotConfiguration;

    std::uint16_t count = 0;
    if (!source.TakeU16(settings.optionFlags) || !source.TakeU16(count)) return ParseResult::Read;
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
    if (!source.TakeU32(portChars) || !ReadCharacters(source, std::uint64_t{portChars} * 2, port)) {
        return ParseResult::Read;
    }
    storedPortName = std::move(port);
    source.TakeU32(settings.buttonRotation);
    return ParseResult::Read;
}

std::vector<std::uint8_t> Encode(const ApplicationSettings& settings) {
    std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.push_back(kVersion);
    AppendU16(out, settings.optionFlags);
    const std::size_t count = std::min(settings.shownDevices.size(), kMaxShownDevices);
    AppendU16(out, static_cast<std::uint16_t>(count));
    PutString(out, settings.currentDevice);
    for (std::size_t i = 0; i < count; ++i) {
        const DeviceSettings& entry = settings.shownDevices[i];
        AppendU16(out, entry.flags);
        PutString(out, entry.deviceName);
        PutString(out, entry.backgroundPicture);
        PutString(out, entry.buttonSound);
        AppendU32(out, entry.backgroundColor);
    }
    AppendU32(out, static_cast<std::uint32_t>(Kept(settings.portName).size()));
    AppendUtf16(out, Kept(settings.portName));
    AppendU32(out, settings.buttonRotation);
    return out;
}

}  // namespace configuration

FileResult ReadConfiguration(ApplicationSettings& settings, std::optional<std::u16string>& storedPortName) {
    return ReadConfiguration(configuration::ConfigurationPath(), settings, storedPortName);
}

FileResult ReadConfiguration(std::u16string_view filePath, ApplicationSettings& settings,
                             std::optional<std::u16string>& storedPortName) {
    const UniqueHandle file = OpenForReading(filePath);
    if (!file) return FileResult::Failure();
    FileByteSource source(file.get());
    if (configuration::Parse(source, settings, storedPortName) == configuration::ParseResult::NotConfiguration) {
        return FileResult::Failure(configuration::InvalidConfiguration());
    }
    return FileResult::Success();
}

FileResult WriteConfiguration(const ApplicationSettings& settings) {
    return WriteConfiguration(configuration::ConfigurationPath(), settings);
}

FileResult WriteConfiguration(std::u16string_view filePath, const ApplicationSettings& settings) {
    const std::vector<std::uint8_t> bytes = configuration::Encode(settings);
    SafeFileWriter writer;
    if (writer.Open(filePath, false) != SafeFileWriter::OpenResult::Opened) return FileResult::Failure();
    if (!writer.Write(bytes.data(), bytes.size()) || !writer.Commit()) return FileResult::Failure();
    return FileResult::Success();
}
