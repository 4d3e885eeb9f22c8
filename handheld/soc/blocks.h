// The register blocks of the PXA25x/26x/27x and SA-11x0: per block one struct of registers, one handler per
// register and a table from offsets to handlers mounted at the block's base. Offsets without a register read 0
// and ignore writes, with a trace line, so that a back end relying on them shows up in the "soc" trace.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "handheld/soc/register_access.h"
#include "handheld/soc/simulation.h"

namespace handheld::soc {

inline constexpr std::uint32_t kRegisterPageBytes = 4096;
inline constexpr std::uint32_t kRegisterBytes = 4;

// One register of a block: its offset in the page and its handlers. A register without a read handler is
// write-only (reads give 0); one without a write handler is read-only (writes are ignored).
template <typename Block>
struct Register {
    std::uint32_t offset;
    const char* name;
    std::uint32_t (Block::*read)();
    void (Block::*write)(std::uint32_t value);
};

// Dispatches word accesses through the block's table; every read costs one read of virtual time.
template <typename Block>
class RegisterTable : public RegisterBlock {
public:
    std::uint32_t Read32(std::uint32_t offset) final;
    void Write32(std::uint32_t offset, std::uint32_t value) final;

    // The handlers of a register that only keeps what is written (Field: a member of the block's registers).
    template <auto Field>
    std::uint32_t ReadKept() {
        return static_cast<Block*>(this)->registers_.*Field;
    }
    template <auto Field>
    void WriteKept(std::uint32_t value) {
        static_cast<Block*>(this)->registers_.*Field = value;
    }

protected:
    RegisterTable(const char* blockName, std::span<const Register<Block>> table);

private:
    const Register<Block>* At(std::uint32_t offset) const;

    const char* blockName_;
    std::array<const Register<Block>*, kRegisterPageBytes / kRegisterBytes> byWord_{};
};

// --- PXA GPIO: three banks of level, direction, set, clear and alternate-function registers --------------

struct PxaGpioRegisters {
    static constexpr int kBanks = 3;
    std::uint32_t gpdr[kBanks] = {};         // direction, 1 = output
    std::uint32_t outputLatch[kBanks] = {};  // what GPSR sets and GPCR clears
    std::uint32_t gafr[2 * kBanks] = {};     // GAFR0_L, GAFR0_U, GAFR1_L, ...: two bits per pin
};

class PxaGpioBlock : public RegisterTable<PxaGpioBlock> {
public:
    static constexpr std::uint32_t GPLR1 = 0x04;
    static constexpr std::uint32_t GPDR1 = 0x10;
    static constexpr std::uint32_t GPSR1 = 0x1C;
    static constexpr std::uint32_t GPCR1 = 0x28;
    static constexpr std::uint32_t GAFR1_L = 0x5C;
    static constexpr std::uint32_t kTransmitBit = 0x8000;  // GPIO 47 in bank 1
    static constexpr std::uint32_t kReceiveBit = 0x4000;   // GPIO 46 in bank 1

    PxaGpioBlock();
    void Reset() override;

    template <int Bank>
    std::uint32_t ReadGplr();
    template <int Bank>
    std::uint32_t ReadGpdr();
    template <int Bank>
    void WriteGpdr(std::uint32_t value);
    template <int Bank>
    void WriteGpsr(std::uint32_t value);
    template <int Bank>
    void WriteGpcr(std::uint32_t value);
    template <int Index>
    std::uint32_t ReadGafr();
    template <int Index>
    void WriteGafr(std::uint32_t value);

private:
    void UpdateLight() const;
    PxaGpioRegisters registers_;
};

// --- OS timer (same layout on both families): match registers; OSCR is derived from the clock -------------

struct OsTimerRegisters {
    std::uint32_t osmr[4] = {};  // match registers
    std::uint32_t ossr = 0;      // match status, write 1 to clear
    std::uint32_t ower = 0;      // watchdog enable
    std::uint32_t oier = 0;      // match interrupt enables
};

class OsTimerBlock : public RegisterTable<OsTimerBlock> {
public:
    static constexpr std::uint32_t OSCR = 0x10;

