#include "ccf/model/ccf_action.h"

#include "ccf/format/ccf_bytes.h"
#include "handheld/system.h"
#include "handheld/trace.h"

namespace {

constexpr std::uint32_t kMicrosecondsPerSecond = 1000000;
constexpr std::uint32_t kMaxCarrierPeriodUs = 255;  // the driver keeps the period in one byte
// From this divisor on, clock / divisor fits the 16-bit frequency; below it the frequency has wrapped.
constexpr std::uint32_t kFirstUnwrappedDivisor = tessaly::ccf_layout::kIrClockHz / 0x10000 + 1;
static_assert(kFirstUnwrappedDivisor == 64);

// Depth-first: the frame's items (recursively), then the item's own button.
CCFButton* FindButtonInItems(const std::vector<std::unique_ptr<CCFPanelItem>>& items, std::uint32_t buttonOffset) {
    for (const auto& item : items) {
        if (!item) break;  // a cursor ends at the first empty slot
        if (item->frame) {
            if (CCFButton* found = FindButtonInItems(item->frame->items, buttonOffset)) return found;
        }
        if (item->button && item->button->recordOffset == buttonOffset) return item->button.get();
    }
    return nullptr;
}

int StopAfterOnePass() {
    return 1;
}

void SleepOnTheHandheld(std::uint32_t milliseconds) {
    handheld::Sleep(milliseconds);
}

bool SendThroughTheDriver(IrCode& code) {
    CLumbra* driver = CLumbra::Instance();
    if (driver == nullptr) return false;
    driver->Send(&code, &StopAfterOnePass);
    return true;
}

CCFActionEffects WithDefaults(CCFActionEffects effects) {
    if (effects.sleep == nullptr) effects.sleep = &SleepOnTheHandheld;
    if (effects.send == nullptr) effects.send = &SendThroughTheDriver;
    return effects;
}

CCFActionEffects gEffects = WithDefaults({});

// The tap being run on this thread: the list it began with and every list its aliases run inside it.
struct TapRun {
    int runsOpen = 0;  // list runs and alias runs in progress; 0 between taps
    int aliasDepth = 0;
    int aliasRuns = 0;  // aliased lists run since the tap began
};
thread_local TapRun tTap;

// Held by every list run and every alias run; the outermost one begins a new tap.
class TapScope {
public:
    TapScope() {
        if (tTap.runsOpen++ == 0) {
            tTap.aliasDepth = 0;
            tTap.aliasRuns = 0;
        }
    }
    ~TapScope() { --tTap.runsOpen; }
    TapScope(const TapScope&) = delete;
    TapScope& operator=(const TapScope&) = delete;
};

}  // namespace

CCFActionEffects SetCCFActionEffects(const CCFActionEffects& effects) {
    const CCFActionEffects previous = gEffects;
    gEffects = WithDefaults(effects);
    return previous;
}

CCFIRCodeAction::CCFIRCodeAction(CCFActionList* owner, std::uint32_t p1, std::uint32_t p2,
                                 std::unique_ptr<CCFIRCode> code)
    : CCFAction(owner, 1, p1, p2), code(std::move(code)) {}

CCFIRCodeAction::~CCFIRCodeAction() = default;

std::uint32_t CCFIRCodeAction::Execute(CCFActionHandler*) {
    return SendCCFIRCode(code.get());
}

std::uint32_t CCFButtonAliasAction::Execute(CCFActionHandler* handler) {
    return handler ? handler->RunButtonAlias(p1, p2) : 0;
}

std::uint32_t CCFJumpAction::Execute(CCFActionHandler* handler) {
    return handler ? handler->ShowDevice(p1, p2) : 0;
}

std::uint32_t CCFDelayAction::Execute(CCFActionHandler*) {
    std::uint32_t milliseconds = p2;
    if (milliseconds > kCCFMaxDelayMs) {
        HH_TRACE("ccf", "delay of %u ms cut to %u ms", unsigned(p2), unsigned(kCCFMaxDelayMs));
        milliseconds = kCCFMaxDelayMs;
    }
    gEffects.sleep(milliseconds);
    return 1;
}

std::uint32_t CCFDeviceJumpAction::Execute(CCFActionHandler* handler) {
    return handler ? handler->ShowDeviceFirstPanel(p1, this) : 0;
}

std::unique_ptr<CCFAction> MakeCCFAction(CCFActionList* owner, std::uint8_t type, std::uint32_t p1, std::uint32_t p2,
                                         std::unique_ptr<CCFIRCode> code) {
    switch (type) {
        case 1:
            return std::make_unique<CCFIRCodeAction>(owner, p1, p2, std::move(code));
        case 2:
            return std::make_unique<CCFButtonAliasAction>(owner, type, p1, p2);
        case 3:
        case 9:
            return std::make_unique<CCFJumpAction>(owner, type, p1, p2);
        case 4:
            return std::make_unique<CCFDelayAction>(owner, type, p1, p2);
        case 5:
        case 7:
        case 8:
            return std::make_unique<CCFInertAction>(owner, type, p1, p2);
        case 6:
            return std::make_unique<CCFDeviceJumpAction>(owner, type, p1, p2);
        default:
            return nullptr;
    }
}

void RunCCFActionList(const CCFActionList* list, CCFActionHandler* handler) {
    if (list == nullptr) return;
    TapScope tap;
    // The list outlives the run even when a jump destroys the window that started it: it belongs to the model.
    auto cursor = list->CreateActionIterator();
    for (; cursor->IsValid(); cursor->Next()) cursor->CurrentAs<CCFAction>()->Execute(handler);
}

