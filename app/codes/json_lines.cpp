#include "app/codes/json_lines.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace codes {
namespace {

constexpr int kMaxDepth = 32;

// A small reader for the members a signal line has; anything else is skipped whole, to any depth allowed.
class LineParser {
public:
    explicit LineParser(std::string_view text) : text_(text) {}

    bool Parse(NamedCode& code, bool& hasName, std::string& error) {
        SkipSpace();
        if (!Take('{')) return Fail(error, "a line is not a JSON object");
        bool hasCarrier = false, hasDurations = false;
        SkipSpace();
        if (!Take('}')) {
            for (;;) {
                std::string key;
                SkipSpace();
                if (!String(key) || (SkipSpace(), !Take(':'))) return Fail(error, "a member is malformed");
                SkipSpace();
                if (key == "name") {
                    if (!String(code.name)) return Fail(error, "\"name\" is not a string");
                    hasName = true;
                } else if (key == "carrier_hz") {
                    double hz = 0;
                    if (!Number(hz) || !(hz >= 1 && hz <= 1e6)) return Fail(error, "\"carrier_hz\" is not 1 Hz-1 MHz");
                    code.signal.frequencyHz = static_cast<int>(std::lround(hz));
                    hasCarrier = true;
                } else if (key == "durations_us") {
                    if (!Durations(code.signal.durationsUs)) {
                        return Fail(error, "\"durations_us\" is not an array of non-zero whole microseconds");
                    }
                    hasDurations = true;
                } else if (key == "repeat_start") {
                    double start = 0;
                    if (!Number(start) || start < 0 || start > 65535 || start != std::floor(start)) {
                        return Fail(error, "\"repeat_start\" is not an index");
                    }
                    code.signal.repeatStart = static_cast<std::size_t>(start);
                } else if (!Skip(0)) {
                    return Fail(error, "the member \"" + key + "\" is malformed");
                }
                SkipSpace();
                if (Take('}')) break;
                if (!Take(',')) return Fail(error, "members are not separated by commas");
            }
        }
        SkipSpace();
        if (pos_ != text_.size()) return Fail(error, "text follows the object");
        if (!hasCarrier || !hasDurations) return Fail(error, "\"carrier_hz\" or \"durations_us\" is missing");
        if (code.signal.repeatStart >= code.signal.durationsUs.size()) code.signal.repeatStart = 0;
        return true;
    }

private:
    static bool Fail(std::string& error, std::string reason) {
        error = std::move(reason);
        return false;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
    }
    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    static void AppendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    bool Hex4(std::uint32_t& value) {
        if (text_.size() - pos_ < 4) return false;
        value = 0;
        const auto result = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, value, 16);
        if (result.ec != std::errc() || result.ptr != text_.data() + pos_ + 4) return false;
        pos_ += 4;
        return true;
    }
    bool String(std::string& out) {
        if (!Take('"')) return false;
        out.clear();
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return false;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    std::uint32_t code = 0, low = 0;
                    if (!Hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
                        pos_ += 2;
                        if (!Hex4(low) || low < 0xDC00 || low >= 0xE000) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xD800 && code < 0xE000) {
                        code = 0xFFFD;  // a lone surrogate
                    }
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }
    bool Number(double& value) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '-' || text_[pos_] == '+' ||
                text_[pos_] == '.' || text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
        }
        const auto result = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        return pos_ > start && result.ec == std::errc() && result.ptr == text_.data() + pos_ && std::isfinite(value);
    }
    bool Durations(std::vector<std::int32_t>& out) {
        out.clear();
        if (!Take('[')) return false;
        SkipSpace();
        if (Take(']')) return true;
        for (;;) {
            SkipSpace();
            double value = 0;
            if (!Number(value) || value != std::floor(value) || value == 0 ||
                std::abs(value) > std::numeric_limits<std::int32_t>::max()) {
                return false;
            }
            out.push_back(static_cast<std::int32_t>(value));
            SkipSpace();
            if (Take(']')) return true;
            if (!Take(',')) return false;
        }
    }
    // Any value, nested no deeper than kMaxDepth.
    bool Skip(int depth) {
        if (depth > kMaxDepth || pos_ >= text_.size()) return false;
        std::string ignored;
        double number = 0;
        const char c = text_[pos_];
        if (c == '"') return String(ignored);
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            SkipSpace();
            if (Take(close)) return true;
            for (;;) {
                SkipSpace();
                if (c == '{' && (!String(ignored) || (SkipSpace(), !Take(':')))) return false;
                SkipSpace();
                if (!Skip(depth + 1)) return false;
                SkipSpace();
                if (Take(close)) return true;
                if (!Take(',')) return false;
            }
        }
        for (std::string_view word : {"true", "false", "null"}) {
            if (text_.substr(pos_, word.size()) == word) {
                pos_ += word.size();
                return true;
            }
        }
        return Number(number);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kDigits[] = "0123456789abcdef";
            out += "\\u00";
            out += kDigits[c >> 4 & 0xF];
            out += kDigits[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

bool ReadJsonLine(std::string_view line, NamedCode& code, std::string& reason) {
    bool hasName = false;
    if (!LineParser(line).Parse(code, hasName, reason)) return false;
    if (!hasName) code.name.clear();
    if (code.signal.durationsUs.empty()) {
        reason = "\"durations_us\" is empty";
        return false;
    }
    return true;
}

std::string WriteJsonLines(const CodeList& codes) {
    std::string out;
    for (const NamedCode& code : codes) {
        out += "{\"name\":";
        AppendJsonString(out, code.name);
        out += ",\"carrier_hz\":" + std::to_string(code.signal.frequencyHz) + ",\"durations_us\":[";
        for (std::size_t i = 0; i < code.signal.durationsUs.size(); ++i) {
            if (i > 0) out += ',';
            out += std::to_string(code.signal.durationsUs[i]);
        }
        out += "],\"repeat\":1,\"repeat_start\":" + std::to_string(code.signal.repeatStart) + "}\n";
    }
    return out;
}

}  // namespace codes
