// The handheld's time calls, all driven by the OS timer's clock: in virtual time Sleep moves the clock on
// and every counter read costs a step, so the same code runs fast and deterministically under tests.
#include "handheld/soc/simulation.h"
#include "handheld/system.h"

namespace handheld {

namespace {
constexpr std::uint64_t kMsPerSecond = 1000;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    frequency->QuadPart = soc::kOscrHz;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    count->QuadPart = static_cast<std::int64_t>(soc::ElapsedTicks());
    soc::ChargeRead();
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    soc::AdvanceTicks(std::uint64_t{milliseconds} * soc::kOscrHz / kMsPerSecond);
}

DWORD GetTickCount() {
    return static_cast<DWORD>(soc::ElapsedTicks() * kMsPerSecond / soc::kOscrHz);
}

}  // namespace handheld
