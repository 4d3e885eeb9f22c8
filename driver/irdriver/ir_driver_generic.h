// Inside Lumbra: the state every back end shares (port name, OBEX switch), the IR port, and the generic back
// end that stands in for processors we cannot drive.
#pragma once

#include <cstdint>

#include "driver/irdriver/lumbra.h"
#include "handheld/comm.h"
#include "handheld/owners.h"
#include "handheld/types.h"

class CIrSender;
class CIrLearner;
class CInterruptGuard;

// Keeps the OBEX service's state as found at construction and puts it back at destruction.
class CObexServiceSwitch {
public:
    CObexServiceSwitch();
    virtual ~CObexServiceSwitch();
    CObexServiceSwitch(const CObexServiceSwitch&) = delete;
    CObexServiceSwitch& operator=(const CObexServiceSwitch&) = delete;

    // The control requests of the "OBX0:" device; each opens the device for one request.
    static bool IsRunning();
    static void Start();  // only when it counts as stopped
    static void Stop();   // only when it counts as running

    bool wasRunning;
};

// The IR serial port, opened in raw IR mode for one call and put back as it was found.
class CIrPort {
public:
    explicit CIrPort(const char16_t* portName);
    virtual ~CIrPort();
    CIrPort(const CIrPort&) = delete;
    CIrPort& operator=(const CIrPort&) = delete;

    bool Valid() const { return static_cast<bool>(handle); }

    handheld::UniqueHandle handle;  // empty when the port could not be opened
    handheld::COMMTIMEOUTS savedTimeouts{};
    handheld::DCB savedState{};
};

// The device name ("COM3:") of the first active COM driver whose friendly name contains searchText
// (upper case); "" when none. The result lives in one static buffer that each search overwrites.
const char16_t* FindPortByFriendlyName(const char16_t* searchText);
// The IR port to use when the caller leaves the choice to the driver; may be "".
const char16_t* AutomaticPort();

inline constexpr int kPortNameChars = 1024;

class CIrDriverGeneric : public CLumbra {
public:
    CIrDriverGeneric();
    ~CIrDriverGeneric() override;

    const char16_t* Version() override;
    void SetPort(const char16_t* portName) override;
    const char16_t* GetPort() override;
    void Send(IrCode* code, StopCallback stopCallback) override;
    void Learn(IrCode* code, bool analyse) override;

    // Factory slots; each result is owned by the caller. A null sender or learner means the back end
    // cannot drive the hardware now, and the call does nothing.
    virtual CIrPort* OpenPort();
    virtual CInterruptGuard* CreateInterruptGuard();
    virtual CIrSender* CreateSender(CIrPort* port);
    virtual CIrLearner* CreateLearner(CIrPort* port);

protected:
    // Fills the shared version buffer with the common text and suffix.
    static const char16_t* VersionWithSuffix(const char16_t* suffix);

    char16_t portName[kPortNameChars];
    CObexServiceSwitch obexSwitch;

private:
    void ApplyObexRule();
};

// The carrier period in microseconds: the low byte of the code's carrier word.
inline std::uint8_t CarrierPeriodUs(const IrCode& code) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(code.carrier) & 0xFFu);
}

// Finds the repeating part of a learned code: may shorten count, sets repeatStart.
void AnalyseRepeat(IrCode& code);
