// Names a code by trying each protocol's frame layout against the first frame that fits. Every duration of the
// frame must match within the tolerance, so that a near miss says "unknown" instead of a wrong name.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/codes/protocol.h"

namespace codes {
namespace {

// A pause this long ends a frame: longer than any pause inside the frames decoded here.
constexpr std::int32_t kFrameGapUs = 6000;
constexpr std::size_t kMaxFramesTried = 3;

// Positive durations, bursts at even indexes, starting and ending with a burst.
using Frame = std::vector<std::int32_t>;

std::vector<Frame> SplitFrames(std::span<const std::int32_t> durationsUs) {
    std::vector<Frame> frames;
    Frame current;
    bool lastBurst = false;
    for (const std::int32_t d : durationsUs) {
        if (d == 0) continue;
        const bool burst = d > 0;
        const std::int32_t us = d == INT32_MIN ? INT32_MAX : std::abs(d);
        if (current.empty()) {
            if (!burst) continue;  // a frame starts with light
            current.push_back(us);
            lastBurst = true;
        } else if (burst == lastBurst) {
            current.back() =
                static_cast<std::int32_t>(std::min<std::int64_t>(INT32_MAX, std::int64_t{current.back()} + us));
        } else if (!burst && us >= kFrameGapUs) {
            frames.push_back(std::move(current));
            current.clear();
            if (frames.size() > kMaxFramesTried) return frames;
        } else {
            current.push_back(us);
            lastBurst = burst;
        }
    }
    if (!current.empty()) {
        if (current.size() % 2 == 0) current.pop_back();  // ends on a short pause
        frames.push_back(std::move(current));
    }
    return frames;
}

// Learned bursts come out a few carrier periods short and pauses as long, so the margin grows with the length
// and has a floor of a few periods.
bool Near(std::int32_t measuredUs, double expectedUs) {
    return std::abs(measuredUs - expectedUs) <= expectedUs * 0.2 + 100;
}

// The bit whose expected duration is nearer in ratio, or -1 when neither fits.
int Classify(std::int32_t measuredUs, double zeroUs, double oneUs) {
    const double ratioZero = std::abs(std::log(measuredUs / zeroUs));
    const double ratioOne = std::abs(std::log(measuredUs / oneUs));
    const bool one = ratioOne < ratioZero;
    return Near(measuredUs, one ? oneUs : zeroUs) ? (one ? 1 : 0) : -1;
}

struct Reader {
    const Frame& f;
    std::size_t pos = 0;