CCFDevice* FindCCFDevice(const CCFFile& file, std::uint32_t deviceOffset, int* chain) {
    for (auto cursor = file.CreateDeviceIterator(); cursor->IsValid(); cursor->Next()) {
        if (cursor->Device()->recordOffset == deviceOffset) {
            if (chain) *chain = cursor->Chain();
            return cursor->Device();
        }
    }
    return nullptr;
}

CCFButton* FindCCFButton(const CCFDevice& device, std::uint32_t buttonOffset) {
    for (const CCFPanel* panel = device.firstPanel.get(); panel; panel = panel->next.get()) {
        if (CCFButton* found = FindButtonInItems(panel->items, buttonOffset)) return found;
    }
    return nullptr;
}

std::uint32_t CCFFileActionHandler::ShowDeviceFirstPanel(std::uint32_t deviceOffset, CCFAction*) {
    return ShowDevice(deviceOffset, 0);
}

std::uint32_t CCFFileActionHandler::RunButtonAlias(std::uint32_t deviceOffset, std::uint32_t buttonOffset) {
    if (file_ == nullptr) return 0;
    const CCFDevice* device = FindCCFDevice(*file_, deviceOffset);
    if (device == nullptr) return 0;
    CCFButton* button = FindCCFButton(*device, buttonOffset);
    if (button == nullptr) return 0;
    TapScope tap;
    if (tTap.aliasDepth >= kMaxAliasDepth || tTap.aliasRuns >= kMaxAliasRuns) {
        HH_TRACE("ccf", "button alias %#x/%#x not run: aliases nested %d deep, %d run in this tap",
                 unsigned(deviceOffset), unsigned(buttonOffset), tTap.aliasDepth, tTap.aliasRuns);
        return 0;
    }
    ++tTap.aliasRuns;
    ++tTap.aliasDepth;
    RunCCFActionList(button->actions.get(), this);
    --tTap.aliasDepth;
    return 1;
}

std::uint32_t CCFCarrierPeriodUs(const CCFLearnedCode& learned) {
    if (learned.divisor != 0 && learned.divisor < kFirstUnwrappedDivisor) {
        // The wrapped frequency says nothing about the carrier (a 103.6 kHz code would go out at 38 kHz).
        return std::uint32_t(std::uint64_t{kMicrosecondsPerSecond} * learned.divisor / tessaly::ccf_layout::kIrClockHz);
    }
    const std::uint32_t frequency = learned.GetFrequency();
    if (frequency < kCCFMinCarrierHz) return 0;  // 0 included: the divisor was 0
    static_assert(kMicrosecondsPerSecond / kCCFMinCarrierHz <= kMaxCarrierPeriodUs);
    return kMicrosecondsPerSecond / frequency;
}

bool ConvertCCFLearnedCode(const CCFLearnedCode& learned, IrCode& code) {
    code.carrier = 0;
    code.count = 0;
    code.repeatStart = 0;
    const std::int32_t period = std::int32_t(CCFCarrierPeriodUs(learned));
    if (period == 0) return false;
    const std::size_t pairCount = learned.once.size() + learned.repeat.size();
    if (pairCount == 0) return false;
    code.carrier = period;

    // Room for the closing space is kept only when it turns out to be needed.
    constexpr std::size_t kMaxPairs = kIrCodeMaxDurations / 2;
    std::size_t keptPairs = pairCount < kMaxPairs ? pairCount : kMaxPairs;
    for (;;) {
        std::int32_t count = 0;
        std::int32_t longestSpace = 0;  // most negative duration written
        bool anyRepeat = false;
        for (std::size_t i = 0; i < keptPairs; ++i) {
            const bool isRepeat = i >= learned.once.size();
            const CCFIRPair& pair = isRepeat ? learned.repeat[i - learned.once.size()] : learned.once[i];
            if (isRepeat && !anyRepeat) {
                anyRepeat = true;
                code.repeatStart = count;
            }
            code.durations[count++] = std::int32_t(pair.on) * period;
            const std::int32_t space = -(std::int32_t(pair.off) * period);
            code.durations[count++] = space;
            if (space < longestSpace) longestSpace = space;
        }
        if (!anyRepeat) code.repeatStart = 0;
        if (longestSpace / 2 < code.durations[count - 1]) {
            if (count == kIrCodeMaxDurations) {
                --keptPairs;  // the closing space would not fit: give up the last pair for it
                continue;
            }
            code.durations[count++] = longestSpace;
        }
        code.count = count;
        if (keptPairs < pairCount) {
            HH_TRACE("ccf", "IR code of %zu pairs cut to %zu pairs", pairCount, keptPairs);
        }
        return true;
    }
}

std::uint32_t SendCCFIRCode(const CCFIRCode* irCode) {
    if (irCode == nullptr || irCode->GetLearnedCode() == nullptr) return 0;
    IrCode code;
    if (!ConvertCCFLearnedCode(*irCode->GetLearnedCode(), code)) {
        HH_TRACE("ccf", "IR code \"%s\" not sent: carrier %u Hz (divisor %u), %zu pairs", irCode->name.c_str(),
                 unsigned(irCode->GetLearnedCode()->GetFrequency()), unsigned(irCode->GetLearnedCode()->divisor),
                 irCode->GetLearnedCode()->once.size() + irCode->GetLearnedCode()->repeat.size());
        return 0;
    }
    return gEffects.send(code) ? 1 : 0;
}
