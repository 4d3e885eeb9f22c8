#include "tools/gen_demo/demo_devices.h"

#include <cstdint>
#include <span>

#include "app/model/device_creation.h"
#include "handheld/text.h"
#include "tools/gen_demo/ir_synthesis.h"

namespace demo {

namespace {

struct ButtonCode {
    const char16_t* recordName;
    std::uint8_t command;
    const char16_t* commandName;
};

constexpr std::uint8_t kTvAddress = 0x04;
constexpr std::uint8_t kAmpAddress = 0x12;
constexpr std::uint8_t kPlayerAddress = 0x14;  // five bits

// Every record of the receiver that holds commands; F1 ... F6 on the main panel send through FUNC1 ... FUNC6.
constexpr ButtonCode kTvCodes[] = {
    {u"CH1", 0x01, u"1"},
    {u"CH2", 0x02, u"2"},
    {u"CH3", 0x03, u"3"},
    {u"CH4", 0x04, u"4"},
    {u"CH5", 0x05, u"5"},
    {u"CH6", 0x06, u"6"},
    {u"CH7", 0x07, u"7"},
    {u"CH8", 0x08, u"8"},
    {u"CH9", 0x09, u"9"},
    {u"CH0", 0x00, u"0"},
    {u"CH_", 0x0A, u"-/--"},
    {u"CHPLUS", 0x10, u"Channel +"},
    {u"CHMINUS", 0x11, u"Channel -"},
    {u"VOLPLUS", 0x12, u"Volume +"},
    {u"VOLMINUS", 0x13, u"Volume -"},
    {u"MUTE", 0x14, u"Mute"},
    {u"PW", 0x15, u"Power"},
    {u"FUNC1", 0x20, u"Input"},
    {u"FUNC2", 0x21, u"Menu"},
    {u"FUNC3", 0x22, u"Guide"},
    {u"FUNC4", 0x23, u"Info"},
    {u"FUNC5", 0x24, u"Teletext"},
    {u"FUNC6", 0x25, u"Sleep"},
    {u"FUNC7", 0x26, u"Up"},
    {u"FUNC8", 0x27, u"Down"},
    {u"FUNC9", 0x28, u"Left"},
    {u"FUNC10", 0x29, u"Right"},
    {u"FUNC11", 0x2A, u"OK"},
    {u"FUNC12", 0x2B, u"Back"},
};

// The player's records that hold commands (six command bits); F1 ... F5 send through FUNC1 ... FUNC5.
constexpr ButtonCode kPlayerCodes[] = {
    {u"PLAY", 0x35, u"Play"},         {u"PAUSE", 0x30, u"Pause"},     {u"STOP", 0x36, u"Stop"},
    {u"RECORD", 0x37, u"Record"},     {u"EJECT", 0x2D, u"Eject"},     {u"LEFT", 0x32, u"Rewind"},
    {u"RIGHT", 0x34, u"Forward"},     {u"BEGIN", 0x21, u"Previous"},  {u"END", 0x20, u"Next"},
    {u"CHPLUS", 0x1E, u"Track +"},    {u"CHMINUS", 0x1F, u"Track -"}, {u"VOLPLUS", 0x10, u"Volume +"},
    {u"VOLMINUS", 0x11, u"Volume -"}, {u"MUTE", 0x0D, u"Mute"},       {u"PW", 0x0C, u"Power"},
    {u"FUNC1", 0x01, u"Menu"},        {u"FUNC2", 0x02, u"Title"},     {u"FUNC3", 0x03, u"Audio"},
    {u"FUNC4", 0x04, u"Subtitle"},    {u"FUNC5", 0x05, u"Angle"},     {u"FUNC6", 0x06, u"Repeat"},
    {u"FUNC7", 0x07, u"Up"},          {u"FUNC8", 0x08, u"Down"},      {u"FUNC9", 0x09, u"Left"},
    {u"FUNC10", 0x0A, u"Right"},      {u"FUNC11", 0x0B, u"OK"},       {u"FUNC12", 0x0E, u"Return"},
};

constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

const ButtonCode* FindCode(std::span<const ButtonCode> codes, std::u16string_view recordName) {
    for (const ButtonCode& code : codes) {
        if (recordName == code.recordName) return &code;
    }
    return nullptr;
}

// Gives every record that holds commands its code; a template button without a code is an error, so a change
// of the templates cannot leave a silent demo button.
template <typename MakeCode>
bool LearnStandardDevice(Device& device, std::span<const ButtonCode> codes, MakeCode makeCode, std::string& reason) {
    std::size_t learned = 0;
    for (ButtonRecord& record : device.records) {
        if (CommandRecordName(record.name) != record.name) continue;
        const ButtonCode* code = FindCode(codes, record.name);
        if (code == nullptr) {
            reason = "no code for the button " + handheld::ToUtf8(record.name) + " of " + handheld::ToUtf8(device.name);
            return false;
        }
        record.commandName = code->commandName;
        for (int alternate = 0; alternate < 2; ++alternate) {
            if (!StoreCode(record, alternate, makeCode(code->command, alternate == 1))) {
                reason = "cannot store the code of " + handheld::ToUtf8(record.name);
                return false;
            }
        }
        ++learned;
    }
    if (learned != codes.size()) {
        reason = "codes for buttons that " + handheld::ToUtf8(device.name) + " does not have";
        return false;
    }
    return true;
}

ButtonRecord CustomButton(int number, const char16_t* skin, const char16_t* label, const char16_t* commandName,
                          std::uint32_t color, int x, int y) {
    ButtonRecord record;
    record.name = u"CUSTOM$" + handheld::FromUtf8(std::to_string(number));
    record.skin = skin;
    record.label = label;
    record.commandName = commandName;
    record.color = color;
    record.x = static_cast<std::uint16_t>(x);
    record.y = static_cast<std::uint16_t>(y);
    record.panel = 0;
    return record;
}

// An amplifier panel: power, volume and input, and a macro that switches amplifier and television on for a
// film, with the pauses the sets need to wake up.
bool MakeAmp(Device& amp, std::string& reason) {
    amp = MakeStandardDevice(u"My Amp", DT_CUSTOM);
    constexpr std::uint8_t kPower = 0x01, kVolumeDown = 0x02, kVolumeUp = 0x03, kMute = 0x04, kInput = 0x05;
    const std::uint32_t red = Rgb(255, 0, 50), green = Rgb(0, 170, 0), yellow = Rgb(255, 200, 10);
    struct Single {
        ButtonRecord record;
        std::uint8_t command;
    } singles[] = {
        {CustomButton(0, u"PW", u"LABELPW", u"Power", red, 145, 1), kPower},
        {CustomButton(1, u"VOLUMEMINUS", u"LABELVOLMINUS", u"Volume -", green, 45, 82), kVolumeDown},
        {CustomButton(2, u"MUTE", u"LABELMUTE", u"Mute", green, 91, 105), kMute},
        {CustomButton(3, u"VOLUMEPLUS", u"LABELVOLPLUS", u"Volume +", green, 149, 82), kVolumeUp},
        {CustomButton(4, u"F_RIGHT", u"", u"Input", yellow, 121, 223), kInput},
    };
    bool stored = true;
    for (Single& single : singles) {
        const SynthesisedCode code = PulseDistanceCode(kAmpAddress, single.command);
        stored &= StoreCode(single.record, 0, code) && StoreCode(single.record, 1, code);
        amp.AppendRecord(single.record);
    }

    ButtonRecord movie = CustomButton(5, u"F_LEFT", u"", u"Movie", yellow, 1, 223);
    // Empty entries 0 and 1 keep the steps at 2 and up once the file is read back.
    stored &= movie.SetEntry(0, nullptr, 0, 0, 0) && movie.SetEntry(1, nullptr, 0, 0, 0);
    stored &= StoreCode(movie, 2, PulseDistanceCode(kAmpAddress, kPower));
    stored &= movie.SetEntry(3, nullptr, 0, 800 >> 8, 800 & 0xFF);
    const ButtonCode* tvPower = FindCode(kTvCodes, u"PW");
    stored &= StoreCode(movie, 4, PulseDistanceCode(kTvAddress, tvPower->command));
    stored &= movie.SetEntry(5, nullptr, 0, 300 >> 8, 300 & 0xFF);
    stored &= StoreCode(movie, 6, PulseDistanceCode(kAmpAddress, kInput));
    amp.AppendRecord(movie);
    if (!stored) reason = "cannot store the codes of My Amp";
    return stored;
}

}  // namespace

std::vector<Device> MakeDemoDevices(std::string& reason) {
    std::vector<Device> devices(3);
    devices[0] = MakeStandardDevice(u"TV", DT_RECEIVER);
    const auto tvCode = [](std::uint8_t command, bool) { return PulseDistanceCode(kTvAddress, command); };
    if (!LearnStandardDevice(devices[0], kTvCodes, tvCode, reason)) return {};

    // The second alternate differs by the toggle bit, as a press after a press does on the real remote.
    devices[1] = MakeStandardDevice(u"Player", DT_PLAYER);
    const auto playerCode = [](std::uint8_t command, bool toggle) {
        return BiPhaseCode(kPlayerAddress, command, toggle);
    };
    if (!LearnStandardDevice(devices[1], kPlayerCodes, playerCode, reason)) return {};

    if (!MakeAmp(devices[2], reason)) return {};
    return devices;
}

ApplicationSettings MakeDemoSettings(const std::vector<Device>& devices) {
    ApplicationSettings settings;
    for (const Device& device : devices) {
        DeviceSettings shown;
        shown.deviceName = device.name;
        settings.shownDevices.push_back(shown);
    }
    if (!devices.empty()) settings.currentDevice = devices.front().name;
    return settings;
}

}  // namespace demo
