#include "handheld/comm.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "handheld/devices.h"
#include "handheld/os/src/device_objects.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr char kChannel[] = "comm";

// A port keeps its settings between opens, as a serial driver does while it stays loaded.
struct SerialPort {
    SerialPortInfo info;
};

class SerialPortHandle final : public KernelObject {
public:
    explicit SerialPortHandle(SerialPort* port);
    ~SerialPortHandle() override;
    SerialPort* Port() const { return port_; }

private:
    SerialPort* port_;
};

struct CommState {
    std::mutex mutex;
    std::map<std::u16string, std::unique_ptr<SerialPort>> ports;  // by upper-case name
    std::unordered_set<const KernelObject*> handles;
};

CommState& State() {
    static CommState* state = new CommState;  // never destroyed: handles may close during exit
    return *state;
}

SerialPortHandle::SerialPortHandle(SerialPort* port) : port_(port) {
    State().handles.insert(this);
}

SerialPortHandle::~SerialPortHandle() {
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    state.handles.erase(this);
    port_->info.open = false;
    HH_TRACE(kChannel, "%s closed", ToUtf8(port_->info.name).c_str());
}

void ResetPort(SerialPortInfo& info) {
    info.irMode = false;
    info.dtr = false;
    info.rts = false;
    info.breakOn = false;
    info.openCount = info.open ? 1 : 0;
    info.timeouts = DefaultCommTimeouts();
    info.state = DefaultCommState();
    info.escapeCalls.clear();
}

// Runs an operation on the port behind a handle under the lock; false with ERROR_INVALID_HANDLE when
// the handle is not an open serial port.
template <typename Operation>
BOOL WithPort(HANDLE handle, const char* call, Operation operation) {
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !state.handles.contains(handle)) {
        HH_TRACE(kChannel, "%s: not a serial port handle", call);
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return operation(static_cast<SerialPortHandle*>(handle)->Port()->info);
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Line escapes the simulated driver keeps as flags.
inline constexpr DWORD SETRTS = 3;
inline constexpr DWORD CLRRTS = 4;
inline constexpr DWORD SETDTR = 5;
inline constexpr DWORD CLRDTR = 6;
inline constexpr DWORD SETBREAK = 8;
inline constexpr DWORD CLRBREAK = 9;

bool ApplyEscape(SerialPortInfo& info, DWORD function) {
    switch (function) {
        case SETIR:
            info.irMode = true;
            return true;
        case CLRIR:
            info.irMode = false;
            return true;
        case SETRTS:
            info.rts = true;
            return true;
        case CLRRTS:
            info.rts = false;
            return true;
        case SETDTR:
            info.dtr = true;
            return true;
        case CLRDTR:
            info.dtr = false;
            return true;
        case SETBREAK:
            info.breakOn = true;
            return true;
        case CLRBREAK:
            info.breakOn = false;
            return true;
        default:
            return false;
    }
}

template <typename T>
void AppendCapped(std::vector<T>& log, T entry) {
    if (log.size() >= kLogCapacity) log.erase(log.begin());
    log.push_back(entry);
}

}  // namespace

COMMTIMEOUTS DefaultCommTimeouts() {
    // Reads wait for data; not the all-zero record, so a forgotten restore shows.
    return COMMTIMEOUTS{250, 10, 100, 10, 100};
}

DCB DefaultCommState() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = 9600;
    dcb.flags = DCB_fBinary | DCB_DtrControlEnable | DCB_RtsControlEnable;
    dcb.XonLim = 512;
    dcb.XoffLim = 128;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

