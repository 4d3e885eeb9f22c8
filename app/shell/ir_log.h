// "--ir-log FILE": every code the program sends is appended to FILE as one JSON line, flushed at once:
// {"t_ms":..., "device":..., "button":..., "backend":..., "tick_hz":..., "passes":[{"edges":[[tick,level],...],
// "durations_us":[...], "cycles":[...], "carrier_hz":...}, ...]}, the passes as the transmit pin emitted them.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ir/send_command.h"
#include "app/shell/app_state.h"
#include "handheld/soc/simulation.h"

class IrLog : public SendMonitor, public handheld::soc::EdgeObserver {
public:
    explicit IrLog(std::string path);
    ~IrLog() override;
    IrLog(const IrLog&) = delete;
    IrLog& operator=(const IrLog&) = delete;

    // Opens the file for appending; false when it cannot be.
    bool Open();
    // Starts watching the sender and the pin; device and button names come from state.
    void Follow(const AppState& state);
    void Stop();

    void OnSleep(std::uint32_t) override {}
    void OnCodeStart(const IrCode& code) override;
    void OnPassEnd() override;
    void OnCodeEnd() override;
    void OnEdge(const handheld::soc::PinEdge& edge) override;

private:
    static constexpr std::size_t kEdgeCapacity = 200000;

    std::string path_;
    std::FILE* file_ = nullptr;
    const AppState* state_ = nullptr;
    SendMonitor* previousMonitor_ = nullptr;
    bool following_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int carrierPeriodUs_ = 0;
    // Kept without allocating while the pin toggles.
    std::vector<handheld::soc::PinEdge> edges_;
    std::size_t edgeCount_ = 0;
    std::vector<std::size_t> passEnds_;
};
