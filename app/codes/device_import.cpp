#include "app/codes/device_import.h"

#include <algorithm>
#include <cctype>

#include "app/codes/protocol.h"
#include "app/model/device_creation.h"
#include "handheld/text.h"

namespace codes {
namespace {

constexpr char16_t kSkin[] = u"CHANAL";
constexpr int kGridLeft = 1, kGridTop = 1, kColumnStep = 48, kRowStep = 44;
constexpr std::uint32_t kDigitColor = 0x00FF3264;   // as the standard devices' digits
constexpr std::uint32_t kVolumeColor = 0x0000AA00;  // and their volume buttons
constexpr std::uint32_t kOtherColor = 0x000AC8FF;

// Lower-case words of the name: "Vol_Up" -> {"vol", "up"}; "+" and "-" are words of their own.
std::vector<std::string> Words(std::string_view name) {
    std::vector<std::string> words;
    std::string current;
    const auto flush = [&] {
        if (!current.empty()) words.push_back(std::move(current));
        current.clear();
    };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool lowerToUpper = i > 0 && std::isupper(c) && std::islower(static_cast<unsigned char>(name[i - 1]));
        const bool letterDigit =
            i > 0 && (std::isdigit(c) != 0) != (std::isdigit(static_cast<unsigned char>(name[i - 1])) != 0);
        if (lowerToUpper || letterDigit) flush();
        if (std::isalnum(c)) {
            current += static_cast<char>(std::tolower(c));
        } else {
            flush();
            if (c == '+' || c == '-' || c == '*' || c == '#') words.emplace_back(1, static_cast<char>(c));
        }
    }
    flush();
    // Names written as one word ("KEY_VOLUMEUP", "chdown") say the same as their parts.
    static const std::string_view kSteps[] = {"up", "down", "dn", "plus", "minus"};
    static const std::string_view kKinds[] = {"volume", "vol", "channel", "chan", "ch", "prog"};
    std::vector<std::string> expanded;
    for (const std::string& word : words) {
        bool split = false;
        for (std::string_view kind : kKinds) {
            for (std::string_view step : kSteps) {
                if (!split && word.size() == kind.size() + step.size() && word.starts_with(kind) &&
                    word.ends_with(step)) {
                    expanded.emplace_back(kind);
                    expanded.emplace_back(step);
                    split = true;
                }
            }
        }
        if (!split) expanded.push_back(word);
    }
    return expanded;
}

bool Has(const std::vector<std::string>& words, std::initializer_list<std::string_view> any) {
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& w) { return std::find(any.begin(), any.end(), w) != any.end(); });
}

std::uint32_t ColorForLabel(std::u16string_view label) {
    if (label.size() == 6 && label.starts_with(u"LABEL") && label[5] >= u'0' && label[5] <= u'9') return kDigitColor;
    if (label.starts_with(u"LABELVOL") || label == u"LABELMUTE") return kVolumeColor;
    return kOtherColor;
}

bool AddButton(Device& device, const NamedCode& code, int slot, std::string* error) {
    ButtonRecord record;
    record.name = u"CUSTOM$" + handheld::FromUtf8(std::to_string(slot));
    record.commandName = handheld::FromUtf8(code.name);
    record.label = LabelForCodeName(code.name);
    record.skin = kSkin;
    record.color = ColorForLabel(record.label);
    record.x = static_cast<std::uint16_t>(kGridLeft + slot % kGridColumns * kColumnStep);
    record.y = static_cast<std::uint16_t>(kGridTop + slot / kGridColumns * kRowStep);
    record.panel = 0;
    std::string reason;
    CodeEntry first;
    if (!ToCodeEntry(code.signal, first, &reason)) {
        if (error) *error = "code \"" + code.name + "\": " + reason;
        return false;
    }
    record.commands[0] = first;
    // A toggling code's two states alternate as the original remote's presses do: as the file gives them, or
    // as the protocol makes them.
    CodeEntry second;
    if (!code.toggled.durationsUs.empty()) {
        if (!ToCodeEntry(code.toggled, second, &reason)) {
            if (error) *error = "code \"" + code.name + "\": " + reason;
            return false;
        }
        record.commands[1] = second;
        device.AppendRecord(record);
        return true;
    }
    ProtocolFields fields = DecodeProtocol(code.signal.durationsUs, code.signal.frequencyHz);
    IrSignal other;
    if (fields.toggle && HasToggle(fields.protocol)) {
        fields.toggle = 1 - *fields.toggle;
        if (EncodeProtocol(fields, other) && ToCodeEntry(other, second, nullptr)) record.commands[1] = second;
    }
    device.AppendRecord(record);
    return true;
}

}  // namespace

