#include "app/codes/pronto.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/codes/protocol.h"

namespace codes {
namespace {

constexpr double kProntoClockUs = 0.241246;
constexpr std::int32_t kMinTrailingPauseUs = 10000;

bool Fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return false;
}

bool ParseWords(std::string_view text, std::vector<std::uint16_t>& words, std::string* error) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',') {
            ++i;
            continue;
        }
        std::size_t end = i;
        unsigned value = 0;
        while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text[end])) && end - i < 5) {
            const char d = text[end];
            value = value * 16 + static_cast<unsigned>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
            ++end;
        }
        const bool separated = end == text.size() || !std::isxdigit(static_cast<unsigned char>(text[end]));
        if (end - i != 4 || !separated) {
            return Fail(error, "Pronto hex is made of four-digit hex words; \"" +
                                   std::string(text.substr(i, std::min<std::size_t>(8, text.size() - i))) +
                                   "\" is not one");
        }
        words.push_back(static_cast<std::uint16_t>(value));
        i = end;
    }
    if (words.size() < 4) return Fail(error, "Pronto hex needs at least four words");
    return true;
}

bool ReadPreset(const std::vector<std::uint16_t>& words, IrSignal& signal, std::string* error) {
    ProtocolFields fields;
    const std::size_t pairs = std::size_t{words[2]} + words[3];
    if (words.size() != 4 + 2 * pairs) return Fail(error, "the Pronto preset has the wrong number of words");
    const auto word = [&words](std::size_t i) { return i < words.size() ? int{words[i]} : -1; };
    switch (words[0]) {
        case 0x5000:
            fields.protocol = "RC5";
            fields.device = word(4);
            fields.function = word(5);
            break;
        case 0x5001:
            fields.protocol = "RC5x";
            fields.device = word(4);
            fields.subdevice = word(5);
            fields.function = word(6);
            break;
        case 0x6000:
            fields.protocol = "RC6";
            fields.device = word(4);
            fields.function = word(5);
            break;
        case 0x900A: {
            fields.protocol = "NEC1";
            const int address = word(4), command = word(5);
            if (address < 0 || command < 0 || (command & 0xFF) != (0xFF & ~(command >> 8))) {
                return Fail(error, "the Pronto NEC preset's command word does not hold a command and its complement");
            }
            fields.device = address >> 8;
            fields.subdevice = address & 0xFF;
            fields.function = command >> 8;
            break;
        }
        default:
            return Fail(error, "Pronto hex of kind " + std::to_string(words[0]) + " is not supported");
    }
    fields.toggle = HasToggle(fields.protocol) ? std::optional<int>(0) : std::nullopt;
    if (!EncodeProtocol(fields, signal)) return Fail(error, "the Pronto preset's fields are out of range");
    return true;
}

}  // namespace

bool ReadPronto(std::string_view text, IrSignal& signal, std::string* error) {
    std::vector<std::uint16_t> words;
    if (!ParseWords(text, words, error)) return false;
    if (words[0] != 0x0000) return ReadPreset(words, signal, error);
    if (words[1] == 0) return Fail(error, "the Pronto carrier word is zero");
    const std::size_t oncePairs = words[2], repeatPairs = words[3];
    const std::size_t expected = 4 + 2 * (oncePairs + repeatPairs);
    if (oncePairs + repeatPairs == 0) return Fail(error, "the Pronto code has no bursts");
    if (words.size() != expected) {
        return Fail(error, "the Pronto code announces " + std::to_string(expected - 4) + " durations but has " +
                               std::to_string(words.size() - 4));
    }
    const double periodUs = words[1] * kProntoClockUs;
    IrSignal result;
    result.frequencyHz = static_cast<int>(std::lround(1e6 / periodUs));
    result.repeatStart = oncePairs == 0 ? 0 : 2 * oncePairs;
    for (std::size_t i = 4; i < words.size(); ++i) {
        if (words[i] == 0) return Fail(error, "the Pronto code has a duration of zero");
        const auto us = static_cast<std::int32_t>(std::lround(words[i] * periodUs));
        result.durationsUs.push_back((i - 4) % 2 == 0 ? us : -us);
    }
    signal = std::move(result);
    return true;
}

namespace {

// Bursts and pauses of one part as pairs, each ending on a pause.
void AppendPairs(std::vector<std::int32_t> part, std::int32_t trailingPauseUs, double periodUs,
                 std::vector<std::uint16_t>& words, std::size_t& pairs) {
    std::vector<std::int64_t> merged = AlternatingDurations(part);
    if (!merged.empty() && merged.back() > 0) merged.push_back(-trailingPauseUs);
    for (const std::int64_t d : merged) {
        const long units = std::lround(std::abs(static_cast<double>(d)) / periodUs);
        words.push_back(static_cast<std::uint16_t>(std::clamp<long>(units, 1, 0xFFFF)));
    }
    pairs = merged.size() / 2;
}

std::string Hex(std::uint16_t word) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[word >> 12], kDigits[word >> 8 & 0xF], kDigits[word >> 4 & 0xF], kDigits[word & 0xF]};
}

}  // namespace

std::string WritePronto(const IrSignal& signal) {
    const int frequencyHz = signal.frequencyHz > 0 ? signal.frequencyHz : 38000;
    const auto carrierWord =
        static_cast<std::uint16_t>(std::clamp<long>(std::lround(1e6 / (frequencyHz * kProntoClockUs)), 1, 0xFFFF));
    const double periodUs = carrierWord * kProntoClockUs;
    std::int32_t longestPauseUs = kMinTrailingPauseUs;
    for (std::int32_t d : signal.durationsUs) {
        if (d < 0 && d != INT32_MIN) longestPauseUs = std::max(longestPauseUs, -d);
    }
    const std::size_t split = std::min(signal.repeatStart, signal.durationsUs.size());
    std::vector<std::int32_t> once(signal.durationsUs.begin(), signal.durationsUs.begin() + static_cast<long>(split));
    std::vector<std::int32_t> repeat(signal.durationsUs.begin() + static_cast<long>(split), signal.durationsUs.end());
    // A repeat part that starts dark hands that pause to the part before it.
    while (!repeat.empty() && repeat.front() <= 0) {
        if (!once.empty()) once.push_back(repeat.front());
        repeat.erase(repeat.begin());
    }
    std::vector<std::uint16_t> onceWords, repeatWords;
    std::size_t oncePairs = 0, repeatPairs = 0;
    AppendPairs(once, longestPauseUs, periodUs, onceWords, oncePairs);
    AppendPairs(repeat, longestPauseUs, periodUs, repeatWords, repeatPairs);
    std::string text = "0000 " + Hex(carrierWord) + " " + Hex(static_cast<std::uint16_t>(oncePairs)) + " " +
                       Hex(static_cast<std::uint16_t>(repeatPairs));
    for (std::uint16_t w : onceWords) text += " " + Hex(w);
    for (std::uint16_t w : repeatWords) text += " " + Hex(w);
    return text;
}

}  // namespace codes
