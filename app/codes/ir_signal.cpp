#include "app/codes/ir_signal.h"

#include <algorithm>
#include <cmath>

#include "app/model/little_endian.h"

namespace codes {

std::vector<std::int64_t> AlternatingDurations(const std::vector<std::int32_t>& durationsUs) {
    std::vector<std::int64_t> merged;
    for (const std::int32_t d : durationsUs) {
        if (d == 0 || (merged.empty() && d < 0)) continue;
        if (!merged.empty() && (merged.back() < 0) == (d < 0)) {
            merged.back() += d;
        } else {
            merged.push_back(d);
        }
    }
    return merged;
}

std::uint8_t PeriodUsForFrequency(int frequencyHz) {
    if (frequencyHz <= 0) return 255;
    const long period = std::lround(1e6 / frequencyHz);
    return static_cast<std::uint8_t>(std::clamp<long>(period, 1, 255));
}

int FrequencyHzForPeriod(std::uint8_t periodUs) {
    return periodUs == 0 ? 0 : static_cast<int>(std::lround(1e6 / periodUs));
}

bool FitsDriver(const IrSignal& signal, std::string* error) {
    if (signal.durationsUs.empty()) {
        if (error) *error = "the code has no durations";
        return false;
    }
    if (signal.durationsUs.size() > static_cast<std::size_t>(kIrCodeMaxDurations)) {
        if (error) {
            *error = "the code has " + std::to_string(signal.durationsUs.size()) + " durations, at most " +
                     std::to_string(kIrCodeMaxDurations) + " can be sent";
        }
        return false;
    }
    return true;
}

namespace {

std::size_t ClampedRepeatStart(const IrSignal& signal) {
    return signal.repeatStart < signal.durationsUs.size() ? signal.repeatStart : 0;
}

}  // namespace

bool ToIrCode(const IrSignal& signal, IrCode& code, std::string* error) {
    if (!FitsDriver(signal, error)) return false;
    code = IrCode{};
    code.carrier = PeriodUsForFrequency(signal.frequencyHz);
    std::copy(signal.durationsUs.begin(), signal.durationsUs.end(), code.durations);
    code.count = static_cast<std::int32_t>(signal.durationsUs.size());
    code.repeatStart = static_cast<std::int32_t>(ClampedRepeatStart(signal));
    return true;
}

IrSignal FromIrCode(const IrCode& code) {
    IrSignal signal;
    signal.frequencyHz = FrequencyHzForPeriod(static_cast<std::uint8_t>(code.carrier & 0xFF));
    const int count = std::clamp(code.count, 0, kIrCodeMaxDurations);
    signal.durationsUs.assign(code.durations, code.durations + count);
    signal.repeatStart = code.repeatStart >= 0 && code.repeatStart < count ? code.repeatStart : 0;
    return signal;
}

bool ToCodeEntry(const IrSignal& signal, CodeEntry& entry, std::string* error) {
    if (!FitsDriver(signal, error)) return false;
    std::vector<std::uint8_t> samples;
    samples.reserve(signal.durationsUs.size() * 4);
    for (std::int32_t durationUs : signal.durationsUs) AppendU32(samples, static_cast<std::uint32_t>(durationUs));
    const auto repeatStart = static_cast<std::uint8_t>(ClampedRepeatStart(signal));
    const std::uint16_t codeInfo =
        static_cast<std::uint16_t>(PeriodUsForFrequency(signal.frequencyHz) << 8 | repeatStart);
    if (!CodeEntry::Make(samples.data(), samples.size(), codeInfo, entry)) {
        if (error) *error = "out of memory";
        return false;
    }
    return true;
}

bool FromCodeEntry(const CodeEntry& entry, IrSignal& signal) {
    const auto samples = entry.samples();
    if (samples.size() < 4) return false;
    signal = IrSignal{};
    signal.frequencyHz = FrequencyHzForPeriod(static_cast<std::uint8_t>(entry.codeInfo() >> 8));
    for (std::size_t i = 0; i + 4 <= samples.size(); i += 4) signal.durationsUs.push_back(ReadI32(samples.data() + i));
    const std::size_t repeatStart = entry.codeInfo() & 0xFF;
    signal.repeatStart = repeatStart < signal.durationsUs.size() ? repeatStart : 0;
    return true;
}

}  // namespace codes
