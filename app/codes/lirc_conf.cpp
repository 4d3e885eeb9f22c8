#include "app/codes/lirc_conf.h"

#include <charconv>
#include <cstdlib>
#include <vector>

namespace codes {
namespace {

constexpr int kMaxBits = 64;

struct Pair {
    std::int64_t pulseUs = 0, spaceUs = 0;
};

struct Remote {
    std::size_t line = 0;
    std::string name;
    int bits = 0, preDataBits = 0, postDataBits = 0;
    std::uint64_t preData = 0, postData = 0, toggleMask = 0, rc6Mask = 0;
    bool raw = false, rc5 = false, rc6 = false, constLength = false, reverse = false;
    Pair header, one, zero, pre, post, repeat;
    std::int64_t pleadUs = 0, ptrailUs = 0, gapUs = 0;
    int frequencyHz = 38000;
};

bool Fail(std::string* error, std::size_t line, const std::string& reason) {
    if (error) *error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size() || line[i] == '#') break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

bool Number(std::string_view token, std::uint64_t& value) {
    int base = 10;
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        token.remove_prefix(2);
        base = 16;
    }
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value, base);
    return !token.empty() && result.ec == std::errc() && result.ptr == token.data() + token.size();
}

bool Microseconds(std::string_view token, std::int64_t& us) {
    std::uint64_t value = 0;
    if (!Number(token, value) || value > 10'000'000) return false;
    us = static_cast<std::int64_t>(value);
    return true;
}

// One setting of a remote's head; false with a reason for a value that is not a number of its kind.
bool ApplySetting(Remote& remote, const std::vector<std::string_view>& t, std::string& reason) {
    const std::string_view key = t[0];
    const auto pair = [&](Pair& p) {
        if (t.size() != 3 || !Microseconds(t[1], p.pulseUs) || !Microseconds(t[2], p.spaceUs)) {
            reason = std::string(key) + " takes a burst and a pause in microseconds";
            return false;
        }
        return true;
    };
    const auto single = [&](std::int64_t& us) {
        if (t.size() < 2 || !Microseconds(t[1], us)) {
            reason = std::string(key) + " takes microseconds";
            return false;
        }
        return true;
    };
    const auto count = [&](int& bits) {
        std::uint64_t value = 0;
        if (t.size() != 2 || !Number(t[1], value) || value > kMaxBits) {
            reason = std::string(key) + " takes a number of bits up to 64";
            return false;
        }
        bits = static_cast<int>(value);
        return true;
    };
    const auto value = [&](std::uint64_t& v) {
        if (t.size() != 2 || !Number(t[1], v)) {
            reason = std::string(key) + " takes a number";
            return false;
        }
        return true;
    };
    if (key == "name") {
        if (t.size() >= 2) remote.name = t[1];
        return true;
    }
    if (key == "bits") return count(remote.bits);
    if (key == "pre_data_bits") return count(remote.preDataBits);
    if (key == "post_data_bits") return count(remote.postDataBits);
    if (key == "pre_data") return value(remote.preData);
    if (key == "post_data") return value(remote.postData);
    if (key == "toggle_bit_mask") return value(remote.toggleMask);
    if (key == "rc6_mask") return value(remote.rc6Mask);
    if (key == "header") return pair(remote.header);
    if (key == "one") return pair(remote.one);
    if (key == "zero") return pair(remote.zero);
    if (key == "pre") return pair(remote.pre);
    if (key == "post") return pair(remote.post);
    if (key == "repeat") return pair(remote.repeat);
    if (key == "plead") return single(remote.pleadUs);
    if (key == "ptrail") return single(remote.ptrailUs);
    if (key == "gap") return single(remote.gapUs);
    if (key == "frequency") {
        std::uint64_t hz = 0;
        if (!value(hz)) return false;
        if (hz == 0) hz = 38000;  // 0 means unmodulated; we can only send a carrier
        if (hz > 1'000'000) {
            reason = "the frequency is above 1 MHz";
            return false;
        }
        remote.frequencyHz = static_cast<int>(hz);
        return true;
    }
    if (key == "toggle_bit") {
        // Counted from the most significant bit of the whole code, from 1.
        std::uint64_t position = 0;
        if (!value(position)) return false;
        const int total = remote.preDataBits + remote.bits + remote.postDataBits;
        if (position > 0 && position <= static_cast<std::uint64_t>(total) && total - static_cast<int>(position) < 64) {
            remote.toggleMask = std::uint64_t{1} << (total - static_cast<int>(position));
        }
        return true;
    }
    if (key == "flags") {
        for (std::size_t i = 1; i < t.size(); ++i) {
            std::string_view flags = t[i];
            while (!flags.empty()) {
                const std::size_t bar = flags.find('|');
                const std::string_view flag = flags.substr(0, bar);
                flags = bar == std::string_view::npos ? std::string_view() : flags.substr(bar + 1);
                if (flag == "RAW_CODES") remote.raw = true;
                if (flag == "RC5" || flag == "SHIFT_ENC") remote.rc5 = true;
                if (flag == "RC6") remote.rc6 = true;
                if (flag == "CONST_LENGTH") remote.constLength = true;
                if (flag == "REVERSE") remote.reverse = true;
            }
        }
        return true;
    }
    return true;  // eps, aeps, min_repeat, duty_cycle... do not change the timings
}