    bool Header(double burstUs, double pauseUs) {
        if (f.size() < pos + 2 || !Near(f[pos], burstUs) || !Near(f[pos + 1], pauseUs)) return false;
        pos += 2;
        return true;
    }
    bool Burst(double us) {
        if (pos >= f.size() || !Near(f[pos], us)) return false;
        ++pos;
        return true;
    }
    bool Pause(double us) { return Burst(us); }
    // Pulse distance: a fixed burst, the pause tells the bit.
    bool Distance(int count, double burstUs, double zeroUs, double oneUs, bool msbFirst, std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i) {
            if (pos + 1 >= f.size() || !Near(f[pos], burstUs)) return false;
            const int bit = Classify(f[pos + 1], zeroUs, oneUs);
            if (bit < 0) return false;
            value =
                msbFirst ? value << 1 | static_cast<std::uint64_t>(bit) : value | static_cast<std::uint64_t>(bit) << i;
            pos += 2;
        }
        return true;
    }
    bool AtEnd() const { return pos == f.size(); }
};

ProtocolFields Named(const char* protocol, int device, int subdevice, int function) {
    ProtocolFields fields;
    fields.protocol = protocol;
    fields.device = device;
    fields.subdevice = subdevice;
    fields.function = function;
    return fields;
}

std::optional<ProtocolFields> DecodeNec(const std::vector<Frame>& frames, std::size_t at) {
    const Frame& f = frames[at];
    for (const bool extended : {false, true}) {
        Reader r{f};
        std::uint64_t bits = 0;
        if (!r.Header(extended ? 4512 : 9024, 4512) || !r.Distance(32, 564, 564, 1692, false, bits) || !r.Burst(564) ||
            !r.AtEnd()) {
            continue;
        }
        const int device = static_cast<int>(bits & 0xFF), subdevice = static_cast<int>(bits >> 8 & 0xFF);
        int function = static_cast<int>(bits >> 16 & 0xFF);
        // Without the function's complement the last two bytes are one 16-bit function.
        const bool wideFunction = (bits >> 24 & 0xFF) != (0xFFu & ~static_cast<unsigned>(function));
        if (wideFunction) function = static_cast<int>(bits >> 16 & 0xFFFF);
        // A repeat that sends the whole frame again names the "2" kind; a short ditto or none the "1" kind.
        const bool wholeRepeat = at + 1 < frames.size() && frames[at + 1].size() == f.size();
        std::string protocol = std::string(extended ? "NECx" : "NEC") + (wholeRepeat ? "2" : "1");
        if (wideFunction) protocol += "-f16";
        const int shownSubdevice = !extended && subdevice == (0xFF & ~device) ? -1 : subdevice;
        ProtocolFields fields = Named("", device, shownSubdevice, function);
        fields.protocol = protocol;
        return fields;
    }
    return std::nullopt;
}

// 42 bits: a 13-bit address and its complement (Aiwa's device and subdevice), or two free 13-bit fields.
std::optional<ProtocolFields> DecodeNec42(const Frame& f) {
    Reader r{f};
    std::uint64_t bits = 0;
    if (!r.Header(9024, 4512) || !r.Distance(42, 564, 564, 1692, false, bits) || !r.Burst(564) || !r.AtEnd()) {
        return std::nullopt;
    }
    const int address = static_cast<int>(bits & 0x1FFF), second = static_cast<int>(bits >> 13 & 0x1FFF);
    const int function = static_cast<int>(bits >> 26 & 0xFF);
    if ((bits >> 34 & 0xFF) != (0xFFu & ~static_cast<unsigned>(function))) return std::nullopt;
    if (second == (0x1FFF & ~address)) return Named("Aiwa", address & 0xFF, address >> 8, function);
    return Named("NEC42", address, second, function);
}

std::optional<ProtocolFields> DecodeSamsung36(const Frame& f) {
    Reader r{f};
    std::uint64_t address = 0, extra = 0, function = 0, inverted = 0;
    if (!r.Header(4500, 4500) || !r.Distance(16, 500, 500, 1500, false, address) || !r.Burst(500) || !r.Pause(4500) ||
        !r.Distance(4, 500, 500, 1500, false, extra) || !r.Distance(8, 500, 500, 1500, false, function) ||
        !r.Distance(8, 500, 500, 1500, false, inverted) || !r.Burst(500) || !r.AtEnd() ||
        inverted != (0xFF & ~function)) {
        return std::nullopt;
    }
    return Named("Samsung36", static_cast<int>(address & 0xFF), static_cast<int>(address >> 8),
                 static_cast<int>(function));
}

// JVC repeats its frame without the header.
std::optional<ProtocolFields> DecodeJvc(const Frame& f) {
    for (const bool header : {true, false}) {
        Reader r{f};
        std::uint64_t bits = 0;
        if ((header && !r.Header(8432, 4216)) || !r.Distance(16, 527, 527, 1581, false, bits) || !r.Burst(527) ||
            !r.AtEnd()) {
            continue;
        }
        return Named("JVC", static_cast<int>(bits & 0xFF), -1, static_cast<int>(bits >> 8));
    }
    return std::nullopt;
}

std::optional<ProtocolFields> DecodeKaseikyo(const Frame& f) {
    Reader r{f};
    std::uint64_t bits = 0;
    if (!r.Header(3456, 1728) || !r.Distance(48, 432, 432, 1296, false, bits) || !r.Burst(432) || !r.AtEnd()) {
        return std::nullopt;
    }
    const auto byte = [bits](int i) { return static_cast<unsigned>(bits >> (8 * i) & 0xFF); };
    if (byte(0) == 2 && byte(1) == 32) {
        if (byte(5) != (byte(2) ^ byte(3) ^ byte(4))) return std::nullopt;
        return Named("Panasonic", static_cast<int>(byte(2)), static_cast<int>(byte(3)), static_cast<int>(byte(4)));
    }
    // Other makers split their bytes each their own way; the generic layout (a 4-bit device above the maker
    // check, then subdevice and function bytes) is the one that holds for all of them.
    return Named("Kaseikyo", static_cast<int>(byte(2) >> 4), static_cast<int>(byte(3)), static_cast<int>(byte(4)));
}

std::optional<ProtocolFields> DecodeRca(const Frame& f) {
    Reader r{f};
    std::uint64_t bits = 0;
    if (!r.Header(3680, 3680) || !r.Distance(24, 460, 920, 1840, true, bits) || !r.Burst(460) || !r.AtEnd()) {
        return std::nullopt;
    }
    const unsigned device = bits >> 20 & 0xF, function = bits >> 12 & 0xFF;
    if ((bits >> 8 & 0xF) != (0xF & ~device) || (bits & 0xFF) != (0xFF & ~function)) return std::nullopt;
    return Named("RCA", static_cast<int>(device), -1, static_cast<int>(function));
}

// Sony: pulse width, the last bit's pause merges into the gap.
std::optional<ProtocolFields> DecodeSony(const Frame& f) {
    Reader r{f};
    if (!r.Header(2400, 600)) return std::nullopt;
    const std::size_t bitCount = (f.size() - 1) / 2;
    if (bitCount != 12 && bitCount != 15 && bitCount != 20) return std::nullopt;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < bitCount; ++i) {
        const int bit = Classify(f[r.pos], 600, 1200);
        if (bit < 0 || (i + 1 < bitCount && !Near(f[r.pos + 1], 600))) return std::nullopt;
        bits |= static_cast<std::uint64_t>(bit) << i;
        r.pos += 2;
    }
    const int function = static_cast<int>(bits & 0x7F);
    if (bitCount == 12) return Named("Sony12", static_cast<int>(bits >> 7), -1, function);
    if (bitCount == 15) return Named("Sony15", static_cast<int>(bits >> 7), -1, function);
    return Named("Sony20", static_cast<int>(bits >> 7 & 0x1F), static_cast<int>(bits >> 12), function);
}

