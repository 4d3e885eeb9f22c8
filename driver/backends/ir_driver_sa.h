// The SA-11x0 back end: peripheral pin 14 drives the IR transmitter (with serial port 2 giving it up),
// pin 15 reads the receiver.
#pragma once

#include "driver/backends/ir_backend.h"

class CIrDriverSa : public CIrDriverGeneric {
public:
    CIrDriverSa();
    ~CIrDriverSa() override;

    const char16_t* Version() override;
    CInterruptGuard* CreateInterruptGuard() override;
    CIrSender* CreateSender(CIrPort* port) override;
    CIrLearner* CreateLearner(CIrPort* port) override;

    // Null when the page could not be mapped.
    void* serial;
    void* ppc;
    void* timer;
    void* intc;
};

class CIrSenderSa : public CIrSender {
public:
    CIrSenderSa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& serial, const RegisterAccess& ppc,
                const RegisterAccess& timer);
    ~CIrSenderSa() override;
    void Mark(std::int32_t durationUs, std::uint8_t periodUs) override;
    void Space(std::uint32_t durationUs) override;

private:
    RegisterAccess serial;
    RegisterAccess ppc;
    RegisterAccess timer;
    std::uint8_t savedUartControl;
    std::uint32_t savedPpdr;
    TransmitPin pin;
};

class CIrLearnerSa : public CIrLearner {
public:
    CIrLearnerSa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& ppc, const RegisterAccess& timer);
    void Learn(IrCode* code) override;

private:
    RegisterAccess ppc;
    RegisterAccess timer;
};
