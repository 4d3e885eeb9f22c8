#include "app/shell/ir_log.h"

#include <cmath>
#include <span>

#include "handheld/soc/emission.h"
#include "handheld/text.h"

namespace {

// The longest dark stretch inside one burst: a little under two carrier periods, in ticks.
std::uint32_t MaxDarkTicks(int carrierPeriodUs) {
    return static_cast<std::uint32_t>(carrierPeriodUs * 1.8432) + 1;
}

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    out += '"';
}

template <class Numbers>
void AppendNumbers(std::string& out, const Numbers& numbers) {
    out += '[';
    bool first = true;
    for (const auto n : numbers) {
        if (!first) out += ',';
        first = false;
        out += std::to_string(n);
    }
    out += ']';
}

}  // namespace

IrLog::IrLog(std::string path) : path_(std::move(path)), edges_(kEdgeCapacity) {}

IrLog::~IrLog() {
    Stop();
    if (file_) std::fclose(file_);
}

bool IrLog::Open() {
    file_ = std::fopen(path_.c_str(), "a");
    return file_ != nullptr;
}

void IrLog::Follow(const AppState& state) {
    if (following_ || file_ == nullptr) return;
    state_ = &state;
    start_ = std::chrono::steady_clock::now();
    previousMonitor_ = SetSendMonitor(this);
    following_ = handheld::soc::AddEdgeObserver(this);
}

void IrLog::Stop() {
    if (!following_) return;
    handheld::soc::RemoveEdgeObserver(this);
    SetSendMonitor(previousMonitor_);
    following_ = false;
}

void IrLog::OnCodeStart(const IrCode& code) {
    carrierPeriodUs_ = code.carrier & 0xFF;
    edgeCount_ = 0;
    passEnds_.clear();
}

void IrLog::OnEdge(const handheld::soc::PinEdge& edge) {
    if (edgeCount_ < edges_.size()) edges_[edgeCount_++] = edge;
}

void IrLog::OnPassEnd() {
    passEnds_.push_back(edgeCount_);
}

void IrLog::OnCodeEnd() {
    if (file_ == nullptr || state_ == nullptr) return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    const std::span<const handheld::soc::PinEdge> all(edges_.data(), edgeCount_);
    CLumbra* driver = CLumbra::Instance();
    std::string line = "{\"t_ms\":" + std::to_string(ms.count()) + ",\"device\":";
    AppendJsonString(line, handheld::ToUtf8(state_->currentDevice));
    line += ",\"button\":";
    AppendJsonString(line, handheld::ToUtf8(state_->pressedName));
    line += ",\"backend\":";
    AppendJsonString(line, driver ? handheld::ToUtf8(driver->Version()) : std::string());
    line += ",\"tick_hz\":" + std::to_string(handheld::soc::kOscrHz) + ",\"passes\":[";
    std::size_t from = 0;
    for (std::size_t pass = 0; pass < passEnds_.size(); ++pass) {
        const std::size_t to = std::min(passEnds_[pass], all.size());
        const auto edges = all.subspan(from, to - from);
        from = to;
        const auto summary = handheld::soc::Summarise(edges, MaxDarkTicks(carrierPeriodUs_));
        if (pass > 0) line += ',';
        line += "{\"edges\":[";
        for (std::size_t i = 0; i < edges.size(); ++i) {
            if (i > 0) line += ',';
            line += '[' + std::to_string(edges[i].tick) + ',' + std::to_string(edges[i].level) + ']';
        }
        line += "],\"durations_us\":";
        AppendNumbers(line, summary.durationsUs);
        line += ",\"cycles\":";
        AppendNumbers(line, summary.cycles);
        char carrier[32];
        std::snprintf(carrier, sizeof carrier, "%.1f", std::round(summary.carrierHz * 10) / 10);
        line += ",\"carrier_hz\":";
        line += carrier;
        line += '}';
    }
    line += "]}\n";
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}
