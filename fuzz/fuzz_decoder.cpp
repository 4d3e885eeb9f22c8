// Any bytes as learned durations (32-bit words, the first the carrier): the decoder never crashes, and what
// it names it can encode again into timings it names the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/codes/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::int32_t frequencyHz = 0;
    std::memcpy(&frequencyHz, data, 4);
    std::vector<std::int32_t> durations((size - 4) / 4);
    if (!durations.empty()) std::memcpy(durations.data(), data + 4, durations.size() * 4);
    const codes::ProtocolFields fields = codes::DecodeProtocol(durations, frequencyHz);
    if (fields.frequencyHz != frequencyHz) std::abort();
    codes::IrSignal signal;
    if (fields.Known() && codes::EncodeProtocol(fields, signal)) {
        const codes::ProtocolFields again = codes::DecodeProtocol(signal.durationsUs, signal.frequencyHz);
        if (again.protocol.substr(0, 3) != fields.protocol.substr(0, 3) || again.function != fields.function) {
            std::abort();
        }
    }
    return 0;
}