class Timings {
public:
    void Pulse(std::int64_t us) { Add(us); }
    void Space(std::int64_t us) { Add(-us); }
    void Bits(const Remote& r, std::uint64_t value, int count, int firstIndex, int totalBits) {
        for (int i = 0; i < count; ++i) {
            const int shift = r.reverse ? i : count - 1 - i;
            const bool bit = (value >> shift & 1) != 0;
            // rc6_mask counts from the least significant bit of the whole code.
            const int index = totalBits - 1 - (firstIndex + i);
            const std::int64_t scale = r.rc6 && index >= 0 && index < 64 && (r.rc6Mask >> index & 1) ? 2 : 1;
            const Pair& p = bit ? r.one : r.zero;
            if (r.rc5) {
                bit ? (Space(p.spaceUs * scale), Pulse(p.pulseUs * scale))
                    : (Pulse(p.pulseUs * scale), Space(p.spaceUs * scale));
            } else if (r.rc6) {
                bit ? (Pulse(p.pulseUs * scale), Space(p.spaceUs * scale))
                    : (Space(p.spaceUs * scale), Pulse(p.pulseUs * scale));
            } else {
                Pulse(p.pulseUs);
                Space(p.spaceUs);
            }
        }
    }
    std::int64_t TotalUs() const {
        std::int64_t sum = 0;
        for (std::int64_t d : out_) sum += std::llabs(d);
        return sum;
    }
    std::size_t Size() const { return out_.size(); }
    bool Take(std::vector<std::int32_t>& durations, std::size_t& shiftedIndex) {
        std::size_t drop = 0;
        while (drop < out_.size() && out_[drop] <= 0) ++drop;
        durations.clear();
        for (std::size_t i = drop; i < out_.size(); ++i) {
            if (std::llabs(out_[i]) > INT32_MAX) return false;
            durations.push_back(static_cast<std::int32_t>(out_[i]));
        }
        shiftedIndex = shiftedIndex >= drop ? shiftedIndex - drop : 0;
        return true;
    }

private:
    void Add(std::int64_t us) {
        if (us == 0) return;
        if (!out_.empty() && (out_.back() < 0) == (us < 0)) {
            out_.back() += us;
        } else {
            out_.push_back(us);
        }
    }
    std::vector<std::int64_t> out_;
};

bool EncodeCode(const Remote& r, std::uint64_t code, IrSignal& signal, std::string& reason) {
    if (r.bits == 0) {
        reason = "the remote has no bits";
        return false;
    }
    const int total = r.preDataBits + r.bits + r.postDataBits;
    Timings t;
    if (r.header.pulseUs || r.header.spaceUs) {
        t.Pulse(r.header.pulseUs);
        t.Space(r.header.spaceUs);
    }
    t.Pulse(r.pleadUs);
    t.Bits(r, r.preData, r.preDataBits, 0, total);
    if (r.pre.pulseUs || r.pre.spaceUs) {
        t.Pulse(r.pre.pulseUs);
        t.Space(r.pre.spaceUs);
    }
    t.Bits(r, code, r.bits, r.preDataBits, total);
    if (r.post.pulseUs || r.post.spaceUs) {
        t.Pulse(r.post.pulseUs);
        t.Space(r.post.spaceUs);
    }
    t.Bits(r, r.postData, r.postDataBits, r.preDataBits + r.bits, total);
    t.Pulse(r.ptrailUs);
    const std::int64_t frameUs = t.TotalUs();
    t.Space(r.constLength ? std::max<std::int64_t>(r.gapUs - frameUs, r.gapUs > 0 ? 1 : 0) : r.gapUs);
    std::size_t repeatStart = 0;
    if (r.repeat.pulseUs || r.repeat.spaceUs) {
        repeatStart = t.Size();
        t.Pulse(r.repeat.pulseUs);
        t.Space(r.repeat.spaceUs);
        t.Pulse(r.ptrailUs);
        t.Space(r.constLength ? std::max<std::int64_t>(r.gapUs - r.repeat.pulseUs - r.repeat.spaceUs - r.ptrailUs, 1)
                              : r.gapUs);
    }
    signal = IrSignal{};
    signal.frequencyHz = r.frequencyHz;
    if (!t.Take(signal.durationsUs, repeatStart)) {
        reason = "a duration does not fit 32 bits";
        return false;
    }
    signal.repeatStart = repeatStart;
    return true;
}

}  // namespace

