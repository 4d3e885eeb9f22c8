#include "handheld/led.h"

#include <map>
#include <mutex>

#include "handheld/devices.h"
#include "handheld/profile.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr char kChannel[] = "led";

struct LedState {
    std::mutex mutex;
    std::map<UINT, NLED_SETTINGS_INFO> settings;  // LEDs never set are off
    LedObserver observer;
};

LedState& State() {
    static LedState* state = new LedState;
    return *state;
}

UINT LedCount() {
    const int count = Profile().ledCount;
    return count > 0 ? static_cast<UINT>(count) : 0;
}

NLED_SETTINGS_INFO OffSettings(UINT ledNum) {
    return NLED_SETTINGS_INFO{ledNum, LED_OFF, 0, 0, 0, 0, 0};
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool IsValid(const NLED_SETTINGS_INFO& settings) {
    if (settings.OffOnBlink < LED_OFF || settings.OffOnBlink > LED_BLINK) return false;
    if (settings.OffOnBlink != LED_BLINK) return true;
    // A blink needs a cycle to repeat: times and meta cycles cannot be negative, the cycle not empty.
    return settings.TotalCycleTime > 0 && settings.OnTime >= 0 && settings.OffTime >= 0 && settings.MetaCycleOn >= 0 &&
           settings.MetaCycleOff >= 0;
}

}  // namespace

BOOL NLedGetDeviceInfo(UINT infoId, void* output) {
    if (output == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (infoId == NLED_COUNT_INFO_ID) {
        static_cast<NLED_COUNT_INFO*>(output)->cLeds = LedCount();
        return TRUE;
    }
    if (infoId == NLED_SETTINGS_INFO_ID) {
        auto* settings = static_cast<NLED_SETTINGS_INFO*>(output);
        const auto current = LedSettings(settings->LedNum);
        if (!current) return Fail(ERROR_INVALID_PARAMETER);
        *settings = *current;
        return TRUE;
    }
    HH_TRACE(kChannel, "NLedGetDeviceInfo %u is not supported", infoId);
    return Fail(ERROR_NOT_SUPPORTED);
}

BOOL NLedSetDevice(UINT deviceId, void* input) {
    if (deviceId != NLED_SETTINGS_INFO_ID) {
        HH_TRACE(kChannel, "NLedSetDevice %u is not supported", deviceId);
        return Fail(ERROR_NOT_SUPPORTED);
    }
    if (input == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const NLED_SETTINGS_INFO settings = *static_cast<const NLED_SETTINGS_INFO*>(input);
    if (settings.LedNum >= LedCount()) {
        HH_TRACE(kChannel, "LED %u: the handheld has %u", settings.LedNum, LedCount());
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!IsValid(settings)) {
        HH_TRACE(kChannel, "LED %u: settings refused (state %d, cycle %d us)", settings.LedNum, settings.OffOnBlink,
                 settings.TotalCycleTime);
        return Fail(ERROR_INVALID_PARAMETER);
    }
    LedObserver observer;
    {
        LedState& state = State();
        std::lock_guard lock(state.mutex);
        state.settings[settings.LedNum] = settings;
        observer = state.observer;
    }
    HH_TRACE(kChannel, "LED %u: state %d, cycle %d us, on %d us, off %d us, meta %d/%d", settings.LedNum,
             settings.OffOnBlink, settings.TotalCycleTime, settings.OnTime, settings.OffTime, settings.MetaCycleOn,
             settings.MetaCycleOff);
    // Outside the lock, so the observer may ask for the settings itself.
    if (observer) observer(settings);
    return TRUE;
}

std::optional<NLED_SETTINGS_INFO> LedSettings(UINT ledNum) {
    if (ledNum >= LedCount()) return std::nullopt;
    LedState& state = State();
    std::lock_guard lock(state.mutex);
    const auto found = state.settings.find(ledNum);
    return found != state.settings.end() ? found->second : OffSettings(ledNum);
}

LedObserver SetLedObserver(LedObserver observer) {
    LedState& state = State();
    std::lock_guard lock(state.mutex);
    std::swap(state.observer, observer);
    return observer;
}

void ResetLeds() {
    LedState& state = State();
    std::lock_guard lock(state.mutex);
    state.settings.clear();
}

}  // namespace handheld
