#include "driver/backends/ir_driver_sa.h"

#include <new>

#include "handheld/trace.h"

namespace {
constexpr std::uint32_t kSerialBase = 0x80030000;
constexpr std::uint32_t kPpcBase = 0x90060000;
constexpr std::uint32_t kTimerBase = 0x90000000;
constexpr std::uint32_t kIntcBase = 0x90050000;

constexpr std::uint32_t UTCR0 = 0x00;  // serial port 2 UART control register 0, byte-wide
// The UTCR0 bits that hand the IR transmitter from the UART to peripheral pin 14: bit 0 set, bits 3-4 clear.
constexpr std::uint8_t kUtcr0PinDrivesIr = 0x01;
constexpr std::uint8_t kUtcr0UartDrivesIr = 0x18;
constexpr std::uint32_t PPDR = 0x00;            // pin direction, 1 = output
constexpr std::uint32_t PPSR = 0x04;            // pin state: level of inputs, latch of outputs
constexpr std::uint32_t kTransmitBit = 0x4000;  // pin 14
constexpr std::uint32_t kReceiveBit = 0x8000;   // pin 15
constexpr std::uint32_t kAllPinsLow = 0;
}  // namespace

CIrDriverSa::CIrDriverSa()
    : serial(MapRegisterPage(kSerialBase, true)),
      ppc(MapRegisterPage(kPpcBase, true)),
      timer(MapRegisterPage(kTimerBase, false)),
      intc(MapRegisterPage(kIntcBase, true)) {}

CIrDriverSa::~CIrDriverSa() {
    UnmapRegisterPage(serial);
    UnmapRegisterPage(ppc);
    UnmapRegisterPage(timer);
    UnmapRegisterPage(intc);
}

const char16_t* CIrDriverSa::Version() {
    return VersionWithSuffix(u" SA11");
}

CInterruptGuard* CIrDriverSa::CreateInterruptGuard() {
    const RegisterAccess intcAccess(intc);
    if (!intcAccess.Valid()) return new (std::nothrow) CInterruptGuard();
    return new (std::nothrow) CInterruptGuardIcmr(intcAccess);
}

CIrSender* CIrDriverSa::CreateSender(CIrPort* port) {
    const RegisterAccess serialAccess(serial);
    const RegisterAccess ppcAccess(ppc);
    const RegisterAccess timerAccess(timer);
    if (!serialAccess.Valid() || !ppcAccess.Valid() || !timerAccess.Valid() || intc == nullptr) {
        HH_TRACE("ir", "SA registers not mapped: nothing sent");
        return nullptr;
    }
    return new (std::nothrow) CIrSenderSa(port, this, serialAccess, ppcAccess, timerAccess);
}

CIrLearner* CIrDriverSa::CreateLearner(CIrPort* port) {
    const RegisterAccess ppcAccess(ppc);
    const RegisterAccess timerAccess(timer);
    if (!ppcAccess.Valid() || !timerAccess.Valid()) {
        HH_TRACE("ir", "SA registers not mapped: nothing learned");
        return nullptr;
    }
    return new (std::nothrow) CIrLearnerSa(port, this, ppcAccess, timerAccess);
}

CIrSenderSa::CIrSenderSa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& serialAccess,
                         const RegisterAccess& ppcAccess, const RegisterAccess& timerAccess)
    : CIrSender(port, driver),
      serial(serialAccess),
      ppc(ppcAccess),
      timer(timerAccess),
      savedUartControl(serial.Read8(UTCR0)),
      savedPpdr(0),
      pin{ppcAccess, PPSR, kTransmitBit, PPSR, kAllPinsLow} {
    serial.Write8(UTCR0, static_cast<std::uint8_t>((savedUartControl | kUtcr0PinDrivesIr) & ~kUtcr0UartDrivesIr));
    savedPpdr = ppc.Read32(PPDR);
    ppc.Write32(PPDR, kTransmitBit);  // pin 14 the only output
}

CIrSenderSa::~CIrSenderSa() {
    serial.Write8(UTCR0, savedUartControl);
    ppc.Write32(PPDR, savedPpdr);
}

void CIrSenderSa::Mark(std::int32_t durationUs, std::uint8_t periodUs) {
    PlayMark(pin, timer, durationUs, periodUs);
}

void CIrSenderSa::Space(std::uint32_t durationUs) {
    PlaySpace(timer, durationUs);
}

CIrLearnerSa::CIrLearnerSa(CIrPort* port, CIrDriverGeneric* driver, const RegisterAccess& ppcAccess,
                           const RegisterAccess& timerAccess)
    : CIrLearner(port, driver), ppc(ppcAccess), timer(timerAccess) {}

void CIrLearnerSa::Learn(IrCode* code) {
    if (code != nullptr) SampleSignal(ppc, PPSR, kReceiveBit, timer, *code);
}
