// The notification LEDs: how many the handheld has (its profile) and how each is set to shine.
#pragma once

#include "handheld/types.h"

namespace handheld {

inline constexpr UINT NLED_COUNT_INFO_ID = 0;
inline constexpr UINT NLED_SETTINGS_INFO_ID = 2;

struct NLED_COUNT_INFO {
    UINT cLeds;
};

inline constexpr int LED_OFF = 0;
inline constexpr int LED_ON = 1;
inline constexpr int LED_BLINK = 2;

// Times in microseconds, meta cycles in blink cycles.
struct NLED_SETTINGS_INFO {
    UINT LedNum;
    int OffOnBlink;
    LONG TotalCycleTime;
    LONG OnTime;
    LONG OffTime;
    int MetaCycleOn;
    int MetaCycleOff;
};

// NLED_COUNT_INFO_ID fills an NLED_COUNT_INFO; NLED_SETTINGS_INFO_ID fills the NLED_SETTINGS_INFO of the
// LED named by its LedNum.
BOOL NLedGetDeviceInfo(UINT infoId, void* output);
// NLED_SETTINGS_INFO_ID with an NLED_SETTINGS_INFO; fails for an LED the handheld does not have.
BOOL NLedSetDevice(UINT deviceId, void* input);

}  // namespace handheld
