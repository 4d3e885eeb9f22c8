#include "handheld/soc/blocks.h"

#include "handheld/soc/internal.h"
#include "handheld/soc/simulation.h"
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
}  // namespace

std::uint8_t RegisterBlock::Read8(std::uint32_t offset) {
    return static_cast<std::uint8_t>(Read32(offset & ~3u) >> (8 * (offset & 3u)));
}

void RegisterBlock::Write8(std::uint32_t offset, std::uint8_t) {
    Unmodelled("block", "byte write", offset);
}

// --- PXA GPIO ----------------------------------------------------------------------------------------

std::uint32_t PxaGpioBlock::Read32(std::uint32_t offset) {
    ChargeRead();
    if (offset <= 0x08) {  // GPLR0-2: driven level on outputs, the outside world on inputs
        const std::uint32_t bank = offset / 4;
        std::uint32_t inputs = 0;
        if (bank == 1 && ReceiveLevel() != 0) inputs |= kReceiveBit;
        return (outputLatch_[bank] & direction_[bank]) | (inputs & ~direction_[bank]);
    }
    if (offset >= 0x0C && offset <= 0x14) return direction_[(offset - 0x0C) / 4];
    if (offset >= 0x18 && offset <= 0x2C) return 0;  // GPSR, GPCR: write-only
    if (offset >= 0x54 && offset <= 0x68) return alternate_[(offset - 0x54) / 4];
    Unmodelled("pxa-gpio", "read", offset);
    return 0;
}

void PxaGpioBlock::Write32(std::uint32_t offset, std::uint32_t value) {
    if (offset >= 0x0C && offset <= 0x14) {
        direction_[(offset - 0x0C) / 4] = value;
    } else if (offset >= 0x18 && offset <= 0x20) {
        outputLatch_[(offset - 0x18) / 4] |= value;
    } else if (offset >= 0x24 && offset <= 0x2C) {
        outputLatch_[(offset - 0x24) / 4] &= ~value;
    } else if (offset >= 0x54 && offset <= 0x68) {
        alternate_[(offset - 0x54) / 4] = value;
    } else {
        Unmodelled("pxa-gpio", "write", offset);
        return;
    }
    UpdateLight();
}

void PxaGpioBlock::UpdateLight() const {
    const bool plainGpio = ((alternate_[2] >> 30) & 3u) == 0;
    SetTransmitLight((outputLatch_[1] & direction_[1] & kTransmitBit) != 0 && plainGpio);
}

void PxaGpioBlock::Reset() {
    for (auto& v : outputLatch_) v = 0;
    for (auto& v : direction_) v = 0;
    for (auto& v : alternate_) v = 0;
    direction_[1] = kPxaResetDirection1;
    alternate_[2] = kPxaResetAlternate1L;
}

// --- OS timer ----------------------------------------------------------------------------------------

std::uint32_t OsTimerBlock::Read32(std::uint32_t offset) {
    if (offset == OSCR) return ReadOscr();
    ChargeRead();
    if (offset < 0x10) return match_[offset / 4];
    if (offset == 0x14) return status_;
    if (offset == 0x18) return watchdogEnable_;
    if (offset == 0x1C) return interruptEnable_;
    Unmodelled("os-timer", "read", offset);
    return 0;
}

void OsTimerBlock::Write32(std::uint32_t offset, std::uint32_t value) {
    if (offset < 0x10) {
        match_[offset / 4] = value;
    } else if (offset == OSCR) {
        SetOscr(value);
    } else if (offset == 0x14) {
        status_ &= ~value;  // write 1 to clear
    } else if (offset == 0x18) {
        watchdogEnable_ = value;
    } else if (offset == 0x1C) {
        interruptEnable_ = value;
    } else {
        Unmodelled("os-timer", "write", offset);
    }
}

void OsTimerBlock::Reset() {
    for (auto& v : match_) v = 0;
    status_ = watchdogEnable_ = interruptEnable_ = 0;
}

// --- Interrupt controller ----------------------------------------------------------------------------

std::uint32_t IntcBlock::Read32(std::uint32_t offset) {
    ChargeRead();
    if (offset == ICMR) return mask_;
    if (offset == ICLR) return level_;
    if (offset == controlOffset_) return control_;
    return 0;  // pending and status registers: nothing ever pends here
}

void IntcBlock::Write32(std::uint32_t offset, std::uint32_t value) {
    if (offset == ICMR) {
        mask_ = value;
    } else if (offset == ICLR) {
        level_ = value;
    } else if (offset == controlOffset_) {
        control_ = value;
    } else {
        Unmodelled("intc", "write", offset);
    }
}

void IntcBlock::Reset() {
    mask_ = resetMask_;
    level_ = 0;
    control_ = 0;
}

// --- SA serial port 2 --------------------------------------------------------------------------------

std::uint32_t SaSerial2Block::Read32(std::uint32_t offset) {
    if (offset == UTCR0) return Read8(offset);
    ChargeRead();
    Unmodelled("sa-serial2", "read", offset);
    return 0;
}

void SaSerial2Block::Write32(std::uint32_t offset, std::uint32_t value) {
    if (offset == UTCR0) {
        Write8(offset, static_cast<std::uint8_t>(value));
        return;
    }
    Unmodelled("sa-serial2", "write", offset);
}

std::uint8_t SaSerial2Block::Read8(std::uint32_t offset) {
    ChargeRead();
    if (offset == UTCR0) return control0_;
    Unmodelled("sa-serial2", "byte read", offset);
    return 0;
}

void SaSerial2Block::Write8(std::uint32_t offset, std::uint8_t value) {
    if (offset != UTCR0) {
        Unmodelled("sa-serial2", "byte write", offset);
        return;
    }
    control0_ = value;
    if (ppc_ != nullptr) ppc_->UpdateLight();
}

void SaSerial2Block::Reset() {
    control0_ = kSaResetUartControl0;
}

// --- SA peripheral pin controller --------------------------------------------------------------------

std::uint32_t SaPpcBlock::Read32(std::uint32_t offset) {
    ChargeRead();
    switch (offset) {
        case PPDR:
            return direction_;
        case PPSR: {
            const std::uint32_t inputs = ReceiveLevel() != 0 ? kReceiveBit : 0;
            return (outputLatch_ & direction_) | (inputs & ~direction_);
        }
        case 0x08:
            return assignment_;
        case 0x0C:
            return sleepDirection_;
        case 0x10:
            return flags_;
        default:
            Unmodelled("sa-ppc", "read", offset);
            return 0;
    }
}

void SaPpcBlock::Write32(std::uint32_t offset, std::uint32_t value) {
    switch (offset) {
        case PPDR:
            direction_ = value;
            break;
        case PPSR:
            outputLatch_ = value;
            break;
        case 0x08:
            assignment_ = value;
            return;
        case 0x0C:
            sleepDirection_ = value;
            return;
        case 0x10:
            flags_ = value;
            return;
        default:
            Unmodelled("sa-ppc", "write", offset);
            return;
    }
    UpdateLight();
}

void SaPpcBlock::UpdateLight() const {
    SetTransmitLight((outputLatch_ & direction_ & kTransmitBit) != 0 && SaPinOwnsTransmitter(serial_.Control()));
}

void SaPpcBlock::Reset() {
    direction_ = kSaResetDirection;
    outputLatch_ = kSaResetLatch;
    assignment_ = sleepDirection_ = flags_ = 0;
}

}  // namespace handheld::soc