    OsTimerBlock();
    void Reset() override;

    template <int Index>
    std::uint32_t ReadOsmr();
    template <int Index>
    void WriteOsmr(std::uint32_t value);
    std::uint32_t ReadOscrRegister();
    void WriteOscr(std::uint32_t value);
    void WriteOssr(std::uint32_t value);

private:
    friend class RegisterTable<OsTimerBlock>;
    OsTimerRegisters registers_;
};

// --- Interrupt controller: mask, level and control are kept; no source ever pends ----------------------------

struct IntcRegisters {
    std::uint32_t icmr = 0;  // mask, 1 = source enabled
    std::uint32_t iclr = 0;  // level, 1 = FIQ
    std::uint32_t iccr = 0;  // control
};

// The families place the control, FIQ-pending and IRQ-pending registers differently, and leave different
// sources enabled.
class IntcBlock : public RegisterTable<IntcBlock> {
public:
    static constexpr std::uint32_t ICIP = 0x00;
    static constexpr std::uint32_t ICMR = 0x04;
    static constexpr std::uint32_t ICLR = 0x08;

    explicit IntcBlock(ProcessorFamily family);
    void Reset() override;

    std::uint32_t ReadNothingPending();

private:
    friend class RegisterTable<IntcBlock>;
    std::uint32_t resetMask_;
    IntcRegisters registers_;
};

// --- SA serial port 2: the byte-wide UART control register 0 decides whether the UART or the pin drives
// the IR transmitter ------------------------------------------------------------------------------------------

struct SaSerial2Registers {
    std::uint8_t utcr0 = 0;
};

class SaSerial2Block : public RegisterTable<SaSerial2Block> {
public:
    static constexpr std::uint32_t UTCR0 = 0x00;

    SaSerial2Block();
    void Reset() override;
    // UTCR0 is one byte wide: a byte write reaches it directly.
    void Write8(std::uint32_t offset, std::uint8_t value) override;

    std::uint32_t ReadUtcr0();
    void WriteUtcr0(std::uint32_t value);

    std::uint8_t Control() const { return registers_.utcr0; }
    // The pin controller whose transmit pin this register gates.
    void AttachPinController(class SaPpcBlock* ppc) { ppc_ = ppc; }

private:
    SaSerial2Registers registers_;
    class SaPpcBlock* ppc_ = nullptr;
};

// --- SA peripheral pin controller --------------------------------------------------------------------------

struct SaPpcRegisters {
    std::uint32_t ppdr = 0;         // direction, 1 = output
    std::uint32_t outputLatch = 0;  // what PPSR writes set on outputs
    std::uint32_t ppar = 0;         // pin assignment
    std::uint32_t psdr = 0;         // sleep direction
    std::uint32_t ppfr = 0;         // pin flags
};

class SaPpcBlock : public RegisterTable<SaPpcBlock> {
public:
    static constexpr std::uint32_t PPDR = 0x00;
    static constexpr std::uint32_t PPSR = 0x04;
    static constexpr std::uint32_t kTransmitBit = 0x4000;  // pin 14
    static constexpr std::uint32_t kReceiveBit = 0x8000;   // pin 15

    explicit SaPpcBlock(const SaSerial2Block& serial);
    void Reset() override;
    void UpdateLight() const;

    void WritePpdr(std::uint32_t value);
    std::uint32_t ReadPpsr();
    void WritePpsr(std::uint32_t value);

private:
    friend class RegisterTable<SaPpcBlock>;
    const SaSerial2Block& serial_;
    SaPpcRegisters registers_;
};

// UTCR0 bit 0 set and bits 3-4 clear: the pin, not the UART, drives the SA transmitter.
inline constexpr std::uint8_t kUtcr0PinDrivesIr = 0x01;
inline constexpr std::uint8_t kUtcr0UartDrivesIr = 0x18;
inline bool SaPinOwnsTransmitter(std::uint8_t uartControl0) {
    return (uartControl0 & kUtcr0PinDrivesIr) != 0 && (uartControl0 & kUtcr0UartDrivesIr) == 0;
}

}  // namespace handheld::soc
