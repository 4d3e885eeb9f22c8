// Protocol names for IR codes, as the IRP notation names them: the decoder names a code from its timings,
// the encoder makes timings from a protocol's fields (used by the preset and parsed forms of the readers).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/codes/ir_signal.h"

namespace codes {

struct ProtocolFields {
    std::string protocol = "unknown";
    int device = -1;
    int subdevice = -1;  // -1: the protocol's default (or none)
    int function = -1;
    std::optional<int> toggle;  // only for protocols with a toggle bit
    int frequencyHz = 0;

    bool Known() const { return protocol != "unknown"; }
};

// Names the protocol of these durations (signed, bursts >= 0). Tolerant of learning error (a first burst a few
// carrier periods short, a coarse grain); "unknown" when no protocol fits every frame bit.
ProtocolFields DecodeProtocol(std::span<const std::int32_t> durationsUs, int frequencyHz);

// The timings of one press: the first frame, then the part repeated while held (repeatStart). False for a
// protocol the encoder does not know or fields out of the protocol's range.
bool EncodeProtocol(const ProtocolFields& fields, IrSignal& signal);

// A Kaseikyo frame of these six bytes (maker code, then the maker's own bytes with their checks), sent least
// significant bit first, as every Kaseikyo kind is.
bool EncodeKaseikyoBytes(const std::uint8_t (&bytes)[6], IrSignal& signal);

// Whether the protocol alternates a toggle bit between presses (RC5, RC5x, RC6).
bool HasToggle(const std::string& protocol);

}  // namespace codes
