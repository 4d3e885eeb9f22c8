#include "app/ir/learning.h"

#include <cstring>
#include <utility>
#include <vector>

#include "app/model/device_file.h"

namespace {

BeforeLearnHook& Hook() {
    static BeforeLearnHook hook;
    return hook;
}

constexpr std::size_t kSampleBytes = sizeof(std::int32_t);

// Applies change to a copy of work's command set and keeps it only when the result can be sent and saved.
template <class Change>
StoreResult StoreChecked(ButtonRecord& work, Change&& change) {
    ButtonRecord trial;
    trial.name = work.name;
    trial.commandName = work.commandName;
    trial.skin = work.skin;
    trial.label = work.label;
    trial.commands = work.commands;  // the map itself: a record copy would renumber the entries
    if (!change(trial)) return StoreResult::TooLarge;
    std::size_t macroSteps = 0;
    for (const auto& [index, entry] : trial.commands) macroSteps += index >= kFirstMacroIndex ? 1 : 0;
    if (macroSteps > kMaxMacroSteps || device_file::RecordSize(trial) > device_file::kMaxRecordBytes) {
        return StoreResult::TooLarge;
    }
    work.commands = std::move(trial.commands);
    return StoreResult::Stored;
}

bool EmptyAlternatesForMacro(ButtonRecord& record, int index) {
    if (index < kFirstMacroIndex) return true;
    return record.SetEntry(0, nullptr, 0, 0, 0) && record.SetEntry(1, nullptr, 0, 0, 0);
}

}  // namespace

LearnButtonState LearnStateFor(std::size_t entryCount) {
    if (entryCount < 2) return {static_cast<std::uint16_t>(entryCount), true, false};
    return {kAllLearned, false, entryCount > 2};
}

int EntryIndexOfStep(std::uint16_t nextStep, bool macros) {
    return macros ? nextStep + kFirstMacroIndex : nextStep;
}

std::uint16_t StepAfter(std::uint16_t nextStep, bool macros) {
    if (macros || nextStep + 1 < 2) return static_cast<std::uint16_t>(nextStep + 1);
    return kAllLearned;
}

StoreResult StoreLearnedCode(ButtonRecord& work, int index, const IrCode& code) {
    if (code.count <= 0 || code.count > kIrCodeMaxDurations) return StoreResult::TooLarge;
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(code.count) * kSampleBytes);
    for (int i = 0; i < code.count; ++i) {
        const auto word = static_cast<std::uint32_t>(code.durations[i]);
        for (std::size_t b = 0; b < kSampleBytes; ++b) samples[i * kSampleBytes + b] = (word >> (8 * b)) & 0xFF;
    }
    return StoreChecked(work, [&](ButtonRecord& trial) {
        return EmptyAlternatesForMacro(trial, index) &&
               trial.SetEntry(index, samples.data(), samples.size(), static_cast<std::uint8_t>(code.carrier & 0xFF),
                              static_cast<std::uint8_t>(code.repeatStart & 0xFF));
    });
}

StoreResult StorePause(ButtonRecord& work, int index, int pauseMs) {
    return StoreChecked(work, [&](ButtonRecord& trial) {
        return EmptyAlternatesForMacro(trial, index) &&
               trial.SetEntry(index, nullptr, 0, static_cast<std::uint8_t>((pauseMs >> 8) & 0xFF),
                              static_cast<std::uint8_t>(pauseMs & 0xFF));
    });
}

StoreResult CopyEntries(const ButtonRecord& source, ButtonRecord& work) {
    return StoreChecked(work, [&](ButtonRecord& trial) {
        for (const auto& [index, entry] : source.commands) trial.commands[index] = entry;
        return true;
    });
}

bool LearnIrCode(IrCode& code) {
    code = IrCode{};
    if (Hook()) Hook()();
    CLumbra::Instance()->Learn(&code, true);
    return code.count > 0;
}

BeforeLearnHook SetBeforeLearnHook(BeforeLearnHook hook) {
    return std::exchange(Hook(), std::move(hook));
}
