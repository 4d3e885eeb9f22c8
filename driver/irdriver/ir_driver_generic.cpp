#include "driver/irdriver/ir_driver_generic.h"

#include <memory>
#include <new>
#include <string>

#include "driver/backends/ir_backend.h"
#include "handheld/files.h"
#include "handheld/owners.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace {

constexpr const char* kTrace = "ir";

// Longest subkey name (characters) and string value (bytes) the port search reads.
constexpr handheld::ActiveDriverLimits kRegistryLimits{520, 520};
constexpr int kSearchResultChars = 260;
constexpr handheld::DWORD kLongestReadInterval = 0xFFFFFFFF;  // reads return at once
constexpr handheld::DWORD kIrBaudRate = 256000;
constexpr handheld::BYTE kIrByteBits = 8;
// Flag bits 15-31 of the control record are the platform's own: the port setup keeps them as found.
constexpr handheld::DWORD kDcbPlatformBits = 0xFFFF8000;
// Every flag but binary mode and transmit-on-XOFF is cleared: no parity check, flow control or replacement.
constexpr handheld::DWORD kSetDcbFlags = handheld::DCB_fBinary | handheld::DCB_fTXContinueOnXoff;
constexpr handheld::DWORD kKeptDcbFlags = kDcbPlatformBits | kSetDcbFlags;
constexpr int kVersionChars = 32;

// One control request on a freshly opened "OBX0:"; false when the device is missing or the request fails.
bool ObexRequest(handheld::DWORD controlCode, void* output, handheld::DWORD outputBytes) {
    const handheld::UniqueHandle device(handheld::CreateFileW(
        u"OBX0:", handheld::GENERIC_READ | handheld::GENERIC_WRITE, 0, nullptr, handheld::OPEN_EXISTING, 0, nullptr));
    if (!device) return false;
    handheld::DWORD returned = 0;
    return handheld::DeviceIoControl(device.get(), controlCode, nullptr, 0, output, outputBytes, &returned, nullptr) !=
           0;
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
    return ObexRequest(handheld::IOCTL_OBEX_STATUS, &status, sizeof status);
}

void CObexServiceSwitch::Start() {
    if (!IsRunning()) ObexRequest(handheld::IOCTL_OBEX_START, nullptr, 0);
}

void CObexServiceSwitch::Stop() {
    if (IsRunning()) ObexRequest(handheld::IOCTL_OBEX_STOP, nullptr, 0);
}

// --- Port search -------------------------------------------------------------------------------------

const char16_t* FindPortByFriendlyName(const char16_t* searchText) {
    gSearchResult[0] = 0;
    const std::u16string_view search(searchText);
    handheld::ForEachActiveComDriver(kRegistryLimits, [&](const handheld::ActiveComDriver& driver) {
        if (handheld::ToUpper(driver.friendlyName).find(search) == std::u16string::npos) return true;
        handheld::CopyTruncated(gSearchResult, kSearchResultChars, driver.name);
        return false;
    });
    return gSearchResult;
}

const char16_t* AutomaticPort() {
    const char16_t* port = FindPortByFriendlyName(u"RC MODE IRDA");
    if (port[0] == 0) port = FindPortByFriendlyName(u"INFRARED PORT");
    return port;
}

// --- IR port -----------------------------------------------------------------------------------------

CIrPort::CIrPort(const char16_t* portName) {
    std::u16string name = portName != nullptr ? portName : u"";
    if (name.empty()) name = AutomaticPort();
    if (name.empty()) {
        HH_TRACE(kTrace, "no IR port: none configured and none found");
        return;
    }
    handle.reset(handheld::CreateFileW(name.c_str(), handheld::GENERIC_READ | handheld::GENERIC_WRITE, 0, nullptr,
                                       handheld::OPEN_EXISTING, 0, nullptr));
    if (!Valid()) {
        HH_TRACE(kTrace, "IR port %s cannot be opened", handheld::ToUtf8(name).c_str());
        return;
    }
    handheld::GetCommTimeouts(handle.get(), &savedTimeouts);
    const handheld::COMMTIMEOUTS immediate{kLongestReadInterval, 0, 0, 0, 0};
    handheld::SetCommTimeouts(handle.get(), &immediate);

    savedState.DCBlength = sizeof(handheld::DCB);
    handheld::GetCommState(handle.get(), &savedState);
    handheld::DCB raw = savedState;
    raw.BaudRate = kIrBaudRate;
    raw.flags = (raw.flags & kKeptDcbFlags) | kSetDcbFlags;
    raw.ByteSize = kIrByteBits;
    raw.Parity = handheld::NOPARITY;
    raw.StopBits = handheld::ONE5STOPBITS;
    handheld::SetCommState(handle.get(), &raw);
    handheld::EscapeCommFunction(handle.get(), handheld::SETIR);
}

// The handle's owner closes it after the port is put back.
CIrPort::~CIrPort() {
    if (!Valid()) return;
    handheld::EscapeCommFunction(handle.get(), handheld::CLRIR);
    handheld::SetCommState(handle.get(), &savedState);
    handheld::SetCommTimeouts(handle.get(), &savedTimeouts);
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
    // The OBEX server holds the IR port while it runs: it must give way when we are to use that port, which
    // with an empty setting is the automatic choice, not "".
    const std::u16string portToUse = portName[0] != 0 ? std::u16string(portName) : std::u16string(AutomaticPort());
    if (handheld::EqualsIgnoreCase(portToUse, FindPortByFriendlyName(u"RC MODE IRDA"))) {
        CObexServiceSwitch::Stop();
    } else {
        CObexServiceSwitch::Start();
    }
}

void CIrDriverGeneric::Send(IrCode* code, StopCallback stopCallback) {
    if (code != nullptr) {
        HH_TRACE(kTrace, "send: %d durations, carrier %d us, repeat from %d", code->count, CarrierPeriodUs(*code),
                 code->repeatStart);
    }
    const std::unique_ptr<CIrPort> port(OpenPort());
    if (port == nullptr || !port->Valid()) return;
    if (const std::unique_ptr<CIrSender> sender(CreateSender(port.get())); sender != nullptr) {
        sender->Send(code, stopCallback);
    }
}

void CIrDriverGeneric::Learn(IrCode* code, bool analyse) {
    {
        const std::unique_ptr<CIrPort> port(OpenPort());
        if (port != nullptr && port->Valid()) {
            if (const std::unique_ptr<CIrLearner> learner(CreateLearner(port.get())); learner != nullptr) {
                learner->Learn(code);
            }
        }
    }
    if (analyse && code != nullptr) AnalyseRepeat(*code);
    if (code != nullptr) {
        HH_TRACE(kTrace, "learn: %d durations, carrier %d us, repeat from %d", code->count, CarrierPeriodUs(*code),
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
