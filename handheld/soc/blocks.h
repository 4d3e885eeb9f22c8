// The register blocks of the PXA25x/26x/27x and SA-11x0: one struct of registers per block and one handler
// per register. Registers outside what the handheld's IR path and OS use read 0 and ignore writes, with a
// trace line, so that a back end relying on them shows up in the "soc" trace.
#pragma once

#include <cstdint>

#include "handheld/soc/register_access.h"

namespace handheld::soc {

// PXA GPIO: three banks of level, direction, set, clear and alternate-function registers.
class PxaGpioBlock : public RegisterBlock {
public:
    static constexpr std::uint32_t GPLR1 = 0x04;
    static constexpr std::uint32_t GPDR1 = 0x10;
    static constexpr std::uint32_t GPSR1 = 0x1C;
    static constexpr std::uint32_t GPCR1 = 0x28;
    static constexpr std::uint32_t GAFR1_L = 0x5C;
    static constexpr std::uint32_t kTransmitBit = 0x8000;  // GPIO 47 in bank 1
    static constexpr std::uint32_t kReceiveBit = 0x4000;   // GPIO 46 in bank 1

    std::uint32_t Read32(std::uint32_t offset) override;
    void Write32(std::uint32_t offset, std::uint32_t value) override;
    void Reset() override;

private:
    void UpdateLight() const;
    std::uint32_t outputLatch_[3] = {};
    std::uint32_t direction_[3] = {};
    std::uint32_t alternate_[6] = {};  // GAFR0_L, GAFR0_U, GAFR1_L, ...
};

// OS timer (same layout on both families): match registers, OSCR derived from the clock.
class OsTimerBlock : public RegisterBlock {
public:
    static constexpr std::uint32_t OSCR = 0x10;
    std::uint32_t Read32(std::uint32_t offset) override;
    void Write32(std::uint32_t offset, std::uint32_t value) override;
    void Reset() override;

private:
    std::uint32_t match_[4] = {};
    std::uint32_t status_ = 0;
    std::uint32_t watchdogEnable_ = 0;
    std::uint32_t interruptEnable_ = 0;
};

// Interrupt controller: the mask, level and control registers are kept; no source ever pends.
class IntcBlock : public RegisterBlock {
public:
    static constexpr std::uint32_t ICMR = 0x04;
    static constexpr std::uint32_t ICLR = 0x08;
    IntcBlock(std::uint32_t controlOffset, std::uint32_t resetMask)
        : controlOffset_(controlOffset), resetMask_(resetMask) {}
    std::uint32_t Read32(std::uint32_t offset) override;
    void Write32(std::uint32_t offset, std::uint32_t value) override;
    void Reset() override;

private:
    std::uint32_t controlOffset_;
    std::uint32_t resetMask_;
    std::uint32_t mask_ = 0;
    std::uint32_t level_ = 0;
    std::uint32_t control_ = 0;
};

// SA serial port 2: the byte-wide UART control register 0 decides whether the UART or the pin drives the
// IR transmitter.
class SaSerial2Block : public RegisterBlock {
public:
    static constexpr std::uint32_t UTCR0 = 0x00;
    std::uint32_t Read32(std::uint32_t offset) override;
    void Write32(std::uint32_t offset, std::uint32_t value) override;
    std::uint8_t Read8(std::uint32_t offset) override;
    void Write8(std::uint32_t offset, std::uint8_t value) override;
    void Reset() override;
    std::uint8_t Control() const { return control0_; }
    // The pin controller whose transmit pin this register gates.
    void AttachPinController(class SaPpcBlock* ppc) { ppc_ = ppc; }

private:
    std::uint8_t control0_ = 0;
    class SaPpcBlock* ppc_ = nullptr;
};

// SA peripheral pin controller.
class SaPpcBlock : public RegisterBlock {
public:
    static constexpr std::uint32_t PPDR = 0x00;
    static constexpr std::uint32_t PPSR = 0x04;
    static constexpr std::uint32_t kTransmitBit = 0x4000;  // pin 14
    static constexpr std::uint32_t kReceiveBit = 0x8000;   // pin 15

    explicit SaPpcBlock(const SaSerial2Block& serial) : serial_(serial) {}
    std::uint32_t Read32(std::uint32_t offset) override;
    void Write32(std::uint32_t offset, std::uint32_t value) override;
    void Reset() override;
    void UpdateLight() const;

private:
    const SaSerial2Block& serial_;
    std::uint32_t direction_ = 0;
    std::uint32_t outputLatch_ = 0;
    std::uint32_t assignment_ = 0;
    std::uint32_t sleepDirection_ = 0;
    std::uint32_t flags_ = 0;
};

// The serial control bits with which the pin, not the UART, drives the SA transmitter.
inline bool SaPinOwnsTransmitter(std::uint8_t uartControl0) {
    return (uartControl0 & 0x01) != 0 && (uartControl0 & 0x18) == 0;
}

}  // namespace handheld::soc
