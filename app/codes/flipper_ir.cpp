#include "app/codes/flipper_ir.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

#include "app/codes/protocol.h"

namespace codes {
namespace {

constexpr std::size_t kMaxRawDurations = 4096;

struct Block {
    std::size_t line = 0;  // of its "name:"
    std::map<std::string, std::string, std::less<>> values;
};

bool Fail(std::string* error, std::size_t line, const std::string& reason) {
    if (error) *error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

// "04 00 00 00": up to four bytes, least significant first.
bool ParseBytes(std::string_view text, std::uint32_t& value) {
    value = 0;
    int count = 0;
    while (!(text = TrimmedLine(text)).empty()) {
        unsigned byte = 0;
        const auto result = std::from_chars(text.data(), text.data() + std::min<std::size_t>(2, text.size()), byte, 16);
        if (result.ec != std::errc() || result.ptr != text.data() + std::min<std::size_t>(2, text.size()) ||
            count == 4) {
            return false;
        }
        value |= static_cast<std::uint32_t>(byte) << (8 * count++);
        text.remove_prefix(result.ptr - text.data());
        if (!text.empty() && text.front() != ' ' && text.front() != '\t') return false;  // "0100" is no byte
    }
    return count > 0;
}

bool ParseRaw(const Block& block, IrSignal& signal, std::string& reason) {
    const auto frequency = block.values.find("frequency");
    const auto data = block.values.find("data");
    if (frequency == block.values.end() || data == block.values.end()) {
        reason = "a raw signal needs frequency and data";
        return false;
    }
    double hz = 0;
    const std::string& f = frequency->second;
    const auto parsed = std::from_chars(f.data(), f.data() + f.size(), hz);
    if (parsed.ec != std::errc() || parsed.ptr != f.data() + f.size() || !(hz >= 1 && hz <= 1e6)) {
        reason = "the frequency is not 1 Hz-1 MHz";
        return false;
    }
    signal.frequencyHz = static_cast<int>(std::lround(hz));
    std::string_view rest = data->second;
    while (!(rest = TrimmedLine(rest)).empty()) {
        std::int64_t us = 0;
        const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), us);
        if (result.ec != std::errc() || us <= 0 || us > INT32_MAX || signal.durationsUs.size() == kMaxRawDurations) {
            reason = "the data is not a list of positive microseconds";
            return false;
        }
        const auto value = static_cast<std::int32_t>(us);
        signal.durationsUs.push_back(signal.durationsUs.size() % 2 == 0 ? value : -value);
        rest.remove_prefix(result.ptr - rest.data());
        if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') {
            reason = "the data is not a list of positive microseconds";
            return false;
        }
    }
    if (signal.durationsUs.empty()) {
        reason = "the data is empty";
        return false;
    }
    return true;
}

// The parsed kinds as the protocols they are, with the address and command bits in the protocol's fields.
bool ParseParsed(const Block& block, IrSignal& signal, std::string& reason) {
    const auto protocol = block.values.find("protocol");
    const auto address = block.values.find("address");
    const auto command = block.values.find("command");
    std::uint32_t a = 0, c = 0;
    if (protocol == block.values.end() || address == block.values.end() || command == block.values.end() ||
        !ParseBytes(address->second, a) || !ParseBytes(command->second, c)) {
        reason = "a parsed signal needs protocol, address and command bytes";
        return false;
    }
    const std::string& p = protocol->second;
    ProtocolFields fields;
    const auto set = [&fields](const char* name, std::uint32_t device, int subdevice, std::uint32_t function) {
        fields.protocol = name;
        fields.device = static_cast<int>(device);
        fields.subdevice = subdevice;
        fields.function = static_cast<int>(function);
    };
    if (p == "NEC") {
        set("NEC1", a, -1, c);
    } else if (p == "NECext") {
        const bool complement = (c >> 8 & 0xFF) == (~c & 0xFF) && c <= 0xFFFF;
        set(complement ? "NEC1" : "NEC1-f16", a & 0xFF, static_cast<int>(a >> 8), complement ? c & 0xFF : c);
        if (a > 0xFFFF) fields.device = -1;
    } else if (p == "NEC42") {
        set("NEC42", a, -1, c);
    } else if (p == "Samsung32") {
        set("NECx1", a, static_cast<int>(a), c);
    } else if (p == "RC5") {
        set("RC5", a, -1, c < 64 ? c : 128);
    } else if (p == "RC5X") {
        set("RC5", a, -1, c < 64 ? c + 64 : 128);
    } else if (p == "RC6") {
        set("RC6", a, -1, c);
    } else if (p == "SIRC") {
        set("Sony12", a, -1, c);
    } else if (p == "SIRC15") {
        set("Sony15", a, -1, c);
    } else if (p == "SIRC20") {
        set("Sony20", a & 0x1F, a <= 0x1FFF ? static_cast<int>(a >> 5) : 256, c);
    } else if (p == "RCA") {
        set("RCA", a, -1, c);
    } else if (p == "Kaseikyo") {
        // The address holds a 2-bit id, the 16-bit maker code and two 4-bit genres; the command 10 bits of data.
        if (c > 0x3FF || a > 0x3FFFFFF) {
            reason = "the address or command does not fit the protocol Kaseikyo";
            return false;
        }
        const auto maker = static_cast<std::uint16_t>(a >> 8);
        std::uint8_t b[6] = {static_cast<std::uint8_t>(maker & 0xFF), static_cast<std::uint8_t>(maker >> 8)};
        const std::uint8_t makerCheck = b[0] ^ b[1];
        b[2] = static_cast<std::uint8_t>(((makerCheck & 0xF) ^ (makerCheck >> 4)) | (a >> 4 & 0xF) << 4);
        b[3] = static_cast<std::uint8_t>((a & 0xF) | (c & 0xF) << 4);
        b[4] = static_cast<std::uint8_t>((c >> 4 & 0x3F) | (a >> 24 & 3) << 6);
        b[5] = static_cast<std::uint8_t>(b[2] ^ b[3] ^ b[4]);
        return EncodeKaseikyoBytes(b, signal);
    } else {
        reason = "the protocol " + p + " is not supported";
        return false;
    }
    if (HasToggle(fields.protocol)) fields.toggle = 0;
    if (!EncodeProtocol(fields, signal)) {
        reason = "the address or command does not fit the protocol " + p;
        return false;
    }
    return true;
}

