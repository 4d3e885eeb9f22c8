// Inside Lumbra: the short-lived objects of one Send or Learn call, and the software timing that PXA and SA
// share (they differ only in which registers they touch).
#pragma once

#include <cstdint>

#include "driver/irdriver/ir_driver_generic.h"
#include "handheld/files.h"
#include "handheld/soc/register_access.h"
#include "handheld/system.h"

using handheld::soc::RegisterAccess;

// OS timer rate of both families, and the conversions the timing uses.
inline constexpr double kTicksPerUs = 3.6864;
inline constexpr double kHalfPeriodTicksPerUs = 1.8432;    // half a carrier period, per microsecond of period
inline constexpr double kUsPerTick = 0.27126736111111111;  // 1 / 3.6864
inline constexpr double kCarrierUsPerThreePeriodTicks = 0.0904224537037037;  // 1 / (3 * 3.6864)
inline constexpr std::uint32_t kFirstSignalWindowTicks = 2 * 18'432'000;     // 10 s
inline constexpr std::uint32_t kSignalEndQuietTicks = 3'686'400;             // 1 s

// Raises the calling thread's scheduling for its lifetime: a thread priority and the thread's time quantum
// (0: never time-sliced). Restores the quantum first, then the priority.
class CThreadPriorityGuard {
public:
    CThreadPriorityGuard(int first, handheld::DWORD second);
    virtual ~CThreadPriorityGuard();
    CThreadPriorityGuard(const CThreadPriorityGuard&) = delete;
    CThreadPriorityGuard& operator=(const CThreadPriorityGuard&) = delete;

private:
    handheld::HANDLE thread;
    int savedFirst;
    handheld::DWORD savedSecond;
};

// Masks the processor's interrupts for its lifetime; the generic one masks nothing.
class CInterruptGuard {
public:
    CInterruptGuard() = default;
    virtual ~CInterruptGuard() = default;
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;
};

// ICMR saved and cleared at construction; OR-ed back at destruction. Same register on PXA and SA.
class CInterruptGuardIcmr : public CInterruptGuard {
public:
    explicit CInterruptGuardIcmr(const RegisterAccess& intc);
    ~CInterruptGuardIcmr() override;

private:
    RegisterAccess intc;
    std::uint32_t savedMask;
};

class CIrSender {
public:
    CIrSender(CIrPort* port, CIrDriverGeneric* driver) : port(port), driver(driver) {}
    virtual ~CIrSender() = default;
    CIrSender(const CIrSender&) = delete;
    CIrSender& operator=(const CIrSender&) = delete;

    // The whole code once, then its repeat part once for each callback call that returns 0.
    virtual void Send(IrCode* code, StopCallback stopCallback);
    // A burst of floor(durationUs / periodUs) + 1 carrier cycles; the generic one only keeps the time.
    virtual void Mark(std::int32_t durationUs, std::uint8_t periodUs);
    virtual void Space(std::uint32_t durationUs);

protected:
    CIrPort* port;
    CIrDriverGeneric* driver;
};

class CIrLearner {
public:
    CIrLearner(CIrPort* port, CIrDriverGeneric* driver) : port(port), driver(driver) {}
    virtual ~CIrLearner() = default;
    CIrLearner(const CIrLearner&) = delete;
    CIrLearner& operator=(const CIrLearner&) = delete;

    // Samples one signal into the code; the generic learner has no receiver and leaves the code as it is.
    virtual void Learn(IrCode* code) {}

protected:
    CIrPort* port;
    CIrDriverGeneric* driver;
};

// --- Software timing on the OS timer (PXA and SA) -------------------------------------------------------

// The two pin writes that drive the transmitter high and low.
struct TransmitPin {
    RegisterAccess block;
    std::uint32_t highOffset;
    std::uint32_t highValue;
    std::uint32_t lowOffset;
    std::uint32_t lowValue;
};

void PlayMark(const TransmitPin& pin, const RegisterAccess& timer, std::int32_t durationUs, std::uint8_t periodUs);
void PlaySpace(const RegisterAccess& timer, std::uint32_t durationUs);

// Polls the receive pin (a bit of a level register: 0 while carrier light is seen) and fills the code's
// carrier, durations and count; leaves the code untouched when no signal comes within 10 s.
void SampleSignal(const RegisterAccess& pins, std::uint32_t levelOffset, std::uint32_t receiveBit,
                  const RegisterAccess& timer, IrCode& code);

// A register page mapped as the handheld's drivers map it: null when the processor does not have it.
void* MapRegisterPage(std::uint32_t physicalBase, bool writable);
void UnmapRegisterPage(void* page);
