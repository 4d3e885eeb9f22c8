// The program's settings file beside the program: its own options, the list of shown devices with their
// display settings, the IR port and the button rotation. Read once at start, written once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/model/byte_source.h"
#include "app/model/device.h"
#include "app/model/problem.h"

struct DeviceSettings {
    static constexpr std::uint16_t kBackgroundPicture = 1;
    static constexpr std::uint16_t kTransparentButtons = 2;
    static constexpr std::uint16_t kButtonSounds = 4;
    static constexpr std::uint32_t kDefaultBackgroundColor = 0x00C8C8C8;

    std::uint16_t flags = 0;
    std::u16string deviceName;
    std::u16string backgroundPicture;
    std::u16string buttonSound;
    std::uint32_t backgroundColor = kDefaultBackgroundColor;  // 0x00BBGGRR
    DeviceType deviceType = DT_CUSTOM;                        // filled by the folder scan only; not stored
};

struct ApplicationSettings {
    static constexpr std::uint16_t kShowHints = 1;
    static constexpr std::uint16_t kUnmapButtonsWhenMinimized = 4;

    std::uint16_t optionFlags = kShowHints | kUnmapButtonsWhenMinimized;
    std::u16string currentDevice;
    std::vector<DeviceSettings> shownDevices;
    std::u16string portName;           // empty: the driver chooses the IR port
    std::uint32_t buttonRotation = 0;  // 0, 1, 2, 3 = 0, 90, 180, 270 degrees
};

namespace configuration {

inline constexpr std::uint8_t kMagic[3] = {'K', 'R', 'C'};
inline constexpr std::uint8_t kVersion = 1;
// Longest string kept, in characters; longer stored strings are skipped past so the fields after them stay
// in place. The writer never writes more.
inline constexpr std::size_t kMaxStringChars = 260;

// The file: the program's module path with its extension replaced by ".cfg".
std::u16string ConfigurationPath();

enum class ParseResult { Read, NotConfiguration };
// What the user is told about bytes that are NotConfiguration: "Invalid config file".
Problem InvalidConfiguration();
// Reads the settings that the source holds into settings, stopping quietly where it ends; the stored port
// name goes to storedPortName (left empty when the file ends before it). NotConfiguration changes nothing.
ParseResult Parse(ByteSource& source, ApplicationSettings& settings, std::optional<std::u16string>& storedPortName);
// The file's bytes for these settings.
std::vector<std::uint8_t> Encode(const ApplicationSettings& settings);

}  // namespace configuration

// Reads the configuration file into settings; the stored port name comes back in storedPortName for the
// caller to hand to the IR port choice. A missing file fails silently with the defaults left; a wrong one
// fails with "Invalid config file" and changes nothing.
FileResult ReadConfiguration(ApplicationSettings& settings, std::optional<std::u16string>& storedPortName);
FileResult ReadConfiguration(std::u16string_view filePath, ApplicationSettings& settings,
                             std::optional<std::u16string>& storedPortName);
// Writes the settings; the previous file stays whole unless the new one was written completely.
FileResult WriteConfiguration(const ApplicationSettings& settings);
FileResult WriteConfiguration(std::u16string_view filePath, const ApplicationSettings& settings);