// Denon and Sharp: 15 bits, the second frame inverts the function and the extension bits.
std::optional<ProtocolFields> DecodeDenonSharp(const std::vector<Frame>& frames, std::size_t at) {
    const auto read = [](const Frame& f, std::uint64_t& bits) {
        Reader r{f};
        return r.Distance(15, 264, 792, 1848, false, bits) && r.Burst(264) && r.AtEnd();
    };
    std::uint64_t bits = 0;
    if (!read(frames[at], bits)) return std::nullopt;
    const unsigned extension = bits >> 13 & 3;
    if (extension != 0 && extension != 1) return std::nullopt;
    const int device = static_cast<int>(bits & 0x1F), function = static_cast<int>(bits >> 5 & 0xFF);
    std::uint64_t twin = 0;
    if (at + 1 < frames.size()) {
        const std::uint64_t expected = static_cast<std::uint64_t>(device) |
                                       (0xFFu & ~static_cast<unsigned>(function)) << 5 |
                                       static_cast<std::uint64_t>(3 - extension) << 13;
        if (!read(frames[at + 1], twin) || twin != expected) return std::nullopt;
    }
    return Named(extension == 0 ? "Denon" : "Sharp", device, -1, function);
}

std::optional<ProtocolFields> DecodeMitsubishi(const Frame& f) {
    Reader r{f};
    std::uint64_t bits = 0;
    if (!r.Distance(16, 300, 900, 2100, false, bits) || !r.Burst(300) || !r.AtEnd()) return std::nullopt;
    return Named("Mitsubishi", static_cast<int>(bits & 0xFF), -1, static_cast<int>(bits >> 8));
}

// Biphase frames as half-bit levels (1 light, 0 dark), each duration a whole number of half bits.
bool Levels(const Frame& f, double halfUs, int maxHalves, std::vector<std::uint8_t>& levels) {
    levels.clear();
    for (std::size_t i = 0; i < f.size(); ++i) {
        const long halves = std::lround(f[i] / halfUs);
        if (halves < 1 || halves > maxHalves || std::abs(f[i] - halves * halfUs) > halfUs * 0.4 + 60) return false;
        levels.insert(levels.end(), static_cast<std::size_t>(halves), i % 2 == 0 ? 1 : 0);
    }
    return true;
}

// Manchester bits from levels at pos; a 1 is the pair (oneFirst, !oneFirst).
bool Manchester(const std::vector<std::uint8_t>& levels, std::size_t& pos, int count, std::uint8_t oneFirst,
                std::uint64_t& value, int halvesPerLevel = 1) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t a = levels[pos], b = levels[pos + static_cast<std::size_t>(halvesPerLevel)];
        for (int k = 1; k < halvesPerLevel; ++k) {
            if (levels[pos + static_cast<std::size_t>(k)] != a ||
                levels[pos + static_cast<std::size_t>(halvesPerLevel + k)] != b) {
                return false;
            }
        }
        if (a == b) return false;
        value = value << 1 | (a == oneFirst ? 1u : 0u);
        pos += 2 * static_cast<std::size_t>(halvesPerLevel);
    }
    return true;
}