bool ReadLircConf(std::string_view text, CodeList& out, std::string* error) {
    enum class Section { Outside, Remote, Codes, RawCodes };
    CodeList list;
    Section section = Section::Outside;
    Remote remote;
    NamedCode rawCode;
    std::size_t rawLine = 0;
    std::size_t lineNumber = 0;
    const auto finishRaw = [&]() {
        if (rawCode.name.empty()) return true;
        if (rawCode.signal.durationsUs.empty())
            return Fail(error, rawLine, "the raw code " + rawCode.name + " is empty");
        rawCode.signal.frequencyHz = remote.frequencyHz;
        // The remote's gap follows a code that ends on a burst.
        if (rawCode.signal.durationsUs.back() > 0 && remote.gapUs > 0) {
            rawCode.signal.durationsUs.push_back(-static_cast<std::int32_t>(remote.gapUs));
        }
        const bool accepted = AcceptCode(list, std::move(rawCode), rawLine, error);
        rawCode = NamedCode{};
        return accepted;
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const std::vector<std::string_view> t = Tokens(line);
        if (t.empty()) continue;
        const bool begin = t[0] == "begin" && t.size() == 2, finish = t[0] == "end" && t.size() == 2;
        switch (section) {
            case Section::Outside:
                if (!begin || t[1] != "remote") return Fail(error, lineNumber, "expected \"begin remote\"");
                remote = Remote{lineNumber};
                section = Section::Remote;
                break;
            case Section::Remote:
                if (begin && t[1] == "codes") {
                    section = Section::Codes;
                } else if (begin && t[1] == "raw_codes") {
                    section = Section::RawCodes;
                } else if (finish && t[1] == "remote") {
                    section = Section::Outside;
                } else {
                    std::string reason;
                    if (!ApplySetting(remote, t, reason)) return Fail(error, lineNumber, reason);
                }
                break;
            case Section::Codes: {
                if (finish && t[1] == "codes") {
                    section = Section::Remote;
                    break;
                }
                std::uint64_t code = 0;
                if (t.size() < 2 || !Number(t[1], code)) return Fail(error, lineNumber, "expected a name and a code");
                NamedCode named;
                named.name = t[0];
                std::string reason;
                if (!EncodeCode(remote, code, named.signal, reason)) return Fail(error, lineNumber, reason);
                if (remote.toggleMask != 0 && !EncodeCode(remote, code ^ remote.toggleMask, named.toggled, reason)) {
                    return Fail(error, lineNumber, reason);
                }
                if (!AcceptCode(list, std::move(named), lineNumber, error)) return false;
                break;
            }
            case Section::RawCodes:
                if (finish && t[1] == "raw_codes") {
                    if (!finishRaw()) return false;
                    section = Section::Remote;
                } else if (t[0] == "name") {
                    if (!finishRaw()) return false;
                    if (t.size() < 2) return Fail(error, lineNumber, "a raw code without a name");
                    rawCode.name = t[1];
                    rawLine = lineNumber;
                } else {
                    if (rawCode.name.empty()) return Fail(error, lineNumber, "durations before the first name");
                    for (std::string_view token : t) {
                        std::int64_t us = 0;
                        if (!Microseconds(token, us) || us == 0) {
                            return Fail(error, lineNumber, "\"" + std::string(token) + "\" is not microseconds");
                        }
                        auto& d = rawCode.signal.durationsUs;
                        if (d.size() > static_cast<std::size_t>(kIrCodeMaxDurations)) {
                            return Fail(error, rawLine,
                                        "the raw code " + rawCode.name + " has more than " +
                                            std::to_string(kIrCodeMaxDurations) + " durations");
                        }
                        d.push_back(static_cast<std::int32_t>(d.size() % 2 == 0 ? us : -us));
                    }
                }
                break;
        }
    }
    if (section != Section::Outside) return Fail(error, lineNumber, "the file ends inside a remote");
    if (list.empty()) {
        if (error) *error = "the file holds no codes";
        return false;
    }
    out = std::move(list);
    return true;
}

std::string WriteLircConf(const CodeList& codes) {
    std::string out = "# Written by orvanectl export\n";
    int lastFrequency = -1;
    std::int64_t lastGap = -1;
    bool open = false;
    int remoteNumber = 0;
    for (const NamedCode& code : codes) {
        std::vector<std::int64_t> merged = AlternatingDurations(code.signal.durationsUs);
        const std::int64_t gapUs = !merged.empty() && merged.back() < 0 ? -merged.back() : 0;
        if (gapUs > 0) merged.pop_back();
        if (!open || code.signal.frequencyHz != lastFrequency || gapUs != lastGap) {
            if (open) out += "  end raw_codes\nend remote\n";
            out += "\nbegin remote\n  name  orvane" + std::to_string(++remoteNumber) +
                   "\n  flags RAW_CODES\n  eps   30\n  aeps  100\n  frequency " +
                   std::to_string(code.signal.frequencyHz) + "\n  gap   " + std::to_string(gapUs) +
                   "\n  begin raw_codes\n";
            open = true;
            lastFrequency = code.signal.frequencyHz;
            lastGap = gapUs;
        }
        std::string name = code.name;
        for (char& c : name) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '#') c = '_';
        }
        out += "    name " + (name.empty() ? std::string("_") : name) + "\n";
        for (std::size_t i = 0; i < merged.size(); ++i) {
            out += (i % 6 == 0 ? "      " : " ") + std::to_string(std::llabs(merged[i]));
            if (i % 6 == 5 || i + 1 == merged.size()) out += "\n";
        }
    }
    if (open) out += "  end raw_codes\nend remote\n";
    return out;
}

}  // namespace codes