std::u16string LabelForCodeName(std::string_view codeName) {
    const std::vector<std::string> w = Words(codeName);
    if (w.empty()) return {};
    const bool up = Has(w, {"up", "plus", "+", "inc"}), down = Has(w, {"down", "dn", "minus", "-", "dec"});
    if (Has(w, {"power", "pwr", "standby", "onoff", "poweron", "poweroff"})) return u"LABELPW";
    if (Has(w, {"vol", "volume"})) {
        if (up) return u"LABELVOLPLUS";
        if (down) return u"LABELVOLMINUS";
    }
    if (Has(w, {"ch", "chan", "channel", "prog", "program", "pr"})) {
        if (up) return u"LABELCHPLUS";
        if (down) return u"LABELCHMINUS";
    }
    if (Has(w, {"mute"})) return u"LABELMUTE";
    // A digit alone, or after a word such as "num", "key" or "digit".
    const std::string& last = w.back();
    if (last.size() == 1 && std::isdigit(static_cast<unsigned char>(last[0])) &&
        (w.size() == 1 || Has(w, {"num", "digit", "key", "btn", "button", "number"}))) {
        return u"LABEL" + handheld::FromUtf8(last);
    }
    struct Keyword {
        std::initializer_list<std::string_view> words;
        const char16_t* label;
    };
    static const Keyword kKeywords[] = {
        {{"play"}, u"LABELPLAY"},
        {{"pause"}, u"LABELPAUSE"},
        {{"stop"}, u"LABELSTOP"},
        {{"rec", "record"}, u"LABELRECORD"},
        {{"eject", "open"}, u"LABELEJECT"},
        {{"rew", "rewind", "rwd", "fr"}, u"LABELLEFT"},
        {{"ff", "fwd", "forward", "fastforward"}, u"LABELRIGHT"},
        {{"next", "skip"}, u"LABELNEXT"},
        {{"prev", "previous", "last"}, u"LABELPREV"},
        {{"ok", "enter", "select"}, u"LABELOK"},
        {{"menu"}, u"LABELMENU"},
        {{"exit", "back", "return"}, u"LABELEXIT"},
        {{"info", "display"}, u"LABELINFO"},
        {{"guide", "epg"}, u"LABELGUIDE"},
        {{"text", "teletext", "ttx"}, u"LABELTEXT"},
        {{"sleep"}, u"LABELSLEEP"},
        {{"tv"}, u"LABELTV"},
        {{"av", "input", "source"}, u"LABELAV"},
        {{"dvd"}, u"LABELDVD"},
        {{"sat"}, u"LABELSAT"},
        {{"aux"}, u"LABELAUX"},
        {{"up"}, u"LABELUP"},
        {{"down"}, u"LABELDOWN"},
        {{"*", "star"}, u"LABELSTAR"},
        {{"#", "hash", "pound"}, u"LABELHASH"},
        {{"on"}, u"LABELON"},
        {{"off"}, u"LABELOFF"},
    };
    for (const Keyword& keyword : kKeywords) {
        if (Has(w, keyword.words)) return keyword.label;
    }
    if (w.size() == 1 && (w[0] == "left" || w[0] == "right")) return w[0] == "left" ? u"LABELLEFT" : u"LABELRIGHT";
    return {};
}

bool BuildImportedDevices(const CodeList& codes, std::u16string_view deviceName, bool split,
                          std::vector<Device>& devices, std::string* error) {
    if (codes.empty()) {
        if (error) *error = "the file holds no codes";
        return false;
    }
    if (codes.size() > static_cast<std::size_t>(kButtonsPerPanel) && !split) {
        if (error) {
            *error = "the file holds " + std::to_string(codes.size()) + " codes, a panel has room for " +
                     std::to_string(kButtonsPerPanel) + "; use --split to make several devices";
        }
        return false;
    }
    // The name becomes a file name in the device folder.
    if (deviceName.empty() || deviceName.find_first_of(u"\\/:*?\"<>|") != std::u16string_view::npos) {
        if (error) *error = "a device name must not be empty nor hold any of \\ / : * ? \" < > |";
        return false;
    }
    const std::size_t deviceCount = (codes.size() + kButtonsPerPanel - 1) / kButtonsPerPanel;
    std::vector<Device> built;
    for (std::size_t d = 0; d < deviceCount; ++d) {
        std::u16string name(deviceName);
        if (deviceCount > 1) name += u" " + handheld::FromUtf8(std::to_string(d + 1));
        if (name.size() * 2 > Device::kMaxNameBytes) {
            if (error) *error = "the device name \"" + handheld::ToUtf8(name) + "\" is longer than 20 characters";
            return false;
        }
        Device device = MakeStandardDevice(name, DT_CUSTOM);
        const std::size_t first = d * kButtonsPerPanel;
        const std::size_t last = std::min(codes.size(), first + kButtonsPerPanel);
        for (std::size_t i = first; i < last; ++i) {
            if (!AddButton(device, codes[i], static_cast<int>(i - first), error)) return false;
        }
        built.push_back(std::move(device));
    }
    devices = std::move(built);
    return true;
}

CodeList LearnedCodes(const Device& device) {
    CodeList list;
    for (const ButtonRecord& record : device.records) {
        const auto entry = record.commands.find(0);
        NamedCode code;
        if (entry == record.commands.end() || !FromCodeEntry(entry->second, code.signal)) continue;
        code.name = handheld::ToUtf8(record.commandName.empty() ? record.name : record.commandName);
        list.push_back(std::move(code));
    }
    return list;
}

}  // namespace codes