std::optional<ProtocolFields> DecodeRc5(const Frame& f) {
    std::vector<std::uint8_t> levels{0};  // the start bit's first half is dark
    std::vector<std::uint8_t> rest;
    if (!Levels(f, 889, 6, rest)) return std::nullopt;
    levels.insert(levels.end(), rest.begin(), rest.end());
    for (const bool extended : {false, true}) {
        const std::size_t halves = extended ? 44 : 28;
        if (levels.size() != halves && levels.size() + 1 != halves) continue;
        std::vector<std::uint8_t> l = levels;
        l.resize(halves, 0);  // a final 0 ends dark
        std::size_t pos = 0;
        std::uint64_t head = 0, tail = 0;
        if (!Manchester(l, pos, 8, 0, head) || (head >> 7) != 1) continue;
        if (extended) {
            if (l[pos] || l[pos + 1] || l[pos + 2] || l[pos + 3]) continue;
            pos += 4;
        }
        if (!Manchester(l, pos, extended ? 12 : 6, 0, tail)) continue;
        const int seventh = static_cast<int>((head >> 6 & 1) ^ 1) << 6;
        ProtocolFields fields;
        if (extended) {
            fields = Named("RC5x", static_cast<int>(head & 0x1F), seventh | static_cast<int>(tail >> 6),
                           static_cast<int>(tail & 0x3F));
        } else {
            fields = Named("RC5", static_cast<int>(head & 0x1F), -1, seventh | static_cast<int>(tail));
        }
        fields.toggle = static_cast<int>(head >> 5 & 1);
        return fields;
    }
    return std::nullopt;
}

// RC6 mode 0 carries 16 bits; mode 6 with 32 bits is RC6-6-32, or MCE when its first byte is 128 (MCE keeps
// its toggle in the body and leaves the header's at 0).
std::optional<ProtocolFields> DecodeRc6(const Frame& f) {
    std::vector<std::uint8_t> levels;
    if (!Levels(f, 444, 6, levels)) return std::nullopt;
    constexpr std::size_t kHeadHalves = 8 + 2 * 4 + 4;
    if (levels.size() < kHeadHalves) return std::nullopt;
    for (std::size_t i = 0; i < 8; ++i) {
        if (levels[i] != (i < 6 ? 1 : 0)) return std::nullopt;
    }
    std::size_t pos = 8;
    std::uint64_t head = 0, toggle = 0, body = 0;
    if (!Manchester(levels, pos, 4, 1, head) || (head != 0b1000 && head != 0b1110)) return std::nullopt;
    const bool mode6 = head == 0b1110;
    const std::size_t halves = kHeadHalves + (mode6 ? 64 : 32);
    if (levels.size() != halves && levels.size() + 1 != halves) return std::nullopt;
    levels.resize(halves, 0);  // a final 1 ends dark
    if (!Manchester(levels, pos, 1, 1, toggle, 2) || !Manchester(levels, pos, mode6 ? 32 : 16, 1, body)) {
        return std::nullopt;
    }
    ProtocolFields fields;
    if (!mode6) {
        fields = Named("RC6", static_cast<int>(body >> 8), -1, static_cast<int>(body & 0xFF));
        fields.toggle = static_cast<int>(toggle);
    } else if ((body >> 24) == 128 && toggle == 0) {
        fields = Named("MCE", static_cast<int>(body >> 8 & 0x7F), static_cast<int>(body >> 16 & 0xFF),
                       static_cast<int>(body & 0xFF));
        fields.toggle = static_cast<int>(body >> 15 & 1);
    } else {
        // OEM bytes as the subdevice, as RC6-6-32 is usually written.
        fields = Named("RC6-6-32", static_cast<int>(body >> 8 & 0xFF), static_cast<int>(body >> 16),
                       static_cast<int>(body & 0xFF));
        fields.toggle = static_cast<int>(toggle);
    }
    return fields;
}

std::optional<ProtocolFields> DecodeFrame(const std::vector<Frame>& frames, std::size_t at) {
    const Frame& f = frames[at];
    if (auto p = DecodeNec(frames, at)) return p;
    if (auto p = DecodeNec42(f)) return p;
    if (auto p = DecodeSamsung36(f)) return p;
    if (auto p = DecodeJvc(f)) return p;
    if (auto p = DecodeKaseikyo(f)) return p;
    if (auto p = DecodeRca(f)) return p;
    if (auto p = DecodeSony(f)) return p;
    if (auto p = DecodeDenonSharp(frames, at)) return p;
    if (auto p = DecodeMitsubishi(f)) return p;
    if (auto p = DecodeRc5(f)) return p;
    if (auto p = DecodeRc6(f)) return p;
    return std::nullopt;
}

}  // namespace

ProtocolFields DecodeProtocol(std::span<const std::int32_t> durationsUs, int frequencyHz) {
    const std::vector<Frame> frames = SplitFrames(durationsUs);
    ProtocolFields fields;
    for (std::size_t at = 0; at < frames.size() && at < kMaxFramesTried; ++at) {
        if (auto decoded = DecodeFrame(frames, at)) {
            fields = *decoded;
            break;
        }
    }
    fields.frequencyHz = frequencyHz;
    return fields;
}

}  // namespace codes
