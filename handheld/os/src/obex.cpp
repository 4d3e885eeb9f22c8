#include <cstring>
#include <mutex>
#include <unordered_set>

#include "handheld/comm.h"
#include "handheld/devices.h"
#include "handheld/os/src/device_objects.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

constexpr char kChannel[] = "obex";
// What the status request writes while the service runs.
constexpr DWORD kStatusRunning = 1;
// What marks the port the IrDA stack (and so the service) sits on.
constexpr std::u16string_view kIrdaMark = u"IRDA";
constexpr ActiveDriverLimits kRegistryLimits{255, 512};

struct ObexState {
    std::mutex mutex;
    bool present = true;
    bool running = true;
    std::vector<DWORD> controlCodes;
    std::unordered_set<const KernelObject*> handles;
};

ObexState& State() {
    static ObexState* state = new ObexState;  // never destroyed: handles may close during exit
    return *state;
}

class ObexHandle final : public KernelObject {
public:
    ObexHandle() { State().handles.insert(this); }
    ~ObexHandle() override {
        ObexState& state = State();
        std::lock_guard lock(state.mutex);
        state.handles.erase(this);
    }
};

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL ObexControl(ObexState& state, DWORD code, void* outBuffer, DWORD outSize, DWORD* bytesReturned) {
    if (state.controlCodes.size() >= kLogCapacity) state.controlCodes.erase(state.controlCodes.begin());
    state.controlCodes.push_back(code);
    switch (code) {
        case IOCTL_OBEX_STATUS:
            if (!state.running) {
                HH_TRACE(kChannel, "status: stopped");
                return Fail(ERROR_SERVICE_NOT_ACTIVE);
            }
            if (outBuffer == nullptr || outSize < sizeof(DWORD)) return Fail(ERROR_INSUFFICIENT_BUFFER);
            std::memcpy(outBuffer, &kStatusRunning, sizeof(DWORD));
            if (bytesReturned != nullptr) *bytesReturned = sizeof(DWORD);
            HH_TRACE(kChannel, "status: running");
            return TRUE;
        case IOCTL_OBEX_START:
        case IOCTL_OBEX_STOP:
            state.running = code == IOCTL_OBEX_START;
            HH_TRACE(kChannel, "service %s", state.running ? "started" : "stopped");
            return TRUE;
        default:
            HH_TRACE(kChannel, "control code 0x%08x is not supported", code);
            return Fail(ERROR_NOT_SUPPORTED);
    }
}

}  // namespace

namespace detail {

HANDLE OpenObexService() {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.present) {
        HH_TRACE(kChannel, "OBX0: is absent");
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return new ObexHandle;
}

}  // namespace detail

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* /*inBuffer*/, DWORD /*inSize*/, void* outBuffer,
                     DWORD outSize, DWORD* bytesReturned, void* /*overlapped*/) {
    if (bytesReturned != nullptr) *bytesReturned = 0;
    {
        ObexState& state = State();
        std::lock_guard lock(state.mutex);
        if (state.handles.contains(device)) return ObexControl(state, ioControlCode, outBuffer, outSize, bytesReturned);
    }
    if (detail::IsSerialPortHandle(device)) {
        HH_TRACE("comm", "DeviceIoControl 0x%08x on a serial port is not supported", ioControlCode);
        return Fail(ERROR_NOT_SUPPORTED);
    }
    if (device != nullptr && device != INVALID_HANDLE_VALUE && detail::IsLiveKernelObject(device)) {
        HH_TRACE(kChannel, "DeviceIoControl 0x%08x: the handle is no device", ioControlCode);
        return Fail(ERROR_NOT_SUPPORTED);
    }
    HH_TRACE(kChannel, "DeviceIoControl 0x%08x: not a device handle", ioControlCode);
    return Fail(ERROR_INVALID_HANDLE);
}

void SetObexServicePresent(bool present) {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    state.present = present;
}

bool ObexServicePresent() {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    return state.present;
}

void SetObexServiceRunning(bool running) {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    state.running = running;
}

bool ObexServiceRunning() {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    return state.running;
}

std::u16string ObexHeldPort() {
    std::u16string held;
    {
        ObexState& state = State();
        std::lock_guard lock(state.mutex);
        if (!state.present || !state.running) return held;
    }
    ForEachActiveComDriver(kRegistryLimits, [&](const ActiveComDriver& driver) {
        if (ToUpper(driver.friendlyName).find(kIrdaMark) == std::u16string::npos) return true;
        held = driver.name;
        return false;
    });
    return held;
}

std::vector<DWORD> ObexControlCodes() {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    return state.controlCodes;
}

void ResetObexService() {
    ObexState& state = State();
    std::lock_guard lock(state.mutex);
    state.present = true;
    state.running = true;
    state.controlCodes.clear();
}

}  // namespace handheld
