// Inspection and scripting of the simulated devices, for tests, tools and the desktop frame: what the
// registry file held, the serial ports' state, the OBEX service, the threads' scheduling and the
// notification LEDs. Process-wide, safe to call from any thread. Logs keep their last kLogCapacity entries.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "handheld/comm.h"
#include "handheld/led.h"
#include "handheld/types.h"

namespace handheld {

inline constexpr std::size_t kLogCapacity = 1024;

// ---- Registry -------------------------------------------------------------------------------------------
struct RegistryLoadReport {
    bool headerFound = false;
    int keys = 0;          // keys created, implicit parents included
    int values = 0;        // values read
    int skippedLines = 0;  // damaged lines left out (the "registry" trace names each)
};
// What the last load (home file or LoadRegistryText) found.
RegistryLoadReport LastRegistryLoad();

// ---- Serial ports ---------------------------------------------------------------------------------------
struct EscapeCall {
    DWORD function = 0;
    bool succeeded = false;
};

struct SerialPortInfo {
    std::u16string name;  // upper case, as "COM3:"
    bool open = false;
    bool irMode = false;  // raw infrared mode (SETIR ... CLRIR)
    bool dtr = false;
    bool rts = false;
    bool breakOn = false;
    int openCount = 0;  // successful opens in this process
    COMMTIMEOUTS timeouts{};
    DCB state{};
    std::vector<EscapeCall> escapeCalls;
};

// The port's state as kept across opens; empty for a port never opened in this process.
std::optional<SerialPortInfo> InspectSerialPort(std::u16string_view name);
// As at the start of the process: closed ports are forgotten; ports open now stay open, back to the
// defaults (time-outs, control record, lines, IR mode off, log cleared, counted as opened once).
void ResetSerialPorts();
// The defaults a port starts with.
COMMTIMEOUTS DefaultCommTimeouts();
DCB DefaultCommState();

// ---- OBEX service ("OBX0:") -----------------------------------------------------------------------------
// Present and running by default.
void SetObexServicePresent(bool present);
bool ObexServicePresent();
void SetObexServiceRunning(bool running);
bool ObexServiceRunning();
// The port the service holds: while it is present and runs, the IrDA port (the first active COM driver whose
// friendly name contains "IRDA", any case); "" otherwise. Opening that serial port fails with
// ERROR_SHARING_VIOLATION.
std::u16string ObexHeldPort();
// Every control code DeviceIoControl received on "OBX0:", in order, the unknown ones included.
std::vector<DWORD> ObexControlCodes();
void ResetObexService();

// ---- Thread scheduling (the calling thread) -------------------------------------------------------------
struct ThreadScheduling {
    int priority = 251;
    DWORD quantumMs = 100;
    bool hostRealTime = false;  // the host thread runs in a real-time class now
};
ThreadScheduling CurrentThreadScheduling();

struct SchedulingCall {
    enum class Kind { Priority, Quantum };
    Kind kind = Kind::Priority;
    long long value = 0;
    bool succeeded = false;
};
// Set calls of every thread, in order.
std::vector<SchedulingCall> SchedulingCalls();
void ClearSchedulingCalls();

// ---- Notification LEDs ----------------------------------------------------------------------------------
// The last settings given to an LED (all off at start); empty for an LED the handheld does not have.
std::optional<NLED_SETTINGS_INFO> LedSettings(UINT ledNum);
// Called after every accepted NLedSetDevice, on the calling thread; returns the previous observer.
using LedObserver = std::function<void(const NLED_SETTINGS_INFO&)>;
LedObserver SetLedObserver(LedObserver observer);
// All LEDs off, without telling the observer.
void ResetLeds();

}  // namespace handheld
