#include "driver/irdriver/ir_driver_generic.h"

#include <cstring>
#include <new>
#include <string>

#include "driver/backends/ir_backend.h"
#include "handheld/files.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace {

constexpr const char* kTrace = "ir";

// Control codes of the OBEX service device.
constexpr handheld::DWORD kObexStatus = 0x01040020;
constexpr handheld::DWORD kObexStart = 0x01040004;
constexpr handheld::DWORD kObexStop = 0x01040008;

constexpr int kRegistryNameChars = 520;
constexpr handheld::DWORD kRegistryValueBytes = 520;
constexpr int kSearchResultChars = 260;
constexpr handheld::DWORD kLongestReadInterval = 0xFFFFFFFF;  // reads return at once
constexpr handheld::DWORD kIrBaudRate = 256000;
// DCB flag bits kept: binary mode (0), transmit continues on XOFF (7) and the dummy bits 15-31.
constexpr handheld::DWORD kKeptDcbFlags = 0xFFFF8081;
constexpr handheld::DWORD kSetDcbFlags = 0x00000081;
constexpr int kVersionChars = 32;

// One control request on a freshly opened "OBX0:"; false when the device is missing or the request fails.
bool ObexRequest(handheld::DWORD controlCode, void* output, handheld::DWORD outputBytes) {
    handheld::HANDLE device = handheld::CreateFileW(u"OBX0:", handheld::GENERIC_READ | handheld::GENERIC_WRITE, 0,
                                                    nullptr, handheld::OPEN_EXISTING, 0, nullptr);
    if (device == handheld::INVALID_HANDLE_VALUE) return false;
    handheld::DWORD returned = 0;
    const bool ok =
        handheld::DeviceIoControl(device, controlCode, nullptr, 0, output, outputBytes, &returned, nullptr) != 0;
    handheld::CloseHandle(device);
    return ok;
}

// A string value of at most kRegistryValueBytes, always terminated; false when missing or too long.
bool ReadString(handheld::HKEY key, const char16_t* valueName, char16_t (&value)[kRegistryValueBytes / 2 + 1]) {
    std::memset(value, 0, sizeof value);
    handheld::DWORD type = 0;
    handheld::DWORD bytes = kRegistryValueBytes;
    if (handheld::RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<handheld::BYTE*>(value), &bytes) !=
        handheld::ERROR_SUCCESS) {
        return false;
    }
    return type == handheld::REG_SZ;
}

// "FriendlyName" of the driver key, else of its first subkey, else "".
std::u16string FriendlyName(handheld::HKEY driverKey) {
    char16_t value[kRegistryValueBytes / 2 + 1];
    if (ReadString(driverKey, u"FriendlyName", value)) return value;
    char16_t subName[kRegistryNameChars + 1] = {};
    handheld::DWORD nameLength = kRegistryNameChars;
    if (handheld::RegEnumKeyExW(driverKey, 0, subName, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        handheld::ERROR_SUCCESS) {
        return {};
    }
    handheld::HKEY subKey = nullptr;
    if (handheld::RegOpenKeyExW(driverKey, subName, 0, handheld::KEY_READ, &subKey) != handheld::ERROR_SUCCESS) {
        return {};
    }
    std::u16string name;
    if (ReadString(subKey, u"FriendlyName", value)) name = value;
    handheld::RegCloseKey(subKey);
    return name;
}

char16_t gSearchResult[kSearchResultChars];
char16_t gVersion[kVersionChars];

}  // namespace

// --- OBEX service ------------------------------------------------------------------------------------

CObexServiceSwitch::CObexServiceSwitch() : wasRunning(IsRunning()) {}

CObexServiceSwitch::~CObexServiceSwitch() {
    if (wasRunning) {
        Start();
    } else {
        Stop();
    }
}

bool CObexServiceSwitch::IsRunning() {
    handheld::DWORD status = 0;
    return ObexRequest(kObexStatus, &status, sizeof status);
}

void CObexServiceSwitch::Start() {
    if (!IsRunning()) ObexRequest(kObexStart, nullptr, 0);
}

void CObexServiceSwitch::Stop() {
    if (IsRunning()) ObexRequest(kObexStop, nullptr, 0);
}

// --- Port search -------------------------------------------------------------------------------------

