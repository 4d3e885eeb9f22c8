#include "driver/backends/ir_driver_pxa.h"

#include <new>

#include "handheld/trace.h"

namespace {
constexpr std::uint32_t kGpioBase = 0x40E00000;
constexpr std::uint32_t kTimerBase = 0x40A00000;
constexpr std::uint32_t kIntcBase = 0x40D00000;

// GPIO bank 1 (GPIO 32-63) registers.
constexpr std::uint32_t GPLR1 = 0x04;                        // pin levels
constexpr std::uint32_t GPDR1 = 0x10;                        // directions, 1 = output
constexpr std::uint32_t GPSR1 = 0x1C;                        // write 1 to drive high
constexpr std::uint32_t GPCR1 = 0x28;                        // write 1 to drive low
constexpr std::uint32_t GAFR1_L = 0x5C;                      // alternate functions of GPIO 32-47, two bits each
constexpr std::uint32_t kTransmitBit = 0x8000;               // GPIO 47
constexpr std::uint32_t kReceiveBit = 0x4000;                // GPIO 46
constexpr std::uint32_t kTransmitFunctionBits = 0xC0000000;  // GAFR1_L bits 31-30: GPIO 47
constexpr std::uint32_t kReceiveFunctionBits = 0x30000000;   // GAFR1_L bits 29-28: GPIO 46
}  // namespace

CIrDriverPxa::CIrDriverPxa()
    : gpio(MapRegisterPage(kGpioBase, true)),
      timer(MapRegisterPage(kTimerBase, false)),
      intc(MapRegisterPage(kIntcBase, true)) {}

CIrDriverPxa::~CIrDriverPxa() {
    UnmapRegisterPage(gpio);
    UnmapRegisterPage(timer);
    UnmapRegisterPage(intc);
}

const char16_t* CIrDriverPxa::Version() {
    return VersionWithSuffix(u" PXA2(5,6,7)");
}

CInterruptGuard* CIrDriverPxa::CreateInterruptGuard() {
    const RegisterAccess intcAccess(intc);
    if (!intcAccess.Valid()) return new (std::nothrow) CInterruptGuard();
    return new (std::nothrow) CInterruptGuardIcmr(intcAccess);
}

CIrSender* CIrDriverPxa::CreateSender(CIrPort* port) {
    const RegisterAccess gpioAccess(gpio);
    const RegisterAccess timerAccess(timer);
    if (!gpioAccess.Valid() || !timerAccess.Valid() || intc == nullptr) {
        HH_TRACE("ir", "PXA registers not mapped: nothing sent");
        return nullptr;
    }
    return new (std::nothrow) CIrSenderPxa(port, this, gpioAccess, timerAccess);
}

CIrLearner* CIrDriverPxa::CreateLearner(CIrPort* port) {
    const RegisterAccess gpioAccess(gpio);
    const RegisterAccess timerAccess(timer);
    if (!gpioAccess.Valid() || !timerAccess.Valid()) {
        HH_TRACE("ir", "PXA registers not mapped: nothing learned");
        return nullptr;
    }
    return new (std::nothrow) CIrLearnerPxa(port, this, gpioAccess, timerAccess);
}

CIrSenderPxa::CIrSenderPxa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& gpioAccess,
                           const RegisterAccess& timerAccess)
    : CIrSender(port, driver),
      gpio(gpioAccess),
      timer(timerAccess),
      savedGpdr1(gpio.Read32(GPDR1)),
      savedGafr1L(gpio.Read32(GAFR1_L)),
      pin{gpioAccess, GPSR1, kTransmitBit, GPCR1, kTransmitBit} {
    gpio.Write32(GPDR1, savedGpdr1 | kTransmitBit);
    gpio.Write32(GAFR1_L, savedGafr1L & ~kTransmitFunctionBits);
}

CIrSenderPxa::~CIrSenderPxa() {
    gpio.Write32(GAFR1_L, savedGafr1L);
    gpio.Write32(GPDR1, savedGpdr1);
}

void CIrSenderPxa::Mark(std::int32_t durationUs, std::uint8_t periodUs) {
    PlayMark(pin, timer, durationUs, periodUs);
}

void CIrSenderPxa::Space(std::uint32_t durationUs) {
    PlaySpace(timer, durationUs);
}

CIrLearnerPxa::CIrLearnerPxa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& gpioAccess,
                             const RegisterAccess& timerAccess)
    : CIrLearner(port, driver),
      gpio(gpioAccess),
      timer(timerAccess),
      savedGpdr1(gpio.Read32(GPDR1)),
      savedGafr1L(gpio.Read32(GAFR1_L)) {
    gpio.Write32(GPDR1, savedGpdr1 & ~kReceiveBit);
    gpio.Write32(GAFR1_L, savedGafr1L & ~kReceiveFunctionBits);
}

CIrLearnerPxa::~CIrLearnerPxa() {
    gpio.Write32(GAFR1_L, savedGafr1L);
    gpio.Write32(GPDR1, savedGpdr1);
}

void CIrLearnerPxa::Learn(IrCode* code) {
    if (code != nullptr) SampleSignal(gpio, GPLR1, kReceiveBit, timer, *code);
}
