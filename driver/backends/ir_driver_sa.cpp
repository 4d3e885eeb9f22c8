#include "driver/backends/ir_driver_sa.h"

#include <new>

#include "handheld/trace.h"

namespace {
constexpr std::uint32_t kSerialBase = 0x80030000;
constexpr std::uint32_t kPpcBase = 0x90060000;
constexpr std::uint32_t kTimerBase = 0x90000000;
constexpr std::uint32_t kIntcBase = 0x90050000;

constexpr std::uint32_t kUartControl0 = 0x00;
constexpr std::uint8_t kUartControlSet = 0x01;    // bit 0 set
constexpr std::uint8_t kUartControlClear = 0x18;  // bits 3 and 4 cleared
constexpr std::uint32_t PPDR = 0x00;
constexpr std::uint32_t PPSR = 0x04;
constexpr std::uint32_t kTransmitBit = 0x4000;  // pin 14
constexpr std::uint32_t kReceiveBit = 0x8000;   // pin 15
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
      savedUartControl(serial.Read8(kUartControl0)),
      savedPpdr(0),
      pin{ppcAccess, PPSR, kTransmitBit, PPSR, 0} {
    serial.Write8(kUartControl0, static_cast<std::uint8_t>((savedUartControl | kUartControlSet) & ~kUartControlClear));
    savedPpdr = ppc.Read32(PPDR);
    ppc.Write32(PPDR, kTransmitBit);
}

CIrSenderSa::~CIrSenderSa() {
    serial.Write8(kUartControl0, savedUartControl);
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
