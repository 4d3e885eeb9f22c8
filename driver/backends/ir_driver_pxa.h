// The PXA25x/26x/27x back end: GPIO 47 drives the IR transmitter, GPIO 46 reads the receiver.
#pragma once

#include "driver/backends/ir_backend.h"

class CIrDriverPxa : public CIrDriverGeneric {
public:
    CIrDriverPxa();
    ~CIrDriverPxa() override;

    const char16_t* Version() override;
    CInterruptGuard* CreateInterruptGuard() override;
    CIrSender* CreateSender(CIrPort* port) override;
    CIrLearner* CreateLearner(CIrPort* port) override;

    // Null when the page could not be mapped.
    void* gpio;
    void* timer;
    void* intc;
};

class CIrSenderPxa : public CIrSender {
public:
    CIrSenderPxa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& gpio, const RegisterAccess& timer);
    ~CIrSenderPxa() override;
    void Mark(std::int32_t durationUs, std::uint8_t periodUs) override;
    void Space(std::uint32_t durationUs) override;

private:
    RegisterAccess gpio;
    RegisterAccess timer;
    std::uint32_t savedGpdr1;
    std::uint32_t savedGafr1L;
    TransmitPin pin;
};

class CIrLearnerPxa : public CIrLearner {
public:
    CIrLearnerPxa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& gpio, const RegisterAccess& timer);
    ~CIrLearnerPxa() override;
    void Learn(IrCode* code) override;

private:
    RegisterAccess gpio;
    RegisterAccess timer;
    std::uint32_t savedGpdr1;
    std::uint32_t savedGafr1L;
};
