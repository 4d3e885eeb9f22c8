// Lumbra, the IR driver library: the exported interface every other deliverable uses.
#pragma once

#include <cstdint>

// The buffer that crosses the interface, allocated by the caller: 203 signed 32-bit words.
struct IrCode {
    std::int32_t carrier;         // low byte: carrier period in microseconds (1-255)
    std::int32_t durations[200];  // microseconds: >= 0 a burst of carrier, < 0 a pause of the absolute value
    std::int32_t count;           // valid entries in durations, 0-200
    std::int32_t repeatStart;     // first entry of the part repeated while the callback asks for more
};
static_assert(sizeof(IrCode) == 203 * 4, "IrCode is exactly 203 words");

inline constexpr int kIrCodeMaxDurations = 200;

// Called after each pass of a send: 0 asks for one more pass of the repeat part, non-zero stops.
using StopCallback = int (*)();

class CLumbra {
public:
    // The process-wide driver, created (with processor detection) on first call; null when out of memory.
    static CLumbra* Instance();
    // Deletes the driver and forgets it; harmless when there is none.
    static void Destroy();
    // As a port name: choose the IR port automatically.
    static const char16_t* const Auto;
    static CLumbra* m_instance;

    CLumbra(const CLumbra&) = default;
    CLumbra& operator=(const CLumbra&) = default;

    virtual const char16_t* Version() = 0;
    virtual void SetPort(const char16_t* portName) = 0;
    virtual const char16_t* GetPort() = 0;
    virtual void Send(IrCode* code, StopCallback stopCallback) = 0;
    virtual void Learn(IrCode* code, bool analyse) = 0;

protected:
    CLumbra() = default;
    virtual ~CLumbra() = default;
};
