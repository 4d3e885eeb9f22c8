#include "handheld/soc/remote_signal.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace handheld::soc {

namespace {

constexpr int kMaxDepth = 64;
constexpr double kMaxCarrierHz = 1e6;

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool Consume(char c) {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool AtEnd() {
        SkipSpace();
        return pos_ == text_.size();
    }
    bool String(std::string& out) {
        if (!Consume('"')) return false;
        out.clear();
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\') {
                if (++pos_ >= text_.size()) return false;
                if (text_[pos_] == 'u') {
                    if (pos_ + 4 >= text_.size()) return false;
                    pos_ += 4;  // member names we look for are plain ASCII; escapes only need skipping
                    out.push_back('?');
                } else {
                    out.push_back(text_[pos_]);
                }
                ++pos_;
                continue;
            }
            out.push_back(text_[pos_++]);
        }
        return Consume('"');
    }
    bool Number(double& out) {
        SkipSpace();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) ||
                                       std::string_view("+-.eE").find(text_[pos_]) != std::string_view::npos)) {
            ++pos_;
        }
        if (start == pos_) return false;
        const std::string number(text_.substr(start, pos_ - start));
        char* end = nullptr;
        out = std::strtod(number.c_str(), &end);
        return end == number.c_str() + number.size() && std::isfinite(out);
    }
    // Any value, thrown away.
    bool Skip(int depth = 0) {
        if (depth > kMaxDepth) return false;
        SkipSpace();
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '"') {
            std::string ignored;
            return String(ignored);
        }
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            if (Consume(close)) return true;
            do {
                if (c == '{') {
                    std::string key;
                    if (!String(key) || !Consume(':')) return false;
                }
                if (!Skip(depth + 1)) return false;
            } while (Consume(','));
            return Consume(close);
        }
        for (std::string_view word : {"true", "false", "null"}) {
            if (text_.substr(pos_, word.size()) == word) {
                pos_ += word.size();
                return true;
            }
        }
        double ignored = 0;
        return Number(ignored);
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr) *error = reason;
    return false;
}

}  // namespace

bool ParseRemoteSignal(std::string_view json, RemoteSignal& signal, std::string* error) {
    Reader reader(json);
    RemoteSignal parsed;
    parsed.repeat = 1;
    bool haveCarrier = false;
    bool haveDurations = false;
    if (!reader.Consume('{')) return Fail(error, "not a JSON object");
    if (!reader.Consume('}')) {
        do {
            std::string key;
            if (!reader.String(key) || !reader.Consume(':')) return Fail(error, "bad member name");
            if (key == "carrier_hz") {
                if (!reader.Number(parsed.carrierHz)) return Fail(error, "carrier_hz is not a number");
                haveCarrier = true;
            } else if (key == "repeat") {
                double repeat = 0;
                if (!reader.Number(repeat) || repeat < 1 || repeat > 100000 || repeat != std::floor(repeat)) {
                    return Fail(error, "repeat must be a whole number from 1 to 100000");
                }
                parsed.repeat = static_cast<int>(repeat);
            } else if (key == "durations_us") {
                if (!reader.Consume('[')) return Fail(error, "durations_us is not an array");
                parsed.durationsUs.clear();
                if (!reader.Consume(']')) {
                    do {
                        double value = 0;
                        if (!reader.Number(value) || value != std::floor(value) ||
                            value < std::numeric_limits<std::int32_t>::min() ||
                            value > std::numeric_limits<std::int32_t>::max()) {
                            return Fail(error, "durations_us holds a value that is not a 32-bit whole number");
                        }
                        parsed.durationsUs.push_back(static_cast<std::int32_t>(value));
                    } while (reader.Consume(','));
                    if (!reader.Consume(']')) return Fail(error, "durations_us is not closed");
                }
                haveDurations = true;
            } else if (!reader.Skip()) {
                return Fail(error, "bad value of member " + key);
            }
        } while (reader.Consume(','));
        if (!reader.Consume('}')) return Fail(error, "object is not closed");
    }
    if (!reader.AtEnd()) return Fail(error, "text after the object");
    if (!haveCarrier || !haveDurations) return Fail(error, "carrier_hz and durations_us are required");
    if (!(parsed.carrierHz >= 1 && parsed.carrierHz <= kMaxCarrierHz)) {
        return Fail(error, "carrier_hz must be from 1 to 1000000");
    }
    signal = std::move(parsed);
    return true;
}

}  // namespace handheld::soc