const char16_t* FindPortByFriendlyName(const char16_t* searchText) {
    gSearchResult[0] = 0;
    handheld::HKEY active = nullptr;
    if (handheld::RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active", 0, handheld::KEY_READ, &active) !=
        handheld::ERROR_SUCCESS) {
        return gSearchResult;
    }
    const std::u16string_view search(searchText);
    for (handheld::DWORD index = 0;; ++index) {
        char16_t subName[kRegistryNameChars + 1] = {};
        handheld::DWORD nameLength = kRegistryNameChars;
        if (handheld::RegEnumKeyExW(active, index, subName, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            handheld::ERROR_SUCCESS) {
            break;
        }
        handheld::HKEY entry = nullptr;
        if (handheld::RegOpenKeyExW(active, subName, 0, handheld::KEY_READ, &entry) != handheld::ERROR_SUCCESS)
            continue;
        char16_t deviceName[kRegistryValueBytes / 2 + 1];
        char16_t driverPath[kRegistryValueBytes / 2 + 1];
        const bool isCom =
            ReadString(entry, u"Name", deviceName) && std::u16string_view(deviceName).starts_with(u"COM");
        const bool hasKey = isCom && ReadString(entry, u"Key", driverPath);
        handheld::RegCloseKey(entry);
        if (!hasKey) continue;
        handheld::HKEY driverKey = nullptr;
        if (handheld::RegOpenKeyExW(HKEY_LOCAL_MACHINE, driverPath, 0, handheld::KEY_READ, &driverKey) !=
            handheld::ERROR_SUCCESS) {
            continue;
        }
        const std::u16string friendly = handheld::ToUpper(FriendlyName(driverKey));
        handheld::RegCloseKey(driverKey);
        if (friendly.find(search) != std::u16string::npos) {
            handheld::CopyTruncated(gSearchResult, kSearchResultChars, deviceName);
            break;
        }
    }
    handheld::RegCloseKey(active);
    return gSearchResult;
}

const char16_t* AutomaticPort() {
    const char16_t* port = FindPortByFriendlyName(u"RC MODE IRDA");
    if (port[0] == 0) port = FindPortByFriendlyName(u"INFRARED PORT");
    return port;
}

// --- IR port -----------------------------------------------------------------------------------------

CIrPort::CIrPort(const char16_t* portName) : handle(handheld::INVALID_HANDLE_VALUE) {
    std::u16string name = portName != nullptr ? portName : u"";
    if (name.empty()) name = AutomaticPort();
    if (name.empty()) {
        HH_TRACE(kTrace, "no IR port: none configured and none found");
        return;
    }
    handle = handheld::CreateFileW(name.c_str(), handheld::GENERIC_READ | handheld::GENERIC_WRITE, 0, nullptr,
                                   handheld::OPEN_EXISTING, 0, nullptr);
    if (handle == handheld::INVALID_HANDLE_VALUE) {
        HH_TRACE(kTrace, "IR port %s cannot be opened", handheld::ToUtf8(name).c_str());
        return;
    }
    handheld::GetCommTimeouts(handle, &savedTimeouts);
    const handheld::COMMTIMEOUTS immediate{kLongestReadInterval, 0, 0, 0, 0};
    handheld::SetCommTimeouts(handle, &immediate);

    savedState.DCBlength = sizeof(handheld::DCB);
    handheld::GetCommState(handle, &savedState);
    handheld::DCB raw = savedState;
    raw.BaudRate = kIrBaudRate;
    raw.flags = (raw.flags & kKeptDcbFlags) | kSetDcbFlags;
    raw.ByteSize = 8;
    raw.Parity = handheld::NOPARITY;
    raw.StopBits = handheld::ONE5STOPBITS;
    handheld::SetCommState(handle, &raw);
    handheld::EscapeCommFunction(handle, handheld::SETIR);
}

CIrPort::~CIrPort() {
    if (!Valid()) return;
    handheld::EscapeCommFunction(handle, handheld::CLRIR);
    handheld::SetCommState(handle, &savedState);
    handheld::SetCommTimeouts(handle, &savedTimeouts);
    handheld::CloseHandle(handle);
}

// --- The generic driver ------------------------------------------------------------------------------

CIrDriverGeneric::CIrDriverGeneric() : portName{} {
    portName[0] = 0;
    ApplyObexRule();
}

CIrDriverGeneric::~CIrDriverGeneric() = default;

const char16_t* CIrDriverGeneric::VersionWithSuffix(const char16_t* suffix) {
    handheld::CopyTruncated(gVersion, kVersionChars, std::u16string(u"1.2.0.1") + suffix);
    return gVersion;
}

const char16_t* CIrDriverGeneric::Version() {
    return VersionWithSuffix(u"");
}

void CIrDriverGeneric::SetPort(const char16_t* name) {
    handheld::CopyTruncated(portName, kPortNameChars, name != nullptr ? std::u16string_view(name) : u"");
    ApplyObexRule();
}

const char16_t* CIrDriverGeneric::GetPort() {
    return portName;
}

void CIrDriverGeneric::ApplyObexRule() {
    // The OBEX server holds the IR port while it runs: it must give way when we use that port.
    if (handheld::EqualsIgnoreCase(portName, FindPortByFriendlyName(u"RC MODE IRDA"))) {
        CObexServiceSwitch::Stop();
    } else {
        CObexServiceSwitch::Start();
    }
}

void CIrDriverGeneric::Send(IrCode* code, StopCallback stopCallback) {
    if (code != nullptr) {
        HH_TRACE(kTrace, "send: %d durations, carrier %d us, repeat from %d", code->count, code->carrier & 0xFF,
                 code->repeatStart);
    }
    CIrPort* port = OpenPort();
    if (port != nullptr && port->Valid()) {
        if (CIrSender* sender = CreateSender(port)) {
            sender->Send(code, stopCallback);
            delete sender;
        }
    }
    delete port;
}

void CIrDriverGeneric::Learn(IrCode* code, bool analyse) {
    CIrPort* port = OpenPort();
    if (port != nullptr && port->Valid()) {
        if (CIrLearner* learner = CreateLearner(port)) {
            learner->Learn(code);
            delete learner;
        }
    }
    delete port;
    if (analyse && code != nullptr) AnalyseRepeat(*code);
    if (code != nullptr) {
        HH_TRACE(kTrace, "learn: %d durations, carrier %d us, repeat from %d", code->count, code->carrier & 0xFF,
                 code->repeatStart);
    }
}

CIrPort* CIrDriverGeneric::OpenPort() {
    return new (std::nothrow) CIrPort(portName);
}

CInterruptGuard* CIrDriverGeneric::CreateInterruptGuard() {
    return new (std::nothrow) CInterruptGuard();
}

CIrSender* CIrDriverGeneric::CreateSender(CIrPort* port) {
    return new (std::nothrow) CIrSender(port, this);
}

CIrLearner* CIrDriverGeneric::CreateLearner(CIrPort* port) {
    return new (std::nothrow) CIrLearner(port, this);
}