namespace detail {

HANDLE OpenSerialPort(std::u16string_view name) {
    const std::u16string key = ToUpper(name);
    // Asked before taking our lock: the service and the registry keep locks of their own.
    if (EqualsIgnoreCase(key, ObexHeldPort())) {
        HH_TRACE(kChannel, "%s is held by the running OBEX service", ToUtf8(key).c_str());
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    std::unique_ptr<SerialPort>& port = state.ports[key];
    if (!port) {
        port = std::make_unique<SerialPort>();
        port->info.name = key;
        ResetPort(port->info);
    }
    if (port->info.open) {
        HH_TRACE(kChannel, "%s is open already; a serial port is not shared", ToUtf8(key).c_str());
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    port->info.open = true;
    ++port->info.openCount;
    HH_TRACE(kChannel, "%s opened", ToUtf8(key).c_str());
    return new SerialPortHandle(port.get());
}

bool IsSerialPortHandle(HANDLE handle) {
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    return state.handles.contains(handle);
}

}  // namespace detail

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    return WithPort(port, "GetCommTimeouts", [&](SerialPortInfo& info) {
        if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
        *timeouts = info.timeouts;
        return TRUE;
    });
}

BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts) {
    return WithPort(port, "SetCommTimeouts", [&](SerialPortInfo& info) {
        if (timeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER);
        info.timeouts = *timeouts;
        HH_TRACE(kChannel, "%s time-outs %u %u %u %u %u", ToUtf8(info.name).c_str(), timeouts->ReadIntervalTimeout,
                 timeouts->ReadTotalTimeoutMultiplier, timeouts->ReadTotalTimeoutConstant,
                 timeouts->WriteTotalTimeoutMultiplier, timeouts->WriteTotalTimeoutConstant);
        return TRUE;
    });
}

BOOL GetCommState(HANDLE port, DCB* state) {
    return WithPort(port, "GetCommState", [&](SerialPortInfo& info) {
        if (state == nullptr) return Fail(ERROR_INVALID_PARAMETER);
        *state = info.state;
        return TRUE;
    });
}

BOOL SetCommState(HANDLE port, const DCB* state) {
    return WithPort(port, "SetCommState", [&](SerialPortInfo& info) {
        if (state == nullptr) return Fail(ERROR_INVALID_PARAMETER);
        // What a serial driver refuses: a record the port cannot run with.
        const bool valid = state->BaudRate != 0 && state->ByteSize >= 5 && state->ByteSize <= 8 &&
                           state->Parity <= SPACEPARITY && state->StopBits <= TWOSTOPBITS;
        if (!valid) {
            HH_TRACE(kChannel, "%s: control record refused (baud %u, %u bits, parity %u, stop code %u)",
                     ToUtf8(info.name).c_str(), state->BaudRate, state->ByteSize, state->Parity, state->StopBits);
            return Fail(ERROR_INVALID_PARAMETER);
        }
        info.state = *state;
        info.state.DCBlength = sizeof(DCB);
        HH_TRACE(kChannel, "%s state: baud %u, flags 0x%x, %u bits, parity %u, stop code %u", ToUtf8(info.name).c_str(),
                 state->BaudRate, state->flags, state->ByteSize, state->Parity, state->StopBits);
        return TRUE;
    });
}

BOOL EscapeCommFunction(HANDLE port, DWORD function) {
    return WithPort(port, "EscapeCommFunction", [&](SerialPortInfo& info) {
        const bool done = ApplyEscape(info, function);
        AppendCapped(info.escapeCalls, EscapeCall{function, done});
        if (!done) {
            HH_TRACE(kChannel, "%s: escape function %u is not supported", ToUtf8(info.name).c_str(), function);
            return Fail(ERROR_NOT_SUPPORTED);
        }
        HH_TRACE(kChannel, "%s: escape function %u, IR mode %s", ToUtf8(info.name).c_str(), function,
                 info.irMode ? "on" : "off");
        return TRUE;
    });
}

std::optional<SerialPortInfo> InspectSerialPort(std::u16string_view name) {
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    const auto found = state.ports.find(ToUpper(name));
    if (found == state.ports.end()) return std::nullopt;
    return found->second->info;
}

void ResetSerialPorts() {
    CommState& state = State();
    std::lock_guard lock(state.mutex);
    for (auto it = state.ports.begin(); it != state.ports.end();) {
        if (it->second->info.open) {
            ResetPort(it->second->info);
            ++it;
        } else {
            it = state.ports.erase(it);
        }
    }
}

}  // namespace handheld
