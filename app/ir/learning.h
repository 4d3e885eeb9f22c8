// The non-window side of teaching a button its command: the learn button's steps, one learned code or pause
// stored in the work command set, and a command set copied from another device. Every store is checked
// against what the sender and the device file can still hold, so nothing is kept that could never be sent
// or saved.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "app/model/device.h"
#include "driver/irdriver/lumbra.h"

// nextStep of a learn button whose command is complete: the button is disabled and shows "Learned".
inline constexpr std::uint16_t kAllLearned = 65535;
// The sender plays at most this many macro steps.
inline constexpr std::size_t kMaxMacroSteps = 100;
inline constexpr int kPauseMinMs = 50;
inline constexpr int kPauseMaxMs = 2000;

// The learn button as a command set of entryCount entries leaves it when the dialog opens.
struct LearnButtonState {
    std::uint16_t nextStep = 0;
    bool enabled = false;
    bool macros = false;  // "Has macros" checked
};
LearnButtonState LearnStateFor(std::size_t entryCount);
// The entry a learn of step nextStep stores: the alternates 0 and 1 without macros, 2 and up with them.
int EntryIndexOfStep(std::uint16_t nextStep, bool macros);
// nextStep after a successful learn: one more, or kAllLearned once both alternates are learned.
std::uint16_t StepAfter(std::uint16_t nextStep, bool macros);

enum class StoreResult {
    Stored,
    TooLarge,  // more macro steps than the sender plays, or a record the device file cannot hold
};
// Stores the code's durations (durations, count x 4 bytes, carrier byte, repeat start) under index. A macro
// step (index 2 and up) empties the alternates 0 and 1 at the same time, so a macro never keeps an old
// single command; a refused store changes nothing.
StoreResult StoreLearnedCode(ButtonRecord& work, int index, const IrCode& code);
// A pause of pauseMs milliseconds: no samples, the milliseconds in the two bytes.
StoreResult StorePause(ButtonRecord& work, int index, int pauseMs);
// Every entry of source under the same index of work (pauses stay pauses); higher entries of work stay.
StoreResult CopyEntries(const ButtonRecord& source, ButtonRecord& work);

// Learns one code from the IR port through the driver singleton, into a freshly prepared code (carrier byte,
// count and repeat start 0). True when a signal was seen (count > 0).
bool LearnIrCode(IrCode& code);
// Called just before every learn: the desktop's simulated remote plays its next signal. Returns the previous
// hook; an empty hook for none.
using BeforeLearnHook = std::function<void()>;
BeforeLearnHook SetBeforeLearnHook(BeforeLearnHook hook);