bool FinishBlock(const Block& block, CodeList& codes, std::string* error) {
    NamedCode code;
    code.name = block.values.at("name");
    const auto type = block.values.find("type");
    std::string reason;
    bool read = false;
    if (type == block.values.end()) {
        reason = "the signal has no type";
    } else if (type->second == "raw") {
        read = ParseRaw(block, code.signal, reason);
    } else if (type->second == "parsed") {
        read = ParseParsed(block, code.signal, reason);
    } else {
        reason = "the signal type " + type->second + " is not raw or parsed";
    }
    if (!read) return Fail(error, block.line, "\"" + code.name + "\": " + reason);
    return AcceptCode(codes, std::move(code), block.line, error);
}

}  // namespace

bool ReadFlipperIr(std::string_view text, CodeList& out, std::string* error) {
    CodeList list;
    std::size_t lineNumber = 0;
    bool sawFiletype = false;
    Block block;
    bool inBlock = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = TrimmedLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return Fail(error, lineNumber, "not a \"key: value\" line");
        const std::string key(TrimmedLine(line.substr(0, colon)));
        const std::string value(TrimmedLine(line.substr(colon + 1)));
        if (!sawFiletype) {
            if (key != "Filetype" || (value != "IR signals file" && value != "IR library file")) {
                return Fail(error, lineNumber, "not an IR signals file");
            }
            sawFiletype = true;
            continue;
        }
        if (key == "Version" && !inBlock) {
            if (value != "1") return Fail(error, lineNumber, "version " + value + " is not known");
            continue;
        }
        if (key == "name") {
            if (inBlock && !FinishBlock(block, list, error)) return false;
            block = Block{lineNumber, {}};
            inBlock = true;
        } else if (!inBlock) {
            return Fail(error, lineNumber, "\"" + key + "\" before the first name");
        }
        if (!block.values.emplace(key, value).second) return Fail(error, lineNumber, "\"" + key + "\" twice");
    }
    if (inBlock && !FinishBlock(block, list, error)) return false;
    if (!sawFiletype) {
        if (error) *error = "not an IR signals file";
        return false;
    }
    if (list.empty()) {
        if (error) *error = "the file holds no codes";
        return false;
    }
    out = std::move(list);
    return true;
}

std::string WriteFlipperIr(const CodeList& codes) {
    std::string out = "Filetype: IR signals file\nVersion: 1\n";
    for (const NamedCode& code : codes) {
        std::string name = code.name;
        for (char& c : name) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        out += "#\nname: " + name + "\ntype: raw\nfrequency: " + std::to_string(code.signal.frequencyHz) +
               "\nduty_cycle: 0.330000\ndata:";
        const std::vector<std::int64_t> merged = AlternatingDurations(code.signal.durationsUs);
        for (std::int64_t d : merged) out += " " + std::to_string(std::llabs(d));
        out += "\n";
    }
    return out;
}

}  // namespace codes
