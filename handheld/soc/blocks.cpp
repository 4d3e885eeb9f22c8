#include "handheld/soc/blocks.h"

#include "handheld/soc/internal.h"
#include "handheld/trace.h"

namespace handheld::soc {

namespace {
constexpr const char* kTrace = "soc";

void Unmodelled(const char* block, const char* access, std::uint32_t offset) {
    HH_TRACE(kTrace, "%s: %s of unmodelled register +0x%02X ignored", block, access, offset);
}

// The simulated process's own pages: what a PXA handheld's OS leaves in the registers when the IrDA port is
// idle (GPIO 46/47 on their serial alternate functions) and on an SA its UART owning the transmitter.
constexpr std::uint32_t kPxaResetDirection1 = 0x0000AA82;
constexpr std::uint32_t kPxaResetAlternate1L = 0x60008018;
constexpr std::uint32_t kSaResetDirection = 0x000023B5;
constexpr std::uint32_t kSaResetLatch = 0x00000400;
constexpr std::uint8_t kSaResetUartControl0 = 0x1A;
// Interrupt sources a running handheld leaves enabled (timer, serial, GPIO).
constexpr std::uint32_t kPxaResetInterruptMask = 0x0400FF00;
constexpr std::uint32_t kSaResetInterruptMask = 0x0C003800;

constexpr int kGafrBank1Low = 2;                   // GAFR1_L among GAFR0_L, GAFR0_U, GAFR1_L, ...
constexpr unsigned kTransmitFunctionShift = 30;    // GAFR1_L bits 31-30: GPIO 47's function
constexpr std::uint32_t kFunctionFieldMask = 0x3;  // two bits per pin, 0 = plain GPIO
constexpr std::uint32_t kNothingPending = 0;

using Gpio = PxaGpioBlock;
constexpr Register<Gpio> kPxaGpioTable[] = {
    {0x00, "GPLR0", &Gpio::ReadGplr<0>, nullptr},
    {0x04, "GPLR1", &Gpio::ReadGplr<1>, nullptr},
    {0x08, "GPLR2", &Gpio::ReadGplr<2>, nullptr},
    {0x0C, "GPDR0", &Gpio::ReadGpdr<0>, &Gpio::WriteGpdr<0>},
    {0x10, "GPDR1", &Gpio::ReadGpdr<1>, &Gpio::WriteGpdr<1>},
    {0x14, "GPDR2", &Gpio::ReadGpdr<2>, &Gpio::WriteGpdr<2>},
    {0x18, "GPSR0", nullptr, &Gpio::WriteGpsr<0>},
    {0x1C, "GPSR1", nullptr, &Gpio::WriteGpsr<1>},
    {0x20, "GPSR2", nullptr, &Gpio::WriteGpsr<2>},
    {0x24, "GPCR0", nullptr, &Gpio::WriteGpcr<0>},
    {0x28, "GPCR1", nullptr, &Gpio::WriteGpcr<1>},
    {0x2C, "GPCR2", nullptr, &Gpio::WriteGpcr<2>},
    {0x54, "GAFR0_L", &Gpio::ReadGafr<0>, &Gpio::WriteGafr<0>},
    {0x58, "GAFR0_U", &Gpio::ReadGafr<1>, &Gpio::WriteGafr<1>},
    {0x5C, "GAFR1_L", &Gpio::ReadGafr<2>, &Gpio::WriteGafr<2>},
    {0x60, "GAFR1_U", &Gpio::ReadGafr<3>, &Gpio::WriteGafr<3>},
    {0x64, "GAFR2_L", &Gpio::ReadGafr<4>, &Gpio::WriteGafr<4>},
    {0x68, "GAFR2_U", &Gpio::ReadGafr<5>, &Gpio::WriteGafr<5>},
};

using Timer = OsTimerBlock;
constexpr Register<Timer> kOsTimerTable[] = {
    {0x00, "OSMR0", &Timer::ReadOsmr<0>, &Timer::WriteOsmr<0>},
    {0x04, "OSMR1", &Timer::ReadOsmr<1>, &Timer::WriteOsmr<1>},
    {0x08, "OSMR2", &Timer::ReadOsmr<2>, &Timer::WriteOsmr<2>},
    {0x0C, "OSMR3", &Timer::ReadOsmr<3>, &Timer::WriteOsmr<3>},
    {0x10, "OSCR", &Timer::ReadOscrRegister, &Timer::WriteOscr},
    {0x14, "OSSR", &Timer::ReadKept<&OsTimerRegisters::ossr>, &Timer::WriteOssr},
    {0x18, "OWER", &Timer::ReadKept<&OsTimerRegisters::ower>, &Timer::WriteKept<&OsTimerRegisters::ower>},
    {0x1C, "OIER", &Timer::ReadKept<&OsTimerRegisters::oier>, &Timer::WriteKept<&OsTimerRegisters::oier>},
};

using Intc = IntcBlock;
constexpr Register<Intc> kIcmr{0x04, "ICMR", &Intc::ReadKept<&IntcRegisters::icmr>,
                               &Intc::WriteKept<&IntcRegisters::icmr>};
constexpr Register<Intc> kIclr{0x08, "ICLR", &Intc::ReadKept<&IntcRegisters::iclr>,
                               &Intc::WriteKept<&IntcRegisters::iclr>};
constexpr Register<Intc> Iccr(std::uint32_t offset) {
    return {offset, "ICCR", &Intc::ReadKept<&IntcRegisters::iccr>, &Intc::WriteKept<&IntcRegisters::iccr>};
}
constexpr Register<Intc> Pending(std::uint32_t offset, const char* name) {
    return {offset, name, &Intc::ReadNothingPending, nullptr};
}
constexpr Register<Intc> kPxaIntcTable[] = {
    Pending(0x00, "ICIP"), kIcmr, kIclr, Pending(0x0C, "ICFP"), Pending(0x10, "ICPR"), Iccr(0x14),
};
constexpr Register<Intc> kSaIntcTable[] = {
    Pending(0x00, "ICIP"), kIcmr, kIclr, Iccr(0x0C), Pending(0x10, "ICFP"), Pending(0x20, "ICPR"),
};

using Serial2 = SaSerial2Block;
constexpr Register<Serial2> kSaSerial2Table[] = {
    {0x00, "UTCR0", &Serial2::ReadUtcr0, &Serial2::WriteUtcr0},
};

using Ppc = SaPpcBlock;
constexpr Register<Ppc> kSaPpcTable[] = {
    {0x00, "PPDR", &Ppc::ReadKept<&SaPpcRegisters::ppdr>, &Ppc::WritePpdr},
    {0x04, "PPSR", &Ppc::ReadPpsr, &Ppc::WritePpsr},
    {0x08, "PPAR", &Ppc::ReadKept<&SaPpcRegisters::ppar>, &Ppc::WriteKept<&SaPpcRegisters::ppar>},
    {0x0C, "PSDR", &Ppc::ReadKept<&SaPpcRegisters::psdr>, &Ppc::WriteKept<&SaPpcRegisters::psdr>},
    {0x10, "PPFR", &Ppc::ReadKept<&SaPpcRegisters::ppfr>, &Ppc::WriteKept<&SaPpcRegisters::ppfr>},
};

}  // namespace

std::uint8_t RegisterBlock::Read8(std::uint32_t offset) {
    return static_cast<std::uint8_t>(Read32(offset & ~(kRegisterBytes - 1)) >> (8 * (offset & (kRegisterBytes - 1))));
}

void RegisterBlock::Write8(std::uint32_t offset, std::uint8_t) {
    Unmodelled("block", "byte write", offset);
}

// --- The table ---------------------------------------------------------------------------------------

template <typename Block>
RegisterTable<Block>::RegisterTable(const char* blockName, std::span<const Register<Block>> table)
    : blockName_(blockName) {
    for (const Register<Block>& entry : table) byWord_[entry.offset / kRegisterBytes] = &entry;
}

template <typename Block>
const Register<Block>* RegisterTable<Block>::At(std::uint32_t offset) const {
    if (offset % kRegisterBytes != 0 || offset >= kRegisterPageBytes) return nullptr;
    return byWord_[offset / kRegisterBytes];
}

template <typename Block>
std::uint32_t RegisterTable<Block>::Read32(std::uint32_t offset) {
    const Register<Block>* entry = At(offset);
    if (entry == nullptr) {
        ChargeRead();
        Unmodelled(blockName_, "read", offset);
        return 0;
    }
    // The value as the bus sees it at the start of the read; the read's cost follows.
    const std::uint32_t value = entry->read != nullptr ? (static_cast<Block*>(this)->*entry->read)() : 0;
    ChargeRead();
    return value;
}

template <typename Block>
void RegisterTable<Block>::Write32(std::uint32_t offset, std::uint32_t value) {
    const Register<Block>* entry = At(offset);
    if (entry == nullptr) {
        Unmodelled(blockName_, "write", offset);
        return;
    }
    if (entry->write == nullptr) {
        HH_TRACE(kTrace, "%s: write of read-only %s ignored", blockName_, entry->name);
        return;
    }
    (static_cast<Block*>(this)->*entry->write)(value);
}

template class RegisterTable<PxaGpioBlock>;
template class RegisterTable<OsTimerBlock>;
template class RegisterTable<IntcBlock>;
template class RegisterTable<SaSerial2Block>;
template class RegisterTable<SaPpcBlock>;

// --- PXA GPIO ----------------------------------------------------------------------------------------

PxaGpioBlock::PxaGpioBlock() : RegisterTable("pxa-gpio", kPxaGpioTable) {}

// Driven level on outputs, the outside world on inputs.
template <int Bank>
std::uint32_t PxaGpioBlock::ReadGplr() {
    std::uint32_t inputs = 0;
    if (Bank == 1 && ReceiveLevel() != 0) inputs |= kReceiveBit;
    return (registers_.outputLatch[Bank] & registers_.gpdr[Bank]) | (inputs & ~registers_.gpdr[Bank]);
}

template <int Bank>
std::uint32_t PxaGpioBlock::ReadGpdr() {
    return registers_.gpdr[Bank];
}

template <int Bank>
void PxaGpioBlock::WriteGpdr(std::uint32_t value) {
    registers_.gpdr[Bank] = value;
    UpdateLight();
}

template <int Bank>
void PxaGpioBlock::WriteGpsr(std::uint32_t value) {
    registers_.outputLatch[Bank] |= value;
    UpdateLight();
}

template <int Bank>
void PxaGpioBlock::WriteGpcr(std::uint32_t value) {
    registers_.outputLatch[Bank] &= ~value;
    UpdateLight();
}

template <int Index>
std::uint32_t PxaGpioBlock::ReadGafr() {
    return registers_.gafr[Index];
}

template <int Index>
void PxaGpioBlock::WriteGafr(std::uint32_t value) {
    registers_.gafr[Index] = value;
    UpdateLight();
}

void PxaGpioBlock::UpdateLight() const {
    const bool plainGpio = ((registers_.gafr[kGafrBank1Low] >> kTransmitFunctionShift) & kFunctionFieldMask) == 0;
    SetTransmitLight((registers_.outputLatch[1] & registers_.gpdr[1] & kTransmitBit) != 0 && plainGpio);
}

void PxaGpioBlock::Reset() {
    registers_ = {};
    registers_.gpdr[1] = kPxaResetDirection1;
    registers_.gafr[kGafrBank1Low] = kPxaResetAlternate1L;
}

// --- OS timer ----------------------------------------------------------------------------------------

OsTimerBlock::OsTimerBlock() : RegisterTable("os-timer", kOsTimerTable) {}

template <int Index>
std::uint32_t OsTimerBlock::ReadOsmr() {
    return registers_.osmr[Index];
}

template <int Index>
void OsTimerBlock::WriteOsmr(std::uint32_t value) {
    registers_.osmr[Index] = value;
}

std::uint32_t OsTimerBlock::ReadOscrRegister() {
    return PeekOscr();
}

void OsTimerBlock::WriteOscr(std::uint32_t value) {
    SetOscr(value);
}

void OsTimerBlock::WriteOssr(std::uint32_t value) {
    registers_.ossr &= ~value;  // write 1 to clear
}

void OsTimerBlock::Reset() {
    registers_ = {};
}

// --- Interrupt controller ----------------------------------------------------------------------------

IntcBlock::IntcBlock(ProcessorFamily family)
    : RegisterTable("intc", family == ProcessorFamily::Sa ? std::span<const Register<IntcBlock>>(kSaIntcTable)
                                                          : std::span<const Register<IntcBlock>>(kPxaIntcTable)),
      resetMask_(family == ProcessorFamily::Sa ? kSaResetInterruptMask : kPxaResetInterruptMask) {}

std::uint32_t IntcBlock::ReadNothingPending() {
    return kNothingPending;
}

void IntcBlock::Reset() {
    registers_ = {};
    registers_.icmr = resetMask_;
}

// --- SA serial port 2 --------------------------------------------------------------------------------

SaSerial2Block::SaSerial2Block() : RegisterTable("sa-serial2", kSaSerial2Table) {}

void SaSerial2Block::Write8(std::uint32_t offset, std::uint8_t value) {
    if (offset == UTCR0) {
        WriteUtcr0(value);
        return;
    }
    RegisterBlock::Write8(offset, value);
}

std::uint32_t SaSerial2Block::ReadUtcr0() {
    return registers_.utcr0;
}

void SaSerial2Block::WriteUtcr0(std::uint32_t value) {
    registers_.utcr0 = static_cast<std::uint8_t>(value);
    if (ppc_ != nullptr) ppc_->UpdateLight();
}

void SaSerial2Block::Reset() {
    registers_ = {};
    registers_.utcr0 = kSaResetUartControl0;
}

// --- SA peripheral pin controller --------------------------------------------------------------------

SaPpcBlock::SaPpcBlock(const SaSerial2Block& serial) : RegisterTable("sa-ppc", kSaPpcTable), serial_(serial) {}

void SaPpcBlock::WritePpdr(std::uint32_t value) {
    registers_.ppdr = value;
    UpdateLight();
}

// Driven level on outputs, the outside world on inputs.
std::uint32_t SaPpcBlock::ReadPpsr() {
    const std::uint32_t inputs = ReceiveLevel() != 0 ? kReceiveBit : 0;
    return (registers_.outputLatch & registers_.ppdr) | (inputs & ~registers_.ppdr);
}

void SaPpcBlock::WritePpsr(std::uint32_t value) {
    registers_.outputLatch = value;
    UpdateLight();
}

void SaPpcBlock::UpdateLight() const {
    SetTransmitLight((registers_.outputLatch & registers_.ppdr & kTransmitBit) != 0 &&
                     SaPinOwnsTransmitter(serial_.Control()));
}

void SaPpcBlock::Reset() {
    registers_ = {};
    registers_.ppdr = kSaResetDirection;
    registers_.outputLatch = kSaResetLatch;
}

}  // namespace handheld::soc
